#include "PuzzleText.h"

#include <cctype>
#include <cstdio>
#include <string_view>

namespace {

struct CellChar {
    char ch;
    long line;
    long column;
};

bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

bool isBlankChar(char ch)
{
    return ch == '0' || ch == '.' || ch == '_' || ch == '*' || ch == '-';
}

bool isDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// Box size of a grid with this many cells on a side, for the sides characters
// can spell (up to 25); 0 for any other count.
int innerSizeOfSide(std::size_t side)
{
    for (int n = 2; n <= 5; ++n)
        if (side == static_cast<std::size_t>(n * n))
            return n;
    return 0;
}

std::string sizeName(int innerSize)
{
    const int side = innerSize * innerSize;
    return std::to_string(side) + "x" + std::to_string(side);
}

// The text split into lines, without their line ends (LF or CR LF).
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

std::size_t firstNonSpace(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && isSpace(line[i]))
        ++i;
    return i;
}

bool isCommentLine(std::string_view line)
{
    const std::size_t i = firstNonSpace(line);
    return i < line.size() && (line[i] == '#' || line[i] == '[');
}

bool isBlankLine(std::string_view line)
{
    return firstNonSpace(line) == line.size();
}

bool later(const PuzzleDiagnostic& a, const PuzzleDiagnostic& b)
{
    return a.line > b.line || (a.line == b.line && a.column > b.column);
}

bool samePuzzles(const std::vector<PuzzleValues>& a, const std::vector<PuzzleValues>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].innerSize != b[i].innerSize || a[i].values != b[i].values)
            return false;
    return true;
}

} // namespace

// One reading of a text in one notation; the result goes into a PuzzleText.
class PuzzleTextReader {
public:
    explicit PuzzleTextReader(std::string_view text)
        : text(text)
        , lines(splitLines(text))
    {
    }

    bool readLine(PuzzleText& out);
    bool readSdk(PuzzleText& out);
    bool readSs(PuzzleText& out);
    bool readBoxed(PuzzleText& out);

    // How a grid file reading fits: not at all (no whole number first), with a box
    // size out of range, leniently (it stops early, or numbers are left over), or
    // exactly (all cells, then nothing or text).
    enum class GridFit { none, outOfRange, lenient, exact };
    GridFit readGrid(PuzzleText& out);

private:
    bool fail(PuzzleText& out, long line, long column, std::string message)
    {
        out.failure = PuzzleText::Failure::malformed;
        out.error = {line, column, std::move(message)};
        return false;
    }
    bool decode(PuzzleText& out, const std::vector<CellChar>& cells, int innerSize, long line);
    bool readRows(PuzzleText& out, bool ss);
    bool readNumberRows(PuzzleText& out, std::size_t first);
    // Line and column of a byte offset into the text.
    PuzzleDiagnostic placeOf(std::size_t offset, std::string message) const;

    std::string_view text;
    std::vector<std::string_view> lines;
    std::vector<CellChar> cells;
};

bool PuzzleTextReader::decode(PuzzleText& out, const std::vector<CellChar>& chars, int innerSize, long line)
{
    const int side = innerSize * innerSize;
    bool hasDigit = false;
    char highestLetter = 0;
    for (const CellChar& c : chars) {
        hasDigit = hasDigit || (c.ch >= '1' && c.ch <= '9');
        if (c.ch >= 'A' && c.ch <= 'Z' && c.ch > highestLetter)
            highestLetter = c.ch;
    }
    // Letters alone that stay within the digits notation's range could mean either.
    if (!hasDigit && highestLetter != 0 && side > 9 && highestLetter < 'A' + side - 9)
        return fail(out, chars.front().line, chars.front().column,
                    std::string("a ") + sizeName(innerSize) + " puzzle of letters up to " + highestLetter +
                        " and no digit reads two ways (A as 10 or as 1)");
    PuzzleValues puzzle{innerSize, std::vector<std::uint16_t>(chars.size(), 0), line};
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char ch = chars[i].ch;
        int v = -1;
        if (isBlankChar(ch))
            v = 0;
        else if (isDigit(ch))
            v = ch - '0';
        else if (ch >= 'A' && ch <= 'Z' && side > 9)
            v = hasDigit ? 10 + (ch - 'A') : 1 + (ch - 'A');
        if (v < 0 || v > side) {
            const std::string shown = std::isprint(static_cast<unsigned char>(ch))
                ? std::string("'") + ch + "'"
                : "byte " + std::to_string(static_cast<unsigned char>(ch));
            return fail(out, chars[i].line, chars[i].column,
                        shown + " is not a value of a " + sizeName(innerSize) + " puzzle or a blank");
        }
        puzzle.values[i] = static_cast<std::uint16_t>(v);
    }
    out.puzzles.push_back(std::move(puzzle));
    return true;
}

