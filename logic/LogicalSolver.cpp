#include "LogicalSolver.h"

#include "Techniques.h"

using namespace techniques;

std::optional<Step> LogicalSolver::findStep(const CandidateGrid& grid, Technique technique) const
{
    switch (technique) {
    case Technique::FullHouse: return findFullHouse(grid);
    case Technique::HiddenSingleBox: return findHiddenSingle(grid, true);
    case Technique::HiddenSingleLine: return findHiddenSingle(grid, false);
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
        return uniqueSolutionKnown ? findUniqueRectangle(grid, 1) : std::nullopt;
    case Technique::UniqueRectangle2:
        return uniqueSolutionKnown ? findUniqueRectangle(grid, 2) : std::nullopt;
    case Technique::BugPlusOne: return uniqueSolutionKnown ? findBugPlusOne(grid) : std::nullopt;
    case Technique::XChain:
    case Technique::XYChain:
    case Technique::Aic: return findChain(grid, technique);
    case Technique::ContradictionChain:
    case Technique::CellForcingChain:
    case Technique::UnitForcingChain:
    case Technique::DynamicForcingChain:
    case Technique::DeepForcingChain: return findForcingChain(grid, technique);
    }
    return std::nullopt;
}

std::optional<Step> LogicalSolver::findNextStep(const CandidateGrid& grid) const
{
    if (grid.isSolved())
        return std::nullopt;
    // The table is ordered by weight, so the cap ends the search.
    for (const TechniqueInfo& info : kTechniques) {
        if (info.weight > maxWeight)
            break;
        if (std::optional<Step> step = findStep(grid, info.technique))
            return step;
    }
    return std::nullopt;
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
