// Unique loops, continuous cycles and aligned triple exclusion on positions built by
// hand, each step and its weight worked out by hand.
#include "LogicTestSupport.h"
#include "LogicalSolver.h"
#include "StepText.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct LadderCase {
    const char* name;
    Technique technique;
    std::function<void(CandidateGrid&)> setup;
    std::string eliminations;
    double weight;
};

void PrintTo(const LadderCase& c, std::ostream* out) { *out << c.name; }

// "rRcC<>v" for every cell of the unit but the listed ones.
std::string unitExcept(int unit, const std::string& keep, int value)
{
    std::string text;
    const GridLayout& layout = GridLayout::forInnerSize(3);
    const int* cells = layout.cellsOf(unit);
    for (int i = 0; i < 9; ++i) {
        const std::string name = StepText::cellName(cells[i], 9);
        if (keep.find(name) == std::string::npos)
            text += name + "<>" + std::to_string(value) + " ";
    }
    return text;
}

// Six cells in rows 1, 4 and 7, columns 1 to 3 and boxes 1, 4 and 7, two in each unit:
// r1c1-r1c2-r4c2-r4c3-r7c3-r7c1.
void loopOfSix(CandidateGrid& g, const char* r7c1, const char* r7c3)
{
    for (const char* cell : {"r1c1", "r1c2", "r4c2", "r4c3"})
        setCandidates(g, cell, "12");
    setCandidates(g, "r7c1", r7c1);
    setCandidates(g, "r7c3", r7c3);
}

