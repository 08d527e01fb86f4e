#include "SudokuBoard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string data(const std::string& name)
{
    return std::string(GRIDLARK_CLI_DATA) + "/" + name;
}

// Runs gridlark-cli with the given arguments (quoted for the shell).
Result run(const std::vector<std::string>& args)
{
    // ctest runs the tests as parallel processes: the files carry the process id.
    const std::string stem = ::testing::TempDir() + "cli_" + std::to_string(getpid());
    const std::string out = stem + "_out.txt";
    const std::string err = stem + "_err.txt";
    std::string command = "'" GRIDLARK_CLI "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += " >'" + out + "' 2>'" + err + "' </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

// Reads the boxed boards printed in text (each followed by its "crc:" line)
// back into boards, checking each checksum against the board's own.
std::vector<SudokuBoard> boxedBoards(const std::string& text, int innerSize)
{
    std::vector<SudokuBoard> boards;
    std::istringstream in(text);
    std::string line;
    std::vector<int> values;
    while (std::getline(in, line)) {
        unsigned crc = 0;
        if (std::sscanf(line.c_str(), "crc: %X", &crc) == 1) {
            SudokuBoard board(innerSize);
            for (std::size_t i = 0; i < values.size(); ++i)
                board.cellAt(static_cast<int>(i) / board.getSize(), static_cast<int>(i) % board.getSize())
                    ->setValue(values[i]);
            EXPECT_EQ(crc, board.crc16());
            EXPECT_EQ(static_cast<int>(values.size()), board.getSize() * board.getSize());
            boards.push_back(board);
            values.clear();
        } else if (!line.empty() && line[0] == '|') {
            std::istringstream cells(line);
            std::string item;
            while (cells >> item) {
                std::string digits;
                for (const char ch : item)
                    if (ch == '.' || (ch >= '0' && ch <= '9'))
                        digits += ch;
                if (!digits.empty())
                    values.push_back(digits == "." ? 0 : std::stoi(digits));
            }
        }
    }
    return boards;
}

bool solves(const SudokuBoard& puzzle, const SudokuBoard& solution)
{
    for (int r = 0; r < puzzle.getSize(); ++r)
        for (int c = 0; c < puzzle.getSize(); ++c)
            if (solution.valueAt(r, c) == 0 || (puzzle.valueAt(r, c) != 0 && puzzle.valueAt(r, c) != solution.valueAt(r, c)))
                return false;
    return solution.isValid();
}

std::string lastLine(const std::string& text)
{
    const std::size_t end = text.find_last_not_of('\n');
    const std::size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
}

const char* const kInvalidText =
    "SORRY, the current grid is invalid - there are one or more values duplicated in a row, column or "
    "subsquare; or a value greater than 9. Attempt to solve abandoned.";

TEST(Cli, VersionAndHelp)
{
    const Result version = run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "gridlark-cli " GRIDLARK_VERSION_TEXT "\n");
    for (const char* command : {"solve", "list", "show", "format", "bench"}) {
        const Result help = run({command, "--help"});
        EXPECT_EQ(help.code, 0) << command;
        EXPECT_NE(help.out.find("64  usage error"), std::string::npos) << command << " --help lists the exit codes";
    }
}

