// Continuous loops: strong and weak links alternating around a closed chain of distinct
// candidates. Of each strong link at least one end is true and of each weak link at most
// one; with as many of each around the loop, every weak link has exactly one true end, so
// whatever sees both ends of a weak link is false. X-cycles keep to one value, Y-cycles
// to bivalue cells; bidirectional cycles take any link.
#include "Techniques.h"

#include <algorithm>
#include <bit>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

class CycleSearch {
public:
    CycleSearch(const CandidateGrid& grid, Technique kind, const WeightCap& cap)
        : grid(grid), layout(grid.getLayout()), size(grid.getSize()), kind(kind),
          maxLength(cap.maxNodes(kind, kind == Technique::BidirectionalCycle ? 12 : 16)), nodeCount(grid.getCellCount() * size),
          places(static_cast<std::size_t>(layout.unitCount * size), 0),
          distance(static_cast<std::size_t>(2 * nodeCount), kFar), onPath(static_cast<std::size_t>(nodeCount), 0)
    {
        for (int unit = 0; unit < layout.unitCount; ++unit) {
            const int* cells = layout.cellsOf(unit);
            for (int i = 0; i < size; ++i)
                for (Mask m = grid.getCandidates(cells[i]); m; m &= m - 1)
                    ++places[static_cast<std::size_t>(unit * size + std::countr_zero(m))];
        }
        // Every node of a loop has a strong link; the others are left out at once, which
        // keeps the search small on large grids.
        linked.assign(static_cast<std::size_t>(nodeCount), 0);
        for (int node = 0; node < nodeCount; ++node) {
            if (!grid.hasCandidate(cellOf(node), valueOf(node)))
                continue;
            bool strong = kind != Technique::XCycle && bivalue(cellOf(node));
            for (int k = 0; k < 3 && kind != Technique::YCycle; ++k)
                strong |= places[static_cast<std::size_t>(layout.unitOf(cellOf(node), k) * size + valueOf(node) - 1)] == 2;
            linked[static_cast<std::size_t>(node)] = strong && (kind != Technique::YCycle || bivalue(cellOf(node)));
        }
    }

    std::optional<Step> find()
    {
        for (int start = 0; start < nodeCount; ++start) {
            if (!usable(start))
                continue;
            limit = best ? static_cast<int>(best->proof.size()) - 2 : maxLength;
            if (limit < 4)
                break;
            measureFrom(start);
            path.assign(1, start);
            onPath[static_cast<std::size_t>(start)] = 1;
            extend(start, false);
            onPath[static_cast<std::size_t>(start)] = 0;
        }
        return std::move(best);
    }

private:
    static constexpr int kFar = 1 << 20;

    int cellOf(int node) const { return node / size; }
    int valueOf(int node) const { return node % size + 1; }
    Candidate candidateOf(int node) const { return {cellOf(node), valueOf(node)}; }
    bool bivalue(int cell) const { return CandidateGrid::valueCount(grid.getCandidates(cell)) == 2; }

    bool usable(int node) const { return linked[static_cast<std::size_t>(node)] != 0; }

    // Nodes true when node is false (off) or false when it is true (on). Only nodes
    // after the start take part, so each loop is met from its lowest node.
    template <typename Visit>
    void links(int node, bool on, Visit&& visit) const
    {
        const int cell = cellOf(node);
        const int value = valueOf(node);
        auto offer = [&](int next) {
            if (next > start && usable(next))
                visit(next);
        };
        if (!on) {
            if (kind != Technique::XCycle && bivalue(cell))
                offer(cell * size + std::countr_zero(grid.getCandidates(cell) & ~CandidateGrid::bit(value)));
            if (kind == Technique::YCycle)
                return;
            for (int k = 0; k < 3; ++k) {
                const int unit = layout.unitOf(cell, k);
                if (places[static_cast<std::size_t>(unit * size + value - 1)] != 2)
                    continue;
                const int* cells = layout.cellsOf(unit);
                for (int i = 0; i < size; ++i)
                    if (cells[i] != cell && grid.hasCandidate(cells[i], value))
                        offer(cells[i] * size + value - 1);
            }
            return;
        }
        if (kind == Technique::BidirectionalCycle)
            for (Mask m = grid.getCandidates(cell) & ~CandidateGrid::bit(value); m; m &= m - 1)
                offer(cell * size + std::countr_zero(m));
        const int* peers = layout.peersOf(cell);
        for (int i = 0; i < layout.peerCount; ++i)
            if (grid.hasCandidate(peers[i], value))
                offer(peers[i] * size + value - 1);
    }

