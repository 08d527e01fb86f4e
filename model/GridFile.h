#pragma once

#include "SudokuBoard.h"

#include <cstdio>
#include <memory>
#include <string>

// Grid files: an inner size n, then (n*n)*(n*n) cell values row-major, all read
// with " %d"; anything after them is ignored. Reading never ends the process here;
// the board's file constructor is the one fatal reader.

enum class GridReadStatus {
    ok,
    cannotOpen,
    noInnerSize,
    innerSizeOutOfRange,
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

// Reads the inner size that starts a grid file and checks it against the board's
// bound; text, when given, receives it as readGridNumber gives it.
GridReadStatus readInnerSize(std::FILE* in, int& innerSize, std::string* text = nullptr);

// Reads a whole grid from an open stream; null with the reason in status on failure.
std::unique_ptr<SudokuBoard> readGrid(std::FILE* in, GridReadStatus& status);

// Opens path and reads the grid in it; null with the reason in status on failure.
std::unique_ptr<SudokuBoard> readGridFile(const char* path, GridReadStatus& status);

// The Load command's check: true when path opens and its first number (" %d") was
// read into number. opened tells the two failures apart.
bool readLeadingNumber(const char* path, bool& opened, int& number);
