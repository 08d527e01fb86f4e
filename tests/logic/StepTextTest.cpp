#include "LogicTestSupport.h"
#include "LogicalSolver.h"
#include "PuzzleRater.h"
#include "StepText.h"
#include "SudokuBoard.h"

#include <gtest/gtest.h>

namespace {

std::string describe(const CandidateGrid& grid, Technique technique)
{
    const std::optional<Step> step = LogicalSolver(true).findStep(grid, technique);
    return step ? StepText::describe(*step, grid.getLayout()) : "(no step)";
}

TEST(StepText, NamesCellsAndUnitsOneBased)
{
    struct Case {
        int unitOrCell;
        int size;
        std::string cell;
        std::string unit;
    };
    for (const Case& c : std::vector<Case>{
             {0, 9, "r1c1", "row 1"},
             {10, 9, "r2c2", "column 2"},
             {23, 9, "r3c6", "box 6"},
             {80, 9, "r9c9", "box 9"},
             {47, 16, "r3c16", "box 16"},
             {624, 25, "r25c25", "row 25"},
         }) {
        EXPECT_EQ(StepText::cellName(c.unitOrCell, c.size), c.cell);
        EXPECT_EQ(StepText::unitName(c.unitOrCell % (3 * c.size), c.size), c.unit);
    }
}

TEST(StepText, ReadsLikeAPersonWouldSayIt)
{
    CandidateGrid single(3);
    keepOnly(single, 5, box(6), "r4c7");
    EXPECT_EQ(describe(single, Technique::HiddenSingleBox), "Hidden single: r4c7 = 5 (only place for 5 in box 6)");

    CandidateGrid house = *CandidateGrid::fromValues(valuesOfLine("1234.6789" + std::string(72, '.')));
    EXPECT_EQ(describe(house, Technique::FullHouse), "Full house: r1c5 = 5 (last empty cell in row 1)");

    CandidateGrid wing(3);
    keepOnly(wing, 3, row(2), "r2c4 r2c7");
    keepOnly(wing, 3, row(8), "r8c4 r8c7");
    const std::string xWing = describe(wing, Technique::XWing);
    EXPECT_EQ(xWing.rfind("X-Wing on 3 in rows 2 and 8: r1c4<>3, r1c7<>3, ", 0), 0u) << xWing;
    EXPECT_NE(xWing.find("r5c4<>3"), std::string::npos) << xWing;

    CandidateGrid finned(3);
    keepOnly(finned, 3, row(1), "r1c1 r1c5");
    keepOnly(finned, 3, row(5), "r5c1 r5c5 r5c6");
    EXPECT_EQ(describe(finned, Technique::FinnedXWing),
              "Finned X-Wing on 3 in rows 1 and 5 (fin r5c6): r4c5<>3, r6c5<>3");

    CandidateGrid pair(3);
    setCandidates(pair, "r1c1", "12");
    setCandidates(pair, "r1c2", "12");
    EXPECT_EQ(describe(pair, Technique::NakedPair).rfind("Naked pair 1 and 2 in row 1 (r1c1, r1c2): r1c3<>1, r1c3<>2", 0),
              0u);

    CandidateGrid pointing(3);
    for (const char* cell : {"r2c1", "r2c2", "r2c3", "r3c1", "r3c2", "r3c3"})
        pointing.eliminate(cellOf(cell), 4);
    EXPECT_EQ(describe(pointing, Technique::Pointing),
              "Pointing: 4 in box 1 lies only in row 1: r1c4<>4, r1c5<>4, r1c6<>4, r1c7<>4, r1c8<>4, r1c9<>4");

    CandidateGrid chain(3);
    keepOnly(chain, 6, row(1), "r1c2 r1c7");
    keepOnly(chain, 6, row(5), "r5c2 r5c8");
    const std::string xChain = describe(chain, Technique::XChain);
    EXPECT_TRUE(xChain.starts_with("X-chain (6)r1c7=(6)r1c2-(6)r5c2=(6)r5c8: ") ||
                xChain.starts_with("X-chain (6)r5c8=(6)r5c2-(6)r1c2=(6)r1c7: "))
        << xChain;

    CandidateGrid contradiction(3);
    setCandidates(contradiction, "r1c1", "12");
    setCandidates(contradiction, "r1c2", "13");
    setCandidates(contradiction, "r1c3", "13");
    // Each branch from the premise to one half of the contradiction.
    EXPECT_EQ(describe(contradiction, Technique::ContradictionChain),
              "Forcing chain: r1c1 = 1 leads to a contradiction: r1c1<>1 (r1c1=1 → r1c3<>1 → r1c3=3; "
              "r1c1=1 → r1c2<>1 → r1c2=3 → r1c3<>3)");

    // One branch per candidate of the cell, each ending in what they agree on.
    CandidateGrid cell(3);
    setCandidates(cell, "r1c1", "12");
    setCandidates(cell, "r1c5", "13");
    setCandidates(cell, "r5c1", "23");
    EXPECT_EQ(describe(cell, Technique::CellForcingChain),
              "Cell forcing chain: every candidate of r1c1 leads to r5c5<>3 (r1c1=1 → r1c5<>1 → r1c5=3 → r5c5<>3; "
              "r1c1=2 → r5c1<>2 → r5c1=3 → r5c5<>3)");

    CandidateGrid direct(3);
    for (const char* c : {"r2c1", "r2c2", "r2c3", "r3c1", "r3c2", "r3c3"})
        direct.eliminate(cellOf(c), 4);
    keepOnly(direct, 4, box(2), "r1c4 r2c5");
    EXPECT_EQ(describe(direct, Technique::DirectPointing),
              "Direct pointing: 4 in box 1 lies only in row 1: r1c4<>4, r1c7<>4, r1c8<>4, r1c9<>4, leaving r2c5 = 4");
}

// Wings and colouring say which cell plays which part.
TEST(StepText, NamesThePartsOfWingsAndColouring)
{
    CandidateGrid xy(3);
    setCandidates(xy, "r1c1", "12");
    setCandidates(xy, "r1c5", "13");
    setCandidates(xy, "r3c2", "23");
    EXPECT_EQ(describe(xy, Technique::XYWing),
              "XY-Wing on 3 (pivot r1c1, pincers r1c5 and r3c2): r1c2<>3, r1c3<>3, r3c4<>3, r3c5<>3, r3c6<>3");

    CandidateGrid w(3);
    setCandidates(w, "r1c1", "12");
    setCandidates(w, "r9c8", "12");
    keepOnly(w, 1, row(5), "r5c1 r5c8");
    EXPECT_EQ(describe(w, Technique::WWing),
              "W-Wing on 1/2 (pincers r1c1 and r9c8, strong link on 1 in row 5 between r5c1 and r5c8): r1c8<>2, r9c1<>2");

    CandidateGrid colouring(3);
    keepOnly(colouring, 7, col(2), "r2c2 r8c2");
    keepOnly(colouring, 7, row(8), "r8c2 r8c7");
    keepOnly(colouring, 7, col(7), "r8c7 r3c7");
    EXPECT_EQ(describe(colouring, Technique::SimpleColouring),
              "Simple colouring on 7 (colour A r2c2, r8c7; colour B r8c2, r3c7): r2c8<>7, r2c9<>7, r3c1<>7, r3c3<>7");
}

// A nested step names the candidate an inner chain proved false, and that chain on a
// line of its own below, indented.
TEST(StepText, IndentsTheInnerChainsOfANestedStep)
{
    Step step;
    step.technique = Technique::NestedForcingChain;
    step.proof = {{0, 1}};
    step.eliminations = {{0, 1}};
    ChainNode inner{{40, 5}, false, {}};
    inner.nested = {ChainBranch{{{{40, 5}, true, {}}, {{41, 5}, false, {}}}}};
    step.branches = {ChainBranch{{{{0, 1}, true, {}}, inner, {{0, 1}, false, {}}}}};
    EXPECT_EQ(StepText::describe(step, GridLayout::forInnerSize(3)),
              "Nested forcing chain: r1c1 = 1 leads to a contradiction: r1c1<>1 (r1c1=1 → r5c5<>5 → r1c1<>1)\n"
              "  r5c5<>5 since r5c5=5 → r5c6<>5");
}

TEST(Rating, LevelsFollowTheDocumentedThresholds)
{
    struct Case {
        double rating;
        Level level;
    };
    for (const Case& c : std::vector<Case>{{1.0, Level::Easy},
                                           {2.3, Level::Easy},
                                           {2.6, Level::Medium},
                                           {3.4, Level::Medium},
                                           {3.6, Level::Hard},
                                           {5.6, Level::Hard},
                                           {6.5, Level::Expert},
                                           {7.0, Level::Expert},
                                           {7.1, Level::Extreme},
                                           {11.9, Level::Extreme}})
        EXPECT_EQ(PuzzleRater::levelOf(c.rating), c.level) << c.rating;
    for (const LevelInfo& info : kLevels)
        EXPECT_EQ(PuzzleRater::parseLevel(info.name), info.level);
    EXPECT_FALSE(PuzzleRater::parseLevel("Easy"));
    EXPECT_FALSE(PuzzleRater::parseLevel("diabolical"));
}

TEST(Rating, ReportsPuzzlesWithoutOneSolution)
{
    struct Case {
        std::string line;
        Rating::Status status;
    };
    const std::string solved = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
    // A 17-clue puzzle is minimal: without any one clue it has more solutions.
    std::string seventeen = ".................1.....2.3......3.2...1.4......5....6..3......4.7..8...962...7...";
    seventeen[17] = '.';
    std::string broken = std::string(81, '.');
    broken.replace(0, 8, "12345678");
    broken[17] = '9';  // r2c9 = 9 leaves r1c9 nothing
    for (const Case& c : std::vector<Case>{{solved, Rating::Status::Rated},
                                           {seventeen, Rating::Status::ManySolutions},
                                           {std::string(81, '.'), Rating::Status::ManySolutions},
                                           {broken, Rating::Status::NoSolution}}) {
        const std::optional<CandidateGrid> grid = CandidateGrid::fromValues(valuesOfLine(c.line));
        ASSERT_TRUE(grid.has_value()) << c.line;
        const Rating rating = PuzzleRater::rate(*grid);
        EXPECT_EQ(rating.status, c.status) << c.line;
    }
}

// A puzzle's rating is its hardest step; counts add up to the steps taken.
TEST(Rating, IsTheHardestStepOfTheEasiestFirstPath)
{
    const std::string line = "5..7..6....38...........2..62.4............917............35.8.4.....1......9....";
    const Rating rating = PuzzleRater::rate(*CandidateGrid::fromValues(valuesOfLine(line)));
    ASSERT_EQ(rating.status, Rating::Status::Rated);
    double hardest = 0;
    for (const Step& step : rating.steps) {
        hardest = std::max(hardest, step.weight);
        EXPECT_GE(step.weight, techniqueInfo(step.technique).weight) << techniqueInfo(step.technique).name;
    }
    int total = 0;
    for (std::size_t i = 0; i < kTechniqueCount; ++i)
        total += rating.counts[i];
    EXPECT_GT(hardest, techniqueInfo(Technique::Claiming).weight);
    EXPECT_DOUBLE_EQ(rating.rating, hardest);
    EXPECT_EQ(total, static_cast<int>(rating.steps.size()));
    EXPECT_EQ(rating.level, PuzzleRater::levelOf(hardest));
}

TEST(CandidateGrid, RejectsGivensThatClashOrDoNotFit)
{
    EXPECT_FALSE(CandidateGrid::fromValues(std::vector<int>(80, 0)));
    EXPECT_FALSE(CandidateGrid::fromValues(std::vector<int>(81 * 81, 0)));
    EXPECT_FALSE(CandidateGrid::fromValues(valuesOfLine("1.......1" + std::string(72, '.'))));
    std::string sameColumn(81, '.');
    sameColumn[0] = sameColumn[9] = '1';
    EXPECT_FALSE(CandidateGrid::fromValues(valuesOfLine(sameColumn)));
    std::vector<int> tooBig(81, 0);
    tooBig[0] = 10;
    EXPECT_FALSE(CandidateGrid::fromValues(tooBig));
    EXPECT_TRUE(CandidateGrid::fromValues(std::vector<int>(16, 0)));
    EXPECT_EQ(CandidateGrid::fromValues(std::vector<int>{1})->getBlankCount(), 0);
    // A 1x1 grid has no peers; its one cell is a full house.
    const Rating single = PuzzleRater::rate(CandidateGrid(1));
    EXPECT_EQ(single.status, Rating::Status::Rated);
    ASSERT_EQ(single.steps.size(), 1u);
    EXPECT_EQ(single.steps.front().technique, Technique::FullHouse);
    EXPECT_TRUE(CandidateGrid::fromValues(std::vector<int>(625, 0)));
}

TEST(CandidateGrid, ReadsABoardOfAnySizeItCanHold)
{
    SudokuBoard board(3);
    board.cellAt(0, 0)->setValue(5);
    board.cellAt(8, 7)->setValue(2);
    const std::optional<CandidateGrid> grid = CandidateGrid::fromBoard(board);
    ASSERT_TRUE(grid.has_value());
    EXPECT_EQ(grid->getValue(cellOf("r1c1")), 5);
    EXPECT_EQ(grid->getValue(cellOf("r9c8")), 2);
    EXPECT_FALSE(grid->hasCandidate(cellOf("r1c9"), 5));
    EXPECT_TRUE(grid->hasCandidate(cellOf("r2c4"), 5));
    EXPECT_EQ(CandidateGrid::fromBoard(SudokuBoard(2))->getCellCount(), 16);
    EXPECT_FALSE(CandidateGrid::fromBoard(SudokuBoard(CandidateGrid::kMaxInnerSize + 1)));
    EXPECT_FALSE(CandidateGrid::fromBoard(SudokuBoard(0)));
    board.cellAt(0, 8)->setValue(5);
    EXPECT_FALSE(CandidateGrid::fromBoard(board));
}

TEST(CandidateGrid, PlacingRemovesTheValueFromEveryPeerOnly)
{
    for (const int n : {2, 3, 4, 5}) {
        CandidateGrid grid(n);
        const int size = n * n;
        const int cell = (size / 2) * size + size / 2;
        grid.place(cell, 1);
        int without = 0;
        for (int other = 0; other < grid.getCellCount(); ++other)
            if (other != cell && !grid.hasCandidate(other, 1)) {
                ++without;
                EXPECT_TRUE(grid.getLayout().sees(cell, other));
            }
        // Row and column less the cell, and the box less its row and column.
        EXPECT_EQ(without, 2 * (size - 1) + (n - 1) * (n - 1)) << n;
        EXPECT_EQ(grid.getBlankCount(), size * size - 1);
    }
}

}  // namespace
