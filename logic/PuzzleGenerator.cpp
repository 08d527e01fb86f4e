#include "PuzzleGenerator.h"

#include "SolutionCounter.h"

#include <algorithm>

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

GeneratedPuzzle PuzzleGenerator::makeMinimal()
{
    GeneratedPuzzle puzzle;
    puzzle.solution = SolutionCounter::randomSolution(options.innerSize, random);
    puzzle.givens = puzzle.solution;
    std::vector<std::vector<int>> groups = symmetryGroups();
    for (std::size_t i = groups.size(); i > 1; --i)
        std::swap(groups[i - 1], groups[static_cast<std::size_t>(random() % i)]);
    // A group whose removal allows a second solution is needed now and stays needed
    // however many givens go later, so one pass leaves a minimal puzzle. A count that
    // runs past its budget (sparse large grids) keeps the group, to stay unique.
    const std::int64_t budget = kNodeBudgetPerCell * static_cast<std::int64_t>(puzzle.givens.size());
    for (const std::vector<int>& group : groups) {
        std::vector<int> trial = puzzle.givens;
        for (const int cell : group)
            trial[static_cast<std::size_t>(cell)] = 0;
        const std::optional<int> count = SolutionCounter::countWithin(*CandidateGrid::fromValues(trial), 2, budget);
        if (count == 1)
            puzzle.givens = std::move(trial);
        puzzle.minimal &= count.has_value();
    }
    return puzzle;
}

std::optional<GeneratedPuzzle> PuzzleGenerator::next()
{
    if (options.innerSize < 1 || options.innerSize > CandidateGrid::kMaxInnerSize)
        return std::nullopt;
    for (int attempt = 0; attempt < options.maxAttempts; ++attempt) {
        GeneratedPuzzle puzzle = makeMinimal();
        puzzle.rating = PuzzleRater::rate(*CandidateGrid::fromValues(puzzle.givens));
        if (!options.level || puzzle.rating.level == *options.level)
            return puzzle;
    }
    return std::nullopt;
}
