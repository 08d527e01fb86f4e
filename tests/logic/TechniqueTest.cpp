// Each technique on a small position built by hand, with the step worked out by hand.
#include "LogicTestSupport.h"
#include "LogicalSolver.h"
#include "SolutionCounter.h"
#include "StepText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

namespace {

struct TechniqueCase {
    const char* name;
    Technique technique;
    std::function<void(CandidateGrid&)> setup;
    const char* placements;
    const char* eliminations;
    // The step's weight: the base, plus the length modifier for chains.
    double weight;
};

// Appended piece by piece: GCC 12 warns falsely on " r" + std::string.
void addElimination(std::string& text, int r, int c, char value)
{
    text += " r";
    text += static_cast<char>('0' + r);
    text += 'c';
    text += static_cast<char>('0' + c);
    text += "<>";
    text += value;
}

// Every cell of column c (1-based) outside the listed rows, as "rXcY<>v".
std::string columnExcept(int c, std::vector<int> rows, int value)
{
    std::string text;
    for (int r = 1; r <= 9; ++r)
        if (std::find(rows.begin(), rows.end(), r) == rows.end())
            addElimination(text, r, c, static_cast<char>('0' + value));
    return text;
}

std::string rowExcept(int r, std::vector<int> cols, const std::string& values)
{
    std::string text;
    for (int c = 1; c <= 9; ++c)
        if (std::find(cols.begin(), cols.end(), c) == cols.end())
            for (const char v : values)
                addElimination(text, r, c, v);
    return text;
}

const std::string kXWing = columnExcept(4, {2, 8}, 3) + columnExcept(7, {2, 8}, 3);
const std::string kSwordfish = columnExcept(1, {1, 5, 9}, 3) + columnExcept(5, {1, 5, 9}, 3) + columnExcept(9, {1, 5, 9}, 3);
const std::string kJellyfish = columnExcept(1, {1, 3, 5, 7}, 3) + columnExcept(3, {1, 3, 5, 7}, 3) +
                               columnExcept(5, {1, 3, 5, 7}, 3) + columnExcept(7, {1, 3, 5, 7}, 3);
const std::string kNakedPair = rowExcept(1, {1, 2}, "12");
const std::string kNakedTriple = rowExcept(1, {1, 2, 3}, "123");
const std::string kNakedQuad = rowExcept(1, {1, 2, 3, 4}, "1234");
const std::string kHiddenPair = "r1c1<>3 r1c1<>4 r1c1<>5 r1c1<>6 r1c1<>7 r1c1<>8 r1c1<>9 "
                                "r1c2<>3 r1c2<>4 r1c2<>5 r1c2<>6 r1c2<>7 r1c2<>8 r1c2<>9";
const std::string kRoofSubset = rowExcept(2, {1, 4, 7}, "56");
const std::string kDirectHiddenPair = "r1c1<>4 r1c1<>5 r1c1<>6 r1c1<>7 r1c1<>8 r1c1<>9 r1c1<>3 "
                                      "r1c2<>4 r1c2<>5 r1c2<>6 r1c2<>7 r1c2<>8 r1c2<>9";
const std::string kDirectHiddenTriple = "r1c1<>4 r1c1<>5 r1c1<>6 r1c1<>7 r1c1<>8 r1c1<>9 "
                                        "r1c2<>5 r1c2<>6 r1c2<>7 r1c2<>8 r1c2<>9 r1c3<>5 r1c3<>6 r1c3<>7 r1c3<>8 r1c3<>9";

void PrintTo(const TechniqueCase& c, std::ostream* out) { *out << c.name; }

void noMore(CandidateGrid&) {}

const std::vector<TechniqueCase> kCases = {

    {"FullHouse", Technique::FullHouse,
     [](CandidateGrid& g) { g = *CandidateGrid::fromValues(valuesOfLine("12345678." + std::string(72, '.'))); },
     "r1c9=9", "", 1.0},

    {"HiddenSingleBox", Technique::HiddenSingleBox, [](CandidateGrid& g) { keepOnly(g, 5, box(6), "r4c7"); },
     "r4c7=5", "", 1.2},

    {"HiddenSingleLine", Technique::HiddenSingleLine, [](CandidateGrid& g) { keepOnly(g, 5, col(2), "r8c2"); },
     "r8c2=5", "", 1.5},

    {"NakedSingle", Technique::NakedSingle, [](CandidateGrid& g) { setCandidates(g, "r5c5", "7"); }, "r5c5=7", "", 2.3},

    {"Pointing", Technique::Pointing,
     [](CandidateGrid& g) {
         for (const char* cell : {"r2c1", "r2c2", "r2c3", "r3c1", "r3c2", "r3c3"})
             g.eliminate(cellOf(cell), 4);
     },
     "", "r1c4<>4 r1c5<>4 r1c6<>4 r1c7<>4 r1c8<>4 r1c9<>4", 2.6},

    {"Claiming", Technique::Claiming, [](CandidateGrid& g) { keepOnly(g, 4, row(1), "r1c1 r1c2 r1c3"); }, "",
     "r2c1<>4 r2c2<>4 r2c3<>4 r3c1<>4 r3c2<>4 r3c3<>4", 2.8},

    {"NakedPair", Technique::NakedPair,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c2", "12");
     },
     "", kNakedPair.c_str(), 3.0},

