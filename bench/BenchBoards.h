#pragma once

#include "SudokuBoard.h"

// A solved grid of inner size n with about a third of its cells blanked; the
// candidates are left for the caller to rebuild.
inline SudokuBoard partlyFilledBoard(int n)
{
    SudokuBoard board(n);
    const int size = n * n;
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            if ((r * 7 + c * 5) % 3 != 0)
                board.cellAt(r, c)->setValue((r % n * n + r / n + c) % size + 1);
    return board;
}
