// The readers of puzzles written as characters or numbers: one puzzle per line, and
// grid rows in their many layouts.
#include "PuzzleTextReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>

using namespace PuzzleTextParts;

namespace PuzzleTextParts {

bool isBlankChar(char ch)
{
    return ch == '0' || ch == '.' || ch == '_' || ch == '*' || ch == '-';
}

std::size_t firstNonSpace(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && isSpace(line[i]))
        ++i;
    return i;
}

bool isBlankLine(std::string_view line)
{
    return firstNonSpace(line) == line.size();
}

std::string_view trimmed(std::string_view line)
{
    line.remove_prefix(firstNonSpace(line));
    while (!line.empty() && isSpace(line.back()))
        line.remove_suffix(1);
    return line;
}

bool isCommentLine(std::string_view line)
{
    const std::string_view t = trimmed(line);
    return !t.empty() && t[0] == '#';
}

bool isSectionLine(std::string_view line)
{
    const std::string_view t = trimmed(line);
    return t.size() > 2 && t.front() == '[' && t.back() == ']' &&
        std::all_of(t.begin() + 1, t.end() - 1, [](char ch) { return std::isalpha(static_cast<unsigned char>(ch)) || ch == ' '; });
}

bool isTitleLine(std::string_view line)
{
    const std::string_view t = trimmed(line);
    if (t.empty() || !std::isalpha(static_cast<unsigned char>(t[0])))
        return false;
    // A word and a short number ("GRID 01", "Puzzle #12"), or a character no cell
    // uses (lower case past f, a colon): cell rows hold neither.
    const std::size_t word = std::min(t.find_first_of(" \t"), t.size());
    std::string_view number = trimmed(t.substr(word));
    if (!number.empty() && number[0] == '#')
        number.remove_prefix(1);
    const bool wordThenNumber = word >= 2 && !number.empty() && number.size() <= 6 &&
        std::all_of(t.begin(), t.begin() + static_cast<long>(word), [](char ch) { return std::isalpha(static_cast<unsigned char>(ch)); }) &&
        std::all_of(number.begin(), number.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); });
    return wordThenNumber || std::any_of(t.begin(), t.end(), [](char ch) { return (ch >= 'g' && ch <= 'z') || ch == ':'; });
}

int innerSizeOfSide(std::size_t side)
{
    for (int n = 2; n <= 5; ++n)
        if (side == static_cast<std::size_t>(n * n))
            return n;
    return 0;
}

int innerSizeOfCount(std::size_t count)
{
    for (int n = 2; n <= 5; ++n)
        if (count == static_cast<std::size_t>(n * n * n * n))
            return n;
    return 0;
}

std::string sizeName(int innerSize)
{
    const int side = innerSize * innerSize;
    return std::to_string(side) + "x" + std::to_string(side);
}

std::string quoted(std::string_view text)
{
    std::string q(1, '\'');
    q.append(text);
    q.push_back('\'');
    return q;
}

std::string shown(char ch)
{
    return std::isprint(static_cast<unsigned char>(ch)) ? std::string("'") + ch + "'"
                                                        : "byte " + std::to_string(static_cast<unsigned char>(ch));
}

} // namespace PuzzleTextParts

