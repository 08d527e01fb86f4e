#pragma once

#include "SudokuBoard.h"

#include <string>
#include <vector>

// Builds a board from one character per cell, row-major: '.' or '0' blank,
// '1'-'9' and then 'A'... for 10 upwards. Candidates are recomputed.
SudokuBoard boardFromText(int innerSize, const std::string& text);

// True when the two boards hold the same values and the same candidate sets.
bool sameBoard(const SudokuBoard& a, const SudokuBoard& b);

// True when every cell is filled and no rule is broken.
bool isCompleteAndValid(const SudokuBoard& board);

// True when every filled cell of puzzle holds the same value in solution.
bool keepsGivens(const SudokuBoard& puzzle, const SudokuBoard& solution);

// A random complete grid, drawn with the solver from a blank board.
SudokuBoard randomCompleteGrid(int innerSize);

// A complete grid with `blanks` random cells cleared, candidates recomputed.
SudokuBoard randomPuzzle(int innerSize, int blanks);

// A board filled step by step with random candidates of random cells, so that
// it is valid but may have run into a contradiction; candidates recomputed.
SudokuBoard randomPartialBoard(int innerSize, int placements);
