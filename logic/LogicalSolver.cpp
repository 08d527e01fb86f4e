#include "LogicalSolver.h"

#include "Techniques.h"

#include <algorithm>

using namespace techniques;

std::optional<Step> LogicalSolver::findStep(const CandidateGrid& grid, Technique technique) const
{
    return findStep(grid, technique, {});
}

std::optional<Step> LogicalSolver::findStep(const CandidateGrid& grid, Technique technique, const WeightCap& cap) const
{
    std::optional<Step> step = findByTechnique(grid, technique, cap);
    if (!step)
        return step;
    // A pattern the scale lacks weighs as the chain it is: an X-chain through its cells,
    // a W-Wing an alternating inference chain.
    if (!techniqueInfo(technique).onScale)
        step->weight = chainWeight(technique == Technique::WWing ? Technique::Aic : Technique::XChain,
                                   static_cast<int>(step->proof.size()));
    step->weight = std::max(step->weight, techniqueInfo(technique).weight);
    return step;
}

std::optional<Step> LogicalSolver::findByTechnique(const CandidateGrid& grid, Technique technique,
                                                   const WeightCap& cap) const
{
    switch (technique) {
    case Technique::FullHouse: return findFullHouse(grid);
    case Technique::HiddenSingleBox: return findHiddenSingle(grid, true);
    case Technique::HiddenSingleLine: return findHiddenSingle(grid, false);
    case Technique::DirectPointing:
    case Technique::DirectHiddenPair:
    case Technique::DirectHiddenTriple: return findDirect(grid, technique);
    case Technique::NakedSingle: return findNakedSingle(grid);
    case Technique::Pointing: return findPointing(grid);
    case Technique::Claiming: return findClaiming(grid);
    case Technique::NakedPair: return findNakedSubset(grid, 2);
    case Technique::NakedTriple: return findNakedSubset(grid, 3);
    case Technique::NakedQuad: return findNakedSubset(grid, 4);
    case Technique::HiddenPair: return findHiddenSubset(grid, 2);
    case Technique::HiddenTriple: return findHiddenSubset(grid, 3);
    case Technique::HiddenQuad: return findHiddenSubset(grid, 4);
    case Technique::XWing: return findFish(grid, 2, false);
    case Technique::Swordfish: return findFish(grid, 3, false);
    case Technique::Jellyfish: return findFish(grid, 4, false);
    case Technique::FinnedXWing: return findFish(grid, 2, true);
    case Technique::FinnedSwordfish: return findFish(grid, 3, true);
    case Technique::FinnedJellyfish: return findFish(grid, 4, true);
    case Technique::Skyscraper: return findSkyscraper(grid);
    case Technique::TwoStringKite: return findTwoStringKite(grid);
    case Technique::XYWing: return findWing(grid, false);
    case Technique::XYZWing: return findWing(grid, true);
    case Technique::WWing: return findWWing(grid);
    case Technique::SimpleColouring: return findSimpleColouring(grid);
    case Technique::UniqueRectangle1:
    case Technique::UniqueRectangle2:
    case Technique::UniqueRectangle3:
    case Technique::UniqueRectangle4:
        return uniqueSolutionKnown ? findUniqueRectangle(grid, technique) : std::nullopt;
    case Technique::UniqueLoop1:
    case Technique::UniqueLoop2:
    case Technique::UniqueLoop3:
    case Technique::UniqueLoop4: return uniqueSolutionKnown ? findUniqueLoop(grid, technique) : std::nullopt;
    case Technique::BugPlusOne: return uniqueSolutionKnown ? findBugPlusOne(grid) : std::nullopt;
    case Technique::AlignedPairExclusion: return findAlignedPairExclusion(grid);
    case Technique::AlignedTripleExclusion: return findAlignedTripleExclusion(grid);
    case Technique::XCycle:
    case Technique::YCycle:
    case Technique::BidirectionalCycle: return findCycle(grid, technique, cap);
    case Technique::XChain:
    case Technique::XYChain:
    case Technique::Aic: return findChain(grid, technique, cap);
    case Technique::ContradictionChain:
    case Technique::Nishio:
    case Technique::CellForcingChain:
    case Technique::UnitForcingChain:
    case Technique::DynamicForcingChain:
    case Technique::DynamicForcingChainPlus:
    case Technique::NestedForcingChain:
    case Technique::NestedMultipleForcingChain:
    case Technique::NestedDynamicForcingChain: return findForcingChain(grid, technique, cap);
    }
    return std::nullopt;
}

std::optional<Step> LogicalSolver::findNextStep(const CandidateGrid& grid) const
{
    if (grid.isSolved())
        return std::nullopt;
    // The table is ordered by base weight, so the cap ends the search. A chain weighs
    // more than its base, so the techniques after it whose base is lower still may find
    // an easier step; the easiest wins, the first of equals.
    std::optional<Step> best;
    for (const TechniqueInfo& info : kTechniques) {
        if (info.weight > maxWeight || (best && info.weight >= best->weight))
            break;
        WeightCap cap{maxWeight};
        if (best)
            cap.below = best->weight;
        std::optional<Step> step = findStep(grid, info.technique, cap);
        if (step && step->weight <= maxWeight && (!best || step->weight < best->weight))
            best = std::move(step);
    }
    return best;
}

void LogicalSolver::applyStep(CandidateGrid& grid, const Step& step)
{
    for (const Candidate& c : step.placements)
        grid.place(c.cell, c.value);
    for (const Candidate& c : step.eliminations)
        if (grid.getValue(c.cell) == 0)
            grid.eliminate(c.cell, c.value);
}

LogicalPath LogicalSolver::solve(CandidateGrid& grid) const
{
    LogicalPath path;
    while (std::optional<Step> step = findNextStep(grid)) {
        applyStep(grid, *step);
        path.steps.push_back(std::move(*step));
    }
    path.solved = grid.isSolved();
    return path;
}
