#include "ReferenceSolver.h"
#include "SudokuSolver.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::int32_t frozenClock()
{
    return 0;
}

// A random board of the given inner size: a puzzle cut from a complete grid, or,
// up to 9 x 9, a valid board grown by random placements (which may have no
// solution; on larger grids such boards can take the untimed search for ever).
SudokuBoard randomBoard(int innerSize, int i)
{
    const int cells = innerSize * innerSize * innerSize * innerSize;
    if (innerSize <= 3 && i % 3 == 2)
        return randomPartialBoard(innerSize, std::rand() % (cells / 2 + 1));
    return randomPuzzle(innerSize, std::rand() % (innerSize <= 3 ? cells * 3 / 2 : cells / 2));
}

// The solver and the plain reference, started from the same seed, must store the
// same boards (values and candidate sets), count the same figures and leave the
// random generator at the same place.
void compareRun(SudokuSolver& solver, const SudokuBoard& start, std::uint32_t maxSolutions, unsigned seed)
{
    SudokuBoard board(start);
    std::srand(seed);
    std::uint32_t found = 0;
    if (maxSolutions == 1)
        found = solver.solve(&board, false, false) ? 1 : 0;
    else
        found = solver.solveUnique(&board);
    const int solverNext = std::rand();

    ReferenceSolver reference;
    std::srand(seed);
    reference.run(start, maxSolutions);
    const int referenceNext = std::rand();

    const std::string where = "seed " + std::to_string(seed) + ", inner size " + std::to_string(start.getInnerSize());
    ASSERT_EQ(found, reference.solutionCount) << where;
    EXPECT_EQ(solver.getTries(), reference.tries - 1) << where;
    EXPECT_EQ(solver.getMaxDepth(), reference.maxDepth - 1) << where;
    EXPECT_EQ(solver.getDeadEnds(), reference.deadEnds) << where;
    EXPECT_EQ(solverNext, referenceNext) << where;
    for (std::uint32_t k = 0; k < found; ++k)
        EXPECT_TRUE(sameBoard(*solver.getSolution(static_cast<int>(k)), *reference.solutions[k])) << where;
    EXPECT_TRUE(sameBoard(board, start)) << "the argument is only read; " << where;
}

struct Batch {
    int innerSize;
    int boards;
};

TEST(SearchAgainstReference, FirstSolutionAndUniquenessOnRandomBoards)
{
    SudokuSolver solver;
    solver.setClock(&frozenClock);
    for (const Batch batch : {Batch{2, 400}, Batch{3, 1500}, Batch{4, 100}}) {
        for (int i = 0; i < batch.boards; ++i) {
            std::srand(7000u * batch.innerSize + i);
            const SudokuBoard board = randomBoard(batch.innerSize, i);
            compareRun(solver, board, i % 4 == 3 ? 2 : 1, 31u * i + 5u);
            if (HasFailure())
                return;
        }
    }
}

// A complete grid of any inner size from the shifted-rows pattern, with random
// cells cleared: it reaches the engines for wider grids, whose random grids would
// take too long to draw.
SudokuBoard patternPuzzle(int innerSize, int blanks)
{
    SudokuBoard board(innerSize);
    const int size = board.getSize();
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            board.cellAt(r, c)->setValue(((r % innerSize) * innerSize + r / innerSize + c) % size + 1);
    for (int i = 0; i < blanks; ++i)
        board.cellAt(std::rand() % size, std::rand() % size)->setValue(0);
    board.recomputePossibles();
    return board;
}

TEST(SearchAgainstReference, WideGrids)
{
    SudokuSolver solver;
    solver.setClock(&frozenClock);
    for (const int innerSize : {5, 8, 9}) {
        for (int i = 0; i < 6; ++i) {
            std::srand(500u * innerSize + i);
            const int size = innerSize * innerSize;
            const SudokuBoard board = patternPuzzle(innerSize, size * (i + 1));
            compareRun(solver, board, i % 2 == 0 ? 1 : 2, 11u * i + 3u);
            if (HasFailure())
                return;
        }
    }
}

TEST(SearchAgainstReference, ListAllCountsOnRandomBoards)
{
    SudokuSolver solver;
    for (int i = 0; i < 200; ++i) {
        const int innerSize = i % 3 == 0 ? 3 : 2;
        std::srand(9100u + i);
        const SudokuBoard board = innerSize == 3 ? randomPuzzle(3, 30 + std::rand() % 30) : randomBoard(2, i);
        SudokuBoard copy(board);
        std::srand(i);
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(solver.solve(&copy, true, true), nullptr);
        const std::string out = ::testing::internal::GetCapturedStdout();

        ReferenceSolver reference;
        std::srand(i);
        reference.run(board, 3);
        ASSERT_EQ(solver.getSolutionCount(), reference.solutionCount) << i;
        EXPECT_EQ(solver.getTries(), reference.tries - 1) << i;
        EXPECT_EQ(solver.getDeadEnds(), reference.deadEnds) << i;
        EXPECT_EQ(out.empty(), reference.solutionCount == 0) << "sparse output shows solution 1 only";
    }
}

} // namespace
