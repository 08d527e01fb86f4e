#pragma once

#include "Cell.h"

#include <cstdint>
#include <cstdio>
#include <vector>

// A square grid of n*n by n*n cells, n being the inner (sub-square) size, with the
// rules of the puzzle. Cells are kept row-major in one block owned by the board.
class SudokuBoard {
public:
    // Largest inner size a board accepts (a 256 x 256 grid). A board asked for a
    // larger or negative inner size is a caller's error that no reader lets
    // through: the constructor writes a message to standard error and ends the
    // process with kExitInnerSizeOutOfRange, rather than build some other board.
    static constexpr int kMaxInnerSize = 16;

    // Exit codes of the file constructor.
    static constexpr int kExitCannotOpen = 1;
    static constexpr int kExitNoInnerSize = 2;
    static constexpr int kExitInnerSizeOutOfRange = 6;

    explicit SudokuBoard(int innerSize);
    SudokuBoard(const SudokuBoard& other);
    // Reads a grid file (defined with the reader, in GridFile.cpp). A file that
    // cannot be opened, lacks an inner size or gives one out of range ends the
    // process with a message on standard error.
    explicit SudokuBoard(const char* path);
    SudokuBoard& operator=(const SudokuBoard& other);
    SudokuBoard(SudokuBoard&& other) noexcept;
    SudokuBoard& operator=(SudokuBoard&& other) noexcept;
    ~SudokuBoard();

    // Null when r or c is outside 0..size-1.
    Cell* cellAt(int r, int c)
    {
        return inRange(r, c) ? &cells[static_cast<std::size_t>(r) * size + c] : nullptr;
    }
    const Cell* cellAt(int r, int c) const
    {
        return inRange(r, c) ? &cells[static_cast<std::size_t>(r) * size + c] : nullptr;
    }
    // -1 when r or c is outside 0..size-1.
    int valueAt(int r, int c) const
    {
        return inRange(r, c) ? cells[static_cast<std::size_t>(r) * size + c].getValue() : -1;
    }

    int getInnerSize() const { return innerSize; }
    int getSize() const { return size; }

    // True when no filled cell holds a value out of range or shares its value with
    // a filled peer (same row, column or sub-square).
    bool isValid() const;

    // Sets the value and removes it from the candidates of every peer.
    void placeValue(int r, int c, int v);

    // Rebuilds every candidate set from the values.
    void recomputePossibles();

    // CRC-16/MODBUS of the values in row-major order, one byte each.
    std::uint16_t crc16() const;

    // Boxed text rendering in the buffer shared by all boards; valid until the
    // next toText call on any board.
    const char* toText() const;
    static int getTextBufferSize() { return textBufferSize; }

    // Writes the board in the saved grid-file layout, trailer line included.
    void writeGrid(std::FILE* out) const;

private:
    bool inRange(int r, int c) const { return r >= 0 && r < size && c >= 0 && c < size; }
    void createCells(int n);
    void appendSeparator(char* buffer, int& length) const;

    std::int32_t innerSize = 0;
    std::int32_t size = 0;
    std::vector<Cell> cells;

    static char* textBuffer;
    static std::int32_t textBufferSize;
};
