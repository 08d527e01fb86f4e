// gridlark-cli explain, hint, rate and generate: what they print, their exit codes,
// and that generated puzzles are unique (by the search solver) and repeat by seed.
#include "PuzzleGenerator.h"
#include "SudokuSolver.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kData = GRIDLARK_CLI_DATA "/";

// A puzzle line of 16, 81 or 256 characters: '.' or '0' blank, letters from 10 up.
SudokuBoard boardOfLine(const std::string& line)
{
    const int innerSize = line.size() == 16 ? 2 : line.size() == 81 ? 3 : 4;
    SudokuBoard board(innerSize);
    const int side = board.getSize();
    EXPECT_EQ(line.size(), static_cast<std::size_t>(side * side)) << line;
    for (int i = 0; i < side * side && i < static_cast<int>(line.size()); ++i) {
        const char c = line[static_cast<std::size_t>(i)];
        board.cellAt(i / side, i % side)->setValue(c == '.' ? 0 : c <= '9' ? c - '0' : c - 'A' + 10);
    }
    return board;
}

Rating rateLine(const std::string& line)
{
    const SudokuBoard board = boardOfLine(line);
    std::vector<int> values;
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c)
            values.push_back(board.valueAt(r, c));
    return PuzzleRater::rate(*CandidateGrid::fromValues(values));
}

const char kUnique[] = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";

TEST(CliLogic, ExplainPrintsStepsThatAgreeWithTheSolutionThenTheSolution)
{
    const std::string path = temporaryPath("explain");
    writeFile(path, std::string(kUnique) + "\n");
    const CommandResult r = runCli("explain --format line '" + path + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> out = lines(r.out);
    ASSERT_GE(out.size(), 2u);
    const SudokuBoard solution = boardOfLine(out.back());
    EXPECT_TRUE(solves(boardOfLine(kUnique), solution)) << out.back();
    // Every cell blank in the puzzle is placed once, by a step naming it r1c1.
    std::set<int> placed;
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        int row = 0, col = 0, value = 0;
        bool found = false;
        for (std::size_t at = out[i].find('r'); at != std::string::npos && !found; at = out[i].find('r', at + 1))
            found = std::sscanf(out[i].c_str() + at, "r%dc%d = %d", &row, &col, &value) == 3;
        ASSERT_TRUE(found) << out[i];
        --row, --col;
        EXPECT_EQ(value, solution.valueAt(row, col)) << out[i];
        EXPECT_TRUE(placed.insert(row * 9 + col).second) << out[i];
    }
    EXPECT_EQ(placed.size(), 51u);

    const CommandResult hint = runCli("hint '" + path + "'");
    EXPECT_EQ(hint.code, 0) << hint.err;
    EXPECT_EQ(hint.out, out.front() + "\n");
}

TEST(CliLogic, PuzzlesWithoutOneSolutionGetAMessageAndTheirCodeNeverARating)
{
    const struct {
        const char* input;
        int code;
        const char* message;
    } cases[] = {
        {"none.txt", 4, "none.txt: no solution\n"},
        {"four.txt", 5, "four.txt: more than one solution\n"},
        {"invalid.txt", 3, "invalid.txt: SORRY, the current grid is invalid"},
        {"missing.txt", 1, "cannot open"},
    };
    for (const auto& c : cases) {
        for (const char* command : {"explain", "hint", "rate"}) {
            const CommandResult r = runCli(std::string(command) + " " + kData + c.input);
            EXPECT_EQ(r.code, c.code) << command << " " << c.input;
            EXPECT_EQ(r.out, "") << command << " " << c.input;
            EXPECT_NE(r.err.find(c.message), std::string::npos) << command << " " << c.input << ": " << r.err;
        }
    }
    // 4x4 puzzles never need more than medium techniques.
    const CommandResult none = runCli("--seed 1 generate --size 2 --level hard");
    EXPECT_EQ(none.code, 4);
    EXPECT_EQ(none.err, "gridlark-cli: no hard puzzle found in 2000 tries\n");
    // A blank 81x81 grid: beyond the logic grid's 64 candidates per cell.
    const std::string large = temporaryPath("large");
    writeFile(large, "9\n");
    const CommandResult tooLarge = runCli("rate --input-format grid '" + large + "'");
    EXPECT_EQ(tooLarge.code, 64);
    EXPECT_EQ(tooLarge.err, large + ": solving step by step works on grids up to 64x64 (box size 8)\n");
    for (const char* usage : {"generate --level tricky", "generate --size 9", "generate --symmetry round",
                              "generate --count 0", "rate"})
        EXPECT_EQ(runCli(usage).code, 64) << usage;
}

