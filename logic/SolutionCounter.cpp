#include "SolutionCounter.h"

#include <array>
#include <bit>
#include <limits>

int SolutionCounter::count(const CandidateGrid& grid, int limit, std::vector<int>* solution)
{
    SolutionCounter counter(limit, solution, nullptr, std::numeric_limits<std::int64_t>::max());
    return counter.searchFrom(grid);
}

std::optional<int> SolutionCounter::countWithin(const CandidateGrid& grid, int limit, std::int64_t nodeBudget,
                                                std::vector<int>* solution)
{
    SolutionCounter counter(limit, solution, nullptr, nodeBudget);
    const int found = counter.searchFrom(grid);
    if (counter.nodesLeft < 0)
        return std::nullopt;
    return found;
}

std::optional<bool> SolutionCounter::findOtherWithin(const CandidateGrid& grid, const std::vector<int>& known,
                                                     const std::vector<int>& cells, std::int64_t nodeBudget)
{
    SolutionCounter counter(1, nullptr, nullptr, nodeBudget, &known);
    // Differing first in cells[i]: the cells before it keep their known values.
    CandidateGrid trial = grid;
    for (const int cell : cells) {
        const int value = known[static_cast<std::size_t>(cell)];
        CandidateGrid differing = trial;
        if (differing.getValue(cell) == 0 && differing.eliminate(cell, value) && counter.searchFrom(differing) > 0)
            return true;
        if (counter.nodesLeft < 0)
            return std::nullopt;
        if (trial.getValue(cell) == 0)
            trial.place(cell, value);
    }
    return false;
}

std::vector<int> SolutionCounter::randomSolution(int innerSize, std::mt19937_64& random)
{
    std::vector<int> solution;
    SolutionCounter counter(1, &solution, &random, std::numeric_limits<std::int64_t>::max());
    counter.searchFrom(CandidateGrid(innerSize));
    return solution;
}

int SolutionCounter::searchFrom(const CandidateGrid& grid)
{
    CandidateGrid root = grid;
    CandidateGrid::SinglesTally tally;
    if (--nodesLeft < 0 || !root.propagateSingles(tally))
        return 0;
    return search(root, tally, 0);
}

int SolutionCounter::search(const CandidateGrid& grid, const CandidateGrid::SinglesTally& tally, std::size_t depth)
{
    if (grid.isSolved()) {
        if (solution && solution->empty())
            *solution = grid.getValues();
        ++found;
        return 1;
    }
    int branchCell = -1;
    int fewest = grid.getSize() + 1;
    for (int cell = 0; cell < grid.getCellCount() && fewest > 2; ++cell) {
        if (grid.getValue(cell) != 0)
            continue;
        const int count = CandidateGrid::valueCount(grid.getCandidates(cell));
        if (count < fewest) {
            fewest = count;
            branchCell = cell;
        }
    }
    std::array<int, 64> order;
    int values = 0;
    for (CandidateGrid::Mask m = grid.getCandidates(branchCell); m; m &= m - 1)
        order[static_cast<std::size_t>(values++)] = std::countr_zero(m) + 1;
    if (preferred)
        for (int i = 1; i < values; ++i)
            if (order[static_cast<std::size_t>(i)] == (*preferred)[static_cast<std::size_t>(branchCell)])
                std::swap(order[0], order[static_cast<std::size_t>(i)]);
    if (random)
        for (int i = values; i > 1; --i)
            std::swap(order[static_cast<std::size_t>(i - 1)], order[static_cast<std::size_t>((*random)() % static_cast<unsigned>(i))]);
    if (children.size() <= depth)
        children.push_back({grid, tally});
    Child& child = children[depth];
    int here = 0;
    for (int i = 0; i < values; ++i) {
        child.grid = grid;
        child.tally = tally;
        if (--nodesLeft < 0)
            break;
        if (child.grid.placeAndPropagate(branchCell, order[static_cast<std::size_t>(i)], child.tally))
            here += search(child.grid, child.tally, depth + 1);
        if (found >= limit || nodesLeft < 0)
            break;
    }
    return here;
}