    {"NakedTriple", Technique::NakedTriple,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c2", "23");
         setCandidates(g, "r1c3", "13");
     },
     "", kNakedTriple.c_str(), 3.6},

    {"NakedQuad", Technique::NakedQuad,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c2", "23");
         setCandidates(g, "r1c3", "34");
         setCandidates(g, "r1c4", "14");
     },
     "", kNakedQuad.c_str(), 5.0},

    {"HiddenPair", Technique::HiddenPair,
     [](CandidateGrid& g) {
         keepOnly(g, 1, row(1), "r1c1 r1c2");
         keepOnly(g, 2, row(1), "r1c1 r1c2");
     },
     "", kHiddenPair.c_str(), 3.4},

    {"HiddenTriple", Technique::HiddenTriple,
     [](CandidateGrid& g) {
         for (const int v : {1, 2, 3})
             keepOnly(g, v, row(1), "r1c1 r1c2 r1c3");
         setCandidates(g, "r1c1", "123");
         setCandidates(g, "r1c2", "1239");
     },
     "", "r1c2<>9 r1c3<>4 r1c3<>5 r1c3<>6 r1c3<>7 r1c3<>8 r1c3<>9", 4.0},

    {"HiddenQuad", Technique::HiddenQuad,
     [](CandidateGrid& g) {
         for (const int v : {1, 2, 3, 4})
             keepOnly(g, v, row(9), "r9c6 r9c7 r9c8 r9c9");
         setCandidates(g, "r9c6", "12");
         setCandidates(g, "r9c7", "234");
         setCandidates(g, "r9c8", "345");
     },
     "", "r9c8<>5 r9c9<>5 r9c9<>6 r9c9<>7 r9c9<>8 r9c9<>9", 5.4},

    {"XWing", Technique::XWing,
     [](CandidateGrid& g) {
         keepOnly(g, 3, row(2), "r2c4 r2c7");
         keepOnly(g, 3, row(8), "r8c4 r8c7");
     },
     "", kXWing.c_str(), 3.2},

    {"Swordfish", Technique::Swordfish,
     [](CandidateGrid& g) {
         keepOnly(g, 3, row(1), "r1c1 r1c5");
         keepOnly(g, 3, row(5), "r5c5 r5c9");
         keepOnly(g, 3, row(9), "r9c1 r9c9");
     },
     "", kSwordfish.c_str(), 3.8},

    {"Jellyfish", Technique::Jellyfish,
     [](CandidateGrid& g) {
         keepOnly(g, 3, row(1), "r1c1 r1c3");
         keepOnly(g, 3, row(3), "r3c3 r3c5");
         keepOnly(g, 3, row(5), "r5c5 r5c7");
         keepOnly(g, 3, row(7), "r7c7 r7c1");
     },
     "", kJellyfish.c_str(), 5.2},

    {"FinnedXWing", Technique::FinnedXWing,
     [](CandidateGrid& g) {
         keepOnly(g, 3, row(1), "r1c1 r1c5");
         keepOnly(g, 3, row(5), "r5c1 r5c5 r5c6");
     },
     "", "r4c5<>3 r6c5<>3", 6.7},

    {"FinnedSwordfish", Technique::FinnedSwordfish,
     [](CandidateGrid& g) {
         keepOnly(g, 3, row(1), "r1c1 r1c5");
         keepOnly(g, 3, row(5), "r5c5 r5c9");
         keepOnly(g, 3, row(9), "r9c1 r9c9 r9c8");
     },
     "", "r7c9<>3 r8c9<>3", 6.8},

    {"Skyscraper", Technique::Skyscraper,
     [](CandidateGrid& g) {
         keepOnly(g, 6, row(1), "r1c2 r1c7");
         keepOnly(g, 6, row(5), "r5c2 r5c8");
     },
     "", "r2c8<>6 r3c8<>6 r4c7<>6 r6c7<>6", 6.6},

    // The same two strong links make the shortest X-chain.

    {"XChain", Technique::XChain,
     [](CandidateGrid& g) {
         keepOnly(g, 6, row(1), "r1c2 r1c7");
         keepOnly(g, 6, row(5), "r5c2 r5c8");
     },
     "", "r2c8<>6 r3c8<>6 r4c7<>6 r6c7<>6", 6.6},

    {"TwoStringKite", Technique::TwoStringKite,
     [](CandidateGrid& g) {
         keepOnly(g, 6, row(1), "r1c2 r1c7");
         keepOnly(g, 6, col(1), "r2c1 r8c1");
     },
     "", "r8c7<>6", 6.6},

    {"XYWing", Technique::XYWing,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c5", "13");
         setCandidates(g, "r3c2", "23");
     },
     "", "r1c2<>3 r1c3<>3 r3c4<>3 r3c5<>3 r3c6<>3", 4.2},

    {"XYZWing", Technique::XYZWing,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "123");
         setCandidates(g, "r1c5", "13");
         setCandidates(g, "r2c2", "23");
     },
     "", "r1c2<>3 r1c3<>3", 4.4},

    {"WWing", Technique::WWing,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r9c8", "12");
         keepOnly(g, 1, row(5), "r5c1 r5c8");
     },
     "", "r1c8<>2 r9c1<>2", 7.1},

    {"SimpleColouring", Technique::SimpleColouring,
     [](CandidateGrid& g) {
         keepOnly(g, 7, col(2), "r2c2 r8c2");
         keepOnly(g, 7, row(8), "r8c2 r8c7");
         keepOnly(g, 7, col(7), "r8c7 r3c7");
     },
     "", "r2c8<>7 r2c9<>7 r3c1<>7 r3c3<>7", 6.6},

    {"UniqueRectangle1", Technique::UniqueRectangle1,
     [](CandidateGrid& g) {
         for (const char* cell : {"r1c1", "r1c4", "r2c1"})
             setCandidates(g, cell, "12");
         setCandidates(g, "r2c4", "125");
     },
     "", "r2c4<>1 r2c4<>2", 4.5},

    {"UniqueRectangle2", Technique::UniqueRectangle2,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c4", "12");
         setCandidates(g, "r2c1", "125");
         setCandidates(g, "r2c4", "125");
     },
     "", "r2c2<>5 r2c3<>5 r2c5<>5 r2c6<>5 r2c7<>5 r2c8<>5 r2c9<>5", 4.5},

    {"XYChain", Technique::XYChain,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c5", "23");
         setCandidates(g, "r5c5", "34");
         setCandidates(g, "r5c9", "14");
     },
     "", "r1c9<>1 r5c1<>1", 7.2},

    // (5)r1c1=(5)r1c6-(8)r1c6=(8)r3c4-(2)r3c4=(2)r3c2

    {"Aic", Technique::Aic,
     [](CandidateGrid& g) {
         keepOnly(g, 5, row(1), "r1c1 r1c6");
         setCandidates(g, "r1c6", "58");
         keepOnly(g, 8, box(2), "r1c6 r3c4");
         setCandidates(g, "r3c4", "28");
         keepOnly(g, 2, row(3), "r3c4 r3c2");
     },
     "", "r1c1<>2 r3c2<>5", 7.1},

    // r1c1=1 leaves r1c2 and r1c3 both needing 3.

    {"ContradictionChain", Technique::ContradictionChain,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c2", "13");
         setCandidates(g, "r1c3", "13");
     },
     "", "r1c1<>1", 7.1},

    // Box 6 holds 1 only in column 9: r1c9=1 takes all three places (4 nodes), which
    // a chain of strong links alone cannot see, the box having no strong link on 1.
    {"DynamicForcingChain", Technique::DynamicForcingChain,
     [](CandidateGrid& g) { keepOnly(g, 1, box(6), "r4c9 r5c9 r6c9"); }, "", "r1c9<>1", 8.5},
    // Rows 5 and 6 keep 1 in box 4, row 8 and column 9 link them: r4c1=1 empties row 5
    // (4 nodes), which strong links alone do not show, rows 5 and 6 holding 1 thrice.
    {"Nishio", Technique::Nishio,
     [](CandidateGrid& g) {
         keepOnly(g, 1, row(5), "r5c1 r5c2 r5c3");
         keepOnly(g, 1, row(6), "r6c1 r6c2 r6c9");
         keepOnly(g, 1, col(9), "r6c9 r8c9");
         keepOnly(g, 1, row(8), "r8c3 r8c9");
     },
     "", "r4c1<>1", 7.5},
    // 4 of box 1 only in row 1; box 2 keeps it in r1c4 and r2c5, so r2c5 is left.
    {"DirectPointing", Technique::DirectPointing,
     [](CandidateGrid& g) {
         for (const char* cell : {"r2c1", "r2c2", "r2c3", "r3c1", "r3c2", "r3c3"})
             g.eliminate(cellOf(cell), 4);
         keepOnly(g, 4, box(2), "r1c4 r2c5");
     },
     "r2c5=4", "r1c4<>4 r1c7<>4 r1c8<>4 r1c9<>4", 1.7},
    // 1 and 2 of row 1 only in r1c1 and r1c2; 3 then only in r1c3.
    {"DirectHiddenPair", Technique::DirectHiddenPair,
     [](CandidateGrid& g) {
         keepOnly(g, 1, row(1), "r1c1 r1c2");
         keepOnly(g, 2, row(1), "r1c1 r1c2");
         keepOnly(g, 3, row(1), "r1c1 r1c3");
     },
     "r1c3=3", kDirectHiddenPair.c_str(), 2.0},
    {"DirectHiddenTriple", Technique::DirectHiddenTriple,
     [](CandidateGrid& g) {
         for (const int v : {1, 2, 3})
             keepOnly(g, v, row(1), "r1c1 r1c2 r1c3");
         keepOnly(g, 4, row(1), "r1c1 r1c4");
     },
     "r1c4=4", kDirectHiddenTriple.c_str(), 2.5},
    // Floor r1c1 and r1c4 {1,2}; roof r2c1 {1,2,5} and r2c4 {1,2,6}.
    // Type 4: 1 of row 2 only in the roof, so neither roof cell can take 2.
    {"UniqueRectangle4", Technique::UniqueRectangle4,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c4", "12");
         setCandidates(g, "r2c1", "125");
         setCandidates(g, "r2c4", "126");
         keepOnly(g, 1, row(2), "r2c1 r2c4");
     },
     "", "r2c1<>2 r2c4<>2", 4.5},
    // Type 3: the roof's 5 or 6 with r2c7 {5,6} is a naked pair of row 2.
    {"UniqueRectangle3", Technique::UniqueRectangle3,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c4", "12");
         setCandidates(g, "r2c1", "125");
         setCandidates(g, "r2c4", "126");
         setCandidates(g, "r2c7", "56");
     },
     "", kRoofSubset.c_str(), 4.5},
    // r1c1=1 would leave r1c2 only 2 or 3, but r1c5 {1,2} and r2c3 {1,3}, which see
    // both, forbid either; r1c2=2 forces r1c1=1 and empties r1c5.
    {"AlignedPairExclusion", Technique::AlignedPairExclusion,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c2", "23");
         setCandidates(g, "r1c5", "12");
         setCandidates(g, "r2c3", "13");
     },
     "", "r1c1<>1 r1c2<>2", 6.2},
    // One bivalue cell is enough when each cell has two values: r1c1=2 leaves r1c2
    // only 3, and r1c5 {2,3} sees both.
    {"AlignedPairExclusionWithOneBivalueCell", Technique::AlignedPairExclusion,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c2", "23");
         setCandidates(g, "r1c5", "23");
     },
     "", "r1c1<>2", 6.2},
    // r1c1=1 puts 3 in r1c5, r1c1=2 puts it in r5c1; r5c5 sees both.

    {"CellForcingChain", Technique::CellForcingChain,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c5", "13");
         setCandidates(g, "r5c1", "23");
     },
     "", "r5c5<>3", 8.2},

    // 4 of row 9 in r9c1 or r9c9: either way column 1 gets its 4, at once or through
    // r5c9=6 and r5c1=4 (1 + 1 + 5 nodes, the premises counted once).

    {"UnitForcingChain", Technique::UnitForcingChain,
     [](CandidateGrid& g) {
         keepOnly(g, 4, row(9), "r9c1 r9c9");
         setCandidates(g, "r5c1", "46");
         setCandidates(g, "r5c9", "46");
     },
     "", "r1c1<>4", 8.2},

    {"NoFishWithoutPattern", Technique::Swordfish, noMore, "", "", 0.0},
};

