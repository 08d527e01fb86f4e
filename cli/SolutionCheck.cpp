#include "SolutionCheck.h"

#include "SudokuBoard.h"

#include <algorithm>

namespace {

// The same check for a box size known when compiled, each unit's values in one word:
// the grids bench times by far the most.
template <int N>
bool solvesFixed(const std::uint16_t* puzzle, const std::uint16_t* solution)
{
    constexpr int kSize = N * N;
    // Values in range and givens kept first, in one pass without branches, so that the
    // sets below need no check per cell.
    constexpr int kCells = kSize * kSize;
    unsigned bad = 0;
    for (int i = 0; i < kCells; ++i) {
        const unsigned v = solution[i];
        const unsigned given = puzzle[i];
        bad |= static_cast<unsigned>(v - 1 >= kSize) |
            (static_cast<unsigned>(given != 0) & static_cast<unsigned>(given != v));
    }
    if (bad != 0)
        return false;
    std::uint32_t rows[kSize] = {};
    std::uint32_t columns[kSize] = {};
    std::uint32_t boxes[kSize] = {};
    // Cells by bands and stacks: every unit's index is known when compiled.
    for (int band = 0; band < N; ++band) {
        for (int inBand = 0; inBand < N; ++inBand) {
            const int r = band * N + inBand;
            for (int stack = 0; stack < N; ++stack) {
                for (int inStack = 0; inStack < N; ++inStack) {
                    const int c = stack * N + inStack;
                    const std::uint32_t bit = std::uint32_t{1} << (solution[r * kSize + c] - 1);
                    rows[r] |= bit;
                    columns[c] |= bit;
                    boxes[band * N + stack] |= bit;
                }
            }
        }
    }
    constexpr std::uint32_t kFull = (std::uint32_t{1} << kSize) - 1;
    std::uint32_t missing = 0;
    for (int unit = 0; unit < kSize; ++unit)
        missing |= (rows[unit] & columns[unit] & boxes[unit]) ^ kFull;
    return missing == 0;
}

} // namespace

bool solvesPuzzle(const std::uint16_t* puzzle, const std::uint16_t* solution, int innerSize)
{
    switch (innerSize) {
    case 2:
        return solvesFixed<2>(puzzle, solution);
    case 3:
        return solvesFixed<3>(puzzle, solution);
    case 4:
        return solvesFixed<4>(puzzle, solution);
    case 5:
        return solvesFixed<5>(puzzle, solution);
    default:
        break;
    }
    constexpr int kMaxSide = SudokuBoard::kMaxInnerSize * SudokuBoard::kMaxInnerSize;
    constexpr int kMaxWords = (kMaxSide + 63) / 64;
    if (innerSize < 0 || innerSize > SudokuBoard::kMaxInnerSize)
        return false;
    const int n = innerSize;
    const int size = n * n;
    // The values seen in each row, column and sub-square, one bit each, on the stack:
    // bench checks every solution. A unit of size cells that has seen every value has
    // none twice, so the sets are only filled, then compared with the full set.
    const int words = (size + 63) / 64;
    std::uint64_t seen[3 * kMaxSide * kMaxWords];
    std::fill(seen, seen + 3 * size * words, 0);
    for (int r = 0, i = 0; r < size; ++r) {
        const int band = 2 * size + r / n * n;
        // The sub-square moves on every n columns, counted rather than divided.
        for (int c = 0, box = band, inBox = 0; c < size; ++c, ++i) {
            const int v = solution[i];
            const int given = puzzle[i];
            // v - 1 wraps for 0, so one comparison takes both ends of the range.
            if (static_cast<unsigned>(v - 1) >= static_cast<unsigned>(size) || (given != 0 && given != v))
                return false;
            const std::uint64_t bit = std::uint64_t{1} << ((v - 1) % 64);
            const int word = (v - 1) / 64;
            seen[r * words + word] |= bit;
            seen[(size + c) * words + word] |= bit;
            seen[box * words + word] |= bit;
            if (++inBox == n) {
                inBox = 0;
                ++box;
            }
        }
    }
    for (int unit = 0; unit < 3 * size; ++unit) {
        for (int word = 0; word < words; ++word) {
            const int left = size - 64 * word;
            const std::uint64_t full = left >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << left) - 1;
            if (seen[unit * words + word] != full)
                return false;
        }
    }
    return true;
}
