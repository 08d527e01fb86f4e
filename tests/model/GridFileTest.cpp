#include "GridFile.h"
#include "SudokuBoard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string kDataDir = GRIDLARK_TEST_DATA_DIR;

// The grid of the saved example: two rows given, the rest blank.
const std::vector<int> kTwoRows = [] {
    std::vector<int> v{1, 0, 3, 0, 5, 0, 0, 8, 9, 0, 0, 0, 4, 3, 6, 5, 0, 0};
    v.resize(81, 0);
    return v;
}();

// Writes bytes to a fresh file under the test temp folder; removed on destruction.
class TempFile {
public:
    // mkstemp, because the temp folder may be shared with other test runs.
    explicit TempFile(const std::string& bytes) : path(testing::TempDir() + "gridlark-model-XXXXXX")
    {
        const int fd = ::mkstemp(path.data());
        if (fd < 0) {
            ADD_FAILURE() << "cannot create " << path;
            return;
        }
        ::close(fd);
        std::ofstream(path, std::ios::binary) << bytes;
    }
    ~TempFile() { std::remove(path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const char* name() const { return path.c_str(); }

private:
    std::string path;
};

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<int> values(const SudokuBoard& board)
{
    std::vector<int> out;
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c)
            out.push_back(board.valueAt(r, c));
    return out;
}

// Numbers joined with sep, then tail.
std::string join(const std::vector<int>& numbers, const std::string& sep, const std::string& tail = "")
{
    std::string out;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        out += (i ? sep : "") + std::to_string(numbers[i]);
    return out + tail;
}

std::vector<int> withInnerSize(int n, std::vector<int> cells)
{
    cells.insert(cells.begin(), n);
    return cells;
}

std::string saved(const SudokuBoard& board)
{
    const TempFile file("");
    std::FILE* out = std::fopen(file.name(), "w");
    board.writeGrid(out);
    std::fclose(out);
    return readBytes(file.name());
}

} // namespace

TEST(GridFile, ReaderStopsAtTheFirstNonNumber)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<int> expected; // the first cells; the rest must be blank
    };
    const Case cases[] = {
        {"only the inner size", "3", {}},
        {"only the inner size and a line end", "3\n", {}},
        {"letters glued to a number", "3 7 5abc 2 2", {7, 5}},
        {"a decimal point", "3 1.5 2 2", {1}},
        {"a comment line", "3 4 4\n# 9 9 9\n", {4, 4}},
        {"out of range values", "3 12 1 -4 2 10 3 0 4", {0, 1, 0, 2, 0, 3, 0, 4}},
        {"signs", "3 +6 -0 +0 7", {6, 0, 0, 7}},
        {"leading zeros", "3 007 08 0009", {7, 8, 9}},
        {"a lone sign", "3 5 - 5", {5}},
        {"more numbers than cells", "3 " + join(std::vector<int>(90, 8), " ", "\n--- Grid Saved from Gridlark ---\n"),
         std::vector<int>(81, 8)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const TempFile file(k.text);
        const SudokuBoard board(file.name());
        ASSERT_EQ(board.getInnerSize(), 3);
        std::vector<int> expected = k.expected;
        expected.resize(81, 0);
        EXPECT_EQ(values(board), expected);
    }
}

TEST(GridFile, LayoutCarriesNoMeaning)
{
    const std::vector<int> numbers = withInnerSize(3, kTwoRows);
    const std::string layouts[] = {
        join(numbers, " "),
        join(numbers, "\n", "\n"),
        join(numbers, "\t"),
        join(numbers, "\r\n", "\r\n"),
        "\r\n\t " + join(numbers, " \t\r\n\n  ", "\r\n\r\n"),
        readBytes(kDataDir + "/saved-two-rows.txt"),
        readBytes(kDataDir + "/hand-two-rows-comment.txt"),
    };
    for (const std::string& text : layouts) {
        const TempFile file(text);
        const SudokuBoard board(file.name());
        EXPECT_EQ(board.getInnerSize(), 3);
        EXPECT_EQ(values(board), kTwoRows) << text;
    }
}

TEST(GridFile, InnerSizeFromTheFile)
{
    const std::vector<int> fourByFour{1, 0, 3, 0, 0, 4, 0, 2, 2, 0, 4, 0, 0, 3, 0, 1};
    for (const char* lead : {"2", "02", "+2", " \n2"}) {
        const TempFile file(std::string(lead) + " " + join(fourByFour, " ") + " 4 4 4");
        const SudokuBoard board(file.name());
        EXPECT_EQ(board.getInnerSize(), 2) << lead;
        EXPECT_EQ(board.getSize(), 4) << lead;
        EXPECT_EQ(values(board), fourByFour) << lead;
    }
    for (const char* text : {"0", "0 1 2 3", "-0 junk"}) {
        const TempFile file(text);
        const SudokuBoard board(file.name());
        EXPECT_EQ(board.getInnerSize(), 0) << text;
        EXPECT_EQ(board.cellAt(0, 0), nullptr) << text;
        EXPECT_TRUE(board.isValid()) << text;
    }
}

TEST(GridFile, ReadingLeavesCandidatesAlone)
{
    const TempFile file("3 " + join(kTwoRows, " "));
    const SudokuBoard board(file.name());
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            ASSERT_EQ(board.cellAt(r, c)->numPossibles(), 9) << r << "," << c;
}

