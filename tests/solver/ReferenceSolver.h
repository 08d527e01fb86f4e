#pragma once

#include "SudokuBoard.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

// The propagation and search written the plain way, step by step, on boards
// allocated per node. The fast solver must make exactly the same decisions.
// Timeouts are given as counts of branching nodes: run k enters abandonAfter[k] of them
// and is abandoned at the next, as a run whose clock passes its limit there; the next
// run starts afresh from the board and the figures add up.
class ReferenceSolver {
public:
    // A candidate drawn with one call of the C library's rand(), as the algorithm
    // draws; -1 when there is none. The solver draws from GlibcRandom instead, so
    // that the two agreeing checks that sequence draw for draw.
    static int drawPossible(const Cell& cell)
    {
        return cell.numPossibles() < 1 ? -1 : cell.nthPossible(std::rand() % cell.numPossibles());
    }

    // Same contract as SudokuSolver::propagate.
    static Cell* propagate(SudokuBoard* board);

    // First-solution search storing up to maxSolutions solutions, or list-all
    // counting when maxSolutions is 3 or more.
    void run(const SudokuBoard& board, std::uint32_t maxSolutions, const std::vector<int>& abandonAfter = {});

    std::uint32_t solutionCount = 0;
    std::int32_t tries = 0;
    std::int32_t maxDepth = 0;
    std::int32_t deadEnds = 0;
    std::unique_ptr<SudokuBoard> solutions[2];
    // What the abandoned runs did: how many there were, their dead ends, and the
    // solutions they had found (and lost) when abandoned.
    int abandonedRuns = 0;
    std::int32_t abandonedDeadEnds = 0;
    std::uint32_t abandonedSolutions = 0;

private:
    void search(SudokuBoard* board);

    std::uint32_t limit = 1;
    std::int32_t depth = 0;
    int branchingNodesLeft = -1; // -1: never abandoned
    bool abandoned = false;
};
