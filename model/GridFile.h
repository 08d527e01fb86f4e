#pragma once

#include "SudokuBoard.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

// Grid files: an inner size n, then (n*n)*(n*n) cell values row-major, all read
// with " %d"; anything after them is ignored. This is the one reader: the board's
// file constructor, the dialog's Load and gridlark-cli all read through it.

enum class GridReadStatus {
    ok,
    cannotOpen,
    noInnerSize,
    innerSizeOutOfRange,
};

// What reading a grid file gives: the board, or why there is none.
struct GridRead {
    std::unique_ptr<SudokuBoard> board; // null unless status is ok
    GridReadStatus status = GridReadStatus::ok;
    std::string innerSizeText;          // the inner size as the file writes it, once read

    // The error for standard error, naming path ("" when the read succeeded), and
    // the exit code that goes with it (0 when it succeeded).
    std::string message(const char* path) const;
    int exitCode() const;
};

// Opens a grid file for reading like fopen(path, "r"), except that a FIFO is opened
// without waiting for a writer; one that has none reads as empty. Null on failure.
std::FILE* openGridFile(const char* path);

// Longest number text that readGridNumber gives back whole; a longer one is cut
// there and ends in "...".
constexpr std::size_t kMaxQuotedNumber = 40;

// Reads one number as " %d" does: white space, an optional sign, digits. A number
// beyond the range of int reads as INT_MIN or INT_MAX, never as a wrapped-around
// value, so that it is out of range wherever it is used. When text is given it
// receives the number as the file writes it (sign and leading zeros included).
// False when no number is there; the character that stopped the read stays unread.
bool readGridNumber(std::FILE* in, int& number, std::string* text = nullptr);

// Reads a whole grid from an open stream: the inner size, checked against the
// board's bound, then one number per cell. The first read that fails leaves that
// cell and all later ones blank; numbers out of range leave their cell blank.
GridRead readGrid(std::FILE* in);

// Opens path and reads the grid in it.
GridRead readGridFile(const char* path);

// The Load command's check: true when path opens and its first number (" %d") was
// read into number. opened tells the two failures apart.
bool readLeadingNumber(const char* path, bool& opened, int& number);
