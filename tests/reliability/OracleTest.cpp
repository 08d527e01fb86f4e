// Answers checked against something not written here: the published puzzle sets (each
// solution complete, valid and keeping the givens) and the peer solver qqwing (how
// many solutions a puzzle has).
#include "TestSupport.h"
#include "SudokuSolver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

const std::string kOracleDir = GRIDLARK_ORACLE_DIR "/";

std::vector<std::string> nonEmptyLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

TEST(Oracle, EverySolutionOfThePublishedSetsIsCompleteValidAndKeepsTheGivens)
{
    SudokuSolver solver;
    for (const char* set :
         {"serg_benchmark_10000.txt", "17_clue_49158.txt", "magictour_top1465.txt", "forum_hardest_1106_375.txt"}) {
        const std::vector<std::string> lines = nonEmptyLines(readFile(kOracleDir + set));
        ASSERT_GE(lines.size(), 100u) << set;
        for (const std::string& line : lines) {
            const std::unique_ptr<SudokuBoard> puzzle = boardFromLine(line);
            ASSERT_TRUE(puzzle) << line;
            const SudokuBoard* solution = solver.solve(puzzle.get(), false, false);
            ASSERT_NE(solution, nullptr) << line;
            EXPECT_TRUE(solves(*puzzle, *solution)) << line;
        }
    }
}

// list counts every solution; the uniqueness check stops at two.
TEST(QqwingCounts, ListAllAndUniquenessCheckAgreeWithQqwing)
{
    if (std::system("command -v qqwing >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "qqwing is not installed (make test installs it)";
    const std::vector<std::string> puzzles = nonEmptyLines(readFile(kOracleDir + "counts.txt"));
    ASSERT_GE(puzzles.size(), 24u);
    const CommandResult qqwing =
        runCommand("qqwing --solve --count-solutions --nosolution < '" + kOracleDir + "counts.txt'");
    ASSERT_EQ(qqwing.code, 0) << qqwing.err;
    std::vector<long> counts;
    // "The solution to the puzzle is unique." or "There are N solutions to the puzzle.";
    // anything else, "There are no solutions" included, counts as -1.
    for (const std::string& line : nonEmptyLines(qqwing.out)) {
        counts.push_back(line.find("is unique") != std::string::npos ? 1 : -1);
        std::sscanf(line.c_str(), "There are %ld solutions", &counts.back());
    }
    ASSERT_EQ(counts.size(), puzzles.size()) << qqwing.out;

    const std::string path = temporaryPath("oracle-count");
    SudokuSolver solver;
    for (std::size_t i = 0; i < puzzles.size(); ++i) {
        ASSERT_GE(counts[i], 1) << puzzles[i];
        const std::unique_ptr<SudokuBoard> puzzle = boardFromLine(puzzles[i]);
        ASSERT_TRUE(puzzle) << puzzles[i];
        std::string grid = "3";
        for (const char ch : puzzles[i].substr(0, 81))
            grid += std::string(" ") + (ch == '.' ? '0' : ch);
        writeFile(path, grid);
        const CommandResult listed = runCli("list --input-format grid '" + path + "'");
        EXPECT_EQ(listed.code, 0) << puzzles[i] << "\n" << listed.err;
        EXPECT_EQ(listed.err,
                  path + ": " + std::to_string(counts[i]) + (counts[i] == 1 ? " solution\n" : " solutions\n"));

        const std::uint32_t found = solver.solveUnique(puzzle.get());
        ASSERT_EQ(found, counts[i] == 1 ? 1u : 2u) << puzzles[i] << " has " << counts[i];
        for (std::uint32_t k = 0; k < found; ++k)
            EXPECT_TRUE(solves(*puzzle, *solver.getSolution(static_cast<int>(k)))) << puzzles[i];
        // A complete grid "solved" by another complete grid is the same grid.
        EXPECT_FALSE(found == 2 && solves(*solver.getSolution(1), *solver.getSolution(0)))
            << "two equal solutions of " << puzzles[i];
    }
    std::remove(path.c_str());
}

} // namespace