bool PuzzleTextReader::readLine(PuzzleText& out)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const long number = static_cast<long>(i) + 1;
        if (isBlankLine(line) || isCommentLine(line))
            continue;
        const std::size_t start = firstNonSpace(line);
        std::size_t end = start;
        while (end < line.size() && !isSpace(line[end]))
            ++end;
        const std::size_t length = end - start;
        int n = 0;
        for (int k = 2; k <= 5 && n == 0; ++k)
            if (length == static_cast<std::size_t>(k * k * k * k))
                n = k;
        if (n == 0)
            return fail(out, number, static_cast<long>(start) + 1,
                        "a line of " + std::to_string(length) +
                            " characters; a one-line puzzle has 16, 81, 256 or 625");
        out.recognized = true;
        cells.clear();
        for (std::size_t k = start; k < end; ++k)
            cells.push_back({line[k], number, static_cast<long>(k) + 1});
        if (!decode(out, cells, n, number))
            return false;
    }
    return !out.puzzles.empty() || fail(out, 1, 1, "no one-line puzzle");
}

// Rows of characters, one grid row each, side rows to a puzzle; with ss, '|' and
// blanks inside a row are left out and lines of '-', '+', '*' and '|' skipped.
bool PuzzleTextReader::readRows(PuzzleText& out, bool ss)
{
    std::size_t side = 0;
    std::size_t rows = 0;
    long firstLine = 0;
    bool marked = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const long number = static_cast<long>(i) + 1;
        if (isCommentLine(line))
            continue;
        if (isBlankLine(line)) {
            if (rows != 0)
                return fail(out, number, 1,
                            "the puzzle ends after " + std::to_string(rows) + " of " + std::to_string(side) + " rows");
            continue;
        }
        if (ss && line.find_first_not_of("-+*|= \t") == std::string_view::npos) {
            marked = true;
            continue;
        }
        std::size_t start = firstNonSpace(line);
        std::size_t rowStart = cells.size();
        if (rows == 0)
            cells.clear(), rowStart = 0;
        std::size_t end = line.size();
        while (end > start && isSpace(line[end - 1]))
            --end;
        for (std::size_t k = start; k < end; ++k) {
            if (ss && (line[k] == '|' || line[k] == ' ' || line[k] == '\t')) {
                marked = marked || line[k] == '|';
                continue;
            }
            if (!ss && isSpace(line[k]))
                return rows == 0 && out.puzzles.empty() ? readNumberRows(out, i)
                                                        : fail(out, number, static_cast<long>(k) + 1, "a blank inside a row");
            cells.push_back({line[k], number, static_cast<long>(k) + 1});
        }
        const std::size_t length = cells.size() - rowStart;
        if (rows == 0) {
            if (innerSizeOfSide(length) == 0)
                return fail(out, number, static_cast<long>(start) + 1,
                            "a row of " + std::to_string(length) + " cells; rows hold 4, 9, 16 or 25");
            // A first row with a character no cell can hold (a sign, say) is not
            // taken for the start of a puzzle, so that another notation's error wins.
            for (std::size_t k = rowStart; k < cells.size(); ++k) {
                const char ch = cells[k].ch;
                if (!isBlankChar(ch) && !isDigit(ch) && !(ch >= 'A' && ch <= 'Z'))
                    return fail(out, number, cells[k].column, std::string("'") + ch + "' is not a cell value");
            }
            side = length;
            firstLine = number;
            out.recognized = true;
        } else if (length != side) {
            return fail(out, number, static_cast<long>(start) + 1,
                        "a row of " + std::to_string(length) + " cells in a puzzle of " + std::to_string(side));
        }
        if (++rows == side) {
            if (!decode(out, cells, innerSizeOfSide(side), firstLine))
                return false;
            rows = 0;
        }
    }
    if (rows != 0)
        return fail(out, firstLine, 1,
                    "the text ends after " + std::to_string(rows) + " of this puzzle's " + std::to_string(side) +
                        " rows");
    if (out.puzzles.empty())
        return fail(out, 1, 1, "no rows of a puzzle");
    return !ss || marked || fail(out, 1, 1, "no '|' between boxes");
}

