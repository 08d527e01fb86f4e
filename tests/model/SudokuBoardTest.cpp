#include "SudokuBoard.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using CellState = std::tuple<int, int, int, int, std::vector<int>>;

// What every cell reports, row-major: row, column, side, value and candidates (count checked).
std::vector<CellState> cells(const SudokuBoard& board)
{
    std::vector<CellState> out;
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c) {
            const Cell* cell = board.cellAt(r, c);
            std::vector<int> set;
            for (int v = 1; v <= cell->getMaxValue(); ++v)
                if (cell->isPossible(v))
                    set.push_back(v);
            EXPECT_EQ(cell->numPossibles(), static_cast<int>(set.size())) << r << "," << c;
            out.emplace_back(cell->getRow(), cell->getCol(), cell->getMaxValue(), cell->getValue(), set);
        }
    return out;
}

// A complete grid that obeys the rules; partly: a scattered third blanked. Candidates rebuilt.
SudokuBoard solvedBoard(int n, bool partly = false)
{
    SudokuBoard board(n);
    const int size = n * n;
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            board.cellAt(r, c)->setValue(partly && (r * 7 + c * 5) % 3 == 0 ? 0 : (r % n * n + r / n + c) % size + 1);
    board.recomputePossibles();
    return board;
}

// Each cell in its place, holding 1..size minus the values its peers hold (its own included).
std::vector<CellState> expectedCells(const SudokuBoard& board)
{
    const int n = board.getInnerSize();
    const int size = board.getSize();
    std::vector<CellState> out;
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c) {
            std::set<int> taken;
            for (int i = 0; i < size; ++i) {
                const int br = r / n * n + i / n;
                const int bc = c / n * n + i % n;
                taken.insert({i != c ? board.valueAt(r, i) : 0, i != r ? board.valueAt(i, c) : 0,
                              br != r || bc != c ? board.valueAt(br, bc) : 0});
            }
            std::vector<int> free;
            for (int v = 1; v <= size; ++v)
                if (!taken.count(v))
                    free.push_back(v);
            out.emplace_back(r, c, size, board.valueAt(r, c), free);
        }
    return out;
}

} // namespace

class BoardSize : public testing::TestWithParam<int> {};

// A blank board, and the same values placed one by one or recomputed all at once.
TEST_P(BoardSize, CandidatesAreTheValuesNoPeerHolds)
{
    const int n = GetParam();
    const int size = n * n;
    const SudokuBoard blank(n);
    EXPECT_EQ(blank.getSize(), size);
    EXPECT_EQ(cells(blank), expectedCells(blank));
    for (const auto& [r, c] : {std::pair{-1, 0}, {0, -1}, {size, 0}, {0, size}, {INT_MIN, INT_MAX}})
        EXPECT_TRUE(!blank.cellAt(r, c) && blank.valueAt(r, c) == -1) << r << "," << c;
    const SudokuBoard recomputed = solvedBoard(n, true);
    SudokuBoard placed(n);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            placed.placeValue(r, c, recomputed.valueAt(r, c));
    EXPECT_EQ(cells(recomputed), expectedCells(recomputed));
    EXPECT_EQ(cells(placed), cells(recomputed));
}

// A second copy of the value at (0, 0) on a row, column or sub-square peer breaks the rules.
TEST_P(BoardSize, ValidityOfPairs)
{
    const int n = GetParam();
    const int last = n * n - 1;
    EXPECT_TRUE(solvedBoard(n).isValid());
    if (n < 2)
        return;
    for (const auto& [r, c, valid] : {std::tuple{0, last, false}, {last, 0, false}, {n - 1, n - 1, false},
                                      {1, 1, false}, {1, n, true}, {n, 1, true}, {last, last, true}}) {
        SudokuBoard board(n);
        board.cellAt(0, 0)->setValue(2);
        board.cellAt(r, c)->setValue(2);
        EXPECT_EQ(board.isValid(), valid) << r << "," << c;
    }
}

// 81 x 81 keeps each cell's candidates in heap words.
INSTANTIATE_TEST_SUITE_P(InnerSizes, BoardSize, testing::Values(0, 1, 2, 3, 9));

TEST(SudokuBoard, OutOfRangeInnerSizeEndsTheProcessWithItsMessage)
{
    for (const int n : {-1, 17, INT_MIN}) {
        const std::string message =
            "SudokuBoard creation ERROR\n\tInner grid size " + std::to_string(n) + " is out of range (0 to 16)\n";
        EXPECT_EXIT(SudokuBoard{n}, testing::ExitedWithCode(6), testing::Eq(message)) << n;
    }
}

