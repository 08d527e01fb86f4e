// gridlark-cli: what each command prints and its exit code, on good input and bad.
// How each grid file that is not a grid is read is the reliability tests' work.
#include "SudokuBoard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string kData = GRIDLARK_CLI_DATA "/";

const char kInvalidText[] = "SORRY, the current grid is invalid - there are one or more values duplicated in a row, "
                            "column or subsquare; or a value greater than 9. Attempt to solve abandoned.\n";

// The boards printed in text, read back from their boxed rows; each box must be the
// board's own rendering and the "crc:" line after it the board's checksum.
std::vector<SudokuBoard> boxedBoards(const std::string& text)
{
    std::vector<SudokuBoard> boards;
    std::istringstream in(text);
    std::string box;
    std::vector<int> values;
    for (std::string line; std::getline(in, line);) {
        unsigned crc = 0;
        if (std::sscanf(line.c_str(), "crc: %X", &crc) == 1) {
            SudokuBoard board(static_cast<int>(std::sqrt((box.find('\n') - 1) / 4.0)));
            for (int i = 0; i < static_cast<int>(values.size()) && i < board.getSize() * board.getSize(); ++i)
                board.cellAt(i / board.getSize(), i % board.getSize())->setValue(values[i]);
            EXPECT_EQ(box, board.toText());
            EXPECT_EQ(crc, board.crc16());
            boards.push_back(board);
            box.clear();
            values.clear();
        } else if (!line.empty() && (line[0] == '|' || line[0] == '-')) {
            box += line + "\n";
            std::replace(line.begin(), line.end(), '|', ' ');
            std::istringstream cells(line);
            for (std::string item; line[0] == ' ' && cells >> item;)
                values.push_back(item == "." ? 0 : std::stoi(item));
        }
    }
    return boards;
}

// Lines of the three figures "tries; depth; dead ends".
int figureLines(const std::string& text)
{
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        long tries = 0, depth = 0, deadEnds = 0;
        int end = 0;
        if (std::sscanf(line.c_str(), "%ld; %ld; %ld%n", &tries, &depth, &deadEnds, &end) == 3 &&
            end == static_cast<int>(line.size()))
            ++count;
    }
    return count;
}

TEST(Cli, SolvePrintsCheckedSolutionsWithTheirFiguresAndGoesOnAfterAFailure)
{
    const char* const names[] = {"unique.txt", "sixteen.txt"};
    const CommandResult r = runCli("solve " + kData + "missing.txt " + kData + names[0] + " " + kData +
                                   "hand-made.txt " + kData + "invalid.txt " + kData + names[1]);
    EXPECT_EQ(r.code, 1) << "the code of the first failure";
    EXPECT_EQ(r.err, "cannot open " + kData + "missing.txt: No such file or directory\n" + kData +
                         "hand-made.txt:2:19: as grid: more than 9 values in a row of the grid; a grid file laid out "
                         "like this is read only with --input-format grid\n" +
                         kData + "invalid.txt: " + kInvalidText);
    const std::vector<SudokuBoard> boards = boxedBoards(r.out);
    ASSERT_EQ(boards.size(), 2u) << r.out;
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(solves(SudokuBoard((kData + names[i]).c_str()), boards[i])) << names[i];
    EXPECT_EQ(figureLines(r.out), 2) << r.out;
}

TEST(Cli, SolveUniqueReportsNoneOneOrTwo)
{
    for (const auto& [name, code, verdict, solutions, err] :
         {std::tuple{"unique.txt", 0, "unique\n", 1u, ""},
          {"open.txt", 5, "multiple\n", 2u, ": more than one solution\n"},
          {"none.txt", 4, "none\n", 0u, ": no solution\n"}}) {
        const CommandResult r = runCli("solve --unique " + kData + name);
        EXPECT_EQ(r.code, code) << name;
        EXPECT_EQ(r.err, *err ? kData + name + err : "");
        EXPECT_EQ(r.out.substr(0, std::strlen(verdict)), verdict);
        EXPECT_TRUE(solutions > 0 || r.out == verdict) << r.out;
        const std::vector<SudokuBoard> found = boxedBoards(r.out);
        ASSERT_EQ(found.size(), solutions) << name;
        for (const SudokuBoard& board : found)
            EXPECT_TRUE(solves(SudokuBoard((kData + name).c_str()), board)) << name;
        EXPECT_TRUE(solutions < 2 || found[0].crc16() != found[1].crc16());
        EXPECT_EQ(figureLines(r.out), solutions > 0 ? 1 : 0) << name << ": the figures after the solutions\n" << r.out;
    }
}

