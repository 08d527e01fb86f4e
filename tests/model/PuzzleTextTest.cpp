// The puzzle-notation reader: which notation each text is read in, the puzzle it
// gives, and where it stops when a text fits none or two; then round trips.
#include "PuzzleText.h"
#include "PuzzleTextReader.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// The puzzle in rows of numbers, 0 for a blank, with between boxes and after
// each band what the layout puts there.
std::string numbers(const std::string& line, const std::string& betweenBoxes = " ",
                    const std::string& betweenBands = "")
{
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        text += line[i] == '.' ? '0' : line[i];
        text += i % 9 == 8 ? "\n" : i % 3 == 2 ? betweenBoxes : " ";
        if (i % 27 == 26 && i != 80)
            text += betweenBands;
    }
    return text;
}

std::string commaNumbers(const std::string& line, const std::string& comma = " ")
{
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i)
        text += std::string(i ? comma : "") + (line[i] == '.' ? '0' : line[i]);
    return text;
}

// A 16x16 puzzle using every value, 1 to 16, with blanks.
std::vector<int> sixteenValues()
{
    std::vector<int> values;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            values.push_back((r + 2 * c) % 5 == 0 ? 0 : (r * 4 + r / 4 + c) % 16 + 1);
    return values;
}

// The 16x16 puzzle as rows of characters: value v is digits[v], a blank is blank.
std::string sixteenRows(const std::string& digits, char blank, const std::string& betweenBoxes = "")
{
    std::string text;
    const std::vector<int> values = sixteenValues();
    for (std::size_t i = 0; i < values.size(); ++i) {
        text += values[i] == 0 ? blank : digits[static_cast<std::size_t>(values[i])];
        text += i % 16 == 15 ? "\n" : i % 4 == 3 ? betweenBoxes : "";
    }
    return text;
}

template <typename Values>
std::string spelled(const Values& values)
{
    std::string text;
    for (const int v : values)
        text += PuzzleText::valueChar(v, false);
    return text;
}

struct ReadCase {
    const char* name;
    std::string text;
    PuzzleFormat asked;
    bool ok;
    PuzzleFormat detected;   // when ok
    std::string firstPuzzle; // when ok: its values as 1-9A-G, blank as '.'
    std::size_t puzzles = 1;
    Failure failure = Failure::none; // when not ok
    long line = 0;                   // when not ok: the place named
    long column = 0;
};

const std::string kSixteen = "1234341221434321";
const std::string kLetters16 = std::string("P") + std::string(255, '.');
// The grid of the saved example, whose first cell is 5.
const std::string kSaved = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
const std::string kSixteenSpelled = spelled(sixteenValues());
const std::string kHex = "?0123456789ABCDEF"; // value v is kHex[v]

std::string firstCell(char ch, const std::string& line = kSaved)
{
    return ch + line.substr(1);
}

std::string decimalSixteen()
{
    std::string text;
    const std::vector<int> v = sixteenValues();
    for (std::size_t i = 0; i < v.size(); ++i)
        text += std::to_string(v[i]) + (i % 16 == 15 ? (i % 64 == 63 ? "\n\n" : "\n") : " ");
    return text;
}

// "+---+---+---+" rules; blank is what stands for a blank, spaced puts a space
// before each cell and after the box's last.
std::string prettyPrint(const std::string& line, char blank, bool spaced)
{
    const std::string rule = spaced ? "+-------+-------+-------+\n" : "+---+---+---+\n";
    std::string text = rule;
    for (std::size_t r = 0; r < 9; ++r) {
        for (std::size_t c = 0; c < 9; ++c) {
            const char ch = line[r * 9 + c] == '.' ? blank : line[r * 9 + c];
            text += std::string(c % 3 == 0 ? "|" : "") + (spaced ? " " : "") + ch + (spaced && c % 3 == 2 ? " " : "");
        }
        text += "|\n" + (r % 3 == 2 ? rule : "");
    }
    return text;
}

