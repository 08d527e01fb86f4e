// The reading and writing rules of well-formed and lenient grid files. Files that are
// not grids at all, and the fatal exits, are the reliability tests' work.
#include "GridFile.h"
#include "SudokuBoard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
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

// A file holding bytes until the end of its scope; the process id keeps parallel test runs apart.
struct TempFile {
    explicit TempFile(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    ~TempFile() { std::remove(path.c_str()); }
    const char* name() const { return path.c_str(); }
    static inline int count = 0;
    const std::string path =
        testing::TempDir() + "gridlark-model-" + std::to_string(getpid()) + "-" + std::to_string(count++);
};

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<int> values(const SudokuBoard& board)
{
    std::vector<int> out;
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c)
            out.push_back(board.valueAt(r, c));
    return out;
}

std::string join(const std::vector<int>& numbers, const std::string& sep, const std::string& tail = "")
{
    std::string out;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        out += (i ? sep : "") + std::to_string(numbers[i]);
    return out + tail;
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

// Each file is read by the board's file constructor, and its leading number by the
// Load command's check.
TEST(GridFile, ReadingRules)
{
    const std::vector<int> fourByFour{1, 0, 3, 0, 0, 4, 0, 2, 2, 0, 4, 0, 0, 3, 0, 1};
    // The text, the inner size read, the first cells (the rest blank).
    const std::vector<std::tuple<std::string, int, std::vector<int>>> cases = {
        {"3", 3, {}}, {"3 7 5abc 2 2", 3, {7, 5}}, {"3 1.5 2 2", 3, {1}}, {"3 4 4\n# 9 9 9\n", 3, {4, 4}},
        {"3 12 1 -4 2 10 3 0 4", 3, {0, 1, 0, 2, 0, 3, 0, 4}}, {"+3 +6 -0 +0 7", 3, {6, 0, 0, 7}},
        {"03 007 08 0009", 3, {7, 8, 9}}, {"3 5 - 5", 3, {5}}, {"0 1 2 3", 0, {}}, {"-0 junk", 0, {}},
        {"3 " + join(std::vector<int>(90, 8), " ", "\n--- Grid Saved from Gridlark ---\n"), 3, std::vector<int>(81, 8)},
        {"2 " + join(fourByFour, " ") + " 4 4 4", 2, fourByFour},
        {" \n+02\t" + join(fourByFour, "\n"), 2, fourByFour},
    };
    for (auto [text, innerSize, expected] : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        const TempFile file(text);
        const SudokuBoard board(file.name());
        ASSERT_EQ(board.getInnerSize(), innerSize);
        expected.resize(board.getSize() * board.getSize(), 0);
        EXPECT_EQ(values(board), expected);
        EXPECT_TRUE(innerSize == 0 || board.cellAt(0, 1)->numPossibles() == board.getSize())
            << "reading leaves the candidates alone";
        bool opened = false;
        int number = -1;
        EXPECT_TRUE(readLeadingNumber(file.name(), opened, number));
        EXPECT_EQ(number, innerSize);
    }
}

TEST(GridFile, LayoutCarriesNoMeaning)
{
    for (const std::string& text :
         {"3 " + join(kTwoRows, " "), "3\n" + join(kTwoRows, "\n", "\n"), "3\t" + join(kTwoRows, "\t"),
          "3\r\n" + join(kTwoRows, "\r\n", "\r\n"), "\r\n\t 3 \t\r\n\n  " + join(kTwoRows, " \t\r\n\n  "),
          readBytes(kDataDir + "/saved-two-rows.txt"), readBytes(kDataDir + "/hand-two-rows-comment.txt")}) {
        const TempFile file(text);
        const SudokuBoard board(file.name());
        EXPECT_EQ(board.getInnerSize(), 3);
        EXPECT_EQ(values(board), kTwoRows) << text;
    }
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
    EXPECT_EQ(saved(small),
              "2\n\n0 0 0   0 \n0 0 0   0 \n0 0 0   0 \n\n0 0 0   4 \n--- Grid Saved from Gridlark ---\n");
    EXPECT_EQ(saved(SudokuBoard(0)), "0\n\n--- Grid Saved from Gridlark ---\n");
}