TEST(GridFile, WriterBytes)
{
    SudokuBoard board(3);
    for (int i = 0; i < 81; ++i)
        board.cellAt(i / 9, i % 9)->setValue(kTwoRows[i]);
    EXPECT_EQ(saved(board), readBytes(kDataDir + "/saved-two-rows.txt"));

    const std::string zeros = "0 0 0   0 0 0   0 0 0   \n";
    const std::string band = zeros + zeros + zeros + "\n";
    EXPECT_EQ(saved(SudokuBoard(3)), "3\n\n" + band + band + band + "--- Grid Saved from Gridlark ---\n");

    // Grouping is by threes whatever the inner size.
    SudokuBoard small(2);
    small.cellAt(3, 3)->setValue(4);
    EXPECT_EQ(saved(small), "2\n\n0 0 0   0 \n0 0 0   0 \n0 0 0   0 \n\n0 0 0   4 \n--- Grid Saved from Gridlark ---\n");
    EXPECT_EQ(saved(SudokuBoard(0)), "0\n\n--- Grid Saved from Gridlark ---\n");
}

TEST(GridFile, SaveThenLoadGivesTheSameValues)
{
    for (const int n : {2, 3, 4, 5}) {
        SudokuBoard board(n);
        const int size = n * n;
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c)
                board.cellAt(r, c)->setValue((r * 5 + c * 3) % (size + 1));
        const TempFile file(saved(board));
        const SudokuBoard loaded(file.name());
        EXPECT_EQ(loaded.getInnerSize(), n);
        EXPECT_EQ(values(loaded), values(board)) << n;
    }
}

TEST(GridFile, LeadingNumberCheck)
{
    struct Case {
        const char* text;
        bool read;
        int number;
    };
    for (const Case& k : {Case{"3", true, 3}, Case{"03\n", true, 3}, Case{"+3 1 2", true, 3}, Case{"\r\n\t3x", true, 3},
                          Case{"2", true, 2}, Case{"-3", true, -3}, Case{"", false, 0}, Case{"three", false, 0},
                          Case{"# 3", false, 0}}) {
        const TempFile file(k.text);
        bool opened = false;
        int number = 0;
        EXPECT_EQ(readLeadingNumber(file.name(), opened, number), k.read) << k.text;
        EXPECT_TRUE(opened) << k.text;
        if (k.read) {
            EXPECT_EQ(number, k.number) << k.text;
        }
    }
    bool opened = true;
    int number = 0;
    EXPECT_FALSE(readLeadingNumber((kDataDir + "/no-such-grid.txt").c_str(), opened, number));
    EXPECT_FALSE(opened);
}

TEST(GridFile, NonFatalReaderReportsWhy)
{
    struct Case {
        std::string text;
        GridReadStatus status;
    };
    for (const Case& k : {Case{"3 1 2", GridReadStatus::ok}, Case{"", GridReadStatus::noInnerSize},
                          Case{"grid", GridReadStatus::noInnerSize}, Case{"17", GridReadStatus::innerSizeOutOfRange},
                          Case{"-1", GridReadStatus::innerSizeOutOfRange},
                          Case{"100000", GridReadStatus::innerSizeOutOfRange}}) {
        const TempFile file(k.text);
        GridReadStatus status = GridReadStatus::ok;
        const auto board = readGridFile(file.name(), status);
        EXPECT_EQ(status, k.status) << k.text;
        EXPECT_EQ(board != nullptr, k.status == GridReadStatus::ok) << k.text;
    }
    GridReadStatus status = GridReadStatus::ok;
    const auto board = readGridFile((kDataDir + "/no-such-grid.txt").c_str(), status);
    EXPECT_EQ(board, nullptr);
    EXPECT_EQ(status, GridReadStatus::cannotOpen);

    const TempFile file("3 1 2 3 4.5");
    const auto read = readGridFile(file.name(), status);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->valueAt(0, 3), 4);
    EXPECT_EQ(read->valueAt(0, 4), 0);
}

TEST(GridFileDeathTest, MissingFileExitsWithCodeOne)
{
    const std::string path = kDataDir + "/no-such-grid.txt";
    EXPECT_EXIT(SudokuBoard{path.c_str()}, testing::ExitedWithCode(1),
                testing::Matcher<const std::string&>("SudokuBoard Error Opening file " + path + ".\n"));
}

TEST(GridFileDeathTest, NoInnerSizeExitsWithCodeTwo)
{
    for (const char* text : {"", "   \n\t", "grid 3", "- 3", ".3"}) {
        const TempFile file(text);
        EXPECT_EXIT(SudokuBoard{file.name()}, testing::ExitedWithCode(2),
                    testing::Matcher<const std::string&>(std::string("SudokuBoard creation ERROR\n\tCannot read inner grid size from ") +
                                                         file.name() + "\n"))
            << '"' << text << '"';
    }
}

TEST(GridFileDeathTest, AbsurdInnerSizeExitsWithCodeSix)
{
    for (const char* size : {"17", "-1", "100000", "2147483647"}) {
        const TempFile file(std::string(size) + " 1 2 3");
        EXPECT_EXIT(SudokuBoard{file.name()}, testing::ExitedWithCode(6),
                    testing::Matcher<const std::string&>(std::string("SudokuBoard creation ERROR\n\tInner grid size ") + size +
                                                         " in " + file.name() + " is out of range (0 to 16)\n"));
    }
}
