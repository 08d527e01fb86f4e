#include "SolutionCounter.h"

#include <bit>
#include <limits>

int SolutionCounter::count(const CandidateGrid& grid, int limit, std::vector<int>* solution)
{
    CandidateGrid copy = grid;
    SolutionCounter counter(limit, solution, nullptr, std::numeric_limits<std::int64_t>::max());
    return counter.search(copy);
}

std::optional<int> SolutionCounter::countWithin(const CandidateGrid& grid, int limit, std::int64_t nodeBudget)
{
    CandidateGrid copy = grid;
    SolutionCounter counter(limit, nullptr, nullptr, nodeBudget);
    const int found = counter.search(copy);
    if (counter.nodesLeft < 0)
        return std::nullopt;
    return found;
}

std::vector<int> SolutionCounter::randomSolution(int innerSize, std::mt19937_64& random)
{
    CandidateGrid grid(innerSize);
    std::vector<int> solution;
    SolutionCounter counter(1, &solution, &random, std::numeric_limits<std::int64_t>::max());
    counter.search(grid);
    return solution;
}

int SolutionCounter::search(CandidateGrid& grid)
{
    if (--nodesLeft < 0 || !grid.propagateSingles())
        return 0;
    if (grid.isSolved()) {
        if (solution && solution->empty())
            *solution = grid.getValues();
        ++found;
        return 1;
    }
    int branchCell = -1;
    int fewest = grid.getSize() + 1;
    for (int cell = 0; cell < grid.getCellCount() && fewest > 2; ++cell) {
        const int count = std::popcount(grid.getCandidates(cell));
        if (grid.getValue(cell) == 0 && count < fewest) {
            fewest = count;
            branchCell = cell;
        }
    }
    std::vector<int> order;
    for (CandidateGrid::Mask m = grid.getCandidates(branchCell); m; m &= m - 1)
        order.push_back(std::countr_zero(m) + 1);
    if (random)
        for (std::size_t i = order.size(); i > 1; --i)
            std::swap(order[i - 1], order[static_cast<std::size_t>((*random)() % i)]);
    int here = 0;
    for (const int value : order) {
        CandidateGrid child = grid;
        child.place(branchCell, value);
        here += search(child);
        if (found >= limit || nodesLeft < 0)
            break;
    }
    return here;
}