std::string groupedRows(const std::string& line)
{
    std::string text;
    for (std::size_t r = 0; r < 9; ++r)
        text += line.substr(r * 9, 3) + "  " + line.substr(r * 9 + 3, 3) + "  " + line.substr(r * 9 + 6, 3) +
            (r % 3 == 2 ? "\n\n" : "\n");
    return text;
}

std::string jsonRows(const std::string& line)
{
    std::string text = "[\n";
    for (std::size_t r = 0; r < 9; ++r)
        text += "  [" + commaNumbers(line.substr(r * 9, 9), ", ") + (r < 8 ? "],\n" : "]\n");
    return text + "]\n";
}

// Three 9x9 grids in the shape of a samurai's corners and middle.
std::string samurai()
{
    std::string text;
    for (int r = 0; r < 21; ++r)
        text += r >= 9 && r < 12 ? std::string(6, ' ') + "123456789\n" : "123456789   123456789\n";
    return text;
}

const ReadCase kCases[] = {
    {"OneLine", kLine + "\n", automatic, true, line, kLine},
    {"OneLineWithZerosAndUnderscores", "4___3" + kLine.substr(5) + "\n", automatic, true, line, kLine},
    {"ManyLinesWithCommentsAndCountsAfter", "# set\n" + kLine + " 1\n\n" + kLine + "\n", automatic, true, line, kLine,
     2},
    {"ByteOrderMarkAndCrLf", "\xEF\xBB\xBF" + kLine + "\r\n" + kLine + "\r\n", automatic, true, line, kLine, 2},
    {"FourByFourLine", kSixteen + "\n", automatic, true, line, kSixteen},
    {"SixteenLettersFromA", kLetters16 + "\n", automatic, true, line, "G" + std::string(255, '.')},
    {"Sdk", "#A comment\n[Puzzle]\n" + rows(kLine, 9), automatic, true, sdk, kLine},
    {"SdkCrLf", rows(kLine, 9, "\r\n"), automatic, true, sdk, kLine},
    {"Ss", withSs(kLine), automatic, true, ss, kLine},
    {"GridFile", "3\n" + numbers(kLine) + "--- Grid Saved from Gridlark ---\n", automatic, true, grid, kLine},
    {"GridFileAsSaved", "3\n\n" + numbers(kLine, "   ", "\n") + "\n--- Grid Saved from Gridlark ---\n", automatic, true,
     grid, kLine},
    {"SavedGridsOneAfterAnother",
     "3\n" + numbers(kLine) + "--- Grid Saved from Gridlark ---\n3\n\n" + numbers(kSaved, "   ", "\n") +
         "--- Grid Saved from Gridlark ---\n",
     automatic, true, grid, kLine, 2},
    {"SavedGridThenAShortOne", "3\n" + numbers(kLine) + "--- Grid Saved from Gridlark ---\n3\n1 2 3 4 5 6 7 8 9\n",
     automatic, false, grid, "", 0, Failure::malformed, 13, 18},
    {"GridFileWithBom", "\xEF\xBB\xBF" "3\r\n" + numbers(kLine), automatic, true, grid, kLine},
    {"GridFileOfABlankGrid", "2\n\n0 0 0 0\n0 0 0 0\n\n0 0 0 0\n0 0 0 0\n", automatic, true, grid, std::string(16, '.')},
    // Each of these was once read as another, empty grid.
    {"LineStartingWithSeven", "7.8" + kLine.substr(3) + "\n", automatic, true, line, "7.8" + kLine.substr(3)},
    {"LineStartingWithThree", "3.7.4" + kLine.substr(5) + "\n", automatic, true, line, "3.7.4" + kLine.substr(5)},
    // Rows of numbers without the box size were read as a grid file whose box size
    // is the first cell: 0 gave an empty grid, 3 every cell shifted by one.
    {"NumberRowsFirstCellZero", numbers(firstCell('.')), automatic, true, sdk, firstCell('.')},
    {"NumberRowsFirstCellThree", numbers(firstCell('3'), "  ", "\n"), automatic, true, sdk, firstCell('3')},
    {"NumberRowsTabsBetweenBoxes", numbers(kSaved, "\t", "\n"), automatic, true, sdk, kSaved},
    {"NumberRowsFirstCellTwo", numbers(firstCell('2')), automatic, true, sdk, firstCell('2')},
    {"PuzzlesOfEightyOneNumbers", commaNumbers(kSaved) + "\n" + commaNumbers(firstCell('.')) + "\n", automatic, true,
     line, kSaved, 2},
    {"PuzzleOfEightyOneNumbersWithCommas", commaNumbers(firstCell('3'), ",") + "\n", automatic, true, line,
     firstCell('3')},
    {"DecimalSixteenRows", decimalSixteen(), automatic, true, sdk, kSixteenSpelled},
    {"HexWithDashBlanks", sixteenRows(kHex, '-'), automatic, true, sdk, kSixteenSpelled},
    {"HexWithDotBlanksGroupedLowerCase", sixteenRows("?0123456789abcdef", '.', " "), automatic, true, sdk,
     kSixteenSpelled},
    {"DigitsThenLettersWithZeroBlanks", sixteenRows("?123456789ABCDEFG", '0'), automatic, true, sdk, kSixteenSpelled},
    {"LettersFromAWithZeroBlanks", sixteenRows("?ABCDEFGHIJKLMNOP", '0'), automatic, true, sdk, kSixteenSpelled},
    {"ZeroBlankOrValue", "1" + std::string(254, '0') + "2\n", automatic, false, line, "", 0, Failure::malformed, 1, 1},
    {"SadManSections",
     "[Puzzle]\n" + rows(kLine, 9) + "[State]\n" + rows(kSaved, 9) + "[PencilMarks]\n" + std::string(9, ',') +
         "\n[Colours]\n0,0\n",
     automatic, true, sdk, kLine},
    {"GridTitles", "Grid 01\n" + rows(kLine, 9) + "Grid 02\n" + rows(kSaved, 9), automatic, true, sdk, kLine, 2},
    {"CsvQuizzes", "quizzes,solutions\n" + firstCell('0') + "," + kSaved + "\n", automatic, true, line,
     firstCell('.')},
    {"CsvPuzzleColumnAfterIndex", ",puzzle,solution\n0," + kLine + "," + kSaved + "\n1," + kSaved + ",\n", automatic,
     true, line, kLine, 2},
    {"TsvNamedColumns", "id\tdifficulty\tquiz\n7\t2.5\t" + kLine + "\n", automatic, true, line, kLine},
    {"ForumFieldsAfterThePuzzle", kLine + ",name;source,poster,11.3,1.2,1.2\n" + kSaved + "  ;11.9;11.9\n",
     automatic, true, line, kLine, 2},
    {"PrettyPrintWithSpacesAsBlanks", prettyPrint(kLine, ' ', false), automatic, true, ss, kLine},
    {"PrettyPrintSpacedWithStars", prettyPrint(kSaved, '*', true), automatic, true, ss, kSaved},
    {"PrettyPrintSpacedWithSpaces", prettyPrint(kSaved, ' ', true), automatic, true, ss, kSaved},
    {"PrettyPrintWithZeros", prettyPrint(kLine, '0', false), automatic, true, ss, kLine},
    {"GroupedRows", groupedRows(kLine), automatic, true, sdk, kLine},
    {"JsonArrayOfRows", jsonRows(kSaved), automatic, true, sdk, kSaved},
    {"JsonOnOneLine", "[[" + commaNumbers(kSaved, ",") + "]]", automatic, true, line, kSaved},
    {"PuzzleCountFirst", "2\n" + kLine + "\n" + kSaved + "\n", automatic, true, line, kLine, 2},
    {"CountAndSizeFirst", "8960 9\n" + kLine + "\n", automatic, true, line, kLine},
    // Refused with the place where the text stops fitting.
    {"TruncatedLine", kLine.substr(0, 80) + "\n", automatic, false, line, "", 0, Failure::malformed, 1, 1},
    {"OverLongLine", kLine + "1\n", automatic, false, line, "", 0, Failure::malformed, 1, 1},
    {"BadCharacter", kLine.substr(0, 40) + "x" + kLine.substr(41) + "\n", automatic, false, line, "", 0,
     Failure::malformed, 1, 41},
    {"SdkWithAShortRow", rows(kLine, 9).replace(30, 1, ""), automatic, false, line, "", 0, Failure::malformed, 4, 1},
    {"NumberRowsWithABlankLineInsideABand", numbers(kSaved).insert(18, "\n"), automatic, false, line, "", 0,
     Failure::malformed, 2, 1},
    {"DigitTooLargeForFourByFour", "1234341221434325\n", automatic, false, line, "", 0, Failure::malformed, 1, 16},
    {"LinesOrSdkRows", rows(std::string(256, '1'), 16), automatic, false, line, "", 0, Failure::ambiguous, 1, 1},
    {"LettersAloneUpToG", "G" + std::string(255, '.') + "\n", automatic, false, line, "", 0, Failure::malformed, 1,
     1},
    {"Samurai", samurai(), automatic, false, line, "", 0, Failure::malformed, 1, 1},
    // Only a grid file read leniently fits: refused where the leniency starts.
    {"GridFileStoppedByAComment", "3\n4 0 0 0 3\nrest\n", automatic, false, grid, "", 0, Failure::malformed, 2, 10},
    {"GridFileWithBoxSizeBesideValues", "3 " + numbers(kSaved), automatic, false, grid, "", 0, Failure::malformed, 1,
     3},
    {"GridFileOfTheBoxSizeAlone", "2\n", automatic, false, grid, "", 0, Failure::malformed, 1, 2},
    {"Empty", " \n\t\n", automatic, false, line, "", 0, Failure::empty, 1, 1},
    {"Words", "grid 3\n", automatic, false, line, "", 0, Failure::malformed, 1, 1},
    {"BoxSizeOutOfRange", "17\n", automatic, false, line, "", 0, Failure::innerSizeOutOfRange, 1, 1},
    // An explicit notation reads only that way.
    {"GridFileStoppedByACommentAskedFor", "3\n4 0 0 0 3\nrest\n", grid, true, grid, "4...3" + std::string(76, '.')},
    {"LineAskedForAsGrid", kLine + "\n", grid, true, grid, std::string(256, '.')},
    {"GridAskedForAsLine", "3\n" + numbers(kLine), line, false, line, "", 0, Failure::malformed, 2, 1},
};

