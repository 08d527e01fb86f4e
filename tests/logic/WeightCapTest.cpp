// The solver hands each finder the weights it can still use. A capped finder must return
// the step it finds without the cap whenever that step fits, and nothing that does not:
// the ratings and paths stay as they were, only the search behind them is cut.
#include "LogicTestSupport.h"
#include "LogicalSolver.h"
#include "PuzzleRater.h"
#include "StepText.h"
#include "Techniques.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

using techniques::WeightCap;

// Grids met on the paths of oracle puzzles that need chains, just before each step of
// 6.5 or more: where cycles, chains and forcing chains are tried.
std::vector<CandidateGrid> chainGrids(const std::string& set, std::size_t puzzles, std::size_t wanted)
{
    std::vector<CandidateGrid> grids;
    std::ifstream in(std::string(GRIDLARK_ORACLE_DIR) + "/" + set);
    std::size_t read = 0;
    for (std::string line; read < puzzles && grids.size() < wanted && std::getline(in, line); ++read) {
        CandidateGrid grid = *CandidateGrid::fromValues(valuesOfLine(line));
        const Rating rating = PuzzleRater::rate(grid);
        for (const Step& step : rating.steps) {
            if (step.weight >= 6.5 && grids.size() < wanted)
                grids.push_back(grid);
            LogicalSolver::applyStep(grid, step);
        }
    }
    return grids;
}

std::optional<Step> findCapped(const CandidateGrid& grid, Technique kind, const WeightCap& cap)
{
    switch (kind) {
    case Technique::XCycle:
    case Technique::YCycle:
    case Technique::BidirectionalCycle: return techniques::findCycle(grid, kind, cap);
    case Technique::XChain:
    case Technique::XYChain:
    case Technique::Aic: return techniques::findChain(grid, kind, cap);
    default: return techniques::findForcingChain(grid, kind, cap);
    }
}

void expectSameStep(const std::optional<Step>& capped, const Step& free, const CandidateGrid& grid, const char* what)
{
    ASSERT_TRUE(capped) << what << ": " << StepText::describe(free, grid.getLayout());
    EXPECT_EQ(StepText::describe(*capped, grid.getLayout()), StepText::describe(free, grid.getLayout())) << what;
    EXPECT_EQ(capped->weight, free.weight) << what;
    EXPECT_EQ(capped->proof, free.proof) << what;
    EXPECT_EQ(capped->eliminations, free.eliminations) << what;
    EXPECT_EQ(capped->placements, free.placements) << what;
}

TEST(WeightCap, ChainsCycleAndForcingChainsFindTheSameStepWhenItFitsAndNothingLighterOtherwise)
{
    std::vector<CandidateGrid> grids = chainGrids("17_clue_49158.txt", 300, 60);
    for (CandidateGrid& grid : chainGrids("magictour_top1465.txt", 20, 60))
        grids.push_back(std::move(grid));
    ASSERT_GE(grids.size(), 100u);
    const Technique kinds[] = {Technique::XCycle,     Technique::YCycle,  Technique::BidirectionalCycle,
                               Technique::XChain,     Technique::XYChain, Technique::Aic,
                               Technique::ContradictionChain, Technique::Nishio, Technique::CellForcingChain,
                               Technique::UnitForcingChain};
    std::map<Technique, int> found;
    for (const CandidateGrid& grid : grids)
        for (const Technique kind : kinds) {
            const std::optional<Step> free = findCapped(grid, kind, {});
            if (!free)
                continue;
            ++found[kind];
            const double weight = free->weight;
            expectSameStep(findCapped(grid, kind, {1e9, weight + 0.1}), *free, grid, "below a tenth more");
            expectSameStep(findCapped(grid, kind, {weight, 1e9}), *free, grid, "at most its weight");
            // The finders return their lightest step: with it cut off, nothing is left.
            EXPECT_FALSE(findCapped(grid, kind, {1e9, weight})) << techniqueInfo(kind).name;
            EXPECT_FALSE(findCapped(grid, kind, {weight - 0.1, 1e9})) << techniqueInfo(kind).name;
        }
    for (const Technique kind : kinds)
        EXPECT_GT(found[kind], 0) << techniqueInfo(kind).name << " found nowhere: the grids test nothing";
}

TEST(WeightCap, MaxNodesIsTheLongestChainThatFits)
{
    // X-chains: 6.6 with up to 4 nodes, 6.7 up to 6, 6.8 up to 8, 6.9 up to 12.
    EXPECT_EQ((WeightCap{1e9, 6.9}.maxNodes(Technique::XChain, 100)), 8);
    EXPECT_EQ((WeightCap{6.9, 1e9}.maxNodes(Technique::XChain, 100)), 12);
    EXPECT_EQ((WeightCap{1e9, 6.7}.maxNodes(Technique::XChain, 100)), 4);
    EXPECT_EQ((WeightCap{1e9, 6.6}.maxNodes(Technique::XChain, 100)), 0);
    EXPECT_EQ((WeightCap{}.maxNodes(Technique::XChain, 100)), 100);
    EXPECT_EQ((WeightCap{6.9, 1e9}.maxNodes(Technique::XChain, 10)), 10);
}

}  // namespace
