#include "ReferenceSolver.h"
#include "SudokuSolver.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using Propagate = Cell* (*)(SudokuBoard*);

Cell* solverPropagate(SudokuBoard* board)
{
    SudokuSolver solver;
    return solver.propagate(board);
}

// Leaves only the listed candidates in the cell.
void keepOnly(SudokuBoard& board, int r, int c, std::initializer_list<int> keep)
{
    Cell* cell = board.cellAt(r, c);
    for (int v = 1; v <= board.getSize(); ++v)
        if (std::find(keep.begin(), keep.end(), v) == keep.end())
            cell->removePossible(v);
}

void removeFromRowExcept(SudokuBoard& board, int r, int keepCol, int v)
{
    for (int c = 0; c < board.getSize(); ++c)
        if (c != keepCol)
            board.cellAt(r, c)->removePossible(v);
}

// The hand-built cases run against the solver and against the plain reference,
// so that the reference used by the comparison tests is itself checked.
class PropagateCases : public ::testing::TestWithParam<Propagate> {};

TEST_P(PropagateCases, CompleteBoardGivesNullAndStaysUnchanged)
{
    SudokuBoard board = randomCompleteGrid(3);
    const SudokuBoard before(board);
    EXPECT_EQ(GetParam()(&board), nullptr);
    EXPECT_TRUE(sameBoard(board, before));
    SudokuBoard empty(0);
    EXPECT_EQ(GetParam()(&empty), nullptr);
}

TEST_P(PropagateCases, TiesGoToTheFirstCellInColumnMajorOrder)
{
    SudokuBoard board(3);
    keepOnly(board, 0, 1, {1, 2});
    keepOnly(board, 5, 0, {1, 2});
    const Cell* cell = GetParam()(&board);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell, board.cellAt(5, 0)) << "the returned cell belongs to the board passed in";
    EXPECT_EQ(board.valueAt(0, 1), 0);
}

TEST_P(PropagateCases, StopsAtACellWithoutCandidatesKeepingEarlierPlacements)
{
    SudokuBoard board(3);
    keepOnly(board, 0, 0, {4});
    keepOnly(board, 3, 0, {});
    keepOnly(board, 5, 0, {7});
    EXPECT_EQ(GetParam()(&board), board.cellAt(3, 0));
    EXPECT_EQ(board.valueAt(0, 0), 4);
    EXPECT_EQ(board.valueAt(5, 0), 0) << "cells after the dead end are not visited";
    EXPECT_FALSE(board.cellAt(1, 1)->isPossible(4));
}

TEST_P(PropagateCases, APassThatPlacesIsFollowedByAnother)
{
    SudokuBoard board(3);
    keepOnly(board, 0, 0, {5, 6});
    keepOnly(board, 0, 1, {5});
    const Cell* cell = GetParam()(&board);
    EXPECT_EQ(board.valueAt(0, 1), 5);
    EXPECT_EQ(board.valueAt(0, 0), 6) << "(0, 0) became single only after the first pass";
    ASSERT_NE(cell, nullptr);
    EXPECT_GE(cell->numPossibles(), 2);
}

TEST_P(PropagateCases, LastBlankWithOneCandidateIsFilled)
{
    SudokuBoard board = randomCompleteGrid(3);
    const int v = board.valueAt(6, 2);
    board.cellAt(6, 2)->setValue(0);
    board.recomputePossibles();
    EXPECT_EQ(GetParam()(&board), nullptr);
    EXPECT_EQ(board.valueAt(6, 2), v);
}

struct UniqueCase {
    const char* name;
    std::initializer_list<int> missingFromRestOfRow;
    int filledPeerCol; // a filled row peer keeping all its flags, or -1
    int placed;
};

TEST_P(PropagateCases, PlacesTheLowestCandidatePassingAUniquenessTest)
{
    const UniqueCase cases[] = {
        {"only 7 is unique in its row", {7}, -1, 7},
        {"2 and 7 are unique: the lower wins", {2, 7}, -1, 2},
        {"a filled peer's stale flags do not count", {7}, 0, 7},
    };
    for (const UniqueCase& uc : cases) {
        SudokuBoard board(3);
        keepOnly(board, 4, 4, {2, 7});
        for (const int v : uc.missingFromRestOfRow)
            removeFromRowExcept(board, 4, 4, v);
        if (uc.filledPeerCol >= 0) {
            Cell* filled = board.cellAt(4, uc.filledPeerCol);
            filled->setValue(9);
            filled->resetPossibles();
        }
        GetParam()(&board);
        EXPECT_EQ(board.valueAt(4, 4), uc.placed) << uc.name;
    }
}

INSTANTIATE_TEST_SUITE_P(SolverAndReference, PropagateCases,
                         ::testing::Values(&solverPropagate, &ReferenceSolver::propagate));

// The solver's propagation against the plain one on many boards: the same board
// afterwards (values and every candidate set), the same cell returned and the same
// random numbers drawn.
void expectSameDecisions(const SudokuBoard& start, unsigned seed)
{
    SudokuBoard fast(start);
    SudokuBoard plain(start);
    std::srand(seed);
    const Cell* fastCell = solverPropagate(&fast);
    const int fastNext = std::rand();
    std::srand(seed);
    const Cell* plainCell = ReferenceSolver::propagate(&plain);
    const int plainNext = std::rand();
    ASSERT_TRUE(sameBoard(fast, plain)) << "seed " << seed;
    ASSERT_EQ(fastCell == nullptr, plainCell == nullptr) << "seed " << seed;
    if (fastCell) {
        EXPECT_EQ(fastCell, fast.cellAt(plainCell->getRow(), plainCell->getCol())) << "seed " << seed;
    }
    EXPECT_EQ(fastNext, plainNext) << "the same number of rand calls, seed " << seed;
}

TEST(PropagateAgainstReference, RandomBoards)
{
    struct Kind {
        int innerSize;
        int count;
    };
    for (const Kind kind : {Kind{2, 500}, Kind{3, 3000}, Kind{4, 400}}) {
        const int cells = kind.innerSize * kind.innerSize * kind.innerSize * kind.innerSize;
        for (int i = 0; i < kind.count; ++i) {
            std::srand(1000u * kind.innerSize + i);
            const SudokuBoard board = (i % 2 == 0) ? randomPuzzle(kind.innerSize, std::rand() % cells)
                                                   : randomPartialBoard(kind.innerSize, std::rand() % cells);
            expectSameDecisions(board, 77u + i);
            if (HasFatalFailure())
                return;
        }
    }
}

} // namespace