TEST(PuzzleText, ReadsEachNotationAndSaysWhereATextFitsNoneOrTwo)
{
    for (const ReadCase& c : kCases) {
        SCOPED_TRACE(c.name);
        PuzzleText reader;
        const bool ok = reader.read(c.text, c.asked);
        EXPECT_EQ(ok, c.ok) << reader.getError().message;
        if (ok != c.ok)
            continue;
        if (!c.ok) {
            EXPECT_EQ(reader.getFailure(), c.failure) << reader.getError().message;
            EXPECT_EQ(reader.getError().line, c.line) << reader.getError().message;
            EXPECT_EQ(reader.getError().column, c.column) << reader.getError().message;
            continue;
        }
        EXPECT_TRUE(reader.getLineErrors().empty()) << reader.getLineErrors()[0].message;
        EXPECT_EQ(reader.getFormat(), c.detected);
        ASSERT_EQ(reader.getPuzzles().size(), c.puzzles);
        EXPECT_EQ(spelled(reader.getPuzzles()[0].values), c.firstPuzzle);
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
    EXPECT_EQ(spelled(reader.getPuzzles()[0].values), "1.34" + std::string(77, '.'));
    ASSERT_TRUE(reader.read("3\n" + numbers(kLine), grid));
    EXPECT_TRUE(reader.getWarnings().empty());
}

// Every board printed in a notation reads back as the same board in it and under
// automatic detection, with LF or CR LF line ends and with any blank character in
// place of the '.' written.
TEST(PuzzleText, EveryNotationReadsBackWhatItWroteWithAnyLineEndAndBlank)
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
        board.cellAt(side - 1, side - 2)->setValue(0);
        boards.push_back(board);
    }
    SudokuBoard onlyHigh(4); // values 10-16 alone are written as letters from A = 1
    onlyHigh.cellAt(0, 0)->setValue(10);
    onlyHigh.cellAt(5, 7)->setValue(16);
    onlyHigh.cellAt(15, 15)->setValue(12);
    boards.push_back(onlyHigh);
    for (const SudokuBoard& board : boards) {
        const int side = board.getSize();
        for (const PuzzleFormat format : {grid, line, sdk, ss, boxed}) {
            std::string written;
            ASSERT_TRUE(PuzzleText::write(board, format, written));
            const bool blanksAreDots = format == line || format == sdk || format == ss;
            for (const char blank : std::string(blanksAreDots ? "._*-0" : ".")) {
                for (const bool crLf : {false, true}) {
                    std::string text;
                    for (const char ch : written)
                        text += ch == '\n' && crLf ? std::string("\r\n") : std::string(1, ch == '.' && blanksAreDots ? blank : ch);
                    for (const PuzzleFormat asked : {format, automatic}) {
                        SCOPED_TRACE(std::string(PuzzleText::getFormatName(format)) + " " + std::to_string(side) +
                                     " blank " + blank + (crLf ? " CR LF" : " LF") + " read as " +
                                     PuzzleText::getFormatName(asked) + "\n" + text);
                        PuzzleText reader;
                        ASSERT_TRUE(reader.read(text, asked)) << reader.getError().message;
                        ASSERT_EQ(reader.getPuzzles().size(), 1u);
                        const PuzzleValues& read = reader.getPuzzles()[0];
                        EXPECT_EQ(read.innerSize, board.getInnerSize());
                        for (int i = 0; i < side * side; ++i)
                            ASSERT_EQ(read.values[static_cast<std::size_t>(i)], board.valueAt(i / side, i % side)) << i;
                    }
                }
            }
        }
    }
}