// --engine complete answers with the same solutions, says so in place of the figures;
// auto on a 9x9 grid prints exactly what the exact engine prints.
TEST(Cli, SolveEngines)
{
    const std::string unique = kData + "unique.txt";
    const CommandResult exact = runCli("--seed 3 solve --engine exact " + unique + " " + kData + "sixteen.txt");
    ASSERT_EQ(exact.code, 0) << exact.err;
    EXPECT_EQ(runCli("--seed 3 solve " + unique + " " + kData + "sixteen.txt").out, exact.out);
    const CommandResult complete = runCli("solve --engine complete " + unique + " " + kData + "sixteen.txt");
    ASSERT_EQ(complete.code, 0) << complete.err;
    const std::vector<SudokuBoard> exactBoards = boxedBoards(exact.out);
    const std::vector<SudokuBoard> completeBoards = boxedBoards(complete.out);
    ASSERT_EQ(completeBoards.size(), 2u) << complete.out;
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(completeBoards[i].crc16(), exactBoards[i].crc16()) << "one solution each";
    EXPECT_EQ(std::count(complete.out.begin(), complete.out.end(), ';'), 0) << "no figures";
    std::istringstream lines(complete.out);
    int engineLines = 0;
    for (std::string line; std::getline(lines, line);)
        engineLines += line == "engine: complete";
    EXPECT_EQ(engineLines, 2) << complete.out;
    EXPECT_EQ(runCli("-q solve --engine complete " + unique).out.find("engine"), std::string::npos);

    for (const auto& [name, code, verdict, solutions] :
         {std::tuple{"open.txt", 5, "multiple\n", 2u}, {"none.txt", 4, "none\n", 0u}}) {
        const CommandResult r = runCli("solve --unique --engine complete " + kData + name);
        EXPECT_EQ(r.code, code) << name;
        EXPECT_EQ(r.out.substr(0, std::strlen(verdict)), verdict) << name;
        const std::vector<SudokuBoard> found = boxedBoards(r.out);
        ASSERT_EQ(found.size(), solutions) << name;
        for (const SudokuBoard& board : found)
            EXPECT_TRUE(solves(SudokuBoard((kData + name).c_str()), board)) << name;
        EXPECT_TRUE(solutions < 2 || found[0].crc16() != found[1].crc16());
    }
    EXPECT_EQ(runCli("solve --engine fast " + unique).code, 64);
}

TEST(Cli, ListPrintsEverySolutionAndCountsThemOnStandardError)
{
    const CommandResult all = runCli("list " + kData + "four.txt");
    EXPECT_EQ(all.code, 0);
    const std::vector<SudokuBoard> boards = boxedBoards(all.out);
    EXPECT_EQ(boards.size(), 72u) << "a 4 x 4 grid with one given has 288 / 4 solutions";
    const SudokuBoard puzzle((kData + "four.txt").c_str());
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        EXPECT_TRUE(solves(puzzle, boards[i]));
        EXPECT_NE(all.out.find("Solution No " + std::to_string(i + 1) + ":\n"), std::string::npos) << i;
        distinct.insert(boards[i].toText());
    }
    EXPECT_EQ(distinct.size(), 72u);
    EXPECT_EQ(all.err, kData + "four.txt" + ": 72 solutions\n");

    const CommandResult sparse = runCli("list --sparse " + kData + "four.txt");
    EXPECT_EQ(sparse.code, 0);
    EXPECT_EQ(boxedBoards(sparse.out).size(), 1u);
    EXPECT_EQ(sparse.err, all.err);
}

