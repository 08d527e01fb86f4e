#include "Cell.h"
#include "GlibcRandom.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <tuple>
#include <vector>

namespace {

std::vector<int> candidates(const Cell& cell)
{
    std::vector<int> out;
    for (int v = 1; v <= cell.getMaxValue(); ++v)
        if (cell.isPossible(v))
            out.push_back(v);
    return out;
}

// The solver reads the words directly, so a stray bit would be miscounted.
int wordBits(const Cell& cell)
{
    int bits = 0;
    for (int i = 0; i < Cell::wordCount(cell.getMaxValue()); ++i)
        bits += std::popcount(cell.possibleWords()[i]);
    return bits;
}

auto state(const Cell& cell)
{
    return std::make_tuple(cell.getRow(), cell.getCol(), cell.getValue(), cell.getMaxValue(), cell.numPossibles(),
                           candidates(cell));
}

} // namespace

// No values, one word exactly, one bit spilling into the next word, several heap words.
class CellSize : public testing::TestWithParam<int> {};

TEST_P(CellSize, CandidateSetAgreesWithAPlainSet)
{
    const int maxValue = GetParam();
    Cell cell(3, 4, maxValue);
    EXPECT_EQ(cell.getValue(), 0);
    EXPECT_EQ(cell.numPossibles(), maxValue);
    for (const int v : {-1, 0, maxValue + 1})
        EXPECT_FALSE(cell.isPossible(v)) << v;

    // Keep every value whose remainder by 3 is 1, and the word edges 64, 65, 128.
    std::vector<int> kept;
    int count = maxValue;
    for (int v = 1; v <= maxValue; ++v) {
        if (v % 3 == 1 || v == 64 || v == 65 || v == 128) {
            kept.push_back(v);
            continue;
        }
        ASSERT_EQ(cell.removePossible(v), --count) << v;
        ASSERT_EQ(cell.removePossible(v), count) << "removed twice: " << v;
    }
    for (const int v : {0, -3, maxValue + 1})
        EXPECT_EQ(cell.removePossible(v), count) << v;
    EXPECT_EQ(candidates(cell), kept);
    EXPECT_EQ(wordBits(cell), count);
    for (int k = 0; k < count; ++k)
        EXPECT_EQ(cell.nthPossible(k), kept[k]) << "k = " << k;
    EXPECT_EQ(cell.nthPossible(count), -1);
    EXPECT_EQ(cell.nthPossible(-1), -1);

    // A value need not be a candidate, and setting one never touches the candidates.
    cell.setValue(maxValue);
    for (const int ignored : {maxValue + 1, -1, INT_MIN})
        cell.setValue(ignored);
    EXPECT_EQ(cell.getValue(), maxValue);
    EXPECT_EQ(candidates(cell), kept);

    // Each draw is the candidate picked by exactly one rand() call of the C library's
    // sequence; none without candidates.
    std::srand(1234);
    std::vector<int> expected;
    for (int i = 0; i < 100; ++i)
        expected.push_back(kept.empty() ? -1 : kept[std::rand() % kept.size()]);
    const int next = std::rand();
    GlibcRandom::shared().seed(1234);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(cell.randomPossible(), expected[i]) << "draw " << i;
    EXPECT_EQ(GlibcRandom::shared().next(), next);

    // Copies are deep, whether the flags live inline or on the heap on either side.
    for (const int to : {9, 256}) {
        Cell copy(cell);
        Cell assigned(7, 8, to);
        assigned = cell;
        EXPECT_EQ(state(copy), state(cell));
        EXPECT_EQ(state(assigned), state(cell)) << to;
        copy.resetPossibles();
        assigned.resetPossibles();
    }
    EXPECT_EQ(candidates(cell), kept);

    cell.resetPossibles();
    EXPECT_EQ(cell.getValue(), maxValue);
    EXPECT_EQ(cell.numPossibles(), maxValue);
    EXPECT_EQ(cell.nthPossible(maxValue - 1), maxValue > 0 ? maxValue : -1);
    EXPECT_EQ(cell.nthPossible(maxValue), -1);
    EXPECT_EQ(wordBits(cell), maxValue);

    // A whole cell written at once: values 2 and 4 and all of 64 upwards, with every
    // bit above maxValue set too; those are dropped, and the value is taken as
    // setValue takes it.
    std::vector<std::uint64_t> bits(Cell::wordCount(maxValue) + 1, ~std::uint64_t{0});
    bits[0] = 0b1010 | std::uint64_t{1} << 63;
    std::vector<int> given;
    for (int v = 1; v <= maxValue; ++v)
        if (v == 2 || v == 4 || v >= 64)
            given.push_back(v);
    for (const auto& [value, kept] : {std::pair{maxValue + 1, maxValue}, {0, 0}, {-1, 0}}) {
        cell.setValueAndPossibles(value, bits.data());
        EXPECT_EQ(cell.getValue(), kept) << value;
        EXPECT_EQ(candidates(cell), given);
        EXPECT_EQ(cell.numPossibles(), static_cast<int>(given.size()));
        EXPECT_EQ(wordBits(cell), static_cast<int>(given.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, CellSize, testing::Values(0, 1, 9, 64, 65, 129, 256));

// The first cell of a process seeds the generator with the time in seconds, and no later cell
// or copy seeds it again: a fresh process, so that no cell exists yet.
TEST(CellDeathTest, OnlyTheFirstCellSeedsWithTheTime)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool pending = Cell::isSeedPending();
            const auto before = static_cast<unsigned>(std::time(nullptr));
            const Cell first(0, 0, 9);
            const int drawn = GlibcRandom::shared().next();
            const auto after = static_cast<unsigned>(std::time(nullptr));
            std::srand(before);
            const int atBefore = std::rand();
            std::srand(after);
            const bool seededWithTime = drawn == atBefore || drawn == std::rand();
            std::srand(42);
            const int expected = std::rand();
            GlibcRandom::shared().seed(42);
            const Cell blank(1, 1, 9);
            const Cell wide(1, 1, 256);
            const Cell copy(wide);
            std::exit(pending && !Cell::isSeedPending() && seededWithTime && GlibcRandom::shared().next() == expected
                          ? 0
                          : 1);
        },
        testing::ExitedWithCode(0), "");
}
