// The puzzle-notation reader: which notation each text is read in, the puzzle it
// gives, and where it stops when a text fits none or two; then round trips.
#include "PuzzleText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using enum PuzzleFormat;
using Failure = PuzzleText::Failure;

// The puzzle that once read as an empty 16x16 grid because it starts with a 4.
const std::string kLine = "4...3.......6..8..........1....5..9..8....6...7.2........1.27..5.3....4.9........";

std::string rows(const std::string& line, int side, const std::string& end = "\n")
{
    std::string text;
    for (int r = 0; r < side; ++r)
        text += line.substr(static_cast<std::size_t>(r * side), static_cast<std::size_t>(side)) + end;
    return text;
}

std::string withSs(const std::string& line)
{
    std::string text = "*-----------*\n";
    for (int r = 0; r < 9; ++r) {
        if (r == 3 || r == 6)
            text += "|---+---+---|\n";
        for (int b = 0; b < 3; ++b)
            text.append(1, '|').append(line, static_cast<std::size_t>(r * 9 + b * 3), 3);
        text += "|\n";
    }
    return text + "*-----------*\n";
}

std::string numbers(const std::string& line)
{
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i)
        text += std::string(1, line[i] == '.' ? '0' : line[i]) + (i % 9 == 8 ? "\n" : " ");
    return text;
}

struct ReadCase {
    const char* name;
    std::string text;
    PuzzleFormat asked;
    bool ok;
    PuzzleFormat detected;   // when ok
    std::string firstPuzzle; // when ok: its values as digits and letters, blank as '.'
    std::size_t puzzles = 1;
    Failure failure = Failure::none; // when not ok
    long line = 0;                   // when not ok: the place named
    long column = 0;
};

std::string spelled(const PuzzleValues& puzzle)
{
    std::string text;
    const int side = puzzle.innerSize * puzzle.innerSize;
    bool fromOne = side > 9;
    for (const int v : puzzle.values)
        fromOne = fromOne && (v == 0 || v > 9);
    for (const int v : puzzle.values)
        text += PuzzleText::valueChar(v, fromOne);
    return text;
}

const std::string kSixteen = "1234341221434321";
const std::string kLetters16 = std::string("P") + std::string(255, '.');

const ReadCase kCases[] = {
    {"OneLine", kLine + "\n", automatic, true, line, kLine},
    {"OneLineWithZerosAndUnderscores", "4___3" + kLine.substr(5) + "\n", automatic, true, line, kLine},
    {"ManyLinesWithCommentsAndCountsAfter", "# set\n" + kLine + " 1\n\n" + kLine + "\n", automatic, true, line, kLine,
     2},
    {"ByteOrderMarkAndCrLf", "\xEF\xBB\xBF" + kLine + "\r\n" + kLine + "\r\n", automatic, true, line, kLine, 2},
    {"FourByFourLine", kSixteen + "\n", automatic, true, line, kSixteen},
    {"SixteenLettersFromA", kLetters16 + "\n", automatic, true, line, kLetters16},
    {"Sdk", "#A comment\n[Puzzle]\n" + rows(kLine, 9), automatic, true, sdk, kLine},
    {"SdkCrLf", rows(kLine, 9, "\r\n"), automatic, true, sdk, kLine},
    {"PlainRowsOfNumbers", numbers(kLine), automatic, true, sdk, kLine},
    {"Ss", withSs(kLine), automatic, true, ss, kLine},
    {"GridFile", "3\n" + numbers(kLine) + "--- Grid Saved from Gridlark ---\n", automatic, true, grid, kLine},
    {"GridFileWithBom", "\xEF\xBB\xBF" "3\r\n" + numbers(kLine), automatic, true, grid, kLine},
    {"GridFileStoppedByAComment", "3\n4 0 0 0 3\nrest\n", automatic, true, grid,
     "4...3" + std::string(76, '.')},
    {"GridFileAlone", "2\n", automatic, true, grid, std::string(16, '.')},
    // Each of these was once read as another, empty grid.
    {"LineStartingWithSeven", "7.8" + kLine.substr(3) + "\n", automatic, true, line, "7.8" + kLine.substr(3)},
    {"LineStartingWithThree", "3.7.4" + kLine.substr(5) + "\n", automatic, true, line, "3.7.4" + kLine.substr(5)},
    {"TruncatedLine", kLine.substr(0, 80) + "\n", automatic, false, line, "", 0, Failure::malformed, 1, 1},
    {"OverLongLine", kLine + "1\n", automatic, false, line, "", 0, Failure::malformed, 1, 1},
    {"TruncatedSecondLine", kLine + "\n" + kLine.substr(2) + "\n", automatic, false, line, "", 0, Failure::malformed,
     2, 1},
    {"BadCharacter", kLine.substr(0, 40) + "x" + kLine.substr(41) + "\n", automatic, false, line, "", 0,
     Failure::malformed, 1, 41},
    {"SdkWithAShortRow", rows(kLine, 9).replace(30, 1, ""), automatic, false, line, "", 0, Failure::malformed, 4, 1},
    {"DigitTooLargeForFourByFour", "1234341221434325\n", automatic, false, line, "", 0, Failure::malformed, 1, 16},
    // Sixteen rows of sixteen 1-4s are sixteen 4x4 lines or one 16x16 grid.
    {"LinesOrSdkRows", rows(std::string(256, '1'), 16), automatic, false, line, "", 0, Failure::ambiguous, 1, 1},
    {"LettersAloneUpToG", "G" + std::string(255, '.') + "\n", automatic, false, line, "", 0, Failure::malformed, 1,
     1},
    {"Empty", " \n\t\n", automatic, false, line, "", 0, Failure::empty, 1, 1},
    {"Words", "grid 3\n", automatic, false, line, "", 0, Failure::noInnerSize, 1, 1},
    {"BoxSizeOutOfRange", "17\n1\n", automatic, false, line, "", 0, Failure::innerSizeOutOfRange, 1, 1},
    // An explicit notation reads only that way.
    {"LineAskedForAsGrid", kLine + "\n", grid, true, grid, std::string(256, '.')},
    {"GridAskedForAsLine", "3\n" + numbers(kLine), line, false, line, "", 0, Failure::malformed, 1, 1},
};

