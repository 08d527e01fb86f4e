#include "SudokuBoard.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Every cell's candidates, row-major, as the public queries report them.
std::vector<std::vector<int>> candidateSnapshot(const SudokuBoard& board)
{
    std::vector<std::vector<int>> out;
    for (int r = 0; r < board.getSize(); ++r) {
        for (int c = 0; c < board.getSize(); ++c) {
            const Cell* cell = board.cellAt(r, c);
            std::vector<int> set;
            for (int v = 1; v <= cell->getMaxValue(); ++v)
                if (cell->isPossible(v))
                    set.push_back(v);
            EXPECT_EQ(cell->numPossibles(), static_cast<int>(set.size())) << r << "," << c;
            out.push_back(set);
        }
    }
    return out;
}

std::vector<int> valueSnapshot(const SudokuBoard& board)
{
    std::vector<int> out;
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c)
            out.push_back(board.valueAt(r, c));
    return out;
}

bool sharesUnit(int n, int r1, int c1, int r2, int c2)
{
    return r1 == r2 || c1 == c2 || (r1 / n == r2 / n && c1 / n == c2 / n);
}

// A complete grid that obeys the rules, for any inner size.
void fillSolved(SudokuBoard& board)
{
    const int n = board.getInnerSize();
    const int size = board.getSize();
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            board.cellAt(r, c)->setValue((r % n * n + r / n + c) % size + 1);
}

// A solved grid with a scattered third of its cells blanked, candidates rebuilt.
void fillPartly(SudokuBoard& board)
{
    fillSolved(board);
    const int size = board.getSize();
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            if ((r * 7 + c * 5) % 3 == 0)
                board.cellAt(r, c)->setValue(0);
    board.recomputePossibles();
}

void expectSameBoard(const SudokuBoard& a, const SudokuBoard& b)
{
    ASSERT_EQ(a.getInnerSize(), b.getInnerSize());
    ASSERT_EQ(a.getSize(), b.getSize());
    EXPECT_EQ(valueSnapshot(a), valueSnapshot(b));
    EXPECT_EQ(candidateSnapshot(a), candidateSnapshot(b));
    for (int r = 0; r < a.getSize(); ++r)
        for (int c = 0; c < a.getSize(); ++c) {
            ASSERT_EQ(a.cellAt(r, c)->getRow(), r);
            ASSERT_EQ(a.cellAt(r, c)->getCol(), c);
            ASSERT_EQ(a.cellAt(r, c)->getMaxValue(), a.getSize());
        }
}

} // namespace

class BoardSize : public testing::TestWithParam<int> {};

TEST_P(BoardSize, BlankBoardHasItsCellsInPlace)
{
    const int n = GetParam();
    const SudokuBoard board(n);
    EXPECT_EQ(board.getInnerSize(), n);
    EXPECT_EQ(board.getSize(), n * n);
    for (int r = 0; r < n * n; ++r) {
        for (int c = 0; c < n * n; ++c) {
            const Cell* cell = board.cellAt(r, c);
            ASSERT_NE(cell, nullptr);
            ASSERT_EQ(cell->getRow(), r);
            ASSERT_EQ(cell->getCol(), c);
            ASSERT_EQ(cell->getValue(), 0);
            ASSERT_EQ(cell->getMaxValue(), n * n);
            ASSERT_EQ(cell->numPossibles(), n * n);
        }
    }
    EXPECT_TRUE(board.isValid());
    const int size = n * n;
    for (const auto& [r, c] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {size, 0}, {0, size}, {INT_MIN, INT_MAX}}) {
        EXPECT_EQ(board.cellAt(r, c), nullptr) << r << "," << c;
        EXPECT_EQ(board.valueAt(r, c), -1) << r << "," << c;
    }
}

