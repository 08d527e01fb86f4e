#include "Cell.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

// The candidates as the public queries report them, smallest first.
std::vector<int> candidates(const Cell& cell)
{
    std::vector<int> out;
    for (int v = 1; v <= cell.getMaxValue(); ++v)
        if (cell.isPossible(v))
            out.push_back(v);
    return out;
}

// Bits set in the words the solver reads directly; stray bits would be miscounted.
int wordBits(const Cell& cell)
{
    int bits = 0;
    for (int i = 0; i < Cell::wordCount(cell.getMaxValue()); ++i)
        bits += std::popcount(cell.possibleWords()[i]);
    return bits;
}

void expectSameCell(const Cell& a, const Cell& b)
{
    EXPECT_EQ(a.getRow(), b.getRow());
    EXPECT_EQ(a.getCol(), b.getCol());
    EXPECT_EQ(a.getValue(), b.getValue());
    EXPECT_EQ(a.getMaxValue(), b.getMaxValue());
    EXPECT_EQ(a.numPossibles(), b.numPossibles());
    EXPECT_EQ(candidates(a), candidates(b));
}

} // namespace

TEST(Cell, NewCellIsBlankWithEveryCandidate)
{
    const Cell cell(2, 7, 9);
    EXPECT_EQ(cell.getRow(), 2);
    EXPECT_EQ(cell.getCol(), 7);
    EXPECT_EQ(cell.getValue(), 0);
    EXPECT_EQ(cell.numPossibles(), 9);
    EXPECT_EQ(cell.nthPossible(0), 1);
    EXPECT_EQ(cell.nthPossible(8), 9);
    EXPECT_EQ(cell.nthPossible(9), -1);
    EXPECT_EQ(cell.nthPossible(-1), -1);
    EXPECT_FALSE(cell.isPossible(0));
    EXPECT_FALSE(cell.isPossible(10));
    EXPECT_FALSE(cell.isPossible(-1));
}

TEST(Cell, SetValueKeepsRangeAndNeverTouchesCandidates)
{
    Cell cell(0, 0, 9);
    cell.removePossible(4);
    cell.removePossible(9);
    cell.setValue(4);
    EXPECT_EQ(cell.getValue(), 4) << "a cell may hold a value that is not a candidate";
    for (const int ignored : {10, -1, 1000, -2147483647 - 1}) {
        cell.setValue(ignored);
        EXPECT_EQ(cell.getValue(), 4) << ignored;
    }
    cell.setValue(9);
    EXPECT_EQ(cell.getValue(), 9);
    cell.setValue(0);
    EXPECT_EQ(cell.getValue(), 0);
    EXPECT_EQ(cell.numPossibles(), 7);
    EXPECT_EQ(candidates(cell), (std::vector<int>{1, 2, 3, 5, 6, 7, 8}));
}

TEST(Cell, RemovePossibleCountsOnlyRealRemovals)
{
    Cell cell(0, 0, 9);
    EXPECT_EQ(cell.removePossible(5), 8);
    EXPECT_EQ(cell.removePossible(5), 8);
    EXPECT_EQ(cell.removePossible(0), 8);
    EXPECT_EQ(cell.removePossible(10), 8);
    EXPECT_EQ(cell.removePossible(-3), 8);
    EXPECT_FALSE(cell.isPossible(5));
    EXPECT_TRUE(cell.isPossible(4));
    EXPECT_TRUE(cell.isPossible(6));
}

TEST(Cell, TwoCandidatesLeft)
{
    Cell cell(0, 0, 9);
    for (int v = 1; v <= 9; ++v)
        if (v != 2 && v != 7)
            cell.removePossible(v);
    EXPECT_EQ(cell.numPossibles(), 2);
    EXPECT_EQ(cell.nthPossible(0), 2);
    EXPECT_EQ(cell.nthPossible(1), 7);
    EXPECT_EQ(cell.nthPossible(2), -1);
    for (int i = 0; i < 20; ++i) {
        const int drawn = cell.randomPossible();
        EXPECT_TRUE(drawn == 2 || drawn == 7) << drawn;
    }
}

