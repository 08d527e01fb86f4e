// gridlark-cli on bad input: each case ends with its documented exit code and a
// message naming the file, within a time limit that only a hang would reach.
#include "OneLinePuzzle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliCase {
    const char* name;
    const char* command;
    std::string content;
    int exitCode;
    const char* message;
};

void PrintTo(const CliCase& c, std::ostream* os)
{
    *os << c.name;
}

constexpr int kExitHung = 124;

const std::string kPuzzle = "4...3.......6..8..........1....5..9..8....6...7.2........1.27..5.3....4.9........";

const CliCase kCases[] = {
    {"Empty", "solve", "", 2, "Cannot read inner grid size from FILE"},
    {"Binary", "solve", std::string("\0\xff\x01grid", 7), 2, "Cannot read inner grid size from FILE"},
    {"StartsWithAWord", "show", "grid 3\n", 2, "Cannot read inner grid size from FILE"},
    {"HugeInnerSize", "solve", "99999999999999999999\n1 2 3\n", 6, "out of range"},
    {"InnerSizeWrappingToThree", "solve", "4294967299\n1 2 3\n", 6, "out of range"},
    {"InnerSizeSeventeen", "list", "17\n", 6, "out of range"},
    {"InnerSizeZero", "solve", "0\n", 0, ""},
    {"InnerSizeOne", "list", "1\n", 0, "FILE: 1 solution"},
    {"InnerSizeTwo", "solve", "2\n1 0 0 0\n0 0 0 2\n", 0, ""},
    {"InnerSizeFour", "solve", "4\n16 0 0 1\n", 0, ""},
    {"OverflowingCellNumbersAreBlank", "show", "3\n4294967301 99999999999999999999 -4294967295\n", 0, ""},
    {"DuplicateValues", "solve", "3\n5 0 0 0 0 0 0 0 5\n", 3, "FILE: SORRY, the current grid is invalid"},
    {"NoSolution", "solve", "3\n1 2 3 4 5 6 7 8 0\n0 0 0 0 0 0 0 0 9\n", 4, "FILE: no solution"},
    {"BenchShortLine", "bench", "123.\n", 3, "FILE: line 1: a puzzle needs 81 cells, found 4"},
    {"BenchBadCharacter", "bench", kPuzzle + "\n" + kPuzzle.substr(0, 40) + "x" + kPuzzle.substr(41) + "\n", 3,
     "FILE: line 2: character 'x' at position 41"},
    {"BenchInvalidPuzzle", "bench", "11" + std::string(79, '.') + "\n", 4, "FILE: line 1:"},
    {"BenchEmpty", "bench", "", 0, "puzzles solved: 0"},
};

class CliBadInput : public ::testing::TestWithParam<CliCase> {
protected:
    void TearDown() override { std::remove(path.c_str()); }
    std::string path;
};

std::string replaceFile(std::string text, const std::string& path)
{
    for (std::size_t at; (at = text.find("FILE")) != std::string::npos;)
        text.replace(at, 4, path);
    return text;
}

// Runs gridlark-cli with a time limit; standard output and error together.
std::string runCli(const std::string& arguments, int& status)
{
    return runCommand("timeout 60 " + std::string(GRIDLARK_CLI) + " " + arguments + " 2>&1", status);
}

TEST_P(CliBadInput, EndsWithItsExitCodeAndMessage)
{
    const CliCase& c = GetParam();
    path = temporaryPath(std::string("cli-") + c.name) + ".txt";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(c.content.data(), 1, c.content.size(), out);
    std::fclose(out);

    int status = 0;
    const std::string output = runCli(std::string(c.command) + " '" + path + "'", status);
    EXPECT_EQ(status, c.exitCode) << output;
    EXPECT_NE(output.find(replaceFile(c.message, path)), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(Cli, CliBadInput, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliBadPaths, MissingFile)
{
    const std::string path = temporaryPath("cli-missing") + ".txt";
    int status = 0;
    const std::string output = runCli("solve '" + path + "'", status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("SudokuBoard Error Opening file " + path + "."), std::string::npos) << output;
    runCli("bench '" + path + "'", status);
    EXPECT_EQ(status, 1);
}

TEST(CliBadPaths, DirectoryAndDevices)
{
    for (const char* path : {"/tmp", "/dev/null", "/dev/zero"}) {
        int status = 0;
        const std::string output = runCli(std::string("solve ") + path, status);
        EXPECT_EQ(status, 2) << path;
        EXPECT_NE(output.find(std::string("Cannot read inner grid size from ") + path), std::string::npos) << output;
    }
}

TEST(CliBadPaths, FifoWithoutWriterDoesNotHang)
{
    const std::string path = temporaryPath("cli-fifo");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    for (const char* command : {"solve", "list", "show", "format"}) {
        int status = 0;
        const std::string output = runCli(std::string(command) + " '" + path + "'", status);
        EXPECT_NE(status, kExitHung) << command << " waited for a writer";
        EXPECT_EQ(status, 2) << command << ": " << output;
    }
    std::remove(path.c_str());
}

TEST(CliBadPaths, UnreadableFileEvenForRoot)
{
    const std::string path = temporaryPath("cli-unreadable") + ".txt";
    std::FILE* out = std::fopen(path.c_str(), "w");
    ASSERT_NE(out, nullptr);
    std::fputs("3\n", out);
    std::fclose(out);
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    // Root reads any file whatever its mode: run the tool as nobody instead.
    const std::string asNobody = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    int status = 0;
    const std::string output = runCommand(asNobody + GRIDLARK_CLI + " solve '" + path + "' 2>&1", status);
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("SudokuBoard Error Opening file " + path + "."), std::string::npos) << output;
    std::remove(path.c_str());
}

TEST(CliBadPaths, FormatToAPlaceThatTakesNoFile)
{
    const std::pair<const char*, const char*> targets[] = {
        {"/proc/gridlark-grid.txt", "cannot open for writing"},
        {"/dev/full", "write failed"},
    };
    for (const auto& [target, message] : targets) {
        int status = 0;
        const std::string output = runCli(std::string("format ") + GRIDLARK_SAMPLE + " -o " + target, status);
        EXPECT_EQ(status, 1) << target;
        EXPECT_NE(output.find(std::string(target) + ": " + message), std::string::npos) << output;
    }
}

TEST(CliBadPaths, UsageErrors)
{
    for (const char* arguments : {"", "frobnicate", "solve", "list a b", "bench --limit x y"}) {
        int status = 0;
        const std::string output = runCli(arguments, status);
        EXPECT_EQ(status, 64) << "'" << arguments << "': " << output;
        EXPECT_FALSE(output.empty()) << arguments;
    }
}

} // namespace
