// bench's check of each solution: a grid that breaks a rule or a given must fail it,
// however it was made.
#include "cli/SolutionCheck.h"

#include "SudokuBoard.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// The shifted-rows grid of inner size n: every row, column and box holds each value once.
SudokuBoard patternGrid(int n)
{
    SudokuBoard grid(n);
    const int size = n * n;
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            grid.cellAt(r, c)->setValue((r % n * n + r / n + c) % size + 1);
    return grid;
}

std::vector<std::uint16_t> valuesOf(const SudokuBoard& grid)
{
    std::vector<std::uint16_t> values;
    for (int r = 0; r < grid.getSize(); ++r)
        for (int c = 0; c < grid.getSize(); ++c)
            values.push_back(static_cast<std::uint16_t>(grid.valueAt(r, c)));
    return values;
}

bool solvesPuzzle(const SudokuBoard& puzzle, const std::vector<std::uint16_t>& solution)
{
    return ::solvesPuzzle(valuesOf(puzzle).data(), solution.data(), puzzle.getInnerSize());
}

TEST(SolutionCheck, TakesOnlyCompleteGridsThatKeepTheRulesAndTheGivens)
{
    for (const int n : {2, 3, 4, 5, 9}) {
        const SudokuBoard solution = patternGrid(n);
        const int size = n * n;
        // Givens: the first row, and the last cell.
        SudokuBoard puzzle(n);
        for (int c = 0; c < size; ++c)
            puzzle.cellAt(0, c)->setValue(solution.valueAt(0, c));
        puzzle.cellAt(size - 1, size - 1)->setValue(solution.valueAt(size - 1, size - 1));
        EXPECT_TRUE(solvesPuzzle(puzzle, valuesOf(solution))) << n;

        const auto changed = [&](const std::function<void(SudokuBoard&)>& change) {
            SudokuBoard grid(solution);
            change(grid);
            return valuesOf(grid);
        };
        const auto swapCells = [](SudokuBoard& grid, int r1, int c1, int r2, int c2) {
            const int v = grid.valueAt(r1, c1);
            grid.cellAt(r1, c1)->setValue(grid.valueAt(r2, c2));
            grid.cellAt(r2, c2)->setValue(v);
        };
        // A value past the size, which no board holds but an array can.
        std::vector<std::uint16_t> beyond = valuesOf(solution);
        beyond[1] = static_cast<std::uint16_t>(size + 1);
        const std::pair<const char*, std::vector<std::uint16_t>> wrong[] = {
            // Values 1 and 2 trade places everywhere: a valid grid that changes two givens.
            {"another grid that changes givens", changed([&](SudokuBoard& grid) {
                 for (int r = 0; r < size; ++r)
                     for (int c = 0; c < size; ++c)
                         if (const int v = grid.valueAt(r, c); v <= 2)
                             grid.cellAt(r, c)->setValue(3 - v);
             })},
            {"a value repeated in its row", changed([&](SudokuBoard& grid) {
                 grid.cellAt(1, 0)->setValue(grid.valueAt(1, 1));
             })},
            // Rows stay complete; columns and boxes break.
            {"two cells of a row swapped", changed([&](SudokuBoard& grid) { swapCells(grid, 1, 0, 1, size - 1); })},
            // Rows and columns stay complete; only boxes break.
            {"a Latin square", changed([&](SudokuBoard& grid) {
                 for (int r = 0; r < size; ++r)
                     for (int c = 0; c < size; ++c)
                         grid.cellAt(r, c)->setValue((r + c) % size + 1);
             })},
            {"a blank cell", changed([&](SudokuBoard& grid) { grid.cellAt(size / 2, 1)->setValue(0); })},
            {"a value above the size", beyond},
        };
        for (const auto& [what, grid] : wrong)
            EXPECT_FALSE(solvesPuzzle(puzzle, grid)) << what << ", inner size " << n;
    }
}

} // namespace