class TechniqueTest : public testing::TestWithParam<TechniqueCase> {};

TEST_P(TechniqueTest, FindsTheStepWorkedOutByHand)
{
    const TechniqueCase& c = GetParam();
    CandidateGrid grid(3);
    c.setup(grid);
    const std::optional<Step> step = LogicalSolver(true).findStep(grid, c.technique);
    const std::vector<Candidate> placements = candidatesOf(c.placements);
    const std::vector<Candidate> eliminations = candidatesOf(c.eliminations);
    if (placements.empty() && eliminations.empty()) {
        EXPECT_FALSE(step.has_value()) << StepText::describe(*step, grid.getLayout());
        return;
    }
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->technique, c.technique);
    EXPECT_EQ(sorted(step->placements), placements) << StepText::describe(*step, grid.getLayout());
    EXPECT_EQ(sorted(step->eliminations), eliminations) << StepText::describe(*step, grid.getLayout());
    EXPECT_NEAR(step->weight, c.weight, 1e-9) << StepText::describe(*step, grid.getLayout());
}

INSTANTIATE_TEST_SUITE_P(Logic, TechniqueTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TechniqueCase>& info) { return info.param.name; });

// The deadly-pattern techniques need a known single solution.
TEST(UniquenessTechniques, AreLeftOutUnlessOneSolutionIsKnown)
{
    CandidateGrid grid(3);
    for (const char* cell : {"r1c1", "r1c4", "r2c1"})
        setCandidates(grid, cell, "12");
    setCandidates(grid, "r2c4", "125");
    EXPECT_TRUE(LogicalSolver(true).findStep(grid, Technique::UniqueRectangle1));
    EXPECT_FALSE(LogicalSolver(false).findStep(grid, Technique::UniqueRectangle1));
    EXPECT_FALSE(LogicalSolver(false).findNextStep(grid).has_value() &&
                 LogicalSolver(false).findNextStep(grid)->technique == Technique::UniqueRectangle1);
}

