#include "SudokuBoard.h"

#include "UserTexts.h"

#include <array>
#include <cstdlib>

char* SudokuBoard::textBuffer = nullptr;
std::int32_t SudokuBoard::textBufferSize = 0;

void SudokuBoard::createCells(int n)
{
    if (n < 0 || n > kMaxInnerSize) {
        std::fprintf(stderr, UserTexts::blankInnerSizeOutOfRange, n, kMaxInnerSize);
        std::exit(kExitInnerSizeOutOfRange);
    }
    innerSize = n;
    size = n * n;
    cells.reserve(static_cast<std::size_t>(size) * size);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            cells.emplace_back(r, c, size);
}

SudokuBoard::SudokuBoard(int n)
{
    createCells(n);
}

SudokuBoard::SudokuBoard(const SudokuBoard& other) = default;
SudokuBoard& SudokuBoard::operator=(const SudokuBoard& other) = default;
SudokuBoard::SudokuBoard(SudokuBoard&& other) noexcept = default;
SudokuBoard& SudokuBoard::operator=(SudokuBoard&& other) noexcept = default;
SudokuBoard::~SudokuBoard() = default;

bool SudokuBoard::isValid() const
{
    if (size < 1)
        return true;
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            const int v = valueAt(r, c);
            if (v == 0)
                continue;
            if (v < 1 || v > size)
                return false;
            for (int j = 0; j < size; ++j)
                if (j != c && valueAt(r, j) == v)
                    return false;
            for (int i = 0; i < size; ++i)
                if (i != r && valueAt(i, c) == v)
                    return false;
            const int r0 = (r / innerSize) * innerSize;
            const int c0 = (c / innerSize) * innerSize;
            for (int bi = 0; bi < innerSize; ++bi)
                for (int bj = 0; bj < innerSize; ++bj)
                    if ((r0 + bi != r || c0 + bj != c) && valueAt(r0 + bi, c0 + bj) == v)
                        return false;
        }
    }
    return true;
}

void SudokuBoard::placeValue(int r, int c, int v)
{
    if (!inRange(r, c))
        return;
    Cell* const row = &cells[static_cast<std::size_t>(r) * size];
    row[c].setValue(v);
    if (v == 0)
        return;
    for (int j = 0; j < size; ++j)
        if (j != c)
            row[j].removePossible(v);
    for (int i = 0; i < size; ++i)
        if (i != r)
            cells[static_cast<std::size_t>(i) * size + c].removePossible(v);
    const int r0 = (r / innerSize) * innerSize;
    const int c0 = (c / innerSize) * innerSize;
    for (int bi = 0; bi < innerSize; ++bi)
        for (int bj = 0; bj < innerSize; ++bj)
            if (r0 + bi != r || c0 + bj != c)
                cells[static_cast<std::size_t>(r0 + bi) * size + c0 + bj].removePossible(v);
}

void SudokuBoard::recomputePossibles()
{
    for (Cell& cell : cells)
        cell.resetPossibles();
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            if (const int v = valueAt(r, c); v != 0)
                placeValue(r, c, v);
}

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xA001u : crc >> 1;
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

// Appends text at length, which the caller's capacity check has made room for.
void append(char* buffer, int& length, const char* text)
{
    while (*text)
        buffer[length++] = *text++;
    buffer[length] = '\0';
}

} // namespace

std::uint16_t SudokuBoard::crc16() const
{
    std::uint32_t crc = 0xFFFF;
    for (const Cell& cell : cells) {
        const std::uint32_t b = static_cast<std::uint32_t>(cell.getValue()) & 0xFFu;
        crc = (crc >> 8) ^ kCrcTable[(crc ^ b) & 0xFFu];
    }
    return static_cast<std::uint16_t>(crc);
}

void SudokuBoard::appendSeparator(char* buffer, int& length) const
{
    append(buffer, length, "-");
    for (int c = 0; c < size; ++c)
        append(buffer, length, "----");
    append(buffer, length, "\n");
}

const char* SudokuBoard::toText() const
{
    const int need = 6 * size * size + 50;
    if (textBufferSize < need) {
        delete[] textBuffer;
        textBuffer = new char[need];
        textBufferSize = need;
    }
    int length = 0;
    textBuffer[0] = '\0';
    appendSeparator(textBuffer, length);
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            append(textBuffer, length, c % innerSize == 0 ? "|" : " ");
            const int v = valueAt(r, c);
            if (v == 0) {
                append(textBuffer, length, "  .");
            } else {
                char number[16];
                std::snprintf(number, sizeof number, "%3i", v);
                append(textBuffer, length, number);
            }
        }
        append(textBuffer, length, "|\n");
        if ((r + 1) % innerSize == 0)
            appendSeparator(textBuffer, length);
    }
    return textBuffer;
}

void SudokuBoard::writeGrid(std::FILE* out) const
{
    std::fprintf(out, "%i\n\n", innerSize);
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            std::fprintf(out, "%i ", valueAt(r, c));
            if (c % 3 == 2)
                std::fputs("  ", out);
        }
        std::fputs("\n", out);
        if (r % 3 == 2)
            std::fputs("\n", out);
    }
    std::fputs("--- Grid Saved from Gridlark ---\n", out);
}
