#include "ReferenceSolver.h"
#include "SudokuSolver.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace {

using Propagate = Cell* (*)(SudokuBoard*);

// Leaves only the listed candidates in the cell.
void keepOnly(SudokuBoard& board, int r, int c, std::initializer_list<int> keep)
{
    Cell* cell = board.cellAt(r, c);
    for (int v = 1; v <= board.getSize(); ++v)
        if (std::find(keep.begin(), keep.end(), v) == keep.end())
            cell->removePossible(v);
}

// The hand-built cases run against the solver and against the plain reference,
// so that the reference used by the comparison tests is itself checked.
class PropagateCases : public ::testing::TestWithParam<Propagate> {};

TEST_P(PropagateCases, FillsTheLastBlankAndLeavesACompleteBoardAlone)
{
    SudokuBoard board = randomPuzzle(3, 0);
    const SudokuBoard complete(board);
    board.cellAt(6, 2)->setValue(0);
    board.recomputePossibles();
    EXPECT_EQ(GetParam()(&board), nullptr);
    EXPECT_EQ(board.valueAt(6, 2), complete.valueAt(6, 2));
    EXPECT_EQ(GetParam()(&board), nullptr);
    EXPECT_TRUE(sameBoard(board, complete));
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

TEST_P(PropagateCases, PlacesTheLowestCandidatePassingAUniquenessTest)
{
    // The values missing from the rest of row 4, the column of a filled row peer that
    // keeps all its (stale) flags or -1, and the value placed at (4, 4).
    for (const auto& [missing, filledPeerCol, placed] :
         {std::tuple{std::vector<int>{7}, -1, 7}, {std::vector<int>{2, 7}, -1, 2}, {std::vector<int>{7}, 0, 7}}) {
        SudokuBoard board(3);
        keepOnly(board, 4, 4, {2, 7});
        for (const int v : missing)
            for (int c = 0; c < 9; ++c)
                if (c != 4)
                    board.cellAt(4, c)->removePossible(v);
        if (filledPeerCol >= 0) {
            board.cellAt(4, filledPeerCol)->setValue(9);
            board.cellAt(4, filledPeerCol)->resetPossibles();
        }
        GetParam()(&board);
        EXPECT_EQ(board.valueAt(4, 4), placed) << missing.size() << " unique, filled peer " << filledPeerCol;
    }
}

INSTANTIATE_TEST_SUITE_P(SolverAndReference, PropagateCases,
                         ::testing::Values(+[](SudokuBoard* board) { return SudokuSolver().propagate(board); },
                                           &ReferenceSolver::propagate));

} // namespace