// One walk over the rectangles answers the four types: each gets its own first step, for
// the grid as it is when asked.
TEST(UniquenessTechniques, EachRectangleTypeAnswersForTheGridAsItIsNow)
{
    const LogicalSolver solver(true);
    CandidateGrid grid(3);
    setCandidates(grid, "r1c1", "12");
    setCandidates(grid, "r1c4", "12");
    setCandidates(grid, "r2c1", "125");
    setCandidates(grid, "r2c4", "125");
    // A type 1 rectangle further on must not end the walk before type 2's is met, nor after.
    for (const char* cell : {"r4c2", "r4c5", "r5c2"})
        setCandidates(grid, cell, "34");
    setCandidates(grid, "r5c5", "346");
    const std::optional<Step> two = solver.findStep(grid, Technique::UniqueRectangle2);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->technique, Technique::UniqueRectangle2);
    const std::optional<Step> one = solver.findStep(grid, Technique::UniqueRectangle1);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->eliminations, candidatesOf("r5c5<>3 r5c5<>4"));
    EXPECT_FALSE(solver.findStep(grid, Technique::UniqueRectangle4));

    grid.eliminate(cellOf("r2c4"), 5);
    EXPECT_FALSE(solver.findStep(grid, Technique::UniqueRectangle2));
    EXPECT_EQ(solver.findStep(grid, Technique::UniqueRectangle1)->eliminations, candidatesOf("r2c1<>1 r2c1<>2"));
}