TEST(Cli, ShowAndFormatPrintTheBoardAsRead)
{
    const SudokuBoard board((kData + "hand-made.txt").c_str());
    char crc[16];
    std::snprintf(crc, sizeof crc, "crc: %04X\n", static_cast<unsigned>(board.crc16()));
    const CommandResult shown = runCli("show --input-format grid " + kData + "hand-made.txt");
    EXPECT_EQ(shown.code, 0);
    EXPECT_EQ(shown.out, std::string(board.toText()) + crc);
    EXPECT_EQ(shown.err, kData + "hand-made.txt:3:1: warning: text where cell 17 should be; cells 17 to 81 are left blank\n");

    // The hand-made file holds the grid of the saved example.
    const std::string saved = readFile(kData + "../saved-two-rows.txt");
    const CommandResult toStdout = runCli("format --input-format grid " + kData + "hand-made.txt");
    EXPECT_EQ(toStdout.code, 0);
    EXPECT_EQ(toStdout.out, saved);

    const std::string formatted = temporaryPath("cli-formatted");
    const CommandResult toFile = runCli("format --input-format grid " + kData + "hand-made.txt -o " + formatted);
    EXPECT_EQ(toFile.code, 0);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readFile(formatted), saved);
    std::remove(formatted.c_str());
}

TEST(Cli, BenchSolvesAndVerifiesOneLinePuzzles)
{
    const CommandResult all = runCli("bench " + kData + "puzzles.txt");
    EXPECT_EQ(all.code, 0) << all.err;
    for (const char* line :
         {"puzzles solved: 3\n", "failures: 0\n", "total time: ", "puzzles per second: ", "median time per puzzle: ",
          "99th percentile time per puzzle: ", "mean tries: ", "mean greatest depth: ", "mean dead ends: "})
        EXPECT_NE(all.out.find(line), std::string::npos) << line << " in\n" << all.out;

    const CommandResult limited = runCli("bench --limit 2 --unique " + kData + "puzzles.txt");
    EXPECT_EQ(limited.code, 0);
    EXPECT_NE(limited.out.find("puzzles solved: 2\n"), std::string::npos) << limited.out;
    EXPECT_NE(limited.out.find("unique: 2, multiple: 0, none: 0\n"), std::string::npos) << limited.out;
}

// Exit codes and messages, on bad input naming the file.
struct CliCase {
    const char* name;
    const char* command;                // FILE stands for the path of the file
    std::optional<std::string> content; // written to FILE; none leaves it missing
    int exitCode;
    std::string message;     // the whole output when it ends in a line end
    bool unreadable = false; // even for root: the tool then runs as nobody
};

const std::string kPuzzle = "4...3.......6..8..........1....5..9..8....6...7.2........1.27..5.3....4.9........";

const char kUsage[] = "Run with --help for more information.";
const std::string kSolved = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
const std::string kTruncated = "FILE:2:1: as line: a line of 80 characters; a one-line puzzle has 16, 81, 256 or 625 (or as many numbers)\n";

// A grid file of the box size 3, then the rows given and blank rows up to nine.
std::string gridFile(const std::string& rows = "")
{
    std::string text = "3\n" + rows + (rows.empty() ? "" : "\n");
    for (auto r = std::count(text.begin(), text.end(), '\n'); r < 10; ++r)
        text += "0 0 0 0 0 0 0 0 0\n";
    return text;
}

// 3 and 5 swapped: the same puzzle, but with 3 in its first cell.
std::string swapped(std::string text)
{
    for (char& ch : text)
        ch = ch == '3' ? '5' : ch == '5' ? '3' : ch;
    return text;
}

