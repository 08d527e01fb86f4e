#pragma once

#include "CandidateGrid.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <vector>

// Exact depth-first counting of solutions, with singles placed at every node and
// branching on the blank cell with the fewest candidates.
class SolutionCounter {
public:
    // Number of solutions up to limit (the search stops there). The first solution
    // found goes to solution when it is given.
    static int count(const CandidateGrid& grid, int limit, std::vector<int>* solution = nullptr);

    // As count, but gives up (nothing) after visiting nodeBudget search nodes.
    static std::optional<int> countWithin(const CandidateGrid& grid, int limit, std::int64_t nodeBudget,
                                          std::vector<int>* solution = nullptr);

    // Whether the grid has a solution other than known (one of its solutions) that
    // differs from it in one of the cells: nothing when the budget ran out first. Values
    // are tried known's first: another solution of a puzzle less a few givens mostly
    // differs from it in a few cells, often found in a few nodes.
    static std::optional<bool> findOtherWithin(const CandidateGrid& grid, const std::vector<int>& known,
                                               const std::vector<int>& cells, std::int64_t nodeBudget);

    // A complete grid drawn at random (candidates tried in shuffled order).
    static std::vector<int> randomSolution(int innerSize, std::mt19937_64& random);

private:
    SolutionCounter(int limit, std::vector<int>* solution, std::mt19937_64* random, std::int64_t nodeBudget,
                    const std::vector<int>* preferred = nullptr)
        : limit(limit), solution(solution), random(random), preferred(preferred), nodesLeft(nodeBudget)
    {
    }

    // Counts from a grid not yet propagated.
    int searchFrom(const CandidateGrid& grid);
    // Counts from a grid with its singles placed and its tally.
    int search(const CandidateGrid& grid, const CandidateGrid::SinglesTally& tally, std::size_t depth);

    struct Child {
        CandidateGrid grid;
        CandidateGrid::SinglesTally tally;
    };
    // One child per depth, reused from node to node so that the search does not allocate
    // once it has been as deep; a deque keeps the children in place while it grows.
    std::deque<Child> children;

    int limit;
    std::vector<int>* solution;
    std::mt19937_64* random;
    // Values tried first, one per cell.
    const std::vector<int>* preferred;
    std::int64_t nodesLeft;
    int found = 0;
};
