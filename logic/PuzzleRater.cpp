#include "PuzzleRater.h"

#include "CompleteSolver.h"
#include "LogicalSolver.h"
#include "SolutionCounter.h"

#include <algorithm>

int PuzzleRater::countSolutions(const CandidateGrid& puzzle, std::vector<int>* solution)
{
    // Most counts end within a few nodes. A sparse large grid's can run for hours;
    // the complete engine settles it in milliseconds.
    std::vector<int> found;
    std::optional<int> solutions = SolutionCounter::countWithin(puzzle, 2, kQuickCountNodes, &found);
    if (!solutions) {
        CompleteSolver complete;
        solutions = static_cast<int>(complete.solve(puzzle.getInnerSize(), puzzle.getValues(), 2));
        found = complete.getSolution(0);
    }
    if (solution)
        *solution = std::move(found);
    return *solutions;
}

Rating PuzzleRater::rate(const CandidateGrid& puzzle)
{
    std::vector<int> solution;
    const int solutions = countSolutions(puzzle, &solution);
    if (solutions != 1) {
        Rating result;
        result.status = solutions == 0 ? Rating::Status::NoSolution : Rating::Status::ManySolutions;
        return result;
    }
    return rateUnique(puzzle, std::move(solution));
}

namespace {

// The solution's candidate that step removes, if any: a value eliminated where the
// solution has it, or another value placed.
std::optional<Candidate> lostCandidate(const Step& step, const std::vector<int>& solution)
{
    for (const Candidate& c : step.placements)
        if (solution[static_cast<std::size_t>(c.cell)] != c.value)
            return Candidate{c.cell, solution[static_cast<std::size_t>(c.cell)]};
    for (const Candidate& c : step.eliminations)
        if (solution[static_cast<std::size_t>(c.cell)] == c.value)
            return c;
    return std::nullopt;
}

} // namespace

Rating PuzzleRater::rateUnique(const CandidateGrid& puzzle, std::vector<int> solution)
{
    Rating result;
    result.solution = std::move(solution);
    result.status = Rating::Status::Rated;
    CandidateGrid grid = puzzle;
    const LogicalSolver solver(true);
    // Every step is checked against the solution before it is taken: past a step that
    // loses it, the techniques that assume one solution would work on a broken grid.
    while (std::optional<Step> step = solver.findNextStep(grid)) {
        result.rating = std::max(result.rating, step->weight);
        ++result.counts[static_cast<std::size_t>(step->technique)];
        const std::optional<Candidate> lost = lostCandidate(*step, result.solution);
        result.steps.push_back(std::move(*step));
        if (lost) {
            result.status = Rating::Status::LostSolution;
            result.lost = *lost;
            break;
        }
        LogicalSolver::applyStep(grid, result.steps.back());
    }
    // Stuck short of the solution: past what nested forcing chains prove within their
    // budget, so past the scale.
    if (result.status == Rating::Status::Rated && !grid.isSolved()) {
        result.beyondScale = true;
        result.rating = kCeiling;
    }
    result.level = levelOf(result.rating);
    return result;
}

Level PuzzleRater::levelOf(double rating)
{
    for (const LevelInfo& info : kLevels)
        if (rating <= info.maxRating)
            return info.level;
    return Level::Extreme;
}

std::string_view PuzzleRater::levelName(Level level)
{
    return kLevels[static_cast<std::size_t>(level)].name;
}

std::optional<Level> PuzzleRater::parseLevel(std::string_view name)
{
    for (const LevelInfo& info : kLevels)
        if (info.name == name)
            return info.level;
    return std::nullopt;
}
