#pragma once

#include "SudokuBoard.h"

// True when solution is complete, keeps the rules and keeps every given of puzzle.
inline bool solves(const SudokuBoard& puzzle, const SudokuBoard& solution)
{
    if (solution.getSize() != puzzle.getSize() || !solution.isValid())
        return false;
    for (int r = 0; r < puzzle.getSize(); ++r)
        for (int c = 0; c < puzzle.getSize(); ++c)
            if (solution.valueAt(r, c) == 0 ||
                (puzzle.valueAt(r, c) != 0 && puzzle.valueAt(r, c) != solution.valueAt(r, c)))
                return false;
    return true;
}