// A 4x4 grid of two-candidate cells, each value twice per unit, and one third candidate.
TEST(UniquenessTechniques, BugPlusOnePlacesTheValueSeenThreeTimes)
{
    const char* first[] = {"1234", "3412", "2143", "4321"};
    const char* second[] = {"2143", "4321", "1234", "3412"};
    CandidateGrid grid(2);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            std::string keep{first[r][c], second[r][c]};
            if (r == 0 && c == 0)
                keep += '3';
            for (int v = 1; v <= 4; ++v)
                if (keep.find(static_cast<char>('0' + v)) == std::string::npos)
                    grid.eliminate(r * 4 + c, v);
        }
    const std::optional<Step> bug = LogicalSolver(true).findStep(grid, Technique::BugPlusOne);
    ASSERT_TRUE(bug.has_value());
    EXPECT_EQ(bug->placements, candidatesOf("r1c1=3", 4));
    EXPECT_FALSE(LogicalSolver(false).findStep(grid, Technique::BugPlusOne));
    // Without the third candidate the pattern is a plain BUG: nothing to place.
    grid.eliminate(0, 3);
    EXPECT_FALSE(LogicalSolver(true).findStep(grid, Technique::BugPlusOne));
}

TEST(TechniqueTable, IsInEnumerationOrderAndEasiestFirst)
{
    for (std::size_t i = 0; i < kTechniqueCount; ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kTechniques[i].technique), i) << kTechniques[i].name;
        if (i > 0) {
            EXPECT_GE(kTechniques[i].weight, kTechniques[i - 1].weight) << kTechniques[i].name;
        }
        EXPECT_GE(kTechniques[i].weight, 1.0);
        EXPECT_LE(kTechniques[i].weight, 11.9);
    }
}

// The README's table of weights is the code's, row for row.
TEST(TechniqueTable, IsTheOneTheReadmeShows)
{
    std::ifstream in(GRIDLARK_LOGIC_README);
    ASSERT_TRUE(in) << GRIDLARK_LOGIC_README;
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("| ") && line.find(" | ") != std::string::npos)
            rows.push_back(line);
    for (const TechniqueInfo& info : kTechniques) {
        char weight[16];
        std::snprintf(weight, sizeof weight, "%.1f", info.weight);
        const std::string row = "| " + std::string(info.name) + " | " + weight + " |";
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    }
}

// The solver takes the easiest step: a full house before a naked single.
TEST(LogicalSolver, TakesTheEasiestStepFirst)
{
    CandidateGrid grid = *CandidateGrid::fromValues(valuesOfLine("12345678." + std::string(72, '.')));
    setCandidates(grid, "r5c5", "7");
    const std::optional<Step> step = LogicalSolver(true).findNextStep(grid);
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->technique, Technique::FullHouse);
}

}  // namespace
