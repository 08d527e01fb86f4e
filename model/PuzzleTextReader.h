#pragma once

#include "PuzzleText.h"

#include <cstdint>
#include <string_view>
#include <vector>

// The readers behind PuzzleText, one per family of notations. Each reads the whole
// text (or a block of its lines, numbered from firstLine) into a PuzzleText.

// One cell as written: a character, or a number in rows of numbers.
struct PuzzleCell {
    std::string_view text;
    long line;
    long column;
};

class PuzzleTextReader {
public:
    PuzzleTextReader(std::string_view text, long firstLine);

    // One puzzle per line, as characters or as numbers; a line that fits nothing
    // goes into the line errors and reading goes on. field > 0: the puzzle is that
    // field of rows split at separator (a CSV or TSV column).
    bool readLines(PuzzleText& out, int field, char separator);
    // Grid rows: characters, numbers, grouped, with '|' between boxes; with
    // needBars only rows with '|'.
    bool readRows(PuzzleText& out, bool needBars);
    bool readBoxed(PuzzleText& out);

    // How a grid-file reading fits: not at all (no whole number first), with a box
    // size out of range, leniently (values missing or out of range, text after the
    // values, the box size beside values, a blank line inside a band), or exactly
    // (the box size alone, rows of the side's count of values, nothing after but
    // the saved trailer line). leniency gets the first place that needs leniency.
    enum class GridFit { none, outOfRange, lenient, exact };
    GridFit readGrid(PuzzleText& out, PuzzleDiagnostic& leniency);

private:
    bool fail(PuzzleText& out, long line, long column, std::string message);
    long lineNumber(std::size_t index) const { return firstLine + static_cast<long>(index); }
    // Values of one puzzle from its cells; false with the error set.
    bool decode(PuzzleText& out, const std::vector<PuzzleCell>& cells, int innerSize, long line,
                PuzzleValues& puzzle);
    bool decodeChars(PuzzleText& out, const std::vector<PuzzleCell>& cells, int innerSize, PuzzleValues& puzzle);
    bool lineError(PuzzleText& out, long line, long column, std::string message);
    // Cells of a puzzle written with '|' between boxes, where spaces may be blanks.
    bool placeBarredCells(PuzzleText& out, const std::vector<PuzzleCell>& segments, int innerSize,
                          std::vector<PuzzleCell>& cells);

    std::string_view text;
    long firstLine;
    std::vector<std::string_view> lines;
    std::vector<PuzzleCell> cells;
};

namespace PuzzleTextParts {

// Space, tab and the line breaks; inline, as detection asks it of every character of a
// file's first 64 KiB several times.
inline bool isSpace(char ch)
{
    constexpr std::uint64_t kSpaces = (std::uint64_t{1} << ' ') | (std::uint64_t{1} << '\t') |
        (std::uint64_t{1} << '\n') | (std::uint64_t{1} << '\v') | (std::uint64_t{1} << '\f') | (std::uint64_t{1} << '\r');
    const auto code = static_cast<unsigned char>(ch);
    return code <= ' ' && ((kSpaces >> code) & 1) != 0;
}
bool isBlankChar(char ch);
bool isBlankLine(std::string_view line);
std::size_t firstNonSpace(std::string_view line);
std::string_view trimmed(std::string_view line);
// "#" comments.
bool isCommentLine(std::string_view line);
// "[Puzzle]", "[State]" and the like.
bool isSectionLine(std::string_view line);
// "Grid 01", "Puzzle 3:", "Sudoku": a title between puzzles, which no cell row can be.
bool isTitleLine(std::string_view line);
// Box size of a grid with this many cells on a side (4, 9, 16 or 25); 0 otherwise.
int innerSizeOfSide(std::size_t side);
// Box size of a one-line puzzle of this many cells (16, 81, 256 or 625); 0 otherwise.
int innerSizeOfCount(std::size_t count);
std::string sizeName(int innerSize);
std::string shown(char ch);
std::string quoted(std::string_view text);

} // namespace PuzzleTextParts