TEST(SudokuBoard, PlaceValueIgnoresWhatIsOutOfRangeAndGivesNothingBack)
{
    SudokuBoard board(3);
    board.placeValue(2, 2, 7);
    std::vector<CellState> before = cells(board);
    for (const auto& [r, c, v] : {std::tuple{0, 0, 10}, {0, 0, -1}, {9, 0, 1}, {0, 9, 1}, {-1, 0, 1}, {2, 2, 10}}) {
        board.placeValue(r, c, v);
        EXPECT_EQ(cells(board), before) << r << "," << c << " v " << v;
    }
    board.placeValue(2, 2, 0);
    std::get<3>(before[20]) = 0;
    EXPECT_EQ(cells(board), before) << "blanking gives no candidate back";

    // A replaced value stays removed from the peers until the candidates are rebuilt.
    board.placeValue(0, 0, 5);
    board.placeValue(0, 0, 6);
    EXPECT_FALSE(board.cellAt(8, 0)->isPossible(5) || board.cellAt(8, 0)->isPossible(6));
    board.recomputePossibles();
    for (const auto& [r, c] : {std::pair{0, 8}, {8, 0}, {2, 2}}) {
        EXPECT_TRUE(board.cellAt(r, c)->isPossible(5));
        EXPECT_EQ(board.cellAt(r, c)->numPossibles(), 8);
    }
}

TEST(SudokuBoard, CopiesAreDeepBetweenSizes)
{
    for (const int from : {0, 2, 3, 9}) {
        SudokuBoard source = solvedBoard(from, true);
        const std::vector<CellState> expected = cells(source);
        SudokuBoard copy(source);
        EXPECT_EQ(cells(copy), expected) << from;
        copy.placeValue(0, 0, 1);
        for (const int to : {0, 2, 9}) {
            SudokuBoard target = solvedBoard(to);
            target = source;
            EXPECT_EQ(target.getInnerSize(), from);
            EXPECT_EQ(cells(target), expected) << from << " -> " << to;
            target.placeValue(0, 0, 1);
        }
        EXPECT_EQ(cells(source), expected) << from;
    }
}

TEST(BoardText, ExactTexts)
{
    const std::string separator = std::string(37, '-') + "\n";
    const std::string row = "|  .   .   .|  .   .   .|  .   .   .|\n";
    const std::string band = row + row + row + separator;
    EXPECT_EQ(SudokuBoard(3).toText(), separator + band + band + band);
    SudokuBoard four(2);
    for (const auto& [r, c, v] :
         {std::tuple{0, 0, 1}, {0, 2, 3}, {1, 1, 4}, {1, 3, 2}, {2, 0, 2}, {2, 2, 4}, {3, 1, 3}, {3, 3, 1}})
        four.cellAt(r, c)->setValue(v);
    EXPECT_STREQ(four.toText(), "-----------------\n|  1   .|  3   .|\n|  .   4|  .   2|\n-----------------\n"
                                "|  2   .|  4   .|\n|  .   3|  .   1|\n-----------------\n");
    EXPECT_STREQ(SudokuBoard(0).toText(), "-\n");
    SudokuBoard one(1);
    EXPECT_STREQ(one.toText(), "-----\n|  .|\n-----\n");
    one.cellAt(0, 0)->setValue(1);
    EXPECT_STREQ(one.toText(), "-----\n|  1|\n-----\n");
}

TEST(BoardText, WideValuesKeepTheColumnsAligned)
{
    for (const auto& [n, firstCells] : {std::pair{4, "| 16   1   .   .|"},
                                        {16, "|256   1   .   .   .   .   .   .   .   .   .   .   .   .   .   .|"}}) {
        SudokuBoard board(n);
        board.cellAt(0, 0)->setValue(n * n);
        board.cellAt(0, 1)->setValue(1);
        const std::string text = board.toText();
        const std::string separator = std::string(4 * n * n + 1, '-') + "\n";
        EXPECT_EQ(text.substr(0, separator.size() + std::strlen(firstCells)), separator + firstCells);
        EXPECT_EQ(text.size(), (n * n + n + 1) * separator.size());
        EXPECT_EQ(text.substr(text.size() - separator.size()), separator);
    }
}

TEST(BoardCrc, TableAgreesWithABitwiseCrc)
{
    // CRC-16/MODBUS one bit at a time over the low bytes, independent of the board's table.
    const auto bitwise = [](const std::vector<int>& bytes) {
        std::uint32_t crc = 0xFFFF;
        for (const int b : bytes) {
            crc ^= static_cast<std::uint32_t>(b) & 0xFFu;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1u) ? (crc >> 1) ^ 0xA001u : crc >> 1;
        }
        return crc;
    };
    EXPECT_EQ(bitwise({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0x4B37u) << "the published check value";
    // 256 x 256 holds values up to 256, whose low byte is 0.
    for (const int n : {0, 1, 2, 3, 16}) {
        SudokuBoard board(n);
        std::vector<int> values;
        std::srand(static_cast<unsigned>(n));
        for (int i = 0; i < n * n * n * n; ++i) {
            values.push_back(std::rand() % (n * n + 1));
            board.cellAt(i / (n * n), i % (n * n))->setValue(values.back());
        }
        EXPECT_EQ(board.crc16(), bitwise(values)) << n;
    }
}
