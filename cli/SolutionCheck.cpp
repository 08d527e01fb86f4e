#include "SolutionCheck.h"

#include <cstdint>
#include <vector>

bool solvesPuzzle(const SudokuBoard& puzzle, const SudokuBoard& solution)
{
    const int size = puzzle.getSize();
    const int n = puzzle.getInnerSize();
    if (solution.getSize() != size)
        return false;
    // One bit per value seen, for each row, column and sub-square.
    const int words = (size + 63) / 64;
    std::vector<std::uint64_t> seen(3 * static_cast<std::size_t>(size) * words, 0);
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            const int v = solution.valueAt(r, c);
            if (v < 1 || v > size || (puzzle.valueAt(r, c) != 0 && puzzle.valueAt(r, c) != v))
                return false;
            const std::uint64_t bit = std::uint64_t{1} << ((v - 1) % 64);
            for (const int unit : {r, size + c, 2 * size + (r / n) * n + c / n}) {
                std::uint64_t& word = seen[static_cast<std::size_t>(unit) * words + (v - 1) / 64];
                if (word & bit)
                    return false;
                word |= bit;
            }
        }
    }
    return true;
}