// Several puzzles printed one after another, as the tool prints a file of them,
// read back as the same puzzles in every notation.
TEST(PuzzleText, SeveralPuzzlesWrittenInANotationReadBackSeparated)
{
    std::vector<SudokuBoard> boards;
    for (const std::string& line : {kLine, kSaved}) {
        boards.emplace_back(3);
        for (int i = 0; i < 81; ++i)
            boards.back().cellAt(i / 9, i % 9)->setValue(line[static_cast<std::size_t>(i)] == '.' ? 0 : line[static_cast<std::size_t>(i)] - '0');
    }
    for (const PuzzleFormat format : {grid, line, sdk, ss, boxed}) {
        SCOPED_TRACE(PuzzleText::getFormatName(format));
        std::string text;
        for (const SudokuBoard& board : boards) {
            ASSERT_TRUE(PuzzleText::write(board, format, text));
            if (format == sdk || format == ss)
                text += '\n';
        }
        PuzzleText reader;
        ASSERT_TRUE(reader.read(text, automatic)) << reader.getError().message << "\n" << text;
        ASSERT_EQ(reader.getPuzzles().size(), 2u);
        EXPECT_EQ(spelled(reader.getPuzzles()[0].values), kLine);
        EXPECT_EQ(spelled(reader.getPuzzles()[1].values), kSaved);
    }
}

