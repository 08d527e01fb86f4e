// Forcing chains: assume a candidate and follow the singles it forces. An assumption
// that ends in a contradiction is false; a result that every candidate of a cell (or
// every place of a value in a unit) forces is true. The dynamic form also applies
// locked candidates on the way; the deep form follows an assumption to the end with
// the exact solution counter.
#include "SolutionCounter.h"
#include "Techniques.h"

#include <algorithm>
#include <bit>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

int lowestValue(Mask mask) { return std::countr_zero(mask) + 1; }

// Search nodes for the first round of deep forcing chains.
constexpr std::int64_t kFirstDeepBudget = 256;

// Blank cells, fewest candidates first, so that the cheap and telling cases come first.
std::vector<int> blankCellsByCount(const CandidateGrid& grid)
{
    std::vector<int> cells;
    for (int cell = 0; cell < grid.getCellCount(); ++cell)
        if (grid.getValue(cell) == 0)
            cells.push_back(cell);
    std::stable_sort(cells.begin(), cells.end(), [&](int a, int b) {
        return std::popcount(grid.getCandidates(a)) < std::popcount(grid.getCandidates(b));
    });
    return cells;
}

std::optional<CandidateGrid> assume(const CandidateGrid& grid, Candidate candidate, bool dynamic = false)
{
    CandidateGrid branch = grid;
    branch.place(candidate.cell, candidate.value);
    while (true) {
        if (!branch.propagateSingles())
            return std::nullopt;
        std::optional<Step> locked;
        if (dynamic && ((locked = findPointing(branch)) || (locked = findClaiming(branch)))) {
            for (const Candidate& c : locked->eliminations)
                branch.eliminate(c.cell, c.value);
            continue;
        }
        return branch;
    }
}

Step eliminationStep(Technique kind, Candidate candidate)
{
    Step step;
    step.technique = kind;
    step.proof = {candidate};
    step.eliminations = {candidate};
    step.digits = {candidate.value};
    return step;
}

std::optional<Step> contradiction(const CandidateGrid& grid, Technique kind)
{
    for (const int cell : blankCellsByCount(grid))
        for (Mask m = grid.getCandidates(cell); m; m &= m - 1) {
            const Candidate candidate{cell, lowestValue(m)};
            if (!assume(grid, candidate, kind == Technique::DynamicForcingChain))
                return eliminationStep(kind, candidate);
        }
    return std::nullopt;
}

// The counter refutes some assumptions in a few nodes and others only after a search
// of the whole branch, which on large grids can take hours: every candidate gets a small
// budget first, and the budget grows only while some count ran past it.
std::optional<Step> deepContradiction(const CandidateGrid& grid)
{
    const std::vector<int> cells = blankCellsByCount(grid);
    for (std::int64_t budget = kFirstDeepBudget;; budget *= 8) {
        bool unfinished = false;
        for (const int cell : cells)
            for (Mask m = grid.getCandidates(cell); m; m &= m - 1) {
                const Candidate candidate{cell, lowestValue(m)};
                CandidateGrid branch = grid;
                branch.place(candidate.cell, candidate.value);
                const std::optional<int> solutions = SolutionCounter::countWithin(branch, 1, budget);
                if (solutions == 0)
                    return eliminationStep(Technique::DeepForcingChain, candidate);
                unfinished |= !solutions;
            }
        if (!unfinished)
            return std::nullopt;
    }
}

// What every branch agrees on and the grid does not yet show.
std::optional<Step> common(const CandidateGrid& grid, Technique kind, const std::vector<Candidate>& premises)
{
    // A cell without candidates (a grid that has lost its solution) gives no premise.
    if (premises.empty())
        return std::nullopt;
    std::vector<CandidateGrid> branches;
    for (const Candidate& premise : premises) {
        std::optional<CandidateGrid> branch = assume(grid, premise);
        if (!branch)
            return std::nullopt;
        branches.push_back(std::move(*branch));
    }
    Step step;
    step.technique = kind;
    step.proof = premises;
    for (int cell = 0; cell < grid.getCellCount(); ++cell) {
        if (grid.getValue(cell) != 0)
            continue;
        const int value = branches.front().getValue(cell);
        if (value != 0 && std::all_of(branches.begin(), branches.end(),
                                      [&](const CandidateGrid& b) { return b.getValue(cell) == value; })) {
            step.placements.push_back({cell, value});
            continue;
        }
        for (Mask m = grid.getCandidates(cell); m; m &= m - 1) {
            const int v = lowestValue(m);
            if (std::none_of(branches.begin(), branches.end(), [&](const CandidateGrid& b) {
                    return b.getValue(cell) == v || b.hasCandidate(cell, v);
                }))
                step.eliminations.push_back({cell, v});
        }
    }
    if (step.placements.empty() && step.eliminations.empty())
        return std::nullopt;
    for (const Candidate& c : step.placements)
        step.digits.push_back(c.value);
    return step;
}

constexpr int kMaxBranches = 4;

}  // namespace

std::optional<Step> findForcingChain(const CandidateGrid& grid, Technique kind)
{
    if (kind == Technique::DeepForcingChain)
        return deepContradiction(grid);
    if (kind == Technique::ContradictionChain || kind == Technique::DynamicForcingChain)
        return contradiction(grid, kind);
    if (kind == Technique::CellForcingChain) {
        for (const int cell : blankCellsByCount(grid)) {
            const Mask mask = grid.getCandidates(cell);
            if (std::popcount(mask) > kMaxBranches)
                break;
            std::vector<Candidate> premises;
            for (Mask m = mask; m; m &= m - 1)
                premises.push_back({cell, lowestValue(m)});
            if (auto step = common(grid, kind, premises))
                return step;
        }
        return std::nullopt;
    }
    const GridLayout& layout = grid.getLayout();
    for (int unit = 0; unit < layout.unitCount; ++unit)
        for (int value = 1; value <= grid.getSize(); ++value) {
            std::vector<Candidate> premises;
            const int* cells = layout.cellsOf(unit);
            for (int i = 0; i < grid.getSize(); ++i)
                if (grid.hasCandidate(cells[i], value))
                    premises.push_back({cells[i], value});
            if (premises.size() < 2 || premises.size() > kMaxBranches)
                continue;
            if (auto step = common(grid, kind, premises)) {
                step->units = {unit};
                return step;
            }
        }
    return std::nullopt;
}

}  // namespace techniques
