#pragma once

#include "ReferenceSolver.h"
#include "SolutionCheck.h"
#include "SudokuBoard.h"
#include "SudokuSolver.h"

#include <cstdlib>
#include <string>

// Builds a board from one character per cell, row-major: '.' or '0' blank, '1'-'9' and
// then 'A'... for 10 upwards. Candidates are recomputed.
inline SudokuBoard boardFromText(int innerSize, const std::string& text)
{
    SudokuBoard board(innerSize);
    const int size = board.getSize();
    for (int i = 0; i < size * size && i < static_cast<int>(text.size()); ++i) {
        const char ch = text[i];
        board.cellAt(i / size, i % size)->setValue(ch >= 'A' ? ch - 'A' + 10 : ch >= '1' && ch <= '9' ? ch - '0' : 0);
    }
    board.recomputePossibles();
    return board;
}

// True when the two boards hold the same values and the same candidate sets.
inline bool sameBoard(const SudokuBoard& a, const SudokuBoard& b)
{
    if (a.getSize() != b.getSize())
        return false;
    for (int r = 0; r < a.getSize(); ++r)
        for (int c = 0; c < a.getSize(); ++c) {
            const Cell* x = a.cellAt(r, c);
            const Cell* y = b.cellAt(r, c);
            for (int v = 1; v <= a.getSize(); ++v)
                if (x->isPossible(v) != y->isPossible(v))
                    return false;
            if (x->getValue() != y->getValue() || x->numPossibles() != y->numPossibles())
                return false;
        }
    return true;
}

// A complete grid with `blanks` random cells cleared, candidates recomputed. Up to
// 16 x 16 the grid is drawn with the solver from a blank board; wider random grids would
// take too long to draw, so they follow the shifted-rows pattern.
inline SudokuBoard randomPuzzle(int innerSize, int blanks)
{
    SudokuBoard board(innerSize);
    const int n = innerSize;
    const int size = n * n;
    for (int r = 0; r < size && n > 4; ++r)
        for (int c = 0; c < size; ++c)
            board.cellAt(r, c)->setValue((r % n * n + r / n + c) % size + 1);
    if (n <= 4)
        board = *SudokuSolver().solve(&board, false, false);
    for (int i = 0; i < blanks; ++i)
        board.cellAt(std::rand() % size, std::rand() % size)->setValue(0);
    board.recomputePossibles();
    return board;
}

// A board filled step by step with random candidates of random cells, so that it is
// valid but may have run into a contradiction; candidates recomputed.
inline SudokuBoard randomPartialBoard(int innerSize, int placements)
{
    SudokuBoard board(innerSize);
    const int size = board.getSize();
    for (int i = 0; i < placements; ++i) {
        Cell* cell = board.cellAt(std::rand() % size, std::rand() % size);
        if (cell->getValue() == 0 && cell->numPossibles() > 0)
            board.placeValue(cell->getRow(), cell->getCol(), ReferenceSolver::drawPossible(*cell));
    }
    board.recomputePossibles();
    return board;
}
