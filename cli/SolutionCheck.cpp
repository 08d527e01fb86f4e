#include "SolutionCheck.h"

#include "SudokuBoard.h"

#include <algorithm>

bool solvesPuzzle(const std::uint16_t* puzzle, const std::uint16_t* solution, int innerSize)
{
    constexpr int kMaxSide = SudokuBoard::kMaxInnerSize * SudokuBoard::kMaxInnerSize;
    constexpr int kMaxWords = (kMaxSide + 63) / 64;
    if (innerSize < 0 || innerSize > SudokuBoard::kMaxInnerSize)
        return false;
    const int n = innerSize;
    const int size = n * n;
    // One bit per value seen, for each row, column and sub-square; on the stack, as
    // bench checks every solution.
    const int words = (size + 63) / 64;
    std::uint64_t seen[3 * kMaxSide * kMaxWords];
    std::fill(seen, seen + 3 * size * words, 0);
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            const int v = solution[r * size + c];
            const int given = puzzle[r * size + c];
            if (v < 1 || v > size || (given != 0 && given != v))
                return false;
            const std::uint64_t bit = std::uint64_t{1} << ((v - 1) % 64);
            for (const int unit : {r, size + c, 2 * size + (r / n) * n + c / n}) {
                std::uint64_t& word = seen[unit * words + (v - 1) / 64];
                if (word & bit)
                    return false;
                word |= bit;
            }
        }
    }
    return true;
}
