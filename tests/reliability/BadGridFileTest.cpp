// Grid files that are not what a grid file should be. Each gets a defined result from
// the non-fatal reader, the Load command's leading-number check and the file
// constructor alike, and none of them crashes or hangs.
#include "GridFile.h"
#include "OneLinePuzzle.h"
#include "SudokuBoard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A read that hangs is killed by this alarm in the child that makes it.
constexpr unsigned kHangSeconds = 20;

std::string writeFile(const std::string& stem, const std::string& content)
{
    const std::string path = temporaryPath(stem);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out) {
        std::fwrite(content.data(), 1, content.size(), out);
        std::fclose(out);
    }
    return path;
}

struct BadContent {
    const char* name;
    std::string content;
    GridReadStatus status;
    int innerSize;
    // Cells whose value is checked: row, column, value.
    std::vector<std::array<int, 3>> cells;
};

void PrintTo(const BadContent& c, std::ostream* os)
{
    *os << c.name;
}

std::string repeated(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

const BadContent kContents[] = {
    {"Empty", "", GridReadStatus::noInnerSize, 0, {}},
    {"OnlyWhiteSpace", " \t\r\n\r\n", GridReadStatus::noInnerSize, 0, {}},
    {"Binary", std::string("\0\x01\xfe\xff\x7f", 5), GridReadStatus::noInnerSize, 0, {}},
    {"BinaryAfterInnerSize", std::string("3\n\0\x05 1 2", 8), GridReadStatus::ok, 3, {{0, 0, 0}, {0, 1, 0}}},
    {"VeryLongLineBeforeAValue", "3\n" + std::string(1 << 20, ' ') + "7 8", GridReadStatus::ok, 3,
     {{0, 0, 7}, {0, 1, 8}, {0, 2, 0}}},
    {"VeryLongLineOfValues", "3 " + repeated("1 2 ", 100000), GridReadStatus::ok, 3, {{0, 0, 1}, {8, 7, 2}, {8, 8, 1}}},
    {"NumberOfAMillionDigits", "3\n" + std::string(1000000, '5') + " 4", GridReadStatus::ok, 3, {{0, 0, 0}, {0, 1, 4}}},
    // Each would keep its low 32 bits under a plain " %d": 5, -2147483648, 2147483647, 0.
    {"CellNumbersBeyondInt", "3\n4294967301 2147483648 -2147483649 -99999999999999999999 6", GridReadStatus::ok, 3,
     {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 6}}},
    {"IntLimits", "3\n2147483647 -2147483648 9", GridReadStatus::ok, 3, {{0, 0, 0}, {0, 1, 0}, {0, 2, 9}}},
    {"InnerSizeWrappingToThree", "4294967299\n1 2 3", GridReadStatus::innerSizeOutOfRange, 0, {}},
    {"NegativeInnerSizeWrappingToThree", "-4294967293\n1 2 3", GridReadStatus::innerSizeOutOfRange, 0, {}},
    {"HugeInnerSize", "99999999999999999999999999\n1", GridReadStatus::innerSizeOutOfRange, 0, {}},
    {"InnerSizeIntMax", "2147483647\n1", GridReadStatus::innerSizeOutOfRange, 0, {}},
    {"InnerSizeSeventeen", "17\n1", GridReadStatus::innerSizeOutOfRange, 0, {}},
    {"InnerSizeMinusOne", "-1\n1", GridReadStatus::innerSizeOutOfRange, 0, {}},
    {"InnerSizeZero", "0\n1 2 3", GridReadStatus::ok, 0, {}},
    {"InnerSizeOne", "1\n1 1", GridReadStatus::ok, 1, {{0, 0, 1}}},
    {"InnerSizeTwo", "2\n1 0 3 0 0 4 0 2 5", GridReadStatus::ok, 2, {{0, 0, 1}, {0, 2, 3}, {1, 1, 4}, {1, 3, 2}, {2, 0, 0}}},
    {"InnerSizeFour", "4\n16 17 0 9", GridReadStatus::ok, 4, {{0, 0, 16}, {0, 1, 0}, {0, 3, 9}}},
    {"InnerSizeSixteen", "16\n256 257 -1 255", GridReadStatus::ok, 16, {{0, 0, 256}, {0, 1, 0}, {0, 2, 0}, {0, 3, 255}}},
};

class BadContentTest : public ::testing::TestWithParam<BadContent> {
protected:
    void TearDown() override { std::remove(path.c_str()); }
    std::string path;
};

TEST_P(BadContentTest, ReaderLoadCheckAndFileConstructorAgree)
{
    const BadContent& c = GetParam();
    path = writeFile(c.name, c.content);

    GridReadStatus status;
    const std::unique_ptr<SudokuBoard> board = readGridFile(path.c_str(), status);
    ASSERT_EQ(status, c.status);
    ASSERT_EQ(board != nullptr, c.status == GridReadStatus::ok);

    bool opened = false;
    int number = 0;
    const bool read = readLeadingNumber(path.c_str(), opened, number);
    EXPECT_TRUE(opened);
    EXPECT_EQ(read, c.status != GridReadStatus::noInnerSize);
    EXPECT_EQ(read && number == 3, c.status == GridReadStatus::ok && c.innerSize == 3)
        << "the Load check must accept exactly the files that read as inner size 3";

    switch (c.status) {
    case GridReadStatus::noInnerSize:
        EXPECT_EXIT(SudokuBoard{path.c_str()}, ::testing::ExitedWithCode(SudokuBoard::kExitNoInnerSize),
                    "Cannot read inner grid size from " + path);
        return;
    case GridReadStatus::innerSizeOutOfRange:
        EXPECT_EXIT(SudokuBoard{path.c_str()}, ::testing::ExitedWithCode(SudokuBoard::kExitInnerSizeOutOfRange),
                    "is out of range");
        return;
    default:
        break;
    }
    EXPECT_EQ(board->getInnerSize(), c.innerSize);
    for (const auto& [r, col, v] : c.cells)
        EXPECT_EQ(board->valueAt(r, col), v) << "cell " << r << ", " << col;
    const SudokuBoard fromConstructor(path.c_str());
    ASSERT_EQ(fromConstructor.getInnerSize(), board->getInnerSize());
    for (int r = 0; r < board->getSize(); ++r)
        for (int col = 0; col < board->getSize(); ++col)
            ASSERT_EQ(fromConstructor.valueAt(r, col), board->valueAt(r, col));
}