namespace {

// How the characters of a puzzle above 9x9 spell its values.
enum class Alphabet {
    digitsFirst,    // 1-9, then A for 10
    hex,            // 0-F for 1-16
    lettersFromOne, // A for 1
};

bool isNumber(std::string_view token)
{
    return !token.empty() && token.size() <= 2 &&
        std::all_of(token.begin(), token.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

// The text split at white space and the punctuation of JSON arrays and CSV rows.
std::vector<std::pair<std::string_view, std::size_t>> tokens(std::string_view line)
{
    std::vector<std::pair<std::string_view, std::size_t>> found;
    std::size_t k = 0;
    const auto separates = [](char ch) { return isSpace(ch) || ch == ',' || ch == ';' || ch == '[' || ch == ']' || ch == '"'; };
    while (k < line.size()) {
        if (separates(line[k])) {
            ++k;
            continue;
        }
        std::size_t end = k;
        while (end < line.size() && !separates(line[end]))
            ++end;
        found.emplace_back(line.substr(k, end - k), k);
        k = end;
    }
    return found;
}

// A count of the puzzles ("49151"), or a count and a box size or side ("8960 9").
bool isCountLine(const std::vector<std::pair<std::string_view, std::size_t>>& words)
{
    const auto isWhole = [](std::string_view w) {
        return w.size() <= 7 && std::all_of(w.begin(), w.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
    };
    if (words.empty() || words.size() > 2 || !isWhole(words[0].first))
        return false;
    if (words.size() == 1)
        return true;
    if (!isWhole(words[1].first) || words[1].first.size() > 2)
        return false;
    const std::size_t size = std::stoul(std::string(words[1].first));
    return innerSizeOfSide(size) != 0 || innerSizeOfSide(size * size) != 0;
}

char blankAsSpace(char ch)
{
    return isSpace(ch) ? ' ' : ch;
}

// The value of each character in a 9x9 line: 1-9, 0 for a blank character, and
// kNotPlain for any other.
constexpr std::uint8_t kNotPlain = 0xFF;
constexpr std::array<std::uint8_t, 256> kPlainValues = [] {
    std::array<std::uint8_t, 256> values{};
    values.fill(kNotPlain);
    for (int v = 1; v <= 9; ++v)
        values['0' + v] = static_cast<std::uint8_t>(v);
    for (const char blank : {'0', '.', '_', '*', '-'})
        values[static_cast<unsigned char>(blank)] = 0;
    return values;
}();

// A line of 81 digits and blank characters alone, as nearly every line of a large
// file is: the reading below gives the same puzzle, at a fraction of the cost. Sixteen
// characters are taken at a time, the last one alone.
bool readPlainLine(std::string_view line, long number, PuzzleValues& puzzle)
{
    constexpr std::size_t kCells = 81;
    constexpr std::size_t kLanes = 16;
    using Bytes = std::uint8_t __attribute__((vector_size(kLanes)));
    using Words = std::uint16_t __attribute__((vector_size(2 * kLanes)));
    if (line.size() != kCells)
        return false;
    std::uint16_t values[kCells];
    Bytes odd{};
    std::size_t k = 0;
    for (; k + kLanes <= kCells; k += kLanes) {
        Bytes c;
        std::memcpy(&c, line.data() + k, sizeof c);
        const Bytes digit = c - '0';
        const Bytes isDigit = reinterpret_cast<Bytes>(digit <= 9);
        const Bytes isBlank = reinterpret_cast<Bytes>((c == '0') | (c == '.') | (c == '_') | (c == '*') | (c == '-'));
        odd |= ~(isDigit | isBlank);
        const Words wide = __builtin_convertvector(digit & isDigit, Words);
        std::memcpy(values + k, &wide, sizeof wide);
    }
    std::uint8_t last = 0;
    for (; k < kCells; ++k) {
        const std::uint8_t v = kPlainValues[static_cast<unsigned char>(line[k])];
        last |= v & 0x80;
        values[k] = v;
    }
    for (std::size_t lane = 0; lane < kLanes; ++lane)
        last |= odd[lane];
    if (last != 0)
        return false;
    puzzle.innerSize = 3;
    puzzle.line = number;
    puzzle.values.assign(values, values + kCells);
    return true;
}

} // namespace

PuzzleTextReader::PuzzleTextReader(std::string_view text, long firstLine)
    : text(text)
    , firstLine(firstLine)
{
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
}

bool PuzzleTextReader::fail(PuzzleText& out, long line, long column, std::string message)
{
    out.failure = PuzzleText::Failure::malformed;
    out.error = {line, column, std::move(message)};
    return false;
}

bool PuzzleTextReader::lineError(PuzzleText& out, long line, long column, std::string message)
{
    out.lineErrors.push_back({line, column, std::move(message)});
    return false;
}

bool PuzzleTextReader::decodeChars(PuzzleText& out, const std::vector<PuzzleCell>& chars, int innerSize,
                                   PuzzleValues& puzzle)
{
    const int side = innerSize * innerSize;
    bool digit = false;
    bool zero = false;
    bool otherBlank = false;
    char highest = 0;
    for (const PuzzleCell& c : chars) {
        const char ch = static_cast<char>(std::toupper(static_cast<unsigned char>(c.text[0])));
        digit = digit || (ch >= '1' && ch <= '9');
        zero = zero || ch == '0';
        otherBlank = otherBlank || (isBlankChar(ch) && ch != '0') || ch == ' ';
        if (ch >= 'A' && ch <= 'Z')
            highest = std::max(highest, ch);
    }
    const char lastDigitsFirst = static_cast<char>('A' + side - 10); // G for 16x16, P for 25x25
    Alphabet alphabet = Alphabet::digitsFirst;
    std::string twoWays;
    if (side > 9 && highest > lastDigitsFirst && !digit) {
        alphabet = Alphabet::lettersFromOne;
    } else if (side == 16 && highest < 'G' && zero && (otherBlank || highest == 'F')) {
        alphabet = Alphabet::hex;
    } else if (side == 16 && highest < 'G' && zero) {
        twoWays = "'0' is a blank (1-9A-G) or a value (0-F)";
    } else if (side > 9 && highest != 0 && !digit) {
        twoWays = std::string("letters up to ") + highest + " and no digit read two ways (A as 10 or as 1)";
    }
    if (!twoWays.empty())
        return fail(out, chars.front().line, chars.front().column,
                    "a " + sizeName(innerSize) + " puzzle where " + twoWays);
    puzzle.values.assign(chars.size(), 0);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char written = chars[i].text[0];
        const char ch = side > 9 ? static_cast<char>(std::toupper(static_cast<unsigned char>(written))) : written;
        int v = -1;
        if (alphabet == Alphabet::hex)
            v = ch >= '0' && ch <= '9' ? ch - '0' + 1 : ch >= 'A' && ch <= 'F' ? ch - 'A' + 11 : -1;
        else if (ch >= '1' && ch <= '9' && alphabet == Alphabet::digitsFirst)
            v = ch - '0';
        else if (ch >= 'A' && ch <= 'Z' && side > 9)
            v = alphabet == Alphabet::lettersFromOne ? 1 + (ch - 'A') : 10 + (ch - 'A');
        if (v < 0 && (isBlankChar(ch) || ch == ' '))
            v = 0;
        if (v < 0 || v > side)
            return fail(out, chars[i].line, chars[i].column,
                        shown(written) + " is not a value of a " + sizeName(innerSize) + " puzzle or a blank");
        puzzle.values[i] = static_cast<std::uint16_t>(v);
    }
    return true;
}

bool PuzzleTextReader::decode(PuzzleText& out, const std::vector<PuzzleCell>& all, int innerSize, long line,
                              PuzzleValues& puzzle)
{
    puzzle.innerSize = innerSize;
    puzzle.line = line;
    // A cell of two characters makes every cell a decimal number.
    const bool numbers = std::any_of(all.begin(), all.end(), [](const PuzzleCell& c) { return c.text.size() > 1; });
    if (!numbers)
        return decodeChars(out, all, innerSize, puzzle);
    const int side = innerSize * innerSize;
    puzzle.values.assign(all.size(), 0);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string_view t = all[i].text;
        if (!isNumber(t))
            return fail(out, all[i].line, all[i].column, quoted(t) + " in a puzzle written in numbers");
        const int v = t.size() == 1 ? t[0] - '0' : (t[0] - '0') * 10 + (t[1] - '0');
        if (v > side)
            return fail(out, all[i].line, all[i].column,
                        "value " + std::to_string(v) + " in a " + sizeName(innerSize) + " puzzle");
        puzzle.values[i] = static_cast<std::uint16_t>(v);
    }
    return true;
}

bool PuzzleTextReader::readLines(PuzzleText& out, int field, char separator)
{
    bool started = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const long number = lineNumber(i);
        if (field == 0) {
            PuzzleValues plain;
            if (readPlainLine(line, number, plain)) {
                started = true;
                out.recognized = true;
                out.puzzles.push_back(std::move(plain));
                continue;
            }
        }
        if (isBlankLine(line) || isCommentLine(line) || isSectionLine(line))
            continue;
        const std::size_t start = firstNonSpace(line);
        const std::vector<std::pair<std::string_view, std::size_t>> words = tokens(line);
        const bool separated = line.find_first_of(",\t;") != std::string_view::npos;
        if (!started && firstLine == 1 && field == 0 && separated) {
            // A header row names the columns; the puzzle's is puzzle, quizzes or quiz,
            // or else the first whose cells have a puzzle's length.
            const char sep = line.find('\t') != std::string_view::npos ? '\t' : line.find(',') != std::string_view::npos ? ',' : ';';
            std::vector<std::string> names;
            bool header = true;
            for (std::size_t at = 0; header && at <= line.size();) {
                std::size_t end = std::min(line.find(sep, at), line.size());
                std::string name(trimmed(line.substr(at, end - at)));
                name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
                for (char& ch : name)
                    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                header = std::all_of(name.begin(), name.end(), [](char ch) { return std::islower(static_cast<unsigned char>(ch)) || ch == '_' || ch == ' '; });
                names.push_back(name);
                at = end + 1;
            }
            if (header && std::any_of(names.begin(), names.end(), [](const std::string& n) { return !n.empty(); })) {
                const auto named = std::find_if(names.begin(), names.end(), [](const std::string& n) { return n == "puzzle" || n == "quizzes" || n == "quiz"; });
                out.field = named == names.end() ? -1 : static_cast<int>(named - names.begin());
                out.separator = sep;
                field = out.field;
                separator = sep;
                out.notes.push_back({number, 1, "a header row, skipped"});
                continue;
            }
        }
        // A title, unless it has a puzzle's length (a 25x25 puzzle in lower case).
        if (isTitleLine(line) && innerSizeOfCount(words.empty() ? 0 : words[0].first.size()) == 0)
            continue;
        if (!started && firstLine == 1 && !separated && isCountLine(words)) {
            started = true;
            out.notes.push_back({number, 1, "a count line, skipped"});
            continue;
        }
        started = true;
        std::string_view cell;
        std::size_t at = start;
        if (field != 0) {
            std::vector<std::pair<std::string_view, std::size_t>> fields;
            for (std::size_t k = 0; k <= line.size();) {
                const std::size_t end = std::min(line.find(separator, k), line.size());
                fields.emplace_back(line.substr(k, end - k), k);
                k = end + 1;
            }
            // field < 0: a header that names no puzzle column; each row's is its first
            // of a 9x9 or larger puzzle's length.
            std::size_t chosen = field > 0 ? static_cast<std::size_t>(field) : fields.size();
            for (std::size_t k = 0; field < 0 && k < fields.size() && chosen == fields.size(); ++k)
                if (innerSizeOfCount(trimmed(fields[k].first).size()) >= 3)
                    chosen = k;
            if (chosen >= fields.size()) {
                lineError(out, number, static_cast<long>(start) + 1,
                          field < 0 ? "no column of 81, 256 or 625 characters" : "a row without column " + std::to_string(chosen + 1));
                continue;
            }
            at = fields[chosen].second + firstNonSpace(fields[chosen].first);
            cell = trimmed(fields[chosen].first);
        } else {
            std::size_t end = start;
            while (end < line.size() && !isSpace(line[end]) && line[end] != ',' && line[end] != ';')
                ++end;
            cell = line.substr(start, end - start);
        }
        if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
            cell = cell.substr(1, cell.size() - 2);
            ++at;
        }
        int n = innerSizeOfCount(cell.size());
        cells.clear();
        if (n != 0) {
            for (std::size_t k = 0; k < cell.size(); ++k)
                cells.push_back({cell.substr(k, 1), number, static_cast<long>(at + k) + 1});
        } else if (field == 0 && innerSizeOfCount(words.size()) != 0 &&
                   std::all_of(words.begin(), words.end(), [](const auto& w) { return isNumber(w.first); })) {
            n = innerSizeOfCount(words.size());
            for (const auto& [word, column] : words)
                cells.push_back({word, number, static_cast<long>(column) + 1});
        } else {
            lineError(out, number, static_cast<long>(at) + 1,
                      "a line of " + std::to_string(cell.size()) +
                          " characters; a one-line puzzle has 16, 81, 256 or 625 (or as many numbers)");
            continue;
        }
        // A line of a puzzle's length is this notation's even when a character is
        // wrong; numbers are, only when they make a puzzle.
        const bool inNumbers = cells.size() == words.size() && cell.size() != cells.size();
        out.recognized = out.recognized || !inNumbers;
        PuzzleValues puzzle;
        PuzzleText one;
        if (!decode(one, cells, n, number, puzzle)) {
            out.lineErrors.push_back(one.error);
            continue;
        }
        out.recognized = true;
        out.puzzles.push_back(std::move(puzzle));
    }
    if (out.puzzles.empty() && out.lineErrors.empty())
        return fail(out, firstLine, 1, "");
    if (!out.lineErrors.empty())
        out.error = out.lineErrors.front();
    if (out.puzzles.empty())
        out.failure = PuzzleText::Failure::malformed;
    return out.lineErrors.empty();
}