TEST(Cli, SolvePrintsACheckedSolutionWithItsFigures)
{
    for (const char* name : {"unique.txt", "hand-made.txt", "sixteen.txt"}) {
        const Result r = run({"solve", data(name)});
        ASSERT_EQ(r.code, 0) << name << r.err;
        const SudokuBoard puzzle(data(name).c_str());
        const std::vector<SudokuBoard> boards = boxedBoards(r.out, puzzle.getInnerSize());
        ASSERT_EQ(boards.size(), 1u) << name;
        EXPECT_TRUE(solves(puzzle, boards[0])) << name;
        long tries = -1, depth = -1, deadEnds = -1;
        EXPECT_EQ(std::sscanf(lastLine(r.out).c_str(), "%li; %li; %li", &tries, &depth, &deadEnds), 3) << r.out;
        EXPECT_GE(tries, 0);
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
}

TEST(Cli, SolveUniqueReportsNoneOneOrTwo)
{
    const Result unique = run({"solve", "--unique", data("unique.txt")});
    EXPECT_EQ(unique.code, 0);
    EXPECT_EQ(unique.out.substr(0, 7), "unique\n");
    EXPECT_EQ(boxedBoards(unique.out, 3).size(), 1u);

    const Result multiple = run({"solve", "--unique", data("open.txt")});
    EXPECT_EQ(multiple.code, 5);
    EXPECT_EQ(multiple.out.substr(0, 9), "multiple\n");
    const std::vector<SudokuBoard> two = boxedBoards(multiple.out, 3);
    ASSERT_EQ(two.size(), 2u);
    const SudokuBoard puzzle(data("open.txt").c_str());
    EXPECT_TRUE(solves(puzzle, two[0]));
    EXPECT_TRUE(solves(puzzle, two[1]));
    EXPECT_NE(two[0].crc16(), two[1].crc16());
    EXPECT_NE(multiple.err.find("open.txt"), std::string::npos);

    const Result none = run({"solve", "--unique", data("none.txt")});
    EXPECT_EQ(none.code, 4);
    EXPECT_EQ(none.out, "none\n");
}

struct Failure {
    std::vector<std::string> args;
    int code;
    std::string err; // exact, or empty to check only that it names the file
};

TEST(Cli, FailuresHaveTheirExitCodesAndMessages)
{
    const std::string missing = data("missing.txt");
    const std::string noInner = data("no-inner-size.txt");
    const std::string bigInner = data("inner-size-17.txt");
    const std::string invalid = data("invalid.txt");
    const Failure failures[] = {
        {{"solve", missing}, 1, "SudokuBoard Error Opening file " + missing + ".\n"},
        {{"show", missing}, 1, "SudokuBoard Error Opening file " + missing + ".\n"},
        {{"solve", noInner}, 2, "SudokuBoard creation ERROR\n\tCannot read inner grid size from " + noInner + "\n"},
        {{"format", noInner}, 2, "SudokuBoard creation ERROR\n\tCannot read inner grid size from " + noInner + "\n"},
        {{"solve", bigInner}, 6,
         "SudokuBoard creation ERROR\n\tInner grid size 17 in " + bigInner + " is out of range (0 to 16)\n"},
        {{"solve", invalid}, 3, invalid + ": " + kInvalidText + "\n"},
        {{"list", invalid}, 3, invalid + ": " + kInvalidText + "\n"},
        {{"solve", data("none.txt")}, 4, data("none.txt") + ": no solution\n"},
        {{"bench", missing}, 1, missing + ": cannot open\n"},
        {{"bench", data("malformed.txt")}, 3, ""},
        {{}, 64, ""},
        {{"solve"}, 64, ""},
        {{"solve", "--frobnicate", data("unique.txt")}, 64, ""},
        {{"bench", "--limit", "-3", data("puzzles.txt")}, 64, ""},
        {{"list", data("four.txt"), data("unique.txt")}, 64, ""},
    };
    for (const Failure& f : failures) {
        const Result r = run(f.args);
        std::string what;
        for (const std::string& arg : f.args)
            what += arg + " ";
        EXPECT_EQ(r.code, f.code) << what << r.err;
        if (!f.err.empty())
            EXPECT_EQ(r.err, f.err) << what;
        else
            EXPECT_FALSE(r.err.empty()) << what;
    }
}

TEST(Cli, SolveGoesOnAfterAFileThatFails)
{
    const Result r = run({"solve", data("missing.txt"), data("unique.txt"), data("invalid.txt")});
    EXPECT_EQ(r.code, 1) << "the code of the first failure";
    EXPECT_EQ(boxedBoards(r.out, 3).size(), 1u);
    EXPECT_NE(r.err.find("Opening file"), std::string::npos);
    EXPECT_NE(r.err.find(kInvalidText), std::string::npos);
}

TEST(Cli, ListPrintsEverySolutionAndCountsThemOnStandardError)
{
    const Result all = run({"list", data("four.txt")});
    EXPECT_EQ(all.code, 0);
    const std::vector<SudokuBoard> boards = boxedBoards(all.out, 2);
    EXPECT_EQ(boards.size(), 72u) << "a 4 x 4 grid with one given has 288 / 4 solutions";
    const SudokuBoard puzzle(data("four.txt").c_str());
    for (const SudokuBoard& board : boards)
        EXPECT_TRUE(solves(puzzle, board));
    EXPECT_EQ(all.out.rfind("Solution No 72:\n"), all.out.find("Solution No 72:\n"));
    EXPECT_EQ(all.out.substr(0, 14), "Solution No 1:");
    EXPECT_EQ(all.err, data("four.txt") + ": 72 solutions\n");

    const Result sparse = run({"list", "--sparse", data("four.txt")});
    EXPECT_EQ(sparse.code, 0);
    EXPECT_EQ(boxedBoards(sparse.out, 2).size(), 1u);
    EXPECT_EQ(sparse.err, all.err);
}

TEST(Cli, ShowPrintsTheBoardAsRead)
{
    const Result r = run({"show", data("hand-made.txt")});
    EXPECT_EQ(r.code, 0);
    const SudokuBoard board(data("hand-made.txt").c_str());
    char crc[16];
    std::snprintf(crc, sizeof crc, "crc: %04X\n", static_cast<unsigned>(board.crc16()));
    EXPECT_EQ(r.out, std::string(board.toText()) + crc);
}

TEST(Cli, FormatWritesTheSavedLayout)
{
    const SudokuBoard board(data("hand-made.txt").c_str());
    const std::string expectedPath = ::testing::TempDir() + "cli_expected_" + std::to_string(getpid()) + ".txt";
    std::FILE* expected = std::fopen(expectedPath.c_str(), "w");
    ASSERT_NE(expected, nullptr);
    board.writeGrid(expected);
    std::fclose(expected);

    const Result toStdout = run({"format", data("hand-made.txt")});
    EXPECT_EQ(toStdout.code, 0);
    EXPECT_EQ(toStdout.out, readFile(expectedPath));

    const std::string outPath = ::testing::TempDir() + "cli_formatted_" + std::to_string(getpid()) + ".txt";
    const Result toFile = run({"format", data("hand-made.txt"), "-o", outPath});
    EXPECT_EQ(toFile.code, 0);
    EXPECT_TRUE(toFile.out.empty());
    EXPECT_EQ(readFile(outPath), readFile(expectedPath));

    const Result unwritable = run({"format", data("hand-made.txt"), "-o", "/nonexistent-dir/out.txt"});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_NE(unwritable.err.find("/nonexistent-dir/out.txt"), std::string::npos);
}

TEST(Cli, BenchSolvesAndVerifiesOneLinePuzzles)
{
    const Result all = run({"bench", data("puzzles.txt")});
    EXPECT_EQ(all.code, 0) << all.err;
    EXPECT_NE(all.out.find("puzzles solved: 3\n"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("failures: 0\n"), std::string::npos);
    for (const char* label : {"total time: ", "puzzles per second: ", "median time per puzzle: ",
                              "99th percentile time per puzzle: ", "mean tries: ", "mean greatest depth: ",
                              "mean dead ends: "})
        EXPECT_NE(all.out.find(label), std::string::npos) << label;

    const Result limited = run({"bench", "--limit", "2", "--unique", data("puzzles.txt")});
    EXPECT_EQ(limited.code, 0);
    EXPECT_NE(limited.out.find("puzzles solved: 2\n"), std::string::npos) << limited.out;
    EXPECT_NE(limited.out.find("unique: 2, multiple: 0, none: 0\n"), std::string::npos) << limited.out;

    const Result malformed = run({"bench", data("malformed.txt")});
    EXPECT_EQ(malformed.code, 3);
    EXPECT_NE(malformed.err.find("line 3"), std::string::npos) << malformed.err;
    EXPECT_NE(malformed.err.find("malformed.txt"), std::string::npos) << malformed.err;
}

} // namespace
