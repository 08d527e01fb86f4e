#include "PuzzleText.h"

#include "PuzzleTextReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace PuzzleTextParts;

namespace {

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

bool isPlainNumber(std::string_view token)
{
    return !token.empty() && token.size() <= 9 && token.find_first_not_of("0123456789") == std::string_view::npos;
}

// The words of a line, each with its 0-based column.
std::vector<std::pair<std::string_view, std::size_t>> words(std::string_view line)
{
    std::vector<std::pair<std::string_view, std::size_t>> found;
    for (std::size_t k = 0; k < line.size();) {
        if (isSpace(line[k])) {
            ++k;
            continue;
        }
        std::size_t end = k;
        while (end < line.size() && !isSpace(line[end]))
            ++end;
        found.emplace_back(line.substr(k, end - k), k);
        k = end;
    }
    return found;
}

const char kTrailer[] = "--- Grid Saved from Gridlark ---";

} // namespace

PuzzleTextReader::GridFit PuzzleTextReader::readGrid(PuzzleText& out, PuzzleDiagnostic& leniency)
{
    // The board comes from the model's grid-file reader; the scan below finds the
    // places worth a warning, and whether the text is laid out as a saved grid.
    const auto placeOf = [&](std::size_t offset, std::string message) {
        long line = firstLine;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < offset && i < text.size(); ++i)
            if (text[i] == '\n')
                ++line, lineStart = i + 1;
        return PuzzleDiagnostic{line, static_cast<long>(offset - lineStart) + 1, std::move(message)};
    };
    std::size_t at = 0;
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
        while (k < text.size() && text[k] >= '0' && text[k] <= '9') {
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

    std::FILE* in = text.empty() ? nullptr : fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    GridReadStatus status = GridReadStatus::noInnerSize;
    std::unique_ptr<SudokuBoard> board;
    std::string innerSizeText;
    if (in) {
        GridRead gridRead = ::readGrid(in);
        status = gridRead.status;
        board = std::move(gridRead.board);
        innerSizeText = std::move(gridRead.innerSizeText);
        std::fclose(in);
    }

    long value = 0;
    std::size_t start = 0;
    if (status == GridReadStatus::noInnerSize || !nextNumber(value, start)) {
        out.failure = PuzzleText::Failure::noInnerSize;
        out.error = placeOf(at, "a grid file starts with its box size");
        return GridFit::none;
    }
    const bool whole = at == text.size() || isSpace(text[at]);
    // The layout of a saved grid: the box size alone on its line, then rows of side
    // values, blank lines only between bands, nothing after but the trailer.
    std::size_t row = 0;
    while (row < lines.size() && isBlankLine(lines[row]))
        ++row;
    const auto sizeLine = row < lines.size() ? words(lines[row]) : decltype(words("")){};
    const auto lenient = [&](std::size_t lineIndex, std::size_t column, std::string why) {
        if (leniency.line == 0)
            leniency = {lineNumber(lineIndex), static_cast<long>(column) + 1, std::move(why)};
    };
    if (sizeLine.size() > 1)
        lenient(row, sizeLine[1].second, "cell values on the line of the box size");
    if (status == GridReadStatus::innerSizeOutOfRange) {
        out.failure = PuzzleText::Failure::innerSizeOutOfRange;
        out.error = placeOf(start, "box size " + innerSizeText + " is out of range (0 to " +
                                       std::to_string(SudokuBoard::kMaxInnerSize) + ")");
        return whole && sizeLine.size() == 1 ? GridFit::outOfRange : GridFit::none;
    }
    const int n = board->getInnerSize();
    const std::size_t side = static_cast<std::size_t>(board->getSize());
    // Saved grids may follow one another, each after the trailer of the one before
    // (the tool's output of several puzzles as grid files); they read as puzzles of
    // their own when every one is laid out as saved.
    std::vector<PuzzleValues> following;
    int gridInner = n;
    std::size_t gridSide = side;
    std::size_t rowsRead = 0;
    bool trailer = false;
    for (++row; row < lines.size(); ++row) {
        const auto values = words(lines[row]);
        if (rowsRead == gridSide) {
            if (values.empty())
                continue;
            if (!trailer && trimmed(lines[row]) == kTrailer) {
                trailer = true;
                continue;
            }
            if (trailer && values.size() == 1 && isPlainNumber(values[0].first) &&
                std::stol(std::string(values[0].first)) <= SudokuBoard::kMaxInnerSize) {
                gridInner = std::stoi(std::string(values[0].first));
                gridSide = static_cast<std::size_t>(gridInner * gridInner);
                following.push_back({gridInner, std::vector<std::uint16_t>(), lineNumber(row)});
                rowsRead = 0;
                trailer = false;
                continue;
            }
            lenient(row, values[0].second, "text after the grid's values");
            continue;
        }
        if (values.empty()) {
            if (rowsRead % static_cast<std::size_t>(gridInner) != 0)
                lenient(row, 0, "a blank line inside a band of the grid");
            continue;
        }
        for (std::size_t k = 0; k < values.size() && k <= gridSide; ++k) {
            const std::string_view v = values[k].first;
            if (k == gridSide)
                lenient(row, values[k].second, "more than " + std::to_string(gridSide) + " values in a row of the grid");
            else if (!isPlainNumber(v) || std::stol(std::string(v)) > static_cast<long>(gridSide))
                lenient(row, values[k].second, quoted(v.substr(0, 20)) + " where a value of the grid's row " +
                                                   std::to_string(rowsRead + 1) + " should be");
            else if (!following.empty())
                following.back().values.push_back(static_cast<std::uint16_t>(std::stoi(std::string(v))));
        }
        if (values.size() < gridSide)
            lenient(row, lines[row].size(), "a row of the grid with " + std::to_string(values.size()) + " of its " +
                                                std::to_string(gridSide) + " values");
        ++rowsRead;
    }
    if (rowsRead < gridSide)
        lenient(lines.empty() ? 0 : lines.size() - 1, lines.empty() ? 0 : lines.back().size(),
                "the grid ends after " + std::to_string(rowsRead) + " of its " + std::to_string(gridSide) + " rows");

    const long cellCount = static_cast<long>(side * side);
    long read = 0;
    while (read < cellCount) {
        if (!nextNumber(value, start)) {
            if (start < text.size())
                out.warnings.push_back(placeOf(start, "text where cell " + std::to_string(read + 1) +
                                                          " should be; cells " + std::to_string(read + 1) + " to " +
                                                          std::to_string(cellCount) + " are left blank"));
            break;
        }
        if (value < 0 || value > static_cast<long>(side))
            out.warnings.push_back(placeOf(start, "value " + std::string(text.substr(start, std::min<std::size_t>(at - start, 20))) +
                                                      " out of range (0 to " + std::to_string(side) +
                                                      "); cell " + std::to_string(read + 1) + " is left blank"));
        ++read;
    }
    PuzzleValues puzzle{n, std::vector<std::uint16_t>(static_cast<std::size_t>(cellCount), 0), firstLine};
    for (long i = 0; i < cellCount; ++i)
        puzzle.values[static_cast<std::size_t>(i)] =
            static_cast<std::uint16_t>(board->valueAt(static_cast<int>(i / static_cast<long>(side)), static_cast<int>(i % static_cast<long>(side))));
    out.puzzles.push_back(std::move(puzzle));
    out.failure = PuzzleText::Failure::none;
    if (!whole)
        return GridFit::none;
    if (leniency.line != 0 || !out.warnings.empty())
        return GridFit::lenient;
    for (PuzzleValues& next : following)
        out.puzzles.push_back(std::move(next));
    return GridFit::exact;
}