TEST_P(BoardSize, SolvedGridIsValidAndAnyDuplicateIsNot)
{
    const int n = GetParam();
    if (n == 0)
        GTEST_SKIP() << "no cells";
    SudokuBoard board(n);
    fillSolved(board);
    EXPECT_TRUE(board.isValid());
    const int size = n * n;
    if (size == 1)
        return;
    // Copy a value onto a row peer, a column peer and a sub-square peer in turn.
    const int r = size - 1;
    const int c = size / 2;
    const std::pair<int, int> peers[] = {{r, 0}, {0, c}, {r - r % n + (r % n + 1) % n, c - c % n + (c % n + 1) % n}};
    for (const auto& [pr, pc] : peers) {
        SudokuBoard broken(board);
        broken.cellAt(pr, pc)->setValue(board.valueAt(r, c));
        EXPECT_FALSE(broken.isValid()) << pr << "," << pc;
    }
}

TEST_P(BoardSize, RecomputeRemovesExactlyThePeersValues)
{
    const int n = GetParam();
    SudokuBoard board(n);
    fillPartly(board);
    const int size = n * n;
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            std::set<int> taken;
            for (int i = 0; i < size; ++i)
                for (int j = 0; j < size; ++j)
                    if ((i != r || j != c) && sharesUnit(n, r, c, i, j))
                        taken.insert(board.valueAt(i, j));
            const Cell* cell = board.cellAt(r, c);
            int count = 0;
            for (int v = 1; v <= size; ++v) {
                ASSERT_EQ(cell->isPossible(v), taken.count(v) == 0) << r << "," << c << " v " << v;
                count += taken.count(v) == 0;
            }
            ASSERT_EQ(cell->numPossibles(), count);
        }
    }
}

TEST_P(BoardSize, PlaceValueNarrowsThePeersOnly)
{
    const int n = GetParam();
    const int size = n * n;
    for (const auto& [r, c] : std::vector<std::pair<int, int>>{{0, 0}, {size / 2, size / 2}, {size - 1, size / 3}}) {
        if (size == 0)
            break;
        SudokuBoard board(n);
        const int v = size;
        board.placeValue(r, c, v);
        EXPECT_EQ(board.valueAt(r, c), v);
        int narrowed = 0;
        for (int i = 0; i < size; ++i) {
            for (int j = 0; j < size; ++j) {
                const Cell* cell = board.cellAt(i, j);
                const bool peer = (i != r || j != c) && sharesUnit(n, r, c, i, j);
                ASSERT_EQ(cell->isPossible(v), !peer) << i << "," << j;
                ASSERT_EQ(cell->numPossibles(), peer ? size - 1 : size) << i << "," << j;
                narrowed += peer;
            }
        }
        EXPECT_EQ(narrowed, 2 * (size - 1) + (n - 1) * (n - 1));
    }
}

// 81 x 81 puts each cell's candidates in heap words.
INSTANTIATE_TEST_SUITE_P(InnerSizes, BoardSize, testing::Values(0, 1, 2, 3, 4, 9));

TEST(SudokuBoard, OutOfRangeInnerSizeGivesAnEmptyBoard)
{
    for (const int n : {-1, -3, 17, 100000, INT_MAX, INT_MIN}) {
        const SudokuBoard board(n);
        EXPECT_EQ(board.getInnerSize(), 0) << n;
        EXPECT_EQ(board.getSize(), 0) << n;
        EXPECT_EQ(board.cellAt(0, 0), nullptr) << n;
        EXPECT_TRUE(board.isValid()) << n;
    }
}

TEST(SudokuBoard, PlaceValueInTheCentre)
{
    SudokuBoard board(3);
    board.placeValue(4, 4, 5);
    EXPECT_EQ(board.valueAt(4, 4), 5);
    EXPECT_EQ(board.cellAt(4, 4)->numPossibles(), 9);
    std::set<std::pair<int, int>> lost;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            if (!board.cellAt(r, c)->isPossible(5)) {
                lost.insert({r, c});
                EXPECT_EQ(board.cellAt(r, c)->numPossibles(), 8);
            }
    EXPECT_EQ(lost.size(), 20u);
    for (const auto& corner : {std::pair{3, 3}, {3, 5}, {5, 3}, {5, 5}})
        EXPECT_EQ(lost.count(corner), 1u);
}

