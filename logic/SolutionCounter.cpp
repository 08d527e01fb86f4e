#include "SolutionCounter.h"

#include <bit>

int SolutionCounter::count(const CandidateGrid& grid, int limit, std::vector<int>* solution)
{
    CandidateGrid copy = grid;
    return search(copy, limit, solution, nullptr);
}

std::vector<int> SolutionCounter::randomSolution(int innerSize, std::mt19937_64& random)
{
    CandidateGrid grid(innerSize);
    std::vector<int> solution;
    search(grid, 1, &solution, &random);
    return solution;
}

int SolutionCounter::search(CandidateGrid& grid, int limit, std::vector<int>* solution, std::mt19937_64* random)
{
    if (!grid.propagateSingles())
        return 0;
    if (grid.isSolved()) {
        if (solution && solution->empty())
            *solution = grid.getValues();
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
    int found = 0;
    for (const int value : order) {
        CandidateGrid child = grid;
        child.place(branchCell, value);
        found += search(child, limit - found, solution, random);
        if (found >= limit)
            break;
    }
    return found;
}