// A file of one-puzzle lines: a line that fits nothing is named and the others are
// read; a block of its lines, given the notation found and its first line number,
// reads the same puzzles with the same line numbers.
TEST(PuzzleText, LinesThatFitNothingAreNamedAndBlocksReadAsTheWhole)
{
    const std::string text = ",puzzle,solution\n0," + kLine + ",x\n1," + kLine.substr(1) + ",x\n# note\n2," + kSaved +
        ",x\n3,// odd comment\n";
    PuzzleText whole;
    ASSERT_TRUE(whole.read(text, automatic)) << whole.getError().message;
    ASSERT_EQ(whole.getPuzzles().size(), 2u);
    EXPECT_EQ(spelled(whole.getPuzzles()[1].values), kSaved);
    EXPECT_EQ(whole.getPuzzles()[1].line, 5);
    ASSERT_EQ(whole.getLineErrors().size(), 2u);
    EXPECT_EQ(whole.getLineErrors()[0].line, 3);
    EXPECT_EQ(whole.getLineErrors()[0].column, 3);
    EXPECT_EQ(whole.getLineErrors()[1].line, 6);
    EXPECT_EQ(whole.getField(), 1);

    PuzzleText block;
    ASSERT_TRUE(block.read(text.substr(text.find("# note")), whole.getFormat(), 4, whole.getField(),
                           whole.getSeparator()));
    ASSERT_EQ(block.getPuzzles().size(), 1u);
    EXPECT_EQ(block.getPuzzles()[0].values, whole.getPuzzles()[1].values);
    EXPECT_EQ(block.getPuzzles()[0].line, 5);
    ASSERT_EQ(block.getLineErrors().size(), 1u);
    EXPECT_EQ(block.getLineErrors()[0].line, 6);

    // Mostly bad lines are no batch: the text is refused as a whole.
    PuzzleText mostlyBad;
    EXPECT_FALSE(mostlyBad.read(kLine + "\n" + kLine.substr(1) + "\n" + kLine.substr(2) + "\n", automatic));
    EXPECT_EQ(mostlyBad.getError().line, 2);
}

