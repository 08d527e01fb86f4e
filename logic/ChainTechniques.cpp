// Alternating inference chains: strong link, weak link, strong link ... from a start
// candidate s to an end z, so that s being false makes z true. Whatever sees both
// ends is false. X-chains keep to one value, XY-chains to bivalue cells.
#include "Techniques.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

class ChainSearch {
public:
    ChainSearch(const CandidateGrid& grid, Technique kind, const WeightCap& cap)
        : grid(grid), layout(grid.getLayout()), size(grid.getSize()), kind(kind),
          nodeCount(grid.getCellCount() * size), maxNodes(cap.maxNodes(kind, 2 * nodeCount)),
          unitCount(static_cast<std::size_t>(layout.unitCount) * static_cast<std::size_t>(size), 0),
          parent(static_cast<std::size_t>(2 * nodeCount), -1), length(static_cast<std::size_t>(2 * nodeCount), 0)
    {
        for (int unit = 0; unit < layout.unitCount; ++unit) {
            const int* cells = layout.cellsOf(unit);
            for (int i = 0; i < size; ++i)
                for (Mask m = grid.getCandidates(cells[i]); m; m &= m - 1)
                    ++unitCount[static_cast<std::size_t>(unit * size + std::countr_zero(m))];
        }
    }

    std::optional<Step> find()
    {
        for (int start = 0; start < nodeCount; ++start)
            if (usable(start))
                search(start);
        return best;
    }

private:
    int cellOf(int node) const { return node / size; }
    int valueOf(int node) const { return node % size + 1; }
    Candidate candidateOf(int node) const { return {cellOf(node), valueOf(node)}; }

    bool bivalue(int cell) const { return CandidateGrid::valueCount(grid.getCandidates(cell)) == 2; }

    bool usable(int node) const
    {
        return grid.hasCandidate(cellOf(node), valueOf(node)) && (kind != Technique::XYChain || bivalue(cellOf(node)));
    }

    // Nodes that must be true when node is false.
    template <typename Visit>
    void strongLinks(int node, Visit&& visit) const
    {
        const int cell = cellOf(node);
        const int value = valueOf(node);
        if (kind != Technique::XChain && bivalue(cell)) {
            const Mask other = grid.getCandidates(cell) & ~CandidateGrid::bit(value);
            visit(cell * size + std::countr_zero(other));
        }
        if (kind == Technique::XYChain)
            return;
        for (int k = 0; k < 3; ++k) {
            const int unit = layout.unitOf(cell, k);
            if (unitCount[static_cast<std::size_t>(unit * size + value - 1)] != 2)
                continue;
            const int* cells = layout.cellsOf(unit);
            for (int i = 0; i < size; ++i)
                if (cells[i] != cell && grid.hasCandidate(cells[i], value))
                    visit(cells[i] * size + value - 1);
        }
    }

    // Nodes that must be false when node is true.
    template <typename Visit>
    void weakLinks(int node, Visit&& visit) const
    {
        const int cell = cellOf(node);
        const int value = valueOf(node);
        if (kind == Technique::Aic)
            for (Mask m = grid.getCandidates(cell) & ~CandidateGrid::bit(value); m; m &= m - 1)
                visit(cell * size + std::countr_zero(m));
        const int* peers = layout.peersOf(cell);
        for (int i = 0; i < layout.peerCount; ++i)
            if (grid.hasCandidate(peers[i], value) && (kind != Technique::XYChain || bivalue(peers[i])))
                visit(peers[i] * size + value - 1);
    }

    void search(int start)
    {
        // The states reached are the breadth-first queue; afterwards only they are reset,
        // since the tables span every candidate of the grid.
        queue.clear();
        queue.push_back(2 * start);
        parent[static_cast<std::size_t>(2 * start)] = 2 * start;
        length[static_cast<std::size_t>(2 * start)] = 1;
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const int state = queue[head];
            const int node = state / 2;
            const bool on = state % 2;
            const int nextLength = length[static_cast<std::size_t>(state)] + 1;
            if (nextLength > maxNodes || (best && nextLength >= static_cast<int>(best->proof.size())))
                break;
            auto reach = [&](int next) {
                const int nextState = 2 * next + !on;
                if (parent[static_cast<std::size_t>(nextState)] >= 0)
                    return;
                parent[static_cast<std::size_t>(nextState)] = state;
                length[static_cast<std::size_t>(nextState)] = nextLength;
                queue.push_back(nextState);
                if (!on && next != start)
                    conclude(start, nextState);
            };
            if (on)
                weakLinks(node, reach);
            else
                strongLinks(node, reach);
        }
        for (const int state : queue)
            parent[static_cast<std::size_t>(state)] = -1;
    }

    void conclude(int start, int endState)
    {
        candidatesSeeingBoth(grid, candidateOf(start), candidateOf(endState / 2), eliminations);
        if (eliminations.empty())
            return;
        Step step;
        step.technique = kind;
        step.eliminations = eliminations;
        for (int state = endState;; state = parent[static_cast<std::size_t>(state)]) {
            step.proof.insert(step.proof.begin(), candidateOf(state / 2));
            if (state == 2 * start)
                break;
        }
        for (const Candidate& c : step.proof)
            if (std::find(step.digits.begin(), step.digits.end(), c.value) == step.digits.end())
                step.digits.push_back(c.value);
        step.weight = chainWeight(kind, static_cast<int>(step.proof.size()));
        if (!best || step.proof.size() < best->proof.size())
            best = std::move(step);
    }

    const CandidateGrid& grid;
    const GridLayout& layout;
    const int size;
    const Technique kind;
    const int nodeCount;
    const int maxNodes;
    std::vector<int> unitCount;
    // parent[2 * node + on]: the state before it in the chain, -1 unreached.
    std::vector<int> parent;
    std::vector<int> length;
    std::vector<int> queue;
    std::vector<Candidate> eliminations;
    std::optional<Step> best;
};

}  // namespace

double chainWeight(Technique kind, int nodes)
{
    // In tenths, as the scale gives them, so that 6.6 + 0.3 compares equal to 6.9.
    return std::round((techniqueInfo(kind).weight + lengthModifier(nodes)) * 10) / 10;
}

int WeightCap::maxNodes(Technique kind, int longest) const
{
    if (admits(chainWeight(kind, longest)))
        return longest;
    int nodes = 0;
    while (nodes < longest && admits(chainWeight(kind, nodes + 1)))
        ++nodes;
    return nodes;
}

std::optional<Step> findChain(const CandidateGrid& grid, Technique kind, const WeightCap& cap)
{
    return ChainSearch(grid, kind, cap).find();
}

}  // namespace techniques