bool PuzzleText::read(std::string_view text, PuzzleFormat wanted, long firstLine, int field, char separator)
{
    *this = PuzzleText();
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    PuzzleTextReader reader(text, firstLine);
    format = wanted;
    bool ok = false;
    switch (wanted) {
    case PuzzleFormat::grid: {
        PuzzleDiagnostic leniency;
        reader.readGrid(*this, leniency);
        return failure == Failure::none;
    }
    case PuzzleFormat::line:
        ok = reader.readLines(*this, field, separator) || !puzzles.empty();
        break;
    case PuzzleFormat::sdk:
    case PuzzleFormat::ss:
        ok = reader.readRows(*this, wanted == PuzzleFormat::ss);
        format = wanted;
        break;
    case PuzzleFormat::boxed:
        ok = reader.readBoxed(*this);
        break;
    case PuzzleFormat::automatic:
        return detect(text, firstLine);
    }
    if (!ok && error.message.empty())
        error.message = std::string("no puzzle written as ") + getFormatName(wanted);
    return ok;
}

bool PuzzleText::detect(std::string_view text, long firstLine)
{
    if (text.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos) {
        failure = Failure::empty;
        error = {firstLine, 1, "no puzzle: the input is empty"};
        return false;
    }
    PuzzleText grid;
    PuzzleDiagnostic leniency;
    const PuzzleTextReader::GridFit gridFit = PuzzleTextReader(text, firstLine).readGrid(grid, leniency);
    grid.format = PuzzleFormat::grid;

    PuzzleText lines;
    lines.format = PuzzleFormat::line;
    const bool linesFit = PuzzleTextReader(text, firstLine).readLines(lines, 0, 0);
    PuzzleText boxed;
    boxed.format = PuzzleFormat::boxed;
    const bool boxedFit = PuzzleTextReader(text, firstLine).readBoxed(boxed);
    PuzzleText rows;
    rows.format = PuzzleFormat::sdk;
    const bool rowsFit = PuzzleTextReader(text, firstLine).readRows(rows, false);

    std::vector<PuzzleText*> fits;
    for (const auto& [reading, fit] : {std::pair{&boxed, boxedFit}, {&rows, rowsFit}, {&lines, linesFit},
                                       {&grid, gridFit == PuzzleTextReader::GridFit::exact}})
        if (fit)
            fits.push_back(reading);
    for (std::size_t i = 1; i < fits.size(); ++i) {
        if (!samePuzzles(fits[0]->puzzles, fits[i]->puzzles)) {
            const auto describe = [](const PuzzleText& t) {
                return std::string(getFormatName(t.format)) + " (" + std::to_string(t.puzzles.size()) + " puzzle" +
                    (t.puzzles.size() == 1 ? "" : "s") + " of " + sizeName(t.puzzles[0].innerSize) + ")";
            };
            failure = Failure::ambiguous;
            error = {firstLine, 1, "reads two ways: as " + describe(*fits[0]) + " or as " + describe(*fits[i])};
            return false;
        }
    }
    if (!fits.empty()) {
        *this = std::move(*fits[0]);
        return true;
    }
    // One-puzzle lines among lines that fit nothing: a batch whose bad lines are
    // named while the rest is read, unless its lines are mostly bad or another
    // notation took the text's shape.
    if (!lines.puzzles.empty() && lines.lineErrors.size() <= lines.puzzles.size() && !rows.recognized &&
        !boxed.recognized && gridFit != PuzzleTextReader::GridFit::exact) {
        *this = std::move(lines);
        return true;
    }
    PuzzleText* furthest = nullptr;
    for (PuzzleText* reading : {&lines, &boxed, &rows})
        if (!reading->error.message.empty() &&
            (!furthest || reading->recognized > furthest->recognized ||
             (reading->recognized == furthest->recognized && later(reading->error, furthest->error))))
            furthest = reading;
    const bool shapeFound = furthest && furthest->recognized;
    if (gridFit == PuzzleTextReader::GridFit::lenient && !shapeFound) {
        failure = Failure::malformed;
        format = PuzzleFormat::grid;
        error = leniency;
        error.message = "as grid: " + error.message + "; a grid file laid out like this is read only with --input-format grid";
        return false;
    }
    if (gridFit == PuzzleTextReader::GridFit::outOfRange && !shapeFound) {
        *this = std::move(grid);
        return false;
    }
    failure = Failure::malformed;
    if (!furthest) {
        error = {firstLine, static_cast<long>(firstNonSpace(text)) + 1,
                 "a puzzle expected: the text fits none of the notations line, sdk, ss, boxed and grid"};
        return false;
    }
    format = furthest->format;
    error = furthest->error;
    error.message = std::string("as ") + getFormatName(format) + ": " + error.message;
    return false;
}

