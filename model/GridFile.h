#pragma once

#include "SudokuBoard.h"

#include <cstdio>
#include <memory>

// Grid files: an inner size n, then (n*n)*(n*n) cell values row-major, all read
// with " %d"; anything after them is ignored. Reading never ends the process here;
// the board's file constructor is the one fatal reader.

enum class GridReadStatus {
    ok,
    cannotOpen,
    noInnerSize,
    innerSizeOutOfRange,
};

// Reads the inner size that starts a grid file and checks it against the board's bound.
GridReadStatus readInnerSize(std::FILE* in, int& innerSize);

// Reads a whole grid from an open stream; null with the reason in status on failure.
std::unique_ptr<SudokuBoard> readGrid(std::FILE* in, GridReadStatus& status);

// Opens path and reads the grid in it; null with the reason in status on failure.
std::unique_ptr<SudokuBoard> readGridFile(const char* path, GridReadStatus& status);

// The Load command's check: true when path opens and its first number (" %d") was
// read into number. opened tells the two failures apart.
bool readLeadingNumber(const char* path, bool& opened, int& number);