TEST(CliLogic, RateGivesTheRatingLevelAndTechniqueCountsInInputOrderForAnyJobs)
{
    const std::string path = temporaryPath("rate");
    std::string text;
    for (const std::string& line : lines(readFile(kData + "puzzles.txt")))
        if (line.size() >= 81 && line[0] != '#')
            text += line.substr(0, 81) + "\n";
    text += std::string(kUnique).substr(0, 72) + std::string(9, '.') + "\n";
    writeFile(path, text);

    const CommandResult one = runCli("--jobs 1 rate --format line '" + path + "'");
    EXPECT_EQ(one.code, 5) << "the last puzzle has several solutions";
    EXPECT_EQ(one.err, path + ":4: more than one solution\n");
    const std::vector<std::string> out = lines(one.out);
    ASSERT_EQ(out.size(), 3u) << one.out;
    for (const std::string& line : out) {
        const std::string puzzle = line.substr(0, 81);
        const Rating expected = rateLine(puzzle);
        char figure[16];
        std::snprintf(figure, sizeof figure, " %.1f ", expected.rating);
        std::string want = puzzle + figure + std::string(PuzzleRater::levelName(expected.level));
        const char* separator = " ";
        for (std::size_t t = 0; t < kTechniqueCount; ++t)
            if (expected.counts[t] > 0) {
                want += separator + std::string(kTechniques[t].name) + ": " + std::to_string(expected.counts[t]);
                separator = ", ";
            }
        EXPECT_EQ(line, want);
    }
    EXPECT_NE(out[0], out[1]);

    const CommandResult two = runCli("--jobs 2 rate --format line '" + path + "'");
    EXPECT_EQ(two.out, one.out);
    EXPECT_EQ(two.err, one.err);
    EXPECT_EQ(two.code, one.code);
    // Without --format only the rating line.
    EXPECT_EQ(lines(runCli("rate '" + path + "'").out).front(), out.front().substr(82));
}

TEST(CliLogic, GeneratedPuzzlesHaveOneSolutionRateInTheLevelAndRepeatBySeed)
{
    const struct {
        const char* arguments;
        const char* level;
        int count;
        Symmetry symmetry;
    } cases[] = {
        {"generate --count 3 --level easy", "easy", 3, Symmetry::None},
        {"generate --count 2 --level hard --symmetry rotational", "hard", 2, Symmetry::Rotational},
        {"generate --count 2 --level expert", "expert", 2, Symmetry::None},
        {"generate --size 2 --count 3", nullptr, 3, Symmetry::None},
        {"generate --size 4 --symmetry mirror", nullptr, 1, Symmetry::Mirror},
    };
    SudokuSolver solver;
    for (const auto& c : cases) {
        const std::string arguments = std::string("--seed 11 ") + c.arguments;
        const CommandResult r = runCli(arguments);
        ASSERT_EQ(r.code, 0) << arguments << ": " << r.err;
        const std::vector<std::string> puzzles = lines(r.out);
        ASSERT_EQ(puzzles.size(), static_cast<std::size_t>(c.count)) << arguments;
        for (const std::string& puzzle : puzzles) {
            const SudokuBoard board = boardOfLine(puzzle);
            EXPECT_EQ(solver.solveUnique(&board), 1u) << puzzle;
            if (c.level) {
                EXPECT_EQ(PuzzleRater::levelName(rateLine(puzzle).level), c.level) << puzzle;
            }
            const std::size_t side = static_cast<std::size_t>(board.getSize());
            for (std::size_t i = 0; i < side * side && c.symmetry != Symmetry::None; ++i) {
                const std::size_t partner =
                    c.symmetry == Symmetry::Rotational ? side * side - 1 - i : i / side * side + side - 1 - i % side;
                EXPECT_EQ(puzzle[i] == '.', puzzle[partner] == '.') << puzzle;
            }
        }
        EXPECT_EQ(std::set<std::string>(puzzles.begin(), puzzles.end()).size(), puzzles.size()) << arguments;
        EXPECT_EQ(runCli("--jobs 2 " + arguments).out, r.out) << arguments;
        EXPECT_NE(runCli(std::string("--seed 12 ") + c.arguments).out, r.out) << arguments;
    }
    const CommandResult boxed = runCli("--seed 11 generate --format boxed");
    EXPECT_EQ(boxed.code, 0);
    EXPECT_NE(boxed.out.find("crc: "), std::string::npos) << boxed.out;
}

} // namespace