// Rows of numbers separated by blanks, without the box size: one block of n^4
// numbers, each line holding whole rows (or the whole grid on one line).
bool PuzzleTextReader::readNumberRows(PuzzleText& out, std::size_t first)
{
    std::vector<std::size_t> counts;
    std::vector<int> values;
    std::size_t i = first;
    for (; i < lines.size() && !isBlankLine(lines[i]) && !isCommentLine(lines[i]); ++i) {
        const std::string_view line = lines[i];
        const long number = static_cast<long>(i) + 1;
        std::size_t count = 0;
        for (std::size_t k = 0; k < line.size();) {
            if (isSpace(line[k])) {
                ++k;
                continue;
            }
            std::size_t end = k;
            while (end < line.size() && !isSpace(line[end]))
                ++end;
            const std::string_view token = line.substr(k, end - k);
            int v = 0;
            if (token.size() <= 3 && token.find_first_not_of("0123456789") == std::string_view::npos)
                v = std::stoi(std::string(token));
            else if (token.size() != 1 || !isBlankChar(token[0]))
                return fail(out, number, static_cast<long>(k) + 1,
                            std::string(token.substr(0, 20)).insert(0, 1, '\'') + "' is not a cell value");
            values.push_back(v);
            ++count;
            k = end;
        }
        counts.push_back(count);
    }
    const long firstLine = static_cast<long>(first) + 1;
    int n = 0;
    for (int k = 2; k <= SudokuBoard::kMaxInnerSize && n == 0; ++k)
        if (values.size() == static_cast<std::size_t>(k * k * k * k))
            n = k;
    if (n == 0)
        return fail(out, firstLine, 1,
                    std::to_string(values.size()) + " numbers without a box size; a grid has 16, 81, 256, 625 ...");
    const std::size_t side = static_cast<std::size_t>(n) * n;
    for (std::size_t k = 0; k < counts.size() && counts.size() > 1; ++k)
        if (counts[k] % side != 0)
            return fail(out, firstLine + static_cast<long>(k), 1,
                        "a line of " + std::to_string(counts[k]) + " numbers in rows of " + std::to_string(side));
    PuzzleValues puzzle{n, std::vector<std::uint16_t>(values.size(), 0), firstLine};
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (values[k] > static_cast<int>(side))
            return fail(out, firstLine, 1, "value " + std::to_string(values[k]) + " in a " + sizeName(n) + " puzzle");
        puzzle.values[k] = static_cast<std::uint16_t>(values[k]);
    }
    for (; i < lines.size(); ++i)
        if (!isBlankLine(lines[i]) && !isCommentLine(lines[i]))
            return fail(out, static_cast<long>(i) + 1, 1, "text after the grid");
    out.puzzles.push_back(std::move(puzzle));
    return true;
}

bool PuzzleTextReader::readSdk(PuzzleText& out)
{
    return readRows(out, false);
}

bool PuzzleTextReader::readSs(PuzzleText& out)
{
    return readRows(out, true);
}