const std::vector<LadderCase> kCases = {
    // Were r7c1 1 or 2, the six cells could take 1 and 2 either way round.
    {"UniqueLoop1", Technique::UniqueLoop1, [](CandidateGrid& g) { loopOfSix(g, "125", "12"); },
     "r7c1<>1 r7c1<>2", 4.6},
    // One of r7c1 and r7c3 is 5, so no other cell of row 7 or box 7 is.
    {"UniqueLoop2", Technique::UniqueLoop2, [](CandidateGrid& g) { loopOfSix(g, "125", "125"); },
     "r7c2<>5 r7c4<>5 r7c5<>5 r7c6<>5 r7c7<>5 r7c8<>5 r7c9<>5 r8c1<>5 r8c2<>5 r8c3<>5 r9c1<>5 r9c2<>5 r9c3<>5",
     4.6},
    // 1 of row 7 only in r7c1 or r7c3: one of them is 1, so neither can be 2.
    {"UniqueLoop4", Technique::UniqueLoop4,
     [](CandidateGrid& g) {
         loopOfSix(g, "125", "126");
         keepOnly(g, 1, row(7), "r7c1 r7c3");
     },
     "r7c1<>2 r7c3<>2", 4.6},
    // The roof's 5 or 6 and r7c5 {5,6}: a naked pair of row 7.
    {"UniqueLoop3", Technique::UniqueLoop3,
     [](CandidateGrid& g) {
         loopOfSix(g, "125", "126");
         setCandidates(g, "r7c5", "56");
     },
     "r7c2<>5 r7c2<>6 r7c4<>5 r7c4<>6 r7c6<>5 r7c6<>6 r7c7<>5 r7c7<>6 r7c8<>5 r7c8<>6 r7c9<>5 r7c9<>6", 4.6},
    // Five of the cells are in box 1 with r1c1..r3c3: a box cannot take 1 and 2 three
    // times, so the pattern is no loop.
    {"NoLoopWithThreeCellsInABox", Technique::UniqueLoop1,
     [](CandidateGrid& g) {
         for (const char* cell : {"r1c1", "r1c2", "r2c2", "r2c3", "r3c3"})
             setCandidates(g, cell, "12");
         setCandidates(g, "r3c1", "125");
     },
     "", 0.0},
    // 5 twice in rows 1 and 2: (5)r1c1=(5)r1c5-(5)r2c6=(5)r2c2-(5)r1c1. Each weak link
    // (box 2, box 1) holds one 5, so row 3 has none in boxes 1 and 2.
    {"XCycle", Technique::XCycle,
     [](CandidateGrid& g) {
         keepOnly(g, 5, row(1), "r1c1 r1c5");
         keepOnly(g, 5, row(2), "r2c2 r2c6");
     },
     "r3c1<>5 r3c2<>5 r3c3<>5 r3c4<>5 r3c5<>5 r3c6<>5", 6.5},
    // Four bivalue cells, eight candidates: 2 in row 1, 3 in column 5, 4 in row 5 and 1
    // in column 1 each sit in one of the loop's cells.
    {"YCycle", Technique::YCycle,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c1", "12");
         setCandidates(g, "r1c5", "23");
         setCandidates(g, "r5c5", "34");
         setCandidates(g, "r5c1", "14");
     },
     unitExcept(row(1), "r1c1 r1c5", 2) + unitExcept(col(5), "r1c5 r5c5", 3) + unitExcept(row(5), "r5c1 r5c5", 4) +
         unitExcept(col(1), "r1c1 r5c1", 1),
     6.8},
    // (1)r1c1=(1)r5c1-(1)r5c5=(2)r5c5-(2)r1c5=(2)r1c1-(1)r1c1: the last weak link is in
    // r1c1, which is therefore 1 or 2, never 3.
    {"BidirectionalCycle", Technique::BidirectionalCycle,
     [](CandidateGrid& g) {
         keepOnly(g, 1, col(1), "r1c1 r5c1");
         setCandidates(g, "r5c5", "12");
         keepOnly(g, 2, row(1), "r1c1 r1c5");
         setCandidates(g, "r1c1", "123");
     },
     unitExcept(row(5), "r5c1 r5c5", 1) + unitExcept(col(5), "r1c5 r5c5", 2) + "r1c1<>3", 7.1},
    // r1c1, r1c2 and r1c3 see each other. r1c1=1 or 3 leaves r1c3 the other of 1 and
    // 3, r1c1=5 leaves it 1 (r1c6 {3,5}, or r2c2 {1,5}, would be emptied); then r1c2=2
    // empties r3c3 {1,2} and r1c2=4 empties r1c8 {1,3,4}.
    {"AlignedTripleExclusion", Technique::AlignedTripleExclusion,
     [](CandidateGrid& g) {
         setCandidates(g, "r1c2", "124");
         setCandidates(g, "r1c3", "13");
         setCandidates(g, "r1c6", "35");
         setCandidates(g, "r1c8", "134");
         setCandidates(g, "r3c3", "12");
         setCandidates(g, "r2c2", "15");
     },
     "r1c1<>1 r1c1<>3 r1c1<>5", 7.5},
};

class LadderTechniqueTest : public testing::TestWithParam<LadderCase> {};

TEST_P(LadderTechniqueTest, FindsTheStepWorkedOutByHand)
{
    const LadderCase& c = GetParam();
    CandidateGrid grid(3);
    c.setup(grid);
    const std::optional<Step> step = LogicalSolver(true).findStep(grid, c.technique);
    if (c.eliminations.empty()) {
        EXPECT_FALSE(step.has_value()) << StepText::describe(*step, grid.getLayout());
        return;
    }
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->technique, c.technique);
    EXPECT_TRUE(step->placements.empty());
    EXPECT_EQ(sorted(step->eliminations), candidatesOf(c.eliminations)) << StepText::describe(*step, grid.getLayout());
    EXPECT_NEAR(step->weight, c.weight, 1e-9) << StepText::describe(*step, grid.getLayout());
}

INSTANTIATE_TEST_SUITE_P(Logic, LadderTechniqueTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<LadderCase>& info) { return info.param.name; });

// A loop assumes one solution, like a rectangle.
TEST(UniqueLoops, AreLeftOutUnlessOneSolutionIsKnown)
{
    CandidateGrid grid(3);
    loopOfSix(grid, "125", "12");
    EXPECT_FALSE(LogicalSolver(false).findStep(grid, Technique::UniqueLoop1));
}