// Plain lines of 81 characters, the bulk of large files, read as the same puzzles as
// lines that are written otherwise; the lines around them keep their meaning.
TEST(PuzzleText, PlainLinesReadAsTheLinesAroundThemDo)
{
    std::string blanks = kSaved;
    std::replace(blanks.begin(), blanks.end(), '.', '_');
    std::string zeros = kSaved;
    std::replace(zeros.begin(), zeros.end(), '.', '0');
    const std::string text = kSaved + "\r\n12345\n" + blanks + "\n# " + kSaved + "\n  " + kSaved + "\n" + zeros +
        " 7\n" + kSaved.substr(1) + "\n" + kSaved + "5\n" + kSaved.substr(0, 40) + "x" + kSaved.substr(41) + "\n" +
        kSaved.substr(0, 80) + "\t\n";
    PuzzleText reader;
    EXPECT_TRUE(reader.read(text, line));
    ASSERT_EQ(reader.getPuzzles().size(), 4u);
    for (const PuzzleValues& puzzle : reader.getPuzzles()) {
        EXPECT_EQ(puzzle.innerSize, 3);
        EXPECT_EQ(spelled(puzzle.values), kSaved) << puzzle.line;
    }
    EXPECT_EQ(reader.getPuzzles()[0].line, 1);
    EXPECT_EQ(reader.getPuzzles()[1].line, 3);
    EXPECT_EQ(reader.getPuzzles()[2].line, 5);
    EXPECT_EQ(reader.getPuzzles()[3].line, 6);
    // After a puzzle a number alone is no count line but a bad one.
    EXPECT_TRUE(reader.getNotes().empty());
    const std::string lengths = " characters; a one-line puzzle has 16, 81, 256 or 625 (or as many numbers)";
    const std::vector<std::pair<long, std::string>> bad = {
        {2, "a line of 5" + lengths},
        {7, "a line of 80" + lengths},
        {8, "a line of 82" + lengths},
        {9, "'x' is not a value of a 9x9 puzzle or a blank"},
        {10, "a line of 80" + lengths},
    };
    ASSERT_EQ(reader.getLineErrors().size(), bad.size());
    for (std::size_t i = 0; i < bad.size(); ++i) {
        EXPECT_EQ(reader.getLineErrors()[i].line, bad[i].first);
        EXPECT_EQ(reader.getLineErrors()[i].message, bad[i].second);
    }
    EXPECT_EQ(reader.getLineErrors()[3].column, 41);

    // A block of them, from its first line on, as the stream reads one.
    PuzzleText block;
    ASSERT_TRUE(block.read(kSaved + "\n" + zeros + "\n", line, 20));
    ASSERT_EQ(block.getPuzzles().size(), 2u);
    EXPECT_EQ(block.getPuzzles()[1].line, 21);
    EXPECT_EQ(block.getPuzzles()[1].values, block.getPuzzles()[0].values);
    // In a CSV column the row is split as ever, however plain it looks.
    EXPECT_FALSE(block.read(kSaved + "\n", line, 20, 2, ','));
    EXPECT_TRUE(block.getPuzzles().empty());
    ASSERT_EQ(block.getLineErrors().size(), 1u);
    EXPECT_EQ(block.getLineErrors()[0].message, "a row without column 3");
}