TEST(SudokuBoard, PlaceValueIgnoresWhatIsOutOfRange)
{
    SudokuBoard board(3);
    board.placeValue(2, 2, 7);
    const auto values = valueSnapshot(board);
    const auto candidates = candidateSnapshot(board);
    for (const auto& [r, c, v] : std::vector<std::tuple<int, int, int>>{
             {0, 0, 10}, {0, 0, -1}, {9, 0, 1}, {0, 9, 1}, {-1, 0, 1}, {2, 2, 10}}) {
        board.placeValue(r, c, v);
        EXPECT_EQ(valueSnapshot(board), values) << r << "," << c << " v " << v;
        EXPECT_EQ(candidateSnapshot(board), candidates) << r << "," << c << " v " << v;
    }
    board.placeValue(2, 2, 0);
    EXPECT_EQ(board.valueAt(2, 2), 0);
    EXPECT_EQ(candidateSnapshot(board), candidates) << "blanking gives nothing back";
}

TEST(SudokuBoard, ReplacedValueStaysRemovedUntilRecompute)
{
    SudokuBoard board(3);
    board.placeValue(0, 0, 5);
    board.placeValue(0, 0, 6);
    for (const auto& [r, c] : {std::pair{0, 8}, {8, 0}, {2, 2}}) {
        EXPECT_FALSE(board.cellAt(r, c)->isPossible(5));
        EXPECT_FALSE(board.cellAt(r, c)->isPossible(6));
    }
    board.recomputePossibles();
    for (const auto& [r, c] : {std::pair{0, 8}, {8, 0}, {2, 2}}) {
        EXPECT_TRUE(board.cellAt(r, c)->isPossible(5));
        EXPECT_FALSE(board.cellAt(r, c)->isPossible(6));
        EXPECT_EQ(board.cellAt(r, c)->numPossibles(), 8);
    }
    EXPECT_EQ(board.cellAt(0, 0)->numPossibles(), 9) << "a filled cell keeps its own value";
}

TEST(SudokuBoard, ValidityOfPairs)
{
    struct Case {
        int r, c;
        bool valid;
    };
    // The second 5 goes at (r, c); the first is at (0, 0).
    for (const Case& k : {Case{0, 8, false}, Case{8, 0, false}, Case{1, 1, false}, Case{2, 2, false},
                          Case{1, 3, true}, Case{3, 1, true}, Case{8, 8, true}}) {
        SudokuBoard board(3);
        board.cellAt(0, 0)->setValue(5);
        board.cellAt(k.r, k.c)->setValue(5);
        EXPECT_EQ(board.isValid(), k.valid) << k.r << "," << k.c;
    }
}

TEST(SudokuBoard, CopiesAreDeepAtEverySize)
{
    for (const int n : {1, 3, 4, 9}) {
        SCOPED_TRACE(n);
        SudokuBoard source(n);
        fillPartly(source);
        SudokuBoard copy(source);
        expectSameBoard(copy, source);

        const auto values = valueSnapshot(source);
        const auto candidates = candidateSnapshot(source);
        const int last = n * n - 1;
        copy.placeValue(last, last, 0);
        copy.cellAt(0, 0)->setValue(0);
        copy.cellAt(0, 0)->removePossible(1);
        copy.cellAt(last, 0)->resetPossibles();
        copy.recomputePossibles();
        copy.placeValue(0, 0, 1);
        EXPECT_EQ(valueSnapshot(source), values);
        EXPECT_EQ(candidateSnapshot(source), candidates);

        const auto copyValues = valueSnapshot(copy);
        const auto copyCandidates = candidateSnapshot(copy);
        source.placeValue(0, last, 0);
        source.cellAt(last, last)->removePossible(1);
        source.recomputePossibles();
        EXPECT_EQ(valueSnapshot(copy), copyValues);
        EXPECT_EQ(candidateSnapshot(copy), copyCandidates);
    }
}

TEST(SudokuBoard, CopyAssignmentBetweenSizes)
{
    const int sizes[] = {0, 2, 3, 9};
    for (const int to : sizes) {
        for (const int from : sizes) {
            SCOPED_TRACE(testing::Message() << from << " -> " << to);
            SudokuBoard source(from);
            fillPartly(source);
            SudokuBoard target(to);
            fillSolved(target);
            target = source;
            expectSameBoard(target, source);
            if (from == 0)
                continue;
            target.placeValue(0, 1, 0);
            target.recomputePossibles();
            EXPECT_NE(source.valueAt(0, 1), 0);
        }
    }
}
