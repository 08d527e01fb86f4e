// Grid files that are not what a grid file should be. Each gets a defined result, the
// same from the non-fatal reader, the Load command's leading-number check, the file
// constructor and the command-line tool, and none of them crashes or hangs.
#include "GridFile.h"
#include "SudokuBoard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using enum GridReadStatus;

struct BadContent {
    const char* name;
    std::optional<std::string> content; // none: the file is missing
    GridReadStatus status;
    int innerSize;                         // as read, also when out of range
    std::vector<std::array<int, 3>> cells; // row, column, value
    bool warned = false;                   // the command-line tool warns where reading stopped or a value was left out
};

const BadContent kContents[] = {
    {"Missing", std::nullopt, cannotOpen, 0, {}},
    {"Empty", "", noInnerSize, 0, {}},
    {"Binary", std::string("\0\x01\xfe\xff\x7f", 5), noInnerSize, 0, {}},
    {"StartsWithAWord", "grid 3", noInnerSize, 0, {}},
    {"LoneSign", "- 3", noInnerSize, 0, {}},
    {"BinaryAfterInnerSize", std::string("3\n\0\x05 1 2", 8), ok, 3, {{0, 0, 0}, {0, 1, 0}}, true},
    {"VeryLongLineBeforeAValue", "3\n" + std::string(1 << 20, ' ') + "7 8", ok, 3, {{0, 0, 7}, {0, 1, 8}, {0, 2, 0}}},
    {"NumberOfAMillionDigits", "3\n" + std::string(1000000, '5') + " 4", ok, 3, {{0, 0, 0}, {0, 1, 4}}, true},
    // Each would keep its low 32 bits under a plain " %d": 5, -2147483648, 2147483647, 0.
    {"CellNumbersBeyondInt", "3\n4294967301 2147483648 -2147483649 -99999999999999999999 6", ok, 3,
     {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 6}}, true},
    {"InnerSizeWrappingToThree", "4294967299\n1 2 3", innerSizeOutOfRange, INT_MAX, {}},
    {"NegativeInnerSizeWrappingToThree", "-4294967293\n1 2 3", innerSizeOutOfRange, INT_MIN, {}},
    {"HugeInnerSize", "99999999999999999999999999\n1", innerSizeOutOfRange, INT_MAX, {}},
    {"InnerSizeOfFiftyDigits", std::string(50, '8') + "\n1", innerSizeOutOfRange, INT_MAX, {}},
    {"InnerSizeSeventeen", "+017\n1", innerSizeOutOfRange, 17, {}},
    {"InnerSizeMinusOne", "-1\n1", innerSizeOutOfRange, -1, {}},
    {"InnerSizeOne", "1\n1 1", ok, 1, {{0, 0, 1}}},
    {"InnerSizeSixteen", "16\n256 257 -1 255", ok, 16, {{0, 0, 256}, {0, 1, 0}, {0, 2, 0}, {0, 3, 255}}, true},
};

class BadContentTest : public ::testing::TestWithParam<BadContent> {
protected:
    void TearDown() override { std::remove(path.c_str()); }
    const std::string path = temporaryPath("bad-content");
};

