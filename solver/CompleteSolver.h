#pragma once

#include "SudokuBoard.h"

#include <cstdint>
#include <functional>
#include <vector>

// Finds and proves solutions of a grid of any inner size: singles first, then a
// SAT solver (CaDiCaL) on what is left, fed in memory with one variable per
// remaining candidate and exactly-one clauses for every cell and for every value
// of every row, column and sub-square. The SAT solver is incremental, so each
// further solution is one more call after a clause that rules out the last one.
// Unlike SudokuSolver it has no time limit and no random choices; it keeps no
// figures.
class CompleteSolver {
public:
    // Polled while solving; true stops the search (the count found so far stands).
    using StopCheck = std::function<bool()>;

    // Finds up to maxSolutions different solutions (0: every one) of the grid,
    // values row-major with 0 for a blank. Returns how many it found: 0 for a grid
    // without solution, with a repeated value or a value out of range. The count
    // is exact unless wasStopped().
    std::uint64_t solve(int innerSize, const std::vector<int>& values, std::uint64_t maxSolutions);
    std::uint64_t solve(const SudokuBoard& board, std::uint64_t maxSolutions);

    // Whether the grid has a solution that differs from known, one of its solutions, in
    // at least one of the cells: one search where the caller knows where another
    // solution must differ (a puzzle with one solution, less the givens in cells), far
    // shorter than a count to two. It keeps no solution and ignores the stop check.
    bool hasOtherSolution(int innerSize, const std::vector<int>& values, const std::vector<int>& known,
                          const std::vector<int>& cells);

    // Whether the last solve ended at the stop check rather than at maxSolutions
    // or after the last solution.
    bool wasStopped() const { return stopped; }

    // Solution 0 or 1 of the last solve, row-major; empty when it found fewer.
    const std::vector<int>& getSolution(int index) const { return solutions[index == 0 ? 0 : 1]; }

    void setStopCheck(StopCheck check) { stopCheck = std::move(check); }

private:
    StopCheck stopCheck;
    bool stopped = false;
    std::vector<int> solutions[2];
};
