#pragma once

#include "GridFile.h"
#include "SudokuBoard.h"

#include <cstdint>
#include <string>
#include <vector>

// The puzzle notations people paste or keep in files, read and written:
//   grid   the grid file (box size first), read by the model's grid-file reader;
//   line   one puzzle per line, n^4 characters (16, 81, 256 or 625);
//   sdk    rows of characters ('.' or '0' blank), '#' comments and "[Puzzle]"
//          lines; also rows of numbers separated by blanks, without the box size;
//   ss     rows with '|' between boxes and "---+---+---" lines between bands;
//   boxed  the board's own boxed text, as the command-line tool prints it.
// Values above 9 are letters: with any digit 1-9 in the puzzle, A is 10 (1-9A-G,
// 1-9A-P); in a puzzle of letters alone, A is 1 (A-P, A-Y). '0', '.', '_', '*' and
// '-' are blanks. Detection tries every notation and takes the one that fits; when
// two fit with different puzzles, or none fits, the reader says where and stops.
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
        noInnerSize,         // read as a grid file, without a box size first
        innerSizeOutOfRange, // read as a grid file, box size outside 0..kMaxInnerSize
        malformed,           // fits no notation; getError says where
        ambiguous,           // fits two notations with different puzzles
    };

    // Reads every puzzle in text in the given notation, or in the one detected.
    // A UTF-8 byte-order mark and CR LF line ends are taken.
    bool read(const std::string& text, PuzzleFormat format);

    Failure getFailure() const { return failure; }
    const PuzzleDiagnostic& getError() const { return error; }
    // Places where a grid file's reading stopped early or left a value out.
    const std::vector<PuzzleDiagnostic>& getWarnings() const { return warnings; }
    const std::vector<PuzzleValues>& getPuzzles() const { return puzzles; }
    PuzzleFormat getFormat() const { return format; }
    // The box size a grid file gave, as the file writes it, also when out of range.
    const std::string& getGridInnerSizeText() const { return gridInnerSizeText; }

    // The board in a notation that reads back as the same board. Line and sdk hold
    // grids up to 25 x 25 (box size 5); false for a larger one.
    static bool write(const SudokuBoard& board, PuzzleFormat format, std::string& out);

    static const char* getFormatName(PuzzleFormat format);
    // False when name is none of automatic ("auto"), grid, line, sdk, ss, boxed.
    static bool parseFormatName(const std::string& name, PuzzleFormat& format);

    // The character of value v in line, sdk and ss: '.', 1-9 then A for 10, or with
    // lettersFromOne A for 1.
    static char valueChar(int v, bool lettersFromOne);

private:
    friend class PuzzleTextReader;

    Failure failure = Failure::none;
    PuzzleDiagnostic error;
    std::vector<PuzzleDiagnostic> warnings;
    std::vector<PuzzleValues> puzzles;
    PuzzleFormat format = PuzzleFormat::automatic;
    std::string gridInnerSizeText;
    // A failed reading found the shape of its notation (a line or row of a puzzle's
    // length, a box) before it failed, so its error is the one worth showing.
    bool recognized = false;
};