bool PuzzleTextReader::placeBarredCells(PuzzleText& out, const std::vector<PuzzleCell>& segments, int n,
                                        std::vector<PuzzleCell>& placed)
{
    // Each box's row is a segment between bars; its n cells sit at evenly spaced
    // places (" 5 3 . " or "53."), spaces between them, or blank themselves. Every
    // spacing the segments allow must give the same cells.
    const std::size_t width = segments.front().text.size();
    for (const PuzzleCell& s : segments)
        if (s.text.size() != width)
            return fail(out, s.line, s.column, "a box " + std::to_string(s.text.size()) + " characters wide beside one of " + std::to_string(width));
    bool found = false;
    for (std::size_t pitch = 1; (static_cast<std::size_t>(n) - 1) * pitch < width; ++pitch) {
        for (std::size_t pad = 0; pad + (static_cast<std::size_t>(n) - 1) * pitch < width; ++pad) {
            const std::size_t trail = width - 1 - pad - (static_cast<std::size_t>(n) - 1) * pitch;
            if (pad > trail + 1 || trail > pad + 1)
                continue;
            const auto isCellPlace = [&](std::size_t k) { return k >= pad && (k - pad) % pitch == 0 && (k - pad) / pitch < static_cast<std::size_t>(n); };
            bool fits = true;
            for (const PuzzleCell& s : segments)
                for (std::size_t k = 0; k < width && fits; ++k)
                    fits = s.text[k] == ' ' || s.text[k] == '\t' || isCellPlace(k);
            if (!fits)
                continue;
            std::vector<PuzzleCell> these;
            for (const PuzzleCell& s : segments)
                for (int c = 0; c < n; ++c) {
                    const std::size_t k = pad + static_cast<std::size_t>(c) * pitch;
                    these.push_back({s.text.substr(k, 1), s.line, s.column + static_cast<long>(k)});
                }
            if (found) {
                for (std::size_t k = 0; k < these.size(); ++k)
                    if (blankAsSpace(these[k].text[0]) != blankAsSpace(placed[k].text[0]))
                        return fail(out, segments.front().line, segments.front().column,
                                    "boxes " + std::to_string(width) + " characters wide whose cells can be placed two ways");
            } else {
                placed = std::move(these);
                found = true;
            }
        }
    }
    for (PuzzleCell& c : placed)
        if (isSpace(c.text[0]))
            c.text = " ";
    return found || fail(out, segments.front().line, segments.front().column,
                         "a box of " + std::to_string(width) + " characters that does not hold " + std::to_string(n) + " cells");
}

