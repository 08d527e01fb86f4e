// Answers checked against something not written here: the published puzzle sets (each
// solution complete, valid and keeping the givens) and the peer solver qqwing (how
// many solutions a puzzle has).
#include "OneLinePuzzle.h"
#include "SudokuSolver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

const std::string kOracleDir = GRIDLARK_ORACLE_DIR "/";

class SampledSet : public ::testing::TestWithParam<const char*> {};

TEST_P(SampledSet, EverySolutionIsCompleteValidAndKeepsTheGivens)
{
    const std::vector<std::string> lines = readPuzzleLines(kOracleDir + GetParam());
    ASSERT_GE(lines.size(), 100u);
    SudokuSolver solver;
    for (const std::string& line : lines) {
        const std::unique_ptr<SudokuBoard> puzzle = boardFromLine(line);
        ASSERT_TRUE(puzzle) << line;
        const SudokuBoard* solution = solver.solve(puzzle.get(), false, false);
        ASSERT_NE(solution, nullptr) << line;
        EXPECT_TRUE(solves(*puzzle, *solution)) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Oracle, SampledSet,
                         ::testing::Values("serg_benchmark_10000.txt", "17_clue_49158.txt",
                                           "magictour_top1465.txt", "forum_hardest_1106_375.txt"));

// qqwing's answer for one puzzle: "The solution to the puzzle is unique.", "There are
// no solutions to the puzzle." or "There are N solutions to the puzzle.".
long parseQqwingCount(const std::string& line)
{
    if (line.find("is unique") != std::string::npos)
        return 1;
    if (line.find("There are no solutions") != std::string::npos)
        return 0;
    long count = -1;
    if (std::sscanf(line.c_str(), "There are %ld solutions", &count) != 1)
        return -1;
    return count;
}

class QqwingCounts : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v qqwing >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "qqwing is not installed (make test installs it)";
        puzzles = readPuzzleLines(kOracleDir + "counts.txt");
        ASSERT_GE(puzzles.size(), 24u);
        int status = 0;
        const std::string output = runCommand(
            "qqwing --solve --count-solutions --nosolution < '" + kOracleDir + "counts.txt'", status);
        ASSERT_EQ(status, 0) << output;
        std::istringstream in(output);
        for (std::string line; std::getline(in, line);)
            if (!line.empty())
                counts.push_back(parseQqwingCount(line));
        ASSERT_EQ(counts.size(), puzzles.size()) << output;
        for (long count : counts)
            ASSERT_GE(count, 1) << output;
    }

    std::vector<std::string> puzzles;
    std::vector<long> counts;
};

TEST_F(QqwingCounts, ListAllFindsAsManySolutionsAsQqwing)
{
    const std::string path = temporaryPath("oracle-count") + ".txt";
    for (std::size_t i = 0; i < puzzles.size(); ++i) {
        const std::unique_ptr<SudokuBoard> puzzle = boardFromLine(puzzles[i]);
        ASSERT_TRUE(puzzle) << puzzles[i];
        std::FILE* out = std::fopen(path.c_str(), "w");
        ASSERT_NE(out, nullptr) << path;
        puzzle->writeGrid(out);
        std::fclose(out);

        // list prints the solutions on standard output and "FILE: N solutions" on error.
        int status = 0;
        const std::string report = runCommand(std::string(GRIDLARK_CLI) + " list '" + path + "' 2>&1 >/dev/null", status);
        EXPECT_EQ(status, 0) << puzzles[i] << "\n" << report;
        unsigned long listed = 0;
        EXPECT_EQ(std::sscanf(report.c_str() + path.size(), ": %lu solution", &listed), 1) << report;
        EXPECT_EQ(static_cast<long>(listed), counts[i]) << puzzles[i];
    }
    std::remove(path.c_str());
}

TEST_F(QqwingCounts, UniquenessCheckAgreesWithQqwing)
{
    SudokuSolver solver;
    for (std::size_t i = 0; i < puzzles.size(); ++i) {
        const std::unique_ptr<SudokuBoard> puzzle = boardFromLine(puzzles[i]);
        ASSERT_TRUE(puzzle) << puzzles[i];
        const std::uint32_t found = solver.solveUnique(puzzle.get());
        ASSERT_EQ(found, counts[i] == 1 ? 1u : 2u) << puzzles[i] << " has " << counts[i];
        ASSERT_NE(solver.getSolution(0), nullptr);
        EXPECT_TRUE(solves(*puzzle, *solver.getSolution(0))) << puzzles[i];
        if (found == 2) {
            const SudokuBoard* second = solver.getSolution(1);
            ASSERT_NE(second, nullptr);
            EXPECT_TRUE(solves(*puzzle, *second)) << puzzles[i];
            // A complete grid "solved" by another complete grid is the same grid.
            EXPECT_FALSE(solves(*second, *solver.getSolution(0)))
                << "the two solutions of " << puzzles[i] << " are the same grid";
        }
    }
}

} // namespace