bool PuzzleTextReader::readBoxed(PuzzleText& out)
{
    std::size_t i = 0;
    while (i < lines.size()) {
        const std::string_view top = lines[i];
        const long number = lineNumber(i);
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
            const long rowNumber = lineNumber(i);
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
                    return fail(out, lineNumber(i), 1, "a line of " + std::to_string(width) + " dashes expected");
            }
        }
        out.puzzles.push_back(std::move(puzzle));
    }
    return !out.puzzles.empty() || fail(out, firstLine, 1, "");
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
        if (!holds(format, n))
            return false;
        std::vector<std::uint16_t> values(static_cast<std::size_t>(side * side));
        for (int i = 0; i < side * side; ++i)
            values[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(std::max(board.valueAt(i / side, i % side), 0));
        return writeValues(values.data(), n, format, out);
    }
    case PuzzleFormat::automatic:
        break;
    }
    return false;
}

bool PuzzleText::writeValues(const std::uint16_t* values, int innerSize, PuzzleFormat format, std::string& out)
{
    if ((format != PuzzleFormat::line && format != PuzzleFormat::sdk && format != PuzzleFormat::ss) ||
        !holds(format, innerSize))
        return false;
    const int n = innerSize;
    const int side = n * n;
    const bool ss = format == PuzzleFormat::ss;
    // Without any value 1-9 a large grid is written in letters alone (A = 1),
    // which reads back the same; letters A-G alone would read two ways.
    bool lettersFromOne = side > 9;
    for (int i = 0; i < side * side && lettersFromOne; ++i)
        lettersFromOne = values[i] > 9 || values[i] == 0;
    const auto charOf = [&](std::uint16_t v) { return valueChar(v, lettersFromOne); };
    if (format == PuzzleFormat::line) {
        // The command-line tool writes a line per solution: straight into place, sixteen
        // values at a time as valueChar spells them, while every value fits a byte.
        using Words = std::uint16_t __attribute__((vector_size(32)));
        using Bytes = std::uint8_t __attribute__((vector_size(16)));
        constexpr int kLanes = 16;
        const int cells = side * side;
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(cells) + 1);
        char* to = out.data() + at;
        std::uint16_t bits = 0;
        for (int i = 0; i < cells; ++i)
            bits |= values[i];
        int i = 0;
        for (; bits < 256 && i + kLanes <= cells; i += kLanes) {
            Words wide;
            std::memcpy(&wide, values + i, sizeof wide);
            const Bytes v = __builtin_convertvector(wide, Bytes);
            const Bytes digit = reinterpret_cast<Bytes>(v <= 9);
            const Bytes blank = reinterpret_cast<Bytes>(v == 0);
            const Bytes spelled = lettersFromOne ? v + ('A' - 1) : v + ((digit & '0') | (~digit & ('A' - 10)));
            const Bytes chars = (spelled & ~blank) | (blank & '.');
            std::memcpy(to + i, &chars, sizeof chars);
        }
        for (; i < cells; ++i)
            to[i] = charOf(values[i]);
        to[cells] = '\n';
        return true;
    }
    std::string rule;
    for (int b = 0; b < n; ++b)
        rule += std::string(static_cast<std::size_t>(n), '-') + (b + 1 < n ? "+" : "\n");
    for (int r = 0; r < side; ++r) {
        if (ss && r > 0 && r % n == 0)
            out += rule;
        for (int c = 0; c < side; ++c) {
            if (ss && c > 0 && c % n == 0)
                out += '|';
            out += charOf(values[r * side + c]);
        }
        out += '\n';
    }
    return true;
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