bool PuzzleTextReader::readRows(PuzzleText& out, bool needBars)
{
    int n = 0;
    std::size_t side = 0;
    std::size_t rows = 0;
    long puzzleLine = 0;
    bool barred = false;
    bool anyBar = false;
    bool skipping = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view t = trimmed(line);
        const long number = lineNumber(i);
        const std::size_t start = firstNonSpace(line);
        if (isSectionLine(line)) {
            if (rows != 0)
                return fail(out, number, static_cast<long>(start) + 1, "a section inside a puzzle");
            std::string name(t);
            for (char& ch : name)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            skipping = name != "[puzzle]";
            continue;
        }
        if (skipping || isCommentLine(line))
            continue;
        // Blank lines, rules ("+---+---+", "|---+---|", "*-----*") and the brackets of
        // JSON stand between bands and puzzles. A line of dashes alone may be a row
        // of blanks, within a puzzle.
        const bool oneBlankChar = !t.empty() && t.find_first_not_of(t[0]) == std::string_view::npos && (t[0] == '-' || t[0] == '*');
        const bool boxesOfBlanks = t.find('|') != std::string_view::npos && t.find_first_of("+=") == std::string_view::npos &&
            std::count(t.begin(), t.end(), '|') >= (t.front() == '|') + (t.back() == '|') + 1;
        const bool rule = !t.empty() && t.find_first_not_of("-+*|=[], \t") == std::string_view::npos && !boxesOfBlanks &&
            !(oneBlankChar && rows != 0 && t.size() == side);
        if (t.empty() || rule) {
            if (rows != 0 && rows % static_cast<std::size_t>(n) != 0)
                return fail(out, number, static_cast<long>(start) + 1,
                            "a " + std::string(t.empty() ? "blank line" : "rule") + " after row " + std::to_string(rows) +
                                " of a band of " + std::to_string(n));
            if (t.find('|') != std::string_view::npos) {
                anyBar = true;
                out.format = PuzzleFormat::ss;
            }
            continue;
        }
        if (rows == 0 && isTitleLine(line))
            continue;

        // The row's cells: segments between bars, or tokens.
        const std::size_t rowStart = cells.size();
        int rowInner = 0;
        const bool bars = t.find('|') != std::string_view::npos;
        if (bars) {
            std::size_t from = start;
            std::size_t to = start + t.size();
            if (line[from] == '|')
                ++from;
            if (to > from && line[to - 1] == '|')
                --to;
            for (std::size_t k = from; k <= to;) {
                const std::size_t end = std::min(line.find('|', k), to);
                cells.push_back({line.substr(k, end - k), number, static_cast<long>(k) + 1});
                k = end + 1;
            }
            rowInner = static_cast<int>(cells.size() - rowStart);
            if (rowInner < 2 || rowInner > 5)
                return fail(out, number, static_cast<long>(start) + 1,
                            "a row of " + std::to_string(rowInner) + " boxes; rows hold 2 to 5");
            anyBar = true;
            out.format = PuzzleFormat::ss;
        } else {
            const auto words = tokens(line);
            const std::size_t k = words.size();
            const bool grouped = k >= 2 && k <= 5 && std::all_of(words.begin(), words.end(), [&](const auto& w) { return w.first.size() == k; });
            const bool single = k == 1;
            if (grouped || single) {
                for (const auto& [word, column] : words)
                    for (std::size_t c = 0; c < word.size(); ++c)
                        cells.push_back({word.substr(c, 1), number, static_cast<long>(column + c) + 1});
            } else if (innerSizeOfSide(k) != 0 &&
                       std::all_of(words.begin(), words.end(), [](const auto& w) { return w.first.size() == 1 || isNumber(w.first); })) {
                for (const auto& [word, column] : words)
                    cells.push_back({word, number, static_cast<long>(column) + 1});
            } else {
                return fail(out, number, static_cast<long>(start) + 1,
                            "a row of " + std::to_string(k) + " items; rows hold 4, 9, 16 or 25 cells");
            }
            // A first row with a character no cell can hold (a sign, say) is not taken
            // for the start of a puzzle, so that another notation's error wins.
            for (std::size_t c = rowStart; rows == 0 && c < cells.size(); ++c)
                for (const char ch : cells[c].text)
                    if (!isBlankChar(ch) && !std::isalnum(static_cast<unsigned char>(ch)))
                        return fail(out, number, cells[c].column, shown(ch) + " is not a cell value");
            rowInner = innerSizeOfSide(cells.size() - rowStart);
            if (rowInner == 0)
                return fail(out, number, static_cast<long>(start) + 1,
                            "a row of " + std::to_string(cells.size() - rowStart) + " cells; rows hold 4, 9, 16 or 25");
        }
        if (rows == 0) {
            n = rowInner;
            side = static_cast<std::size_t>(n * n);
            barred = bars;
            puzzleLine = number;
            out.recognized = true;
        } else if (rowInner != n || bars != barred) {
            return fail(out, number, static_cast<long>(start) + 1,
                        bars != barred ? std::string("a row ") + (bars ? "with" : "without") + " '|' in a puzzle of rows " + (barred ? "with" : "without")
                                       : "a row of " + std::to_string(rowInner * (bars ? 1 : rowInner)) + (bars ? " boxes" : " cells") +
                                             " in a puzzle of " + std::to_string(bars ? n : n * n));
        }
        if (++rows == side) {
            std::vector<PuzzleCell> placed;
            if (barred && !placeBarredCells(out, cells, n, placed))
                return false;
            PuzzleValues puzzle;
            if (!decode(out, barred ? placed : cells, n, puzzleLine, puzzle))
                return false;
            out.puzzles.push_back(std::move(puzzle));
            cells.clear();
            rows = 0;
        }
    }
    if (rows != 0)
        return fail(out, puzzleLine, 1,
                    "the text ends after " + std::to_string(rows) + " of this puzzle's " + std::to_string(side) + " rows");
    if (out.puzzles.empty())
        return fail(out, firstLine, 1, "");
    return !needBars || anyBar || fail(out, firstLine, 1, "no '|' between boxes");
}