TEST(Cell, EmptySetAndReset)
{
    Cell cell(1, 1, 9);
    cell.setValue(3);
    for (int v = 1; v <= 9; ++v)
        cell.removePossible(v);
    EXPECT_EQ(cell.numPossibles(), 0);
    EXPECT_EQ(cell.nthPossible(0), -1);
    std::srand(11);
    EXPECT_EQ(cell.randomPossible(), -1);
    // A cell without candidates draws nothing from the sequence.
    const int next = std::rand();
    std::srand(11);
    EXPECT_EQ(std::rand(), next);

    cell.resetPossibles();
    EXPECT_EQ(cell.numPossibles(), 9);
    EXPECT_EQ(candidates(cell), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(cell.getValue(), 3);
}

TEST(Cell, MaxValueZeroAnswersEverythingWithSentinels)
{
    Cell cell(0, 0, 0);
    EXPECT_EQ(cell.numPossibles(), 0);
    for (const int v : {-1, 0, 1})
        EXPECT_FALSE(cell.isPossible(v));
    EXPECT_EQ(cell.nthPossible(0), -1);
    EXPECT_EQ(cell.randomPossible(), -1);
    EXPECT_EQ(cell.removePossible(1), 0);
    cell.setValue(1);
    EXPECT_EQ(cell.getValue(), 0);
    cell.resetPossibles();
    EXPECT_EQ(cell.numPossibles(), 0);
    const Cell copy(cell);
    expectSameCell(copy, cell);
}

// Sets that fill one word exactly, spill one bit into the next, or span several.
class WideCell : public testing::TestWithParam<int> {};

TEST_P(WideCell, QueriesAgreeWithAPlainSetAcrossWords)
{
    const int maxValue = GetParam();
    Cell cell(3, 4, maxValue);
    EXPECT_EQ(cell.numPossibles(), maxValue);
    EXPECT_EQ(cell.nthPossible(maxValue - 1), maxValue);
    EXPECT_FALSE(cell.isPossible(maxValue + 1));

    // Keep every value whose remainder by 3 is 1, and the word edges 64, 65, 128.
    std::vector<int> kept;
    for (int v = 1; v <= maxValue; ++v) {
        const bool keep = v % 3 == 1 || v == 64 || v == 65 || v == 128;
        if (keep)
            kept.push_back(v);
        else
            cell.removePossible(v);
    }
    EXPECT_EQ(cell.numPossibles(), static_cast<int>(kept.size()));
    EXPECT_EQ(candidates(cell), kept);
    for (int k = 0; k < static_cast<int>(kept.size()); ++k)
        EXPECT_EQ(cell.nthPossible(k), kept[k]) << "k = " << k;
    EXPECT_EQ(cell.nthPossible(static_cast<int>(kept.size())), -1);

    EXPECT_EQ(wordBits(cell), cell.numPossibles());

    // Each draw is the candidate picked by exactly one rand() call.
    std::srand(1234);
    std::vector<int> expected;
    for (int i = 0; i < 200; ++i)
        expected.push_back(kept[std::rand() % kept.size()]);
    std::srand(1234);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(cell.randomPossible(), expected[i]) << "draw " << i;

    cell.resetPossibles();
    EXPECT_EQ(cell.numPossibles(), maxValue);
    EXPECT_EQ(cell.nthPossible(maxValue - 1), maxValue);
    EXPECT_EQ(cell.nthPossible(maxValue), -1);
    EXPECT_EQ(wordBits(cell), maxValue);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WideCell, testing::Values(1, 9, 16, 63, 64, 65, 81, 128, 129, 256));

TEST_P(WideCell, CopiesAreDeep)
{
    const int maxValue = GetParam();
    Cell source(5, 6, maxValue);
    source.setValue(maxValue);
    source.removePossible(1);
    source.removePossible(maxValue);

    Cell copy(source);
    expectSameCell(copy, source);

    copy.removePossible(maxValue / 2 + 1);
    copy.setValue(0);
    copy.resetPossibles();
    copy.removePossible(2);
    EXPECT_EQ(source.getValue(), maxValue);
    EXPECT_EQ(source.numPossibles(), maxValue >= 2 ? maxValue - 2 : 0);
    EXPECT_EQ(source.isPossible(2), maxValue > 2);
    EXPECT_FALSE(source.isPossible(1));

    source.resetPossibles();
    EXPECT_FALSE(copy.isPossible(2));
}

TEST(Cell, WordCountHoldsEveryValueWithoutOverflow)
{
    EXPECT_EQ(Cell::wordCount(0), 0);
    EXPECT_EQ(Cell::wordCount(-5), 0);
    EXPECT_EQ(Cell::wordCount(1), 1);
    EXPECT_EQ(Cell::wordCount(64), 1);
    EXPECT_EQ(Cell::wordCount(65), 2);
    EXPECT_EQ(Cell::wordCount(256), 4);
    EXPECT_EQ(Cell::wordCount(INT_MAX), 1 << 25);
}

TEST(Cell, CopyAssignmentAcrossInlineAndHeapSizes)
{
    const int sizes[] = {0, 9, 64, 65, 81, 256};
    for (const int to : sizes) {
        for (const int from : sizes) {
            SCOPED_TRACE(testing::Message() << from << " -> " << to);
            Cell source(1, 2, from);
            source.setValue(from);
            for (int v = 1; v <= from; v += 2)
                source.removePossible(v);
            Cell target(7, 8, to);
            target.setValue(to);
            target = source;
            expectSameCell(target, source);
            target.resetPossibles();
            EXPECT_EQ(source.numPossibles(), from / 2);
            EXPECT_FALSE(source.isPossible(1));
        }
    }
}

TEST(Cell, RandomGeneratorIsSeededOnlyOnce)
{
    const Cell first(0, 0, 9);
    EXPECT_FALSE(Cell::isSeedPending());
    std::vector<int> expected;
    std::srand(42);
    for (int i = 0; i < 8; ++i)
        expected.push_back(std::rand());

    std::srand(42);
    const Cell blank(1, 1, 9);
    const Cell wide(1, 1, 256);
    const Cell copy(first);
    const Cell wideCopy(wide);
    std::vector<int> drawn;
    for (int i = 0; i < 8; ++i)
        drawn.push_back(std::rand());
    EXPECT_EQ(drawn, expected);
}

// The first cell of a process seeds rand with the time in seconds. Run in a fresh
// process so that no cell exists yet.
TEST(CellDeathTest, FirstCellSeedsWithTheTime)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (!Cell::isSeedPending()) {
                std::fputs("a cell was built before the test\n", stderr);
                std::exit(3);
            }
            const auto before = static_cast<unsigned>(std::time(nullptr));
            const Cell cell(0, 0, 9);
            const int drawn = std::rand();
            const auto after = static_cast<unsigned>(std::time(nullptr));
            std::srand(before);
            const int atBefore = std::rand();
            std::srand(after);
            const int atAfter = std::rand();
            std::exit(drawn == atBefore || drawn == atAfter ? 0 : 4);
        },
        testing::ExitedWithCode(0), "");
}
