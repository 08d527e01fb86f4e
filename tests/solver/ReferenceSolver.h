#pragma once

#include "SudokuBoard.h"

#include <cstdint>
#include <memory>

// The propagation and search written the plain way, step by step, on boards
// allocated per node. The fast solver must make exactly the same decisions.
// Untimed: it matches SudokuSolver runs that never reach their time limit.
class ReferenceSolver {
public:
    // Same contract as SudokuSolver::propagate.
    static Cell* propagate(SudokuBoard* board);

    // First-solution search storing up to maxSolutions solutions, or list-all
    // counting when maxSolutions is 3 or more.
    void run(const SudokuBoard& board, std::uint32_t maxSolutions);

    std::uint32_t solutionCount = 0;
    std::int32_t tries = 0;
    std::int32_t maxDepth = 0;
    std::int32_t deadEnds = 0;
    std::unique_ptr<SudokuBoard> solutions[2];

private:
    void search(SudokuBoard* board);

    std::uint32_t limit = 1;
    std::int32_t depth = 0;
};