TEST(PuzzleText, ReadsEachNotationAndSaysWhereATextFitsNoneOrTwo)
{
    for (const ReadCase& c : kCases) {
        SCOPED_TRACE(c.name);
        PuzzleText reader;
        ASSERT_EQ(reader.read(c.text, c.asked), c.ok) << reader.getError().message;
        if (!c.ok) {
            EXPECT_EQ(reader.getFailure(), c.failure) << reader.getError().message;
            EXPECT_EQ(reader.getError().line, c.line) << reader.getError().message;
            EXPECT_EQ(reader.getError().column, c.column) << reader.getError().message;
            continue;
        }
        EXPECT_EQ(reader.getFormat(), c.detected);
        ASSERT_EQ(reader.getPuzzles().size(), c.puzzles);
        EXPECT_EQ(spelled(reader.getPuzzles()[0]), c.firstPuzzle);
    }
}

TEST(PuzzleText, GridFileWarningsNameWhereReadingStoppedOrAValueWasLeftOut)
{
    PuzzleText reader;
    ASSERT_TRUE(reader.read("3\n1 12 3\n4 x\n", grid));
    ASSERT_EQ(reader.getWarnings().size(), 2u);
    EXPECT_EQ(reader.getWarnings()[0].line, 2);
    EXPECT_EQ(reader.getWarnings()[0].column, 3);
    EXPECT_EQ(reader.getWarnings()[1].line, 3);
    EXPECT_EQ(reader.getWarnings()[1].column, 3);
    EXPECT_EQ(spelled(reader.getPuzzles()[0]), "1.34" + std::string(77, '.'));
    ASSERT_TRUE(reader.read("3\n" + numbers(kLine), grid));
    EXPECT_TRUE(reader.getWarnings().empty());
}

// Every board printed in a notation reads back as the same board in it, and in
// automatic detection too.
TEST(PuzzleText, EveryNotationReadsBackWhatItWrote)
{
    std::vector<SudokuBoard> boards;
    for (const int n : {2, 3, 4, 5}) {
        SudokuBoard board(n);
        const int side = n * n;
        // A Latin-square pattern that uses every value, with some blanks.
        for (int r = 0; r < side; ++r)
            for (int c = 0; c < side; ++c)
                board.cellAt(r, c)->setValue((r * n + r / n + c) % side + 1);
        board.cellAt(0, 1)->setValue(0);
        boards.push_back(board);
    }
    SudokuBoard onlyHigh(4); // values 10-16 alone are written as letters from A = 1
    onlyHigh.cellAt(0, 0)->setValue(10);
    onlyHigh.cellAt(5, 7)->setValue(16);
    boards.push_back(onlyHigh);
    for (const SudokuBoard& board : boards) {
        const int side = board.getSize();
        for (const PuzzleFormat format : {grid, line, sdk, ss, boxed}) {
            SCOPED_TRACE(std::string(PuzzleText::getFormatName(format)) + " " + std::to_string(side));
            std::string text;
            ASSERT_TRUE(PuzzleText::write(board, format, text));
            for (const PuzzleFormat asked : {format, automatic}) {
                PuzzleText reader;
                ASSERT_TRUE(reader.read(text, asked)) << reader.getError().message << "\n" << text;
                ASSERT_EQ(reader.getPuzzles().size(), 1u);
                const PuzzleValues& read = reader.getPuzzles()[0];
                EXPECT_EQ(read.innerSize, board.getInnerSize());
                for (int i = 0; i < side * side; ++i)
                    ASSERT_EQ(read.values[static_cast<std::size_t>(i)], board.valueAt(i / side, i % side)) << i;
            }
        }
    }
}

TEST(PuzzleText, GridFileIsGroupedByItsOwnBoxSize)
{
    SudokuBoard board(2);
    board.cellAt(0, 0)->setValue(1);
    std::string text;
    ASSERT_TRUE(PuzzleText::write(board, grid, text));
    EXPECT_EQ(text, "2\n\n1 0   0 0   \n0 0   0 0   \n\n0 0   0 0   \n0 0   0 0   \n\n--- Grid Saved from Gridlark ---\n");
}

} // namespace