// The saved example's grid as rows of numbers with a blank line between bands,
// and no box size: once read as a grid file of box size 5 (or 3, every cell
// shifted by one, when swapped).
std::string savedRows(bool swap = false)
{
    const std::string saved = "530070000600195000098000060800060003400803001700020006060000280000419005000080079";
    const std::string line = swap ? swapped(saved) : saved;
    std::string text;
    for (std::size_t i = 0; i < 81; ++i)
        text += std::string(1, line[i]) + (i % 9 == 8 ? (i % 27 == 26 ? "\n\n" : "\n") : i % 3 == 2 ? "\t" : " ");
    return text;
}

const CliCase kCases[] = {
    {"Version", "--version", std::nullopt, 0, "gridlark-cli " GRIDLARK_VERSION_TEXT "\n"},
    {"SolveHelp", "solve --help", std::nullopt, 0, "64  usage error"},
    {"ListHelp", "list --help", std::nullopt, 0, "64  usage error"},
    {"ShowHelp", "show --help", std::nullopt, 0, "64  usage error"},
    {"FormatHelp", "format --help", std::nullopt, 0, "64  usage error"},
    {"BenchHelp", "bench --help", std::nullopt, 0, "64  usage error"},
    {"Unreadable", "solve FILE", gridFile(), 1, "cannot open FILE: Permission denied\n", true},
    {"BenchMissing", "bench FILE", std::nullopt, 1, "cannot open FILE: No such file or directory\n"},
    {"Directory", "solve /tmp", std::nullopt, 1, "cannot open /tmp: Is a directory\n"},
    {"DevNull", "list /dev/null", std::nullopt, 2, "/dev/null: no puzzle: the input is empty\n"},
    {"DevZero", "show /dev/zero", std::nullopt, 3, "/dev/zero:1:1: "},
    {"InnerSizeZero", "solve FILE", "0\n", 0, ""},
    {"InnerSizeOne", "list FILE", "1\n1\n", 0, "Solution No 1:\n-----\n|  1|\n-----\ncrc: 807E\nFILE: 1 solution\n"},
    {"InnerSizeOutOfRange", "solve FILE", "17\n", 6, "FILE:1:1: box size 17 is out of range (0 to 16)\n"},
    {"NoBoxSizeAskedForAGridFile", "solve --input-format grid FILE", "x\n", 2, "FILE:1:1: a grid file starts with its box size\n"},
    {"DuplicateValues", "solve FILE", gridFile("5 0 0 0 0 0 0 0 5"), 3, std::string("FILE: ") + kInvalidText},
    {"DuplicateValuesListed", "list FILE", gridFile("5 0 0 0 0 0 0 0 5"), 3, std::string("FILE: ") + kInvalidText},
    {"NoSolution", "solve FILE", gridFile("1 2 3 4 5 6 7 8 0\n0 0 0 0 0 0 0 0 9"), 4, "FILE: no solution\n"},
    {"NoSolutionListed", "list FILE", gridFile("1 2 3 4 5 6 7 8 0\n0 0 0 0 0 0 0 0 9"), 4, "FILE: 0 solutions\n"},
    // Grid files laid out otherwise than saved are read only when asked for.
    {"ShortGridFile", "solve FILE", "3\n5 3 0 0 7 0 0 0 0\n", 3,
     "FILE:2:18: as grid: the grid ends after 1 of its 9 rows; a grid file laid out like this is read only with "
     "--input-format grid\n"},
    {"ShortGridFileAskedFor", "solve -q --format line --input-format grid FILE", "3\n5 3 0 0 7 0 0 0 0\n", 0, "53"},
    {"RowsOfNumbersWithoutBoxSize", "solve -q --format line FILE", savedRows(), 0, kSolved + "\n"},
    {"RowsOfNumbersStartingWithThree", "solve -q --format line FILE", savedRows(true), 0, swapped(kSolved) + "\n"},
    {"BatchGoesOnPastABadLine", "solve -q --format line FILE", kPuzzle + "\n" + kPuzzle.substr(1) + "\n" +
     "530070000600195000098000060800060003400803001700020006060000280000419005000080079\n", 3,
     "468931527751624839392578461134756298289413675675289314846192753513867942927345186\n" + kSolved + "\n" + kTruncated},
    {"TwoReadings", "show FILE", std::string(16, '1') + "\n" + [] { std::string t; for (int r = 1; r < 16; ++r) t += std::string(16, '1') + "\n"; return t; }(), 3,
     "FILE:1:1: reads two ways: as sdk (1 puzzle of 16x16) or as line (16 puzzles of 4x4); choose one with --input-format\n"},
    {"CountLineSaidWithVerbose", "show --verbose --format line FILE", "1\n" + kPuzzle + "\n", 0, "FILE:1:1: a count line, skipped"},
    {"FormatGridOfSeveral", "format FILE", kPuzzle + "\n" + kPuzzle + "\n", 64,
     "FILE: 2 puzzles, and a grid file holds one; choose --format line, sdk, ss or boxed\n"},
    {"FormatSdkOfSeveral", "format --format sdk FILE", kPuzzle + "\n" + kPuzzle.substr(0, 80) + "\n" + kPuzzle + "\n", 3,
     "9........\n\n4...3....\n...6..8..\n........1"},
    {"FormatToAPlaceThatTakesNoFile", "format FILE -o /proc/gridlark-grid.txt", gridFile(), 1,
     "cannot open /proc/gridlark-grid.txt for writing: No such file or directory\n"},
    {"FormatToAFullDisk", "format FILE -o /dev/full", gridFile(), 1, "cannot write /dev/full: No space left on device\n"},
    {"BenchShortLine", "bench FILE", kPuzzle.substr(1) + "\n", 3,
     "FILE:1:1: as line: a line of 80 characters; a one-line puzzle has 16, 81, 256 or 625 (or as many numbers)\n"},
    {"BenchBadCharacter", "bench FILE", kPuzzle.substr(0, 40) + "x" + kPuzzle.substr(41) + "\n", 3,
     "FILE:1:41: as line: 'x' is not a value of a 9x9 puzzle or a blank\n"},
    {"BenchInvalidPuzzle", "bench FILE", "11" + std::string(79, '.') + "\n", 4, "FILE: line 1:"},
    {"BenchEmpty", "bench FILE", "", 0, "puzzles solved: 0"},
    {"NoCommand", "", std::nullopt, 64, kUsage},
    {"UnknownCommand", "frobnicate FILE", "3\n", 64,
     "gridlark-cli: unknown command 'frobnicate'; the commands are solve count list show format bench explain hint rate "
     "generate print\n" +
         std::string(kUsage) + "\n"},
    {"LimitNotANumber", "bench --limit abc FILE", "", 64, "must be a whole number from 0 to 1000000000000, not 'abc'"},
    {"NoFile", "solve", std::nullopt, 64, kUsage},
    {"TwoFilesToList", "list FILE FILE", "3\n", 64, kUsage},
    {"NegativeLimit", "bench --limit -3 FILE", "", 64, kUsage},
    {"UnknownOption", "solve --frobnicate FILE", "3\n", 64, kUsage},
};

std::string replaceFile(std::string text, const std::string& path)
{
    for (std::size_t at; (at = text.find("FILE")) != std::string::npos;)
        text.replace(at, 4, path);
    return text;
}

TEST(Cli, EachCommandLineEndsWithItsExitCodeAndMessage)
{
    const std::string path = temporaryPath("cli-input");
    for (const CliCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::remove(path.c_str());
        if (c.content)
            writeFile(path, *c.content);
        ASSERT_TRUE(!c.unreadable || chmod(path.c_str(), 0) == 0);
        const std::string nobody =
            c.unreadable && geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
        const CommandResult r = runCli(replaceFile(c.command, "'" + path + "'"), nobody);
        EXPECT_EQ(r.code, c.exitCode) << r.err;
        const std::string message = replaceFile(c.message, path);
        if (!message.empty() && message.back() == '\n')
            EXPECT_EQ(r.out + r.err, message);
        else
            EXPECT_NE((r.out + r.err).find(message), std::string::npos) << r.out << r.err;
    }
    std::remove(path.c_str());
}

} // namespace
