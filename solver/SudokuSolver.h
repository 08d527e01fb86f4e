#pragma once

#include "SudokuBoard.h"

#include <cstdint>

// Randomised depth-first search with forced-value propagation over copies of a
// board. First-solution mode (the dialog's) is timed and restarts from the
// caller's board with twice the limit after a timeout; list-all mode prints every
// solution with its checksum to standard output.
class SudokuSolver {
public:
    SudokuSolver();
    ~SudokuSolver();
    SudokuSolver(const SudokuSolver&) = delete;
    SudokuSolver& operator=(const SudokuSolver&) = delete;

    // Returns the first solution found (owned by the solver, valid until the next
    // solve or the solver's destruction), or null: invalid board, no solution, or
    // list-all mode. The board is only read.
    SudokuBoard* solve(SudokuBoard* board, bool listAll, bool sparse);

    // Values tried (plus one per restart), deepest nesting of tried values, and
    // propagation failures of the last solve.
    std::int32_t getTries() const { return tries - 1; }
    std::int32_t getMaxDepth() const { return maxDepth - 1; }
    std::int32_t getDeadEnds() const { return deadEnds; }

    // Prints the board's boxed text to standard output, or "<Null Board Pointer>".
    void printBoard(const SudokuBoard* board) const;

    // Fills in every forced value; returns null (complete), a blank cell without
    // candidates (dead end) or the blank cell to branch on.
    Cell* propagate(SudokuBoard* board);
};
