#include "TestBoards.h"

#include "SudokuSolver.h"

#include <cstdlib>

SudokuBoard boardFromText(int innerSize, const std::string& text)
{
    SudokuBoard board(innerSize);
    const int size = board.getSize();
    for (int i = 0; i < size * size && i < static_cast<int>(text.size()); ++i) {
        const char ch = text[i];
        int v = 0;
        if (ch >= '1' && ch <= '9')
            v = ch - '0';
        else if (ch >= 'A' && ch <= 'Z')
            v = ch - 'A' + 10;
        board.cellAt(i / size, i % size)->setValue(v);
    }
    board.recomputePossibles();
    return board;
}

bool sameBoard(const SudokuBoard& a, const SudokuBoard& b)
{
    if (a.getSize() != b.getSize())
        return false;
    for (int r = 0; r < a.getSize(); ++r) {
        for (int c = 0; c < a.getSize(); ++c) {
            const Cell* x = a.cellAt(r, c);
            const Cell* y = b.cellAt(r, c);
            if (x->getValue() != y->getValue() || x->numPossibles() != y->numPossibles())
                return false;
            for (int v = 1; v <= a.getSize(); ++v)
                if (x->isPossible(v) != y->isPossible(v))
                    return false;
        }
    }
    return true;
}

bool isCompleteAndValid(const SudokuBoard& board)
{
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c)
            if (board.valueAt(r, c) == 0)
                return false;
    return board.isValid();
}

bool keepsGivens(const SudokuBoard& puzzle, const SudokuBoard& solution)
{
    for (int r = 0; r < puzzle.getSize(); ++r)
        for (int c = 0; c < puzzle.getSize(); ++c)
            if (puzzle.valueAt(r, c) != 0 && puzzle.valueAt(r, c) != solution.valueAt(r, c))
                return false;
    return true;
}

SudokuBoard randomCompleteGrid(int innerSize)
{
    SudokuBoard blank(innerSize);
    SudokuSolver solver;
    return *solver.solve(&blank, false, false);
}

SudokuBoard randomPuzzle(int innerSize, int blanks)
{
    SudokuBoard board = randomCompleteGrid(innerSize);
    const int size = board.getSize();
    for (int i = 0; i < blanks; ++i)
        board.cellAt(std::rand() % size, std::rand() % size)->setValue(0);
    board.recomputePossibles();
    return board;
}

SudokuBoard randomPartialBoard(int innerSize, int placements)
{
    SudokuBoard board(innerSize);
    const int size = board.getSize();
    for (int i = 0; i < placements; ++i) {
        Cell* cell = board.cellAt(std::rand() % size, std::rand() % size);
        if (cell->getValue() == 0 && cell->numPossibles() > 0)
            board.placeValue(cell->getRow(), cell->getCol(), cell->randomPossible());
    }
    board.recomputePossibles();
    return board;
}
