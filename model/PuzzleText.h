#pragma once

#include "GridFile.h"
#include "SudokuBoard.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The puzzle notations people paste or keep in files, read and written:
//   grid   the grid file (box size first), read by the model's grid-file reader;
//   line   one puzzle per line: n^4 characters (16, 81, 256 or 625) or n^4 numbers
//          separated by blanks or commas, with fields after it, "Grid 01" titles,
//          a leading count line, or a CSV/TSV header naming the puzzle's column;
//   sdk    grid rows of characters or numbers, grouped or not, blank lines or rules
//          between bands, "#" comments, sections ("[Puzzle]" read, "[State]" and the
//          others skipped), JSON arrays of rows;
//   ss     rows with '|' between boxes, as Simple Sudoku and forum pretty-prints
//          write them ("+---+" rules, '.', '*', '0' or spaces as blanks);
//   boxed  the board's own boxed text, as the command-line tool prints it.
// Values above 9: with any digit 1-9 in the puzzle, A is 10 (1-9A-G, 1-9A-P); in a
// puzzle of letters alone that goes past G (or P), A is 1; a 16x16 puzzle whose '0'
// is a value (another blank character beside it, or F without G) is 0-F. '0', '.',
// '_', '*' and '-' are blanks. Detection tries every notation and takes the one that
// fits unmistakably; when two fit with different puzzles, or none fits, or only a
// grid file read leniently, the reader says where and stops.
enum class PuzzleFormat {
    automatic,
    grid,
    line,
    sdk,
    ss,
    boxed,
};

// One puzzle: its box size and values row-major, 0 for a blank.
struct PuzzleValues {
    int innerSize = 0;
    std::vector<std::uint16_t> values;
    long line = 0; // where the puzzle starts, 1-based
};

// A place in the text, 1-based, and what is wrong there.
struct PuzzleDiagnostic {
    long line = 0;
    long column = 0;
    std::string message;
};

class PuzzleText {
public:
    enum class Failure {
        none,
        empty,               // nothing but white space
        noInnerSize,         // asked for as a grid file, without a box size first
        innerSizeOutOfRange, // read as a grid file, box size outside 0..kMaxInnerSize
        malformed,           // fits no notation, or only a grid file read leniently; getError says where
        ambiguous,           // fits two notations with different puzzles
    };

    // Reads every puzzle in text in the given notation, or in the one detected.
    // A UTF-8 byte-order mark and CR LF line ends are taken. A block of whole lines
    // of a line file reads as in the whole text when given the notation, the number
    // of its first line and the CSV column (getField, getSeparator) found before.
    bool read(std::string_view text, PuzzleFormat format, long firstLine = 1, int field = 0, char separator = 0);

    Failure getFailure() const { return failure; }
    const PuzzleDiagnostic& getError() const { return error; }
    // Places where a grid file's reading stopped early or left a value out.
    const std::vector<PuzzleDiagnostic>& getWarnings() const { return warnings; }
    const std::vector<PuzzleValues>& getPuzzles() const { return puzzles; }
    // Lines of a line file that fit no notation; the other lines were read.
    const std::vector<PuzzleDiagnostic>& getLineErrors() const { return lineErrors; }
    // Lines skipped on purpose: a count or size line, a CSV header.
    const std::vector<PuzzleDiagnostic>& getNotes() const { return notes; }
    // The CSV or TSV column the puzzles came from (0: the first, or no columns; -1:
    // in each row the first of a puzzle's length).
    int getField() const { return field; }
    char getSeparator() const { return separator; }
    PuzzleFormat getFormat() const { return format; }

    // The board in a notation that reads back as the same board. Line and sdk hold
    // grids up to 25 x 25 (box size 5); false for a larger one.
    static bool write(const SudokuBoard& board, PuzzleFormat format, std::string& out);
    // The same for grid values (row-major, 0 for a blank) in line, sdk or ss.
    static bool writeValues(const std::uint16_t* values, int innerSize, PuzzleFormat format, std::string& out);
    // Whether write writes grids of this box size in the notation.
    static bool holds(PuzzleFormat format, int innerSize)
    {
        if (format == PuzzleFormat::boxed || format == PuzzleFormat::grid)
            return true;
        return format != PuzzleFormat::automatic && innerSize >= 2 && innerSize <= 5;
    }

    static const char* getFormatName(PuzzleFormat format);
    // False when name is none of automatic ("auto"), grid, line, sdk, ss, boxed.
    static bool parseFormatName(const std::string& name, PuzzleFormat& format);

    // The character of value v in line, sdk and ss: '.', 1-9 then A for 10, or with
    // lettersFromOne A for 1.
    static constexpr char valueChar(int v, bool lettersFromOne)
    {
        if (v <= 0)
            return '.';
        if (lettersFromOne)
            return static_cast<char>('A' + v - 1);
        return v <= 9 ? static_cast<char>('0' + v) : static_cast<char>('A' + v - 10);
    }

private:
    friend class PuzzleTextReader;

    bool detect(std::string_view text, long firstLine);

    Failure failure = Failure::none;
    PuzzleDiagnostic error;
    std::vector<PuzzleDiagnostic> warnings;
    std::vector<PuzzleValues> puzzles;
    std::vector<PuzzleDiagnostic> lineErrors;
    std::vector<PuzzleDiagnostic> notes;
    int field = 0;
    char separator = 0;
    PuzzleFormat format = PuzzleFormat::automatic;
    // A failed reading found the shape of its notation (a line or row of a puzzle's
    // length, a box) before it failed, so its error is the one worth showing.
    bool recognized = false;
};
