#include "SudokuBoard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// CRC-16/MODBUS one bit at a time, independent of the board's table.
std::uint16_t bitwiseModbus(const std::vector<std::uint8_t>& bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (const std::uint8_t b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001u) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

std::vector<std::uint8_t> valueBytes(const SudokuBoard& board)
{
    std::vector<std::uint8_t> out;
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c)
            out.push_back(static_cast<std::uint8_t>(board.valueAt(r, c) & 0xFF));
    return out;
}

SudokuBoard exampleFourByFour()
{
    const int values[] = {1, 0, 3, 0, 0, 4, 0, 2, 2, 0, 4, 0, 0, 3, 0, 1};
    SudokuBoard board(2);
    for (int i = 0; i < 16; ++i)
        board.cellAt(i / 4, i % 4)->setValue(values[i]);
    return board;
}

const char kExampleText[] = "-----------------\n"
                            "|  1   .|  3   .|\n"
                            "|  .   4|  .   2|\n"
                            "-----------------\n"
                            "|  2   .|  4   .|\n"
                            "|  .   3|  .   1|\n"
                            "-----------------\n";

} // namespace

TEST(BoardText, BlankNineByNine)
{
    const std::string separator = std::string(37, '-') + "\n";
    const std::string row = "|  .   .   .|  .   .   .|  .   .   .|\n";
    const std::string band = row + row + row + separator;
    EXPECT_EQ(std::string(SudokuBoard(3).toText()), separator + band + band + band);
}

TEST(BoardText, FourByFourExample)
{
    const std::string text = exampleFourByFour().toText();
    EXPECT_EQ(text, kExampleText);
    EXPECT_EQ(text.size(), 126u);
}

TEST(BoardText, InnerSizeZeroAndOne)
{
    const SudokuBoard empty(0);
    EXPECT_STREQ(empty.toText(), "-\n");
    EXPECT_EQ(empty.crc16(), 0xFFFF);

    SudokuBoard one(1);
    EXPECT_STREQ(one.toText(), "-----\n|  .|\n-----\n");
    one.cellAt(0, 0)->setValue(1);
    EXPECT_STREQ(one.toText(), "-----\n|  1|\n-----\n");
}

TEST(BoardText, WideValuesStayInTheirColumns)
{
    for (const int n : {4, 5, 9, 16}) {
        SudokuBoard board(n);
        const int size = n * n;
        for (int r = 0; r < size; ++r)
            board.cellAt(r, r)->setValue(size - r);
        const std::string text = board.toText();
        const std::size_t width = 4 * size + 1;
        std::size_t lines = 0;
        std::size_t start = 0;
        int row = 0;
        for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
            const std::string line = text.substr(start, end - start);
            ASSERT_EQ(line.size(), width) << "n " << n << " line " << lines;
            if (line[0] == '|') {
                std::string expected = std::to_string(size - row);
                expected.insert(0, 3 - expected.size(), ' ');
                EXPECT_EQ(line.substr(4 * row + 1, 3), expected) << "n " << n << " row " << row;
                ++row;
            }
            ++lines;
            start = end + 1;
        }
        EXPECT_EQ(start, text.size());
        EXPECT_EQ(lines, static_cast<std::size_t>(size + n + 1)) << n;
        EXPECT_EQ(row, size);
    }
}

// The buffer is shared by all boards and only grows, so the sequence must start in
// a process where nothing has been rendered yet.
TEST(BoardTextDeathTest, SharedBufferGrowsAndIsReused)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::string problems;
            auto check = [&problems](bool ok, const char* what) {
                if (!ok)
                    problems += std::string(what) + "\n";
            };
            check(SudokuBoard::getTextBufferSize() == 0, "no buffer at start");
            const SudokuBoard small = exampleFourByFour();
            const SudokuBoard nine(3);
            const char* first = small.toText();
            check(SudokuBoard::getTextBufferSize() == 146, "146 bytes for 4 x 4");
            const char* ofNine = nine.toText();
            check(SudokuBoard::getTextBufferSize() == 536, "536 bytes for 9 x 9");
            check(std::strlen(ofNine) == 494, "494 characters for 9 x 9");
            const char* again = small.toText();
            check(SudokuBoard::getTextBufferSize() == 536, "no shrinking");
            check(again == ofNine, "the 9 x 9 buffer is reused");
            check(std::strcmp(ofNine, kExampleText) == 0, "the old pointer shows the new text");
            check(first != nullptr, "a first buffer");
            SudokuBoard(4).toText();
            check(SudokuBoard::getTextBufferSize() == 6 * 16 * 16 + 50, "grows again for 16 x 16");
            std::fputs(problems.c_str(), stderr);
            std::exit(problems.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), testing::Matcher<const std::string&>(""));
}

TEST(BoardCrc, ReferenceMatchesThePublishedCheckValue)
{
    const std::vector<std::uint8_t> digits{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(bitwiseModbus(digits), 0x4B37);
}

TEST(BoardCrc, KnownBoards)
{
    EXPECT_EQ(SudokuBoard(3).crc16(), 0xF86D);
    EXPECT_EQ(exampleFourByFour().crc16(), 0xAEC1);
}

TEST(BoardCrc, TableAgreesWithBitwise)
{
    // 256 x 256 holds values up to 256, whose low byte is 0.
    for (const int n : {1, 2, 3, 9, 16}) {
        SudokuBoard board(n);
        const int size = n * n;
        std::srand(static_cast<unsigned>(n));
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c)
                board.cellAt(r, c)->setValue(std::rand() % (size + 1));
        EXPECT_EQ(board.crc16(), bitwiseModbus(valueBytes(board))) << n;
    }
}

TEST(BoardCrc, AnySingleChangeChangesTheChecksum)
{
    const SudokuBoard example = exampleFourByFour();
    const std::uint16_t crc = example.crc16();
    for (int i = 0; i < 16; ++i) {
        for (int v = 0; v <= 4; ++v) {
            if (v == example.valueAt(i / 4, i % 4))
                continue;
            SudokuBoard changed(example);
            changed.cellAt(i / 4, i % 4)->setValue(v);
            EXPECT_NE(changed.crc16(), crc) << i << " = " << v;
        }
    }
    EXPECT_EQ(example.crc16(), crc) << "the board is not changed";
}
