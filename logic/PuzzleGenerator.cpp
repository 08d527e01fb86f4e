#include "PuzzleGenerator.h"

#include "CompleteSolver.h"
#include "LogicalSolver.h"
#include "SolutionCounter.h"

#include <algorithm>

namespace {

bool assumesOneSolution(Technique technique)
{
    return (technique >= Technique::UniqueRectangle1 && technique <= Technique::UniqueLoop3) ||
        technique == Technique::BugPlusOne;
}

} // namespace

PuzzleGenerator::PuzzleGenerator(const GeneratorOptions& options) : options(options), random(options.seed) {}

std::optional<Symmetry> PuzzleGenerator::parseSymmetry(std::string_view name)
{
    if (name == "none")
        return Symmetry::None;
    if (name == "rotational")
        return Symmetry::Rotational;
    if (name == "diagonal")
        return Symmetry::Diagonal;
    if (name == "mirror")
        return Symmetry::Mirror;
    return std::nullopt;
}

std::vector<std::vector<int>> PuzzleGenerator::symmetryGroups() const
{
    const int size = options.innerSize * options.innerSize;
    std::vector<std::vector<int>> groups;
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c) {
            int mr = r, mc = c;
            switch (options.symmetry) {
            case Symmetry::None: break;
            case Symmetry::Rotational: mr = size - 1 - r; mc = size - 1 - c; break;
            case Symmetry::Diagonal: mr = c; mc = r; break;
            case Symmetry::Mirror: mc = size - 1 - c; break;
            }
            const int cell = r * size + c;
            const int mate = mr * size + mc;
            // Each group once, from its first cell.
            if (mate < cell)
                continue;
            groups.push_back(mate == cell ? std::vector<int>{cell} : std::vector<int>{cell, mate});
        }
    return groups;
}

double PuzzleGenerator::levelCap() const
{
    // Extreme has no ceiling, and any level takes what the digging leaves.
    if (!options.level || *options.level == Level::Extreme)
        return LogicalSolver::kNoCap;
    return kLevels[static_cast<std::size_t>(*options.level)].maxRating;
}

bool PuzzleGenerator::staysUnique(const std::vector<int>& givens, const std::vector<int>& group,
                                  const std::vector<int>& solution, double cap) const
{
    const CandidateGrid grid = *CandidateGrid::fromValues(givens);
    const std::int64_t budget = kNodeBudgetPerCell * static_cast<std::int64_t>(givens.size());
    const bool capped = cap < LogicalSolver::kNoCap;
    // Most groups are kept for a second solution, which a count finds far sooner than
    // the techniques fail; below extreme a short count does, since the techniques decide.
    std::optional<int> count = SolutionCounter::countWithin(grid, 2, capped ? kQuickCountNodes : budget);
    // Another solution differs in the group; one near the known solution is often found
    // at once where the count gets lost in a sparse large grid.
    if (!count)
        if (const std::optional<bool> other = SolutionCounter::findOtherWithin(grid, solution, group, kQuickCountNodes))
            count = *other ? 2 : 1;
    if (count == 2)
        return false;
    if (count == 1 && !capped)
        return true;
    CandidateGrid work = grid;
    if (!capped) {
        // Techniques short of forcing chains prove most sparse grids unique sooner than
        // the complete engine counts them.
        if (LogicalSolver(false, kLevels[static_cast<std::size_t>(Level::Expert)].maxRating).solve(work).solved)
            return true;
        CompleteSolver complete;
        return !complete.hasOtherSolution(grid.getInnerSize(), givens, solution, group);
    }
    // The level's techniques with unique rectangles, as the puzzle is rated: a grid they
    // cannot finish is either above the level or without one solution, and goes either
    // way. Those techniques assume one solution, so a path that took one is no proof of
    // it until the complete engine has counted.
    const LogicalPath path = LogicalSolver(true, cap).solve(work);
    if (!path.solved)
        return false;
    if (count == 1 || std::none_of(path.steps.begin(), path.steps.end(), [](const Step& step) {
            return assumesOneSolution(step.technique);
        }))
        return true;
    CompleteSolver complete;
    return !complete.hasOtherSolution(grid.getInnerSize(), givens, solution, group);
}

GeneratedPuzzle PuzzleGenerator::makeMinimal()
{
    GeneratedPuzzle puzzle;
    puzzle.solution = SolutionCounter::randomSolution(options.innerSize, random);
    puzzle.givens = puzzle.solution;
    std::vector<std::vector<int>> groups = symmetryGroups();
    for (std::size_t i = groups.size(); i > 1; --i)
        std::swap(groups[i - 1], groups[static_cast<std::size_t>(random() % i)]);
    const auto without = [&](const std::vector<int>& group) {
        std::vector<int> trial = puzzle.givens;
        for (const int cell : group)
            trial[static_cast<std::size_t>(cell)] = 0;
        return trial;
    };
    // A grid that singles alone fill has one solution and is at every level's reach,
    // so a first pass takes all the groups singles can spare without counting.
    std::vector<const std::vector<int>*> rest;
    for (const std::vector<int>& group : groups) {
        std::vector<int> trial = without(group);
        if (CandidateGrid grid = *CandidateGrid::fromValues(trial); grid.propagateSingles() && grid.isSolved())
            puzzle.givens = std::move(trial);
        else
            rest.push_back(&group);
    }
    // Taking givens away never makes a grid easier or gives back uniqueness, so a group
    // needed now stays needed however many go later: one pass leaves no group to spare.
    // Easy allows singles alone, which the first pass has already given every chance.
    const double cap = levelCap();
    if (cap <= kLevels[static_cast<std::size_t>(Level::Easy)].maxRating)
        return puzzle;
    for (const std::vector<int>* group : rest) {
        std::vector<int> trial = without(*group);
        if (staysUnique(trial, *group, puzzle.solution, cap))
            puzzle.givens = std::move(trial);
    }
    return puzzle;
}

std::optional<GeneratedPuzzle> PuzzleGenerator::next()
{
    if (options.innerSize < 1 || options.innerSize > CandidateGrid::kMaxInnerSize)
        return std::nullopt;
    for (int attempt = 0; attempt < options.maxAttempts; ++attempt) {
        GeneratedPuzzle puzzle = makeMinimal();
        puzzle.rating = PuzzleRater::rateUnique(*CandidateGrid::fromValues(puzzle.givens), puzzle.solution);
        // A path that lost the solution gives no level to trust.
        if (puzzle.rating.status == Rating::Status::Rated && (!options.level || puzzle.rating.level == *options.level))
            return puzzle;
    }
    return std::nullopt;
}
