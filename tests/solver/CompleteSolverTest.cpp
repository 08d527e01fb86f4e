#include "CompleteSolver.h"
#include "GlibcRandom.h"
#include "SudokuSolver.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<int> valuesOf(const SudokuBoard& board)
{
    std::vector<int> values;
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c)
            values.push_back(board.valueAt(r, c));
    return values;
}

SudokuBoard boardOf(int innerSize, const std::vector<int>& values)
{
    SudokuBoard board(innerSize);
    const int size = board.getSize();
    for (int i = 0; i < size * size; ++i)
        board.cellAt(i / size, i % size)->setValue(values[static_cast<std::size_t>(i)]);
    board.recomputePossibles();
    return board;
}

// Whether the engine's solution index is a solution of the puzzle.
bool solvesPuzzle(const CompleteSolver& engine, int index, const SudokuBoard& puzzle)
{
    const std::vector<int>& values = engine.getSolution(index);
    return static_cast<int>(values.size()) == puzzle.getSize() * puzzle.getSize() &&
        solves(puzzle, boardOf(puzzle.getInnerSize(), values));
}

std::vector<std::string> oracleLines(const std::string& name)
{
    std::ifstream in(std::string(GRIDLARK_ORACLE_DIR) + "/" + name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (line.size() >= 81)
            lines.push_back(line.substr(0, 81));
    return lines;
}

class CompleteAgainstExact : public testing::TestWithParam<const char*> {};

// Same verdict as the exact search on every sample puzzle, and the same solution
// where there is one; a wrong value added to a unique puzzle leaves none.
TEST_P(CompleteAgainstExact, SameVerdictAndSolution)
{
    const std::vector<std::string> lines = oracleLines(GetParam());
    ASSERT_FALSE(lines.empty());
    SudokuSolver exact;
    CompleteSolver complete;
    int unique = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SudokuBoard puzzle = boardFromText(3, lines[i]);
        GlibcRandom::shared().seed(static_cast<unsigned>(i));
        const std::uint32_t verdict = exact.solveUnique(&puzzle);
        ASSERT_EQ(complete.solve(puzzle, 2), verdict) << lines[i];
        ASSERT_FALSE(complete.wasStopped());
        if (verdict == 2) {
            EXPECT_NE(complete.getSolution(0), complete.getSolution(1)) << lines[i];
            EXPECT_TRUE(solvesPuzzle(complete, 1, puzzle)) << lines[i];
        }
        if (verdict >= 1) {
            EXPECT_TRUE(solvesPuzzle(complete, 0, puzzle)) << lines[i];
        }
        if (verdict != 1)
            continue;
        ++unique;
        EXPECT_EQ(complete.getSolution(0), valuesOf(*exact.getSolution(0))) << lines[i];
        // A blank cell given a value that its peers allow but the solution does not.
        std::vector<int> wrong = valuesOf(puzzle);
        for (int cell = 0; cell < 81; ++cell) {
            const Cell* box = puzzle.cellAt(cell / 9, cell % 9);
            if (box->getValue() != 0 || box->numPossibles() < 2)
                continue;
            const int right = complete.getSolution(0)[static_cast<std::size_t>(cell)];
            wrong[static_cast<std::size_t>(cell)] = box->nthPossible(box->nthPossible(0) == right ? 1 : 0);
            break;
        }
        ASSERT_EQ(complete.solve(3, wrong, 2), 0u) << lines[i];
        EXPECT_TRUE(complete.getSolution(0).empty());
        SudokuBoard wrongBoard = boardOf(3, wrong);
        EXPECT_EQ(exact.solveUnique(&wrongBoard), 0u) << lines[i];
    }
    // The sample of serg's set holds only puzzles with several solutions.
    const std::string set = GetParam();
    if (set != "counts.txt" && set != "serg_benchmark_10000.txt") {
        EXPECT_GT(unique, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Oracle, CompleteAgainstExact,
                         testing::Values("17_clue_49158.txt", "counts.txt", "forum_hardest_1106_375.txt",
                                         "magictour_top1465.txt", "serg_benchmark_10000.txt"));

// Puzzles with many solutions and their full counts.
const char* const kMany1264 = "................12..3..4........53.6.1...2....7...........7......89..6......1.4..";
const char* const kMany641087 = "........1.......23..4..5.........4.......675.18..........3......6........9.1.....";

TEST(CompleteSolver, CountsEverySolutionOrStopsAtTheCap)
{
    CompleteSolver complete;
    const SudokuBoard many = boardFromText(3, kMany1264);
    EXPECT_EQ(complete.solve(many, 0), 1264u);
    EXPECT_FALSE(complete.wasStopped());
    EXPECT_EQ(complete.solve(many, 1263), 1263u);
    EXPECT_EQ(complete.solve(boardFromText(3, kMany641087), 300), 300u);
    EXPECT_TRUE(solvesPuzzle(complete, 1, boardFromText(3, kMany641087)));
    EXPECT_NE(complete.getSolution(0), complete.getSolution(1));
}

TEST(CompleteSolver, StopCheckEndsTheSearch)
{
    CompleteSolver complete;
    int polls = 0;
    complete.setStopCheck([&] { return ++polls > 3; });
    const std::uint64_t found = complete.solve(boardFromText(3, kMany641087), 0);
    EXPECT_TRUE(complete.wasStopped());
    EXPECT_LT(found, 641087u);
    complete.setStopCheck(nullptr);
    EXPECT_EQ(complete.solve(boardFromText(3, kMany1264), 0), 1264u);
    EXPECT_FALSE(complete.wasStopped()) << "a later solve starts afresh";
}

TEST(CompleteSolver, BadGridsHaveNoSolution)
{
    CompleteSolver complete;
    std::vector<int> values(81, 0);
    values[0] = values[5] = 4; // twice in row 1
    EXPECT_EQ(complete.solve(3, values, 2), 0u);
    values[5] = 10; // above the side
    EXPECT_EQ(complete.solve(3, values, 2), 0u);
    values[5] = -1;
    EXPECT_EQ(complete.solve(3, values, 2), 0u);
    EXPECT_EQ(complete.solve(3, std::vector<int>(80, 0), 2), 0u) << "too few values";
    EXPECT_EQ(complete.solve(-1, {}, 2), 0u);
    // Row 0 needs a 9 that column 8 already holds.
    EXPECT_EQ(complete.solve(boardFromText(3, "12345678.........9"), 2), 0u);
}

TEST(CompleteSolver, TinyAndFullGrids)
{
    CompleteSolver complete;
    EXPECT_EQ(complete.solve(0, {}, 2), 1u);
    EXPECT_EQ(complete.solve(1, {0}, 2), 1u);
    EXPECT_EQ(complete.getSolution(0), std::vector<int>{1});
    // 288 complete 4x4 grids.
    EXPECT_EQ(complete.solve(2, std::vector<int>(16, 0), 0), 288u);
    const SudokuBoard full = randomPuzzle(3, 0);
    EXPECT_EQ(complete.solve(full, 2), 1u);
    EXPECT_EQ(complete.getSolution(0), valuesOf(full));
}

// A pattern grid of inner size n with its values renamed at random and a share of its
// cells cleared: every solution found must keep the givens, and a single one is the grid.
void solveClearedGrid(int n, unsigned seed, unsigned percentCleared)
{
    std::mt19937 random(seed);
    const int size = n * n;
    std::vector<int> rename(static_cast<std::size_t>(size));
    for (int v = 0; v < size; ++v)
        rename[static_cast<std::size_t>(v)] = v + 1;
    std::shuffle(rename.begin(), rename.end(), random);
    std::vector<int> grid;
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            grid.push_back(rename[static_cast<std::size_t>((r % n * n + r / n + c) % size)]);
    std::vector<int> givens = grid;
    for (int& v : givens)
        if (random() % 100 < percentCleared)
            v = 0;
    const SudokuBoard puzzle = boardOf(n, givens);
    CompleteSolver complete;
    const std::uint64_t found = complete.solve(n, givens, 2);
    ASSERT_GE(found, 1u);
    for (int i = 0; i < static_cast<int>(found); ++i)
        EXPECT_TRUE(solvesPuzzle(complete, i, puzzle)) << i;
    if (found == 1) {
        EXPECT_EQ(complete.getSolution(0), grid);
    } else {
        EXPECT_NE(complete.getSolution(0), complete.getSolution(1));
    }
}

TEST(CompleteSolver, LargeGrids)
{
    // Half-cleared 36x36 pattern grids can take the SAT solver seconds.
    solveClearedGrid(5, 1, 50);
    solveClearedGrid(6, 2, 35);
}

} // namespace

// Taking a full grid's givens away one at a time, kept while the count to two finds one
// solution: another solution that differs in the cell just cleared is found exactly when
// the count finds two.
TEST(CompleteSolver, OtherSolutionDifferingInTheClearedCells)
{
    const std::string line = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
    std::vector<int> known;
    for (const char ch : line)
        known.push_back(ch - '0');
    std::vector<int> givens = known;
    CompleteSolver complete;
    int kept = 0, cleared = 0;
    for (int cell = 0; cell < 81; cell += 2) {
        std::vector<int> trial = givens;
        trial[static_cast<std::size_t>(cell)] = 0;
        const bool two = complete.solve(3, trial, 2) == 2;
        EXPECT_EQ(complete.hasOtherSolution(3, trial, known, {cell}), two) << cell;
        if (two) {
            ++kept;
        } else {
            givens = trial;
            ++cleared;
        }
    }
    EXPECT_GT(kept, 0);
    EXPECT_GT(cleared, 0);
    // A cell that singles settle holds the known value in every solution.
    std::vector<int> oneBlank = known;
    oneBlank[0] = 0;
    EXPECT_FALSE(complete.hasOtherSolution(3, oneBlank, known, {0}));
    EXPECT_FALSE(complete.hasOtherSolution(3, std::vector<int>(80, 0), known, {0})) << "too few values";
}