TEST_P(BadContentTest, EveryReaderEndsTheSameWay)
{
    const BadContent& c = GetParam();
    if (c.content)
        writeFile(path, *c.content);

    const GridRead gridRead = readGridFile(path.c_str());
    const SudokuBoard* board = gridRead.board.get();
    ASSERT_EQ(gridRead.status, c.status);
    ASSERT_EQ(board != nullptr, c.status == ok);

    bool opened = false;
    int number = 0;
    const bool read = readLeadingNumber(path.c_str(), opened, number);
    EXPECT_EQ(opened, c.status != cannotOpen);
    EXPECT_EQ(read, opened && c.status != noInnerSize);
    EXPECT_EQ(read && number == 3, c.status == ok && c.innerSize == 3)
        << "the Load check must accept exactly the files that read as inner size 3";

    // The file constructor fails with the same code as the command-line tool asked
    // for a grid file, whose text names the place; both quote an inner size as the
    // file writes it, cut after 40 characters.
    std::string written = c.content ? c.content->substr(0, c.content->find('\n')) : "";
    if (written.size() > 40)
        written = written.substr(0, 40) + "...";
    const int exitCode[] = {0, 1, 2, 6};
    const std::string message[] = {"", "SudokuBoard Error Opening file " + path + ".\n",
                                   "SudokuBoard creation ERROR\n\tCannot read inner grid size from " + path + "\n",
                                   "SudokuBoard creation ERROR\n\tInner grid size " + written +
                                       " in " + path + " is out of range (0 to 16)\n"};
    const std::string cliMessage[] = {"", "cannot open " + path + ": No such file or directory\n",
                                      path + ":1:1: a grid file starts with its box size\n",
                                      path + ":1:1: box size " + written + " is out of range (0 to 16)\n"};
    const int at = static_cast<int>(c.status);
    const CommandResult shown = runCli("show --input-format grid '" + path + "'");
    EXPECT_EQ(shown.code, exitCode[at]);
    if (c.status == ok)
        EXPECT_EQ(!shown.err.empty(), c.warned) << shown.err;
    else
        EXPECT_EQ(shown.err, cliMessage[at]);
    EXPECT_EQ(gridRead.exitCode(), exitCode[at]);
    EXPECT_EQ(gridRead.message(path.c_str()), message[at]);
    if (c.status != ok) {
        EXPECT_EXIT(SudokuBoard{path.c_str()}, ::testing::ExitedWithCode(exitCode[at]), ::testing::Eq(message[at]));
        return;
    }
    EXPECT_EQ(board->getInnerSize(), c.innerSize);
    for (const auto& [r, col, v] : c.cells)
        EXPECT_EQ(board->valueAt(r, col), v) << "cell " << r << ", " << col;
    const std::string text = board->toText();
    EXPECT_EQ(shown.out.substr(0, text.size()), text);
    EXPECT_EQ(SudokuBoard(path.c_str()).toText(), text) << "the file constructor reads the same board";
}

INSTANTIATE_TEST_SUITE_P(BadGridFiles, BadContentTest, ::testing::ValuesIn(kContents),
                         [](const auto& info) { return std::string(info.param.name); });

// The Load check does not wait for a FIFO's writer (it runs in a child that an alarm
// ends if it waits); the command-line tool does, and reads what the writer writes.
TEST(BadGridPaths, FifoWithoutAWriterLoadsAsEmptyAndTheToolWaitsForItsWriter)
{
    const std::string path = temporaryPath("fifo");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            alarm(20);
            bool opened = false;
            int number = 0;
            std::_Exit(readLeadingNumber(path.c_str(), opened, number) ? 1 : opened ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
    const std::string line = "1234341221434321";
    for (const char* command : {"solve", "show"}) {
        const CommandResult r = runCommand("(sleep 1; echo " + line + " > '" + path + "') & timeout 60 '" GRIDLARK_CLI "' " +
                                           command + " -q --format line '" + path + "'; wait");
        EXPECT_EQ(r.code, 0) << command << " (124: waited for ever)\n" << r.err;
        EXPECT_EQ(r.out, line + "\n") << command;
    }

    // Opened for reading and writing, the FIFO has a writer before the reader comes.
    const int writer = open(path.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    const std::string grid = "2\n1 2 3 4\n3 4 1 2\n2 1 4 3\n4 3 2 1\n";
    ASSERT_EQ(write(writer, grid.data(), grid.size()), static_cast<ssize_t>(grid.size()));
    const GridRead read = readGridFile(path.c_str());
    const SudokuBoard* board = read.board.get();
    close(writer);
    std::remove(path.c_str());
    ASSERT_EQ(read.status, ok);
    EXPECT_TRUE(board->getInnerSize() == 2 && board->valueAt(3, 3) == 1 && board->isValid()) << board->toText();
}

} // namespace
