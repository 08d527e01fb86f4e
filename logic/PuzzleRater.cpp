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

Rating PuzzleRater::rateUnique(const CandidateGrid& puzzle, std::vector<int> solution)
{
    Rating result;
    result.solution = std::move(solution);
    result.status = Rating::Status::Rated;
    CandidateGrid grid = puzzle;
    LogicalPath path = LogicalSolver(true).solve(grid);
    for (const Step& step : path.steps) {
        result.rating = std::max(result.rating, techniqueInfo(step.technique).weight);
        ++result.counts[static_cast<std::size_t>(step.technique)];
    }
    result.level = levelOf(result.rating);
    result.steps = std::move(path.steps);
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