    // Links from the start taken as true: the loop read backwards, so distance[2 * node +
    // on] bounds the links from node (with the opposite truth) back to the start.
    void measureFrom(int from)
    {
        start = from;
        for (const int state : queue)
            distance[static_cast<std::size_t>(state)] = kFar;
        queue.assign(1, 2 * from + 1);
        distance[static_cast<std::size_t>(2 * from + 1)] = 0;
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const int state = queue[head];
            const int next = distance[static_cast<std::size_t>(state)] + 1;
            if (next > limit)
                break;
            links(state / 2, state & 1, [&](int node) {
                const int reached = 2 * node + !(state & 1);
                if (distance[static_cast<std::size_t>(reached)] != kFar)
                    return;
                distance[static_cast<std::size_t>(reached)] = next;
                queue.push_back(reached);
            });
        }
    }

    // The path's last node, false when on is false; the loop goes on with the link of
    // the other kind.
    void extend(int node, bool on)
    {
        const int taken = static_cast<int>(path.size()) - 1;
        if (on && path.size() >= 4 && static_cast<int>(path.size()) <= limit && weaklyLinked(node, path.front()))
            conclude();
        links(node, on, [&](int next) {
            if (onPath[static_cast<std::size_t>(next)])
                return;
            // Links still needed to come back to the start, false, from next.
            if (taken + 1 + distance[static_cast<std::size_t>(2 * next + on)] > limit)
                return;
            path.push_back(next);
            onPath[static_cast<std::size_t>(next)] = 1;
            extend(next, !on);
            onPath[static_cast<std::size_t>(next)] = 0;
            path.pop_back();
        });
    }

    bool weaklyLinked(int a, int b) const
    {
        if (cellOf(a) == cellOf(b))
            return kind == Technique::BidirectionalCycle;
        return valueOf(a) == valueOf(b) && layout.sees(cellOf(a), cellOf(b));
    }

    void conclude()
    {
        Step step;
        step.technique = kind;
        for (const int node : path)
            step.proof.push_back(candidateOf(node));
        // Weak links join each true node to the next, the last to the first.
        for (std::size_t i = 1; i < path.size(); i += 2) {
            const Candidate a = candidateOf(path[i]);
            const Candidate b = candidateOf(path[(i + 1) % path.size()]);
            for (const Candidate& c : candidatesSeeingBoth(grid, a, b))
                if (!onPath[static_cast<std::size_t>(c.cell * size + c.value - 1)] &&
                    std::find(step.eliminations.begin(), step.eliminations.end(), c) == step.eliminations.end())
                    step.eliminations.push_back(c);
        }
        if (step.eliminations.empty())
            return;
        for (const Candidate& c : step.proof)
            if (std::find(step.digits.begin(), step.digits.end(), c.value) == step.digits.end())
                step.digits.push_back(c.value);
        step.weight = chainWeight(kind, static_cast<int>(path.size()));
        best = std::move(step);
        limit = static_cast<int>(path.size()) - 2;
    }

    const CandidateGrid& grid;
    const GridLayout& layout;
    const int size;
    const Technique kind;
    const int maxLength;
    const int nodeCount;
    std::vector<int> places;
    // Per state (2 * node + on): links from the start, taken true; kFar unreached.
    std::vector<int> distance;
    std::vector<char> onPath;
    std::vector<char> linked;
    std::vector<int> queue;
    std::vector<int> path;
    int start = 0;
    int limit = 0;
    std::optional<Step> best;
};

}  // namespace

std::optional<Step> findCycle(const CandidateGrid& grid, Technique kind, const WeightCap& cap)
{
    return CycleSearch(grid, kind, cap).find();
}

}  // namespace techniques