bool PuzzleTextReader::readBoxed(PuzzleText& out)
{
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::string_view top = lines[i];
        const long number = static_cast<long>(i) + 1;
        if (top.size() < 5 || top.find_first_not_of('-') != std::string_view::npos) {
            if (!top.empty() && top[0] == '|')
                return fail(out, number, 1, "a boxed row outside a box");
            ++i;
            continue;
        }
        const std::size_t width = top.size();
        const std::size_t side = (width - 1) / 4;
        int n = 0;
        while ((n + 1) * (n + 1) <= static_cast<int>(side))
            ++n;
        if ((width - 1) % 4 != 0 || static_cast<std::size_t>(n * n) != side)
            return fail(out, number, 1, "a line of " + std::to_string(width) + " dashes does not start a box");
        PuzzleValues puzzle{n, std::vector<std::uint16_t>(side * side, 0), number};
        out.recognized = true;
        ++i;
        for (std::size_t r = 0; r < side; ++r, ++i) {
            const long rowNumber = static_cast<long>(i) + 1;
            if (i >= lines.size() || lines[i].size() != width || lines[i][0] != '|' || lines[i].back() != '|')
                return fail(out, rowNumber, 1,
                            "row " + std::to_string(r + 1) + " of the box: '|' and " + std::to_string(side) +
                                " cells of 4 characters expected");
            const std::string_view row = lines[i];
            for (std::size_t c = 0; c < side; ++c) {
                const char mark = c % static_cast<std::size_t>(n) == 0 ? '|' : ' ';
                const std::string_view cell = row.substr(4 * c + 1, 3);
                const long column = static_cast<long>(4 * c) + 1;
                if (row[4 * c] != mark)
                    return fail(out, rowNumber, column, std::string("'") + mark + "' expected");
                int v = 0;
                if (cell != "  .") {
                    const std::size_t digits = cell.find_first_not_of(' ');
                    if (digits == std::string_view::npos ||
                        cell.substr(digits).find_first_not_of("0123456789") != std::string_view::npos)
                        return fail(out, rowNumber, column + 1, "a value or '.' right-aligned in 3 characters expected");
                    v = std::stoi(std::string(cell.substr(digits)));
                }
                if (v < 1 && cell != "  .")
                    return fail(out, rowNumber, column + 1, "0 is no value; a blank is '.'");
                if (v > static_cast<int>(side))
                    return fail(out, rowNumber, column + 1,
                                "value " + std::to_string(v) + " in a " + sizeName(n) + " puzzle");
                puzzle.values[r * side + c] = static_cast<std::uint16_t>(v);
            }
            if ((r + 1) % static_cast<std::size_t>(n) == 0) {
                ++i;
                if (i >= lines.size() || lines[i] != top)
                    return fail(out, static_cast<long>(i) + 1, 1, "a line of " + std::to_string(width) + " dashes expected");
            }
        }
        out.puzzles.push_back(std::move(puzzle));
    }
    return !out.puzzles.empty() || fail(out, 1, 1, "no boxed grid");
}

PuzzleDiagnostic PuzzleTextReader::placeOf(std::size_t offset, std::string message) const
{
    long line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n')
            ++line, lineStart = i + 1;
    return {line, static_cast<long>(offset - lineStart) + 1, std::move(message)};
}