// A longer loop weighs more: eight cells, two in each of boxes 1, 2, 4 and 5,
// r1c1-r2c2-r2c5-r1c4-r4c4-r5c5-r5c2-r4c1.
TEST(UniqueLoops, WeighMoreWithMoreCells)
{
    CandidateGrid grid(3);
    for (const char* cell : {"r1c1", "r2c2", "r2c5", "r1c4", "r4c4", "r5c5", "r5c2"})
        setCandidates(grid, cell, "12");
    setCandidates(grid, "r4c1", "127");
    const std::optional<Step> step = LogicalSolver(true).findStep(grid, Technique::UniqueLoop1);
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->eliminations, candidatesOf("r4c1<>1 r4c1<>2"));
    EXPECT_NEAR(step->weight, 4.7, 1e-9);
}

// The four types are answered by one search of the grid: each must still get its own
// answer, for the grid as it stands when asked.
TEST(UniqueLoops, EachTypeAnswersForTheGridAsItIsNow)
{
    CandidateGrid grid(3);
    loopOfSix(grid, "1257", "12");
    const LogicalSolver solver(true);
    // Type 1 allows a roof of any width; type 2 wants two roof cells of one extra value.
    ASSERT_TRUE(solver.findStep(grid, Technique::UniqueLoop1));
    EXPECT_FALSE(solver.findStep(grid, Technique::UniqueLoop2));
    EXPECT_FALSE(solver.findStep(grid, Technique::UniqueLoop4));
    grid.eliminate(cellOf("r7c1"), 7);
    grid.eliminate(cellOf("r7c1"), 5);
    EXPECT_FALSE(solver.findStep(grid, Technique::UniqueLoop1)) << "a loop without extra candidates proves nothing";

    CandidateGrid two(3);
    loopOfSix(two, "125", "125");
    EXPECT_FALSE(solver.findStep(two, Technique::UniqueLoop1));
    const std::optional<Step> step = solver.findStep(two, Technique::UniqueLoop2);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->technique, Technique::UniqueLoop2);
    two.eliminate(cellOf("r7c3"), 5);
    EXPECT_FALSE(solver.findStep(two, Technique::UniqueLoop2));
    EXPECT_TRUE(solver.findStep(two, Technique::UniqueLoop1));
}

// Cycles print as a closed chain, loops their extra candidates' cells, and the triple
// the cells it would empty.
TEST(LadderText, NamesTheLoopAndTheCellsEmptied)
{
    CandidateGrid grid(3);
    keepOnly(grid, 5, row(1), "r1c1 r1c5");
    keepOnly(grid, 5, row(2), "r2c2 r2c6");
    const std::optional<Step> cycle = LogicalSolver(true).findStep(grid, Technique::XCycle);
    ASSERT_TRUE(cycle.has_value());
    EXPECT_EQ(StepText::describe(*cycle, grid.getLayout()).substr(0, 52),
              "X-cycle (5)r1c1=(5)r1c5-(5)r2c6=(5)r2c2-(5)r1c1: r3c");

    CandidateGrid loop(3);
    loopOfSix(loop, "125", "125");
    const std::optional<Step> roof = LogicalSolver(true).findStep(loop, Technique::UniqueLoop2);
    ASSERT_TRUE(roof.has_value());
    EXPECT_EQ(StepText::describe(*roof, loop.getLayout()).substr(0, 104),
              "Unique loop type 2 on 1/2 (loop r1c1, r1c2, r4c2, r4c3, r7c3, r7c1; extra candidates in r7c3 and r7c1): ");

    CandidateGrid triple(3);
    kCases.back().setup(triple);
    const std::optional<Step> step = LogicalSolver(true).findStep(triple, Technique::AlignedTripleExclusion);
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(StepText::describe(*step, triple.getLayout()),
              "Aligned triple exclusion: r1c1, r1c2 and r1c3 would empty r1c6, r1c8, r2c2 and r3c3: "
              "r1c1<>1, r1c1<>3, r1c1<>5");
}

}  // namespace