// Values written as a line spell each value as valueChar does, in either alphabet,
// whatever the value; the line is added after what the text holds.
TEST(PuzzleText, ValuesWrittenAsALineSpellEachValue)
{
    const auto expected = [](const std::vector<std::uint16_t>& values, bool lettersFromOne) {
        std::string text = "before\n";
        for (const std::uint16_t v : values)
            text += PuzzleText::valueChar(v, lettersFromOne);
        return text + "\n";
    };
    std::vector<std::uint16_t> digits(256);
    for (std::size_t i = 0; i < digits.size(); ++i)
        digits[i] = static_cast<std::uint16_t>(i * 7 % 17);
    std::vector<std::uint16_t> letters(256);
    for (std::size_t i = 0; i < letters.size(); ++i)
        letters[i] = static_cast<std::uint16_t>(i % 3 == 0 ? 0 : 10 + i % 7);
    // Past the side: within a byte, and past it.
    std::vector<std::uint16_t> pastSide = digits;
    pastSide[5] = 40;
    std::vector<std::uint16_t> beyond = pastSide;
    beyond[250] = 300;
    std::vector<std::uint16_t> nine(81);
    for (std::size_t i = 0; i < nine.size(); ++i)
        nine[i] = static_cast<std::uint16_t>(i % 10);
    const std::pair<std::vector<std::uint16_t>, bool> cases[] = {
        {digits, false}, {letters, true}, {pastSide, false}, {beyond, false}};
    for (const auto& [values, lettersFromOne] : cases) {
        std::string text = "before\n";
        ASSERT_TRUE(PuzzleText::writeValues(values.data(), 4, line, text));
        EXPECT_EQ(text, expected(values, lettersFromOne));
    }
    std::string text = "before\n";
    ASSERT_TRUE(PuzzleText::writeValues(nine.data(), 3, line, text));
    EXPECT_EQ(text, expected(nine, false));
    EXPECT_FALSE(PuzzleText::writeValues(nine.data(), 3, boxed, text));
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

// Spaces are the six that C's isspace names in the "C" locale; control characters, bytes of
// UTF-8 text and the characters 64 or 128 past a space are not.
TEST(PuzzleTextParts, SpacesAreBlankTabAndLineBreaksOnly)
{
    for (const char ch : std::string(" \t\n\v\f\r"))
        EXPECT_TRUE(PuzzleTextParts::isSpace(ch)) << static_cast<int>(ch);
    const std::string others("\0\x01\x08\x0e\x1f!.0`IJKLMijm\x7f\x89\x8a\x8d\xa0\xc9\xe0", 24);
    for (const char ch : others)
        EXPECT_FALSE(PuzzleTextParts::isSpace(ch)) << static_cast<int>(static_cast<unsigned char>(ch));
}