PuzzleTextReader::GridFit PuzzleTextReader::readGrid(PuzzleText& out)
{
    // The board comes from the model's grid-file reader; the scan below only finds
    // the places worth a warning, reading numbers as " %d" does.
    std::size_t at = 0;
    bool stopped = false;
    const auto nextNumber = [&](long& value, std::size_t& start) {
        while (at < text.size() && isSpace(text[at]))
            ++at;
        start = at;
        std::size_t k = at;
        bool negative = false;
        if (k < text.size() && (text[k] == '+' || text[k] == '-'))
            negative = text[k++] == '-';
        const std::size_t digits = k;
        long v = 0;
        while (k < text.size() && isDigit(text[k])) {
            if (v < 1000000000L)
                v = v * 10 + (text[k] - '0');
            ++k;
        }
        if (k == digits)
            return false;
        at = k;
        value = negative ? -v : v;
        return true;
    };

    std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    GridReadStatus status = GridReadStatus::noInnerSize;
    std::unique_ptr<SudokuBoard> board;
    if (in && !text.empty()) {
        GridRead gridRead = ::readGrid(in);
        status = gridRead.status;
        board = std::move(gridRead.board);
        out.gridInnerSizeText = std::move(gridRead.innerSizeText);
    }
    if (in)
        std::fclose(in);

    long value = 0;
    std::size_t start = 0;
    if (status == GridReadStatus::noInnerSize || !nextNumber(value, start)) {
        out.failure = PuzzleText::Failure::noInnerSize;
        out.error = placeOf(at, "a grid file starts with its box size");
        return GridFit::none;
    }
    const bool whole = at == text.size() || isSpace(text[at]);
    if (status == GridReadStatus::innerSizeOutOfRange) {
        out.failure = PuzzleText::Failure::innerSizeOutOfRange;
        out.error = placeOf(start, "box size out of range");
        return whole ? GridFit::outOfRange : GridFit::none;
    }
    const int side = board->getSize();
    const long cellCount = static_cast<long>(side) * side;
    long read = 0;
    while (read < cellCount) {
        if (!nextNumber(value, start)) {
            if (start < text.size()) {
                stopped = true;
                out.warnings.push_back(placeOf(start, "text where cell " + std::to_string(read + 1) +
                                                          " should be; cells " + std::to_string(read + 1) + " to " +
                                                          std::to_string(cellCount) + " are left blank"));
            }
            break;
        }
        if (value < 0 || value > side)
            out.warnings.push_back(placeOf(start, "value " + std::string(text.substr(start, std::min<std::size_t>(at - start, 20))) +
                                                      " out of range (0 to " + std::to_string(side) +
                                                      "); cell " + std::to_string(read + 1) + " is left blank"));
        ++read;
    }
    PuzzleValues puzzle{board->getInnerSize(), std::vector<std::uint16_t>(static_cast<std::size_t>(cellCount), 0), 1};
    for (long i = 0; i < cellCount; ++i)
        puzzle.values[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(board->valueAt(static_cast<int>(i / side), static_cast<int>(i % side)));
    out.puzzles.push_back(std::move(puzzle));
    out.failure = PuzzleText::Failure::none;
    if (!whole)
        return GridFit::none;
    const bool moreNumbers = read == cellCount && nextNumber(value, start);
    return read == cellCount && !stopped && !moreNumbers && out.warnings.empty() ? GridFit::exact : GridFit::lenient;
}

bool PuzzleText::read(const std::string& input, PuzzleFormat wanted)
{
    *this = PuzzleText();
    std::string_view text = input;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    PuzzleTextReader reader(text);
    format = wanted;
    switch (wanted) {
    case PuzzleFormat::grid:
        reader.readGrid(*this);
        return failure == Failure::none;
    case PuzzleFormat::line:
        return reader.readLine(*this);
    case PuzzleFormat::sdk:
        return reader.readSdk(*this);
    case PuzzleFormat::ss:
        return reader.readSs(*this);
    case PuzzleFormat::boxed:
        return reader.readBoxed(*this);
    case PuzzleFormat::automatic:
        break;
    }

    if (text.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos) {
        failure = Failure::empty;
        error = {1, 1, "no puzzle"};
        return false;
    }
    PuzzleText grid;
    const PuzzleTextReader::GridFit gridFit = reader.readGrid(grid);
    grid.format = PuzzleFormat::grid;
    std::vector<PuzzleText> fits;
    if (gridFit == PuzzleTextReader::GridFit::exact)
        fits.push_back(grid);
    PuzzleText furthest;
    furthest.error = {0, 0, ""};
    for (const PuzzleFormat other : {PuzzleFormat::line, PuzzleFormat::boxed, PuzzleFormat::sdk, PuzzleFormat::ss}) {
        PuzzleText attempt;
        attempt.format = other;
        PuzzleTextReader each(text);
        const bool ok = other == PuzzleFormat::line    ? each.readLine(attempt)
                        : other == PuzzleFormat::boxed ? each.readBoxed(attempt)
                        : other == PuzzleFormat::sdk   ? each.readSdk(attempt)
                                                       : each.readSs(attempt);
        if (ok)
            fits.push_back(std::move(attempt));
        else if (attempt.recognized > furthest.recognized ||
                 (attempt.recognized == furthest.recognized && later(attempt.error, furthest.error)))
            furthest = std::move(attempt);
    }
    for (std::size_t i = 1; i < fits.size(); ++i) {
        if (!samePuzzles(fits[0].puzzles, fits[i].puzzles)) {
            const auto describe = [](const PuzzleText& t) {
                return std::string(getFormatName(t.format)) + " (" + std::to_string(t.puzzles.size()) + " puzzle" +
                    (t.puzzles.size() == 1 ? "" : "s") + " of " + sizeName(t.puzzles[0].innerSize) + ")";
            };
            failure = Failure::ambiguous;
            error = {1, 1, "reads two ways: as " + describe(fits[0]) + " or as " + describe(fits[i])};
            return false;
        }
    }
    if (!fits.empty()) {
        *this = std::move(fits[0]);
        return true;
    }
    if (gridFit == PuzzleTextReader::GridFit::lenient) {
        *this = std::move(grid);
        return true;
    }
    if (gridFit == PuzzleTextReader::GridFit::outOfRange && !furthest.recognized) {
        *this = std::move(grid);
        format = PuzzleFormat::grid;
        return false;
    }
    // Text in which no notation finds the shape of a puzzle, and that does not start
    // with a number, fails as a grid file without its box size.
    if (gridFit == PuzzleTextReader::GridFit::none && grid.failure == Failure::noInnerSize && !furthest.recognized) {
        *this = std::move(grid);
        return false;
    }
    failure = Failure::malformed;
    format = furthest.format;
    error = furthest.error;
    error.message = std::string("as ") + getFormatName(format) + ": " + error.message;
    return false;
}

char PuzzleText::valueChar(int v, bool lettersFromOne)
{
    if (v <= 0)
        return '.';
    if (lettersFromOne)
        return static_cast<char>('A' + v - 1);
    return v <= 9 ? static_cast<char>('0' + v) : static_cast<char>('A' + v - 10);
}

bool PuzzleText::write(const SudokuBoard& board, PuzzleFormat format, std::string& out)
{
    const int n = board.getInnerSize();
    const int side = board.getSize();
    char number[16];
    switch (format) {
    case PuzzleFormat::boxed:
        out += board.toText();
        return true;
    case PuzzleFormat::grid:
        // As the saved layout, but grouped by the grid's own box size.
        std::snprintf(number, sizeof number, "%i\n\n", n);
        out += number;
        for (int r = 0; r < side; ++r) {
            for (int c = 0; c < side; ++c) {
                std::snprintf(number, sizeof number, "%i ", board.valueAt(r, c));
                out += number;
                if (c % n == n - 1)
                    out += "  ";
            }
            out += '\n';
            if (r % n == n - 1)
                out += '\n';
        }
        out += "--- Grid Saved from Gridlark ---\n";
        return true;
    case PuzzleFormat::line:
    case PuzzleFormat::sdk:
    case PuzzleFormat::ss: {
        if (n < 2 || n > 5)
            return false;
        const bool ss = format == PuzzleFormat::ss;
        // Without any value 1-9 a large grid is written in letters alone (A = 1),
        // which reads back the same; letters A-G alone would read two ways.
        bool lettersFromOne = side > 9;
        for (int i = 0; i < side * side && lettersFromOne; ++i)
            lettersFromOne = board.valueAt(i / side, i % side) > 9 || board.valueAt(i / side, i % side) == 0;
        std::string rule;
        for (int b = 0; b < n; ++b)
            rule += std::string(static_cast<std::size_t>(n), '-') + (b + 1 < n ? "+" : "\n");
        for (int r = 0; r < side; ++r) {
            if (ss && r > 0 && r % n == 0)
                out += rule;
            for (int c = 0; c < side; ++c) {
                if (ss && c > 0 && c % n == 0)
                    out += '|';
                out += valueChar(board.valueAt(r, c), lettersFromOne);
            }
            if (format != PuzzleFormat::line)
                out += '\n';
        }
        if (format == PuzzleFormat::line)
            out += '\n';
        return true;
    }
    case PuzzleFormat::automatic:
        break;
    }
    return false;
}

const char* PuzzleText::getFormatName(PuzzleFormat format)
{
    switch (format) {
    case PuzzleFormat::grid:
        return "grid";
    case PuzzleFormat::line:
        return "line";
    case PuzzleFormat::sdk:
        return "sdk";
    case PuzzleFormat::ss:
        return "ss";
    case PuzzleFormat::boxed:
        return "boxed";
    case PuzzleFormat::automatic:
        break;
    }
    return "auto";
}

bool PuzzleText::parseFormatName(const std::string& name, PuzzleFormat& format)
{
    for (const PuzzleFormat f : {PuzzleFormat::automatic, PuzzleFormat::grid, PuzzleFormat::line, PuzzleFormat::sdk,
                                 PuzzleFormat::ss, PuzzleFormat::boxed}) {
        if (name == getFormatName(f)) {
            format = f;
            return true;
        }
    }
    return false;
}
