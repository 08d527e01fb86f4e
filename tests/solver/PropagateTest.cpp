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

// A value missing from every other cell of one unit of (r, c) on a blank board is
// placed there, and nothing else; off-corner cells of 16 x 16 and 25 x 25 grids, so
// that a unit's positions and the wide masks are exercised.
TEST_P(PropagateCases, HiddenSingleInEachKindOfUnitOnLargeGrids)
{
    enum Unit { row, column, subSquare };
    for (const auto& [n, r, c, v, unit] :
         {std::tuple{4, 6, 9, 11, row}, {4, 6, 9, 16, column}, {4, 6, 9, 3, subSquare}, {5, 13, 22, 25, row},
          {5, 13, 22, 17, column}, {5, 13, 22, 8, subSquare}, {5, 24, 0, 1, subSquare}, {3, 4, 7, 9, subSquare}}) {
        SudokuBoard board(n);
        const int size = n * n;
        for (int i = 0; i < size; ++i) {
            const int pr = unit == row ? r : unit == column ? i : r - r % n + i / n;
            const int pc = unit == row ? i : unit == column ? c : c - c % n + i % n;
            if (pr != r || pc != c)
                board.cellAt(pr, pc)->removePossible(v);
        }
        const Cell* cell = GetParam()(&board);
        int filled = 0;
        for (int i = 0; i < size * size; ++i)
            filled += board.valueAt(i / size, i % size) != 0;
        EXPECT_EQ(board.valueAt(r, c), v) << n << ": unit " << unit;
        EXPECT_EQ(filled, 1) << n << ": unit " << unit;
        EXPECT_NE(cell, nullptr);
    }
}

// The branching cell is the first in column-major order among those with the fewest
// candidates, whatever that count is.
TEST_P(PropagateCases, TiesAtThreeOrMoreCandidates)
{
    using Cells = std::vector<std::tuple<int, int, std::vector<int>>>;
    for (const auto& [n, cells, wantRow, wantCol] :
         {std::tuple{3, Cells{{0, 0, {1, 2, 3, 4}}, {8, 1, {4, 5, 6}}, {2, 4, {1, 2, 3}}}, 8, 1},
          {3, Cells{{2, 4, {1, 2, 3}}, {7, 4, {7, 8, 9}}, {0, 5, {1, 2, 3, 5}}}, 2, 4},
          {4, Cells{{9, 3, {1, 2, 3, 4}}, {1, 5, {1, 2, 3, 4}}, {15, 2, {5, 6, 7, 8, 9}}}, 9, 3},
          {5, Cells{{20, 7, {2, 3, 4}}, {3, 7, {5, 6, 7, 8}}, {0, 19, {1, 2, 3}}}, 20, 7}}) {
        SudokuBoard board(n);
        for (const auto& [r, c, keep] : cells) {
            Cell* cell = board.cellAt(r, c);
            for (int v = 1; v <= board.getSize(); ++v)
                if (std::find(keep.begin(), keep.end(), v) == keep.end())
                    cell->removePossible(v);
        }
        EXPECT_EQ(GetParam()(&board), board.cellAt(wantRow, wantCol)) << n << ": (" << wantRow << ", " << wantCol << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(SolverAndReference, PropagateCases,
                         ::testing::Values(+[](SudokuBoard* board) { return SudokuSolver().propagate(board); },
                                           &ReferenceSolver::propagate));

} // namespace
