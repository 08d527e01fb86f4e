#pragma once

#include "SudokuBoard.h"

// Whether solution is complete, breaks no rule and keeps every given of puzzle.
bool solvesPuzzle(const SudokuBoard& puzzle, const SudokuBoard& solution);