INSTANTIATE_TEST_SUITE_P(BadGridFiles, BadContentTest, ::testing::ValuesIn(kContents),
                         [](const auto& info) { return std::string(info.param.name); });

// The reader's outcome for a path, made in a child process that an alarm ends if
// the read hangs; the exit code is the status.
void readInChild(const std::string& path, bool dropRoot)
{
    alarm(kHangSeconds);
    // Root reads any file whatever its mode: the check runs as nobody instead.
    if (dropRoot && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        std::_Exit(100);
    GridReadStatus status;
    readGridFile(path.c_str(), status);
    std::_Exit(static_cast<int>(status));
}

::testing::ExitedWithCode exitsWith(GridReadStatus status)
{
    return ::testing::ExitedWithCode(static_cast<int>(status));
}

TEST(BadGridPaths, MissingFileCannotBeOpened)
{
    const std::string path = temporaryPath("missing") + ".txt";
    GridReadStatus status;
    EXPECT_EQ(readGridFile(path.c_str(), status), nullptr);
    EXPECT_EQ(status, GridReadStatus::cannotOpen);
    bool opened = true;
    int number = 0;
    EXPECT_FALSE(readLeadingNumber(path.c_str(), opened, number));
    EXPECT_FALSE(opened);
    EXPECT_EXIT(SudokuBoard{path.c_str()}, ::testing::ExitedWithCode(SudokuBoard::kExitCannotOpen),
                "SudokuBoard Error Opening file " + path + "\\.");
}

TEST(BadGridPaths, PathThroughAFileCannotBeOpened)
{
    const std::string file = writeFile("not-a-folder", "3\n");
    EXPECT_EXIT(readInChild(file + "/grid.txt", false), exitsWith(GridReadStatus::cannotOpen), "");
    std::remove(file.c_str());
}

TEST(BadGridPaths, UnreadableFileCannotBeOpenedEvenByRoot)
{
    const std::string path = writeFile("unreadable", "3\n1 2 3\n");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    EXPECT_EXIT(readInChild(path, true), exitsWith(GridReadStatus::cannotOpen), "");
    std::remove(path.c_str());
}

TEST(BadGridPaths, DirectoryHasNoInnerSize)
{
    const char* dir = std::getenv("TMPDIR");
    const std::string path = dir && *dir ? dir : "/tmp";
    EXPECT_EXIT(readInChild(path, false), exitsWith(GridReadStatus::noInnerSize), "");
    EXPECT_EXIT(SudokuBoard{path.c_str()}, ::testing::ExitedWithCode(SudokuBoard::kExitNoInnerSize), "");
}

TEST(BadGridPaths, DevicesHaveNoInnerSize)
{
    for (const char* device : {"/dev/null", "/dev/zero"})
        EXPECT_EXIT(readInChild(device, false), exitsWith(GridReadStatus::noInnerSize), "") << device;
}

class FifoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = temporaryPath("fifo");
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    }
    void TearDown() override { std::remove(path.c_str()); }
    std::string path;
};

TEST_F(FifoTest, WithoutWriterReadsAsEmptyInsteadOfWaiting)
{
    EXPECT_EXIT(readInChild(path, false), exitsWith(GridReadStatus::noInnerSize), "");
    bool opened = false;
    int number = 0;
    EXPECT_EXIT(
        {
            alarm(kHangSeconds);
            std::_Exit(readLeadingNumber(path.c_str(), opened, number) ? 1 : opened ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            alarm(kHangSeconds);
            SudokuBoard board(path.c_str());
        },
        ::testing::ExitedWithCode(SudokuBoard::kExitNoInnerSize), "Cannot read inner grid size");
}

TEST_F(FifoTest, WithWriterReadsWhatIsWritten)
{
    // Opened for reading and writing, the FIFO has a writer before the reader comes.
    const int writer = open(path.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    const std::string grid = "2\n1 2 3 4\n3 4 1 2\n2 1 4 3\n4 3 2 1\n";
    ASSERT_EQ(write(writer, grid.data(), grid.size()), static_cast<ssize_t>(grid.size()));
    GridReadStatus status;
    const std::unique_ptr<SudokuBoard> board = readGridFile(path.c_str(), status);
    close(writer);
    ASSERT_EQ(status, GridReadStatus::ok);
    EXPECT_EQ(board->getInnerSize(), 2);
    EXPECT_EQ(board->valueAt(0, 0), 1);
    EXPECT_EQ(board->valueAt(3, 3), 1);
    EXPECT_TRUE(board->isValid());
}

} // namespace
