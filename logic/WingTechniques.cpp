// Short patterns on strong links and bivalue cells: Skyscraper, 2-String Kite,
// XY-, XYZ- and W-Wing, simple colouring.
#include "Techniques.h"

#include <algorithm>
#include <array>
#include <bit>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

int lowestValue(Mask mask) { return std::countr_zero(mask) + 1; }

// The two cells holding value in unit, when there are exactly two.
std::optional<std::pair<int, int>> conjugatePair(const CandidateGrid& grid, int unit, int value)
{
    const int* cells = grid.getLayout().cellsOf(unit);
    int found[2];
    int count = 0;
    for (int i = 0; i < grid.getSize(); ++i)
        if (grid.hasCandidate(cells[i], value)) {
            if (count == 2)
                return std::nullopt;
            found[count++] = cells[i];
        }
    if (count != 2)
        return std::nullopt;
    return std::make_pair(found[0], found[1]);
}

// Candidates of value that see every cell of pattern, leaving the pattern itself out.
std::vector<Candidate> valueSeeingAll(const CandidateGrid& grid, int value, const std::vector<int>& pattern)
{
    std::vector<Candidate> result;
    const GridLayout& layout = grid.getLayout();
    for (int cell = 0; cell < grid.getCellCount(); ++cell) {
        if (!grid.hasCandidate(cell, value) || std::find(pattern.begin(), pattern.end(), cell) != pattern.end())
            continue;
        if (std::all_of(pattern.begin(), pattern.end(), [&](int p) { return layout.sees(cell, p); }))
            result.push_back({cell, value});
    }
    return result;
}

Step patternStep(Technique technique, int value, std::vector<Candidate> proof, std::vector<Candidate> eliminations)
{
    Step step;
    step.technique = technique;
    step.digits = {value};
    step.proof = std::move(proof);
    step.eliminations = std::move(eliminations);
    return step;
}

// Two strong links on value joined by a weak link between a1 and b1: a2 or b2 holds it.
std::optional<Step> twoLinks(const CandidateGrid& grid, Technique technique, int value, std::pair<int, int> a,
                             std::pair<int, int> b, int linkKind)
{
    const GridLayout& layout = grid.getLayout();
    for (int swapA = 0; swapA < 2; ++swapA)
        for (int swapB = 0; swapB < 2; ++swapB) {
            const int a1 = swapA ? a.second : a.first;
            const int a2 = swapA ? a.first : a.second;
            const int b1 = swapB ? b.second : b.first;
            const int b2 = swapB ? b.first : b.second;
            if (a1 == b1 || a2 == b2 || a1 == b2 || a2 == b1)
                continue;
            if (layout.unitOf(a1, linkKind) != layout.unitOf(b1, linkKind))
                continue;
            // A shared end unit for a2 and b2 as well would be an X-Wing.
            if (linkKind != 2 && layout.unitOf(a2, linkKind) == layout.unitOf(b2, linkKind))
                continue;
            std::vector<Candidate> eliminations = valueSeeingAll(grid, value, {a2, b2});
            std::erase_if(eliminations, [&](Candidate c) { return c.cell == a1 || c.cell == b1; });
            if (!eliminations.empty())
                return patternStep(technique, value, {{a2, value}, {a1, value}, {b1, value}, {b2, value}},
                                   std::move(eliminations));
        }
    return std::nullopt;
}

}  // namespace

std::optional<Step> findSkyscraper(const CandidateGrid& grid)
{
    const int size = grid.getSize();
    for (int value = 1; value <= size; ++value)
        for (const int kind : {0, 1}) {
            std::vector<std::pair<int, int>> pairs;
            for (int line = 0; line < size; ++line)
                if (auto pair = conjugatePair(grid, kind * size + line, value))
                    pairs.push_back(*pair);
            for (std::size_t i = 0; i < pairs.size(); ++i)
                for (std::size_t j = i + 1; j < pairs.size(); ++j)
                    if (auto step = twoLinks(grid, Technique::Skyscraper, value, pairs[i], pairs[j], 1 - kind))
                        return step;
        }
    return std::nullopt;
}

std::optional<Step> findTwoStringKite(const CandidateGrid& grid)
{
    const int size = grid.getSize();
    for (int value = 1; value <= size; ++value)
        for (int row = 0; row < size; ++row) {
            const auto rowPair = conjugatePair(grid, row, value);
            if (!rowPair)
                continue;
            for (int col = 0; col < size; ++col) {
                const auto colPair = conjugatePair(grid, size + col, value);
                if (!colPair)
                    continue;
                if (auto step = twoLinks(grid, Technique::TwoStringKite, value, *rowPair, *colPair, 2))
                    return step;
            }
        }
    return std::nullopt;
}

std::optional<Step> findWing(const CandidateGrid& grid, bool xyz)
{
    const GridLayout& layout = grid.getLayout();
    for (int pivot = 0; pivot < grid.getCellCount(); ++pivot) {
        const Mask p = grid.getCandidates(pivot);
        if (CandidateGrid::valueCount(p) != (xyz ? 3 : 2))
            continue;
        // Bivalue peers: xz or yz, inside the pivot's candidates for an XYZ-Wing.
        std::vector<int> wings;
        const int* peers = layout.peersOf(pivot);
        for (int i = 0; i < layout.peerCount; ++i) {
            const Mask m = grid.getCandidates(peers[i]);
            if (CandidateGrid::valueCount(m) == 2 && (xyz ? (m & ~p) == 0 : CandidateGrid::valueCount(m & p) == 1))
                wings.push_back(peers[i]);
        }
        for (std::size_t i = 0; i < wings.size(); ++i)
            for (std::size_t j = i + 1; j < wings.size(); ++j) {
                const Mask a = grid.getCandidates(wings[i]);
                const Mask b = grid.getCandidates(wings[j]);
                // The wings share z and hold the pivot's other values between them.
                const Mask z = xyz ? a & b : a & b & ~p;
                if (a == b || !z || (!xyz && (a & p) == (b & p)))
                    continue;
                const int value = lowestValue(z);
                // z is in a wing, or (XYZ) in the pivot: whatever sees them all loses it.
                std::vector<Candidate> eliminations =
                    xyz ? valueSeeingAll(grid, value, {pivot, wings[i], wings[j]})
                        : valueSeeingAll(grid, value, {wings[i], wings[j]});
                if (eliminations.empty())
                    continue;
                Step step = patternStep(xyz ? Technique::XYZWing : Technique::XYWing, value, {},
                                        std::move(eliminations));
                for (const int cell : {pivot, wings[i], wings[j]})
                    for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                        step.proof.push_back({cell, lowestValue(m)});
                return step;
            }
    }
    return std::nullopt;
}

std::optional<Step> findWWing(const CandidateGrid& grid)
{
    const GridLayout& layout = grid.getLayout();
    std::vector<int> bivalue;
    for (int cell = 0; cell < grid.getCellCount(); ++cell)
        if (CandidateGrid::valueCount(grid.getCandidates(cell)) == 2)
            bivalue.push_back(cell);
    for (std::size_t i = 0; i < bivalue.size(); ++i)
        for (std::size_t j = i + 1; j < bivalue.size(); ++j) {
            const int c1 = bivalue[i];
            const int c2 = bivalue[j];
            const Mask pair = grid.getCandidates(c1);
            if (grid.getCandidates(c2) != pair || layout.sees(c1, c2))
                continue;
            for (Mask m = pair; m; m &= m - 1) {
                const int linked = lowestValue(m);
                const int other = lowestValue(pair & ~CandidateGrid::bit(linked));
                std::vector<Candidate> eliminations = valueSeeingAll(grid, other, {c1, c2});
                if (eliminations.empty())
                    continue;
                for (int unit = 0; unit < layout.unitCount; ++unit) {
                    const auto link = conjugatePair(grid, unit, linked);
                    if (!link)
                        continue;
                    for (const auto& [a, b] : {*link, std::make_pair(link->second, link->first)}) {
                        if (a == c1 || a == c2 || b == c1 || b == c2 || !layout.sees(a, c1) || !layout.sees(b, c2))
                            continue;
                        Step step = patternStep(Technique::WWing, other,
                                                {{c1, linked}, {c1, other}, {a, linked}, {b, linked}, {c2, linked},
                                                 {c2, other}},
                                                std::move(eliminations));
                        step.digits = {linked, other};
                        step.units = {unit};
                        return step;
                    }
                }
            }
        }
    return std::nullopt;
}

std::optional<Step> findSimpleColouring(const CandidateGrid& grid)
{
    const GridLayout& layout = grid.getLayout();
    const int cellCount = grid.getCellCount();
    for (int value = 1; value <= grid.getSize(); ++value) {
        std::vector<std::vector<int>> links(static_cast<std::size_t>(cellCount));
        for (int unit = 0; unit < layout.unitCount; ++unit)
            if (const auto pair = conjugatePair(grid, unit, value)) {
                links[static_cast<std::size_t>(pair->first)].push_back(pair->second);
                links[static_cast<std::size_t>(pair->second)].push_back(pair->first);
            }
        std::vector<int> colour(static_cast<std::size_t>(cellCount), -1);
        std::vector<int> owner(static_cast<std::size_t>(cellCount), -1);
        for (int start = 0; start < cellCount; ++start) {
            if (links[static_cast<std::size_t>(start)].empty() || colour[static_cast<std::size_t>(start)] >= 0)
                continue;
            std::vector<int> component{start};
            colour[static_cast<std::size_t>(start)] = 0;
            for (std::size_t k = 0; k < component.size(); ++k) {
                owner[static_cast<std::size_t>(component[k])] = start;
                for (const int next : links[static_cast<std::size_t>(component[k])])
                    if (colour[static_cast<std::size_t>(next)] < 0) {
                        colour[static_cast<std::size_t>(next)] = 1 - colour[static_cast<std::size_t>(component[k])];
                        component.push_back(next);
                    }
            }
            if (component.size() < 3)
                continue;
            std::vector<Candidate> proof;
            std::vector<ChainBranch> colours(2);
            for (const int shade : {0, 1})
                for (const int cell : component)
                    if (colour[static_cast<std::size_t>(cell)] == shade) {
                        proof.push_back({cell, value});
                        colours[static_cast<std::size_t>(shade)].nodes.push_back({{cell, value}, shade == 0, {}});
                    }
            // Two cells of one colour that see each other: that colour is false.
            for (const int shade : {0, 1}) {
                bool clash = false;
                for (const int a : component)
                    for (const int b : component)
                        clash |= colour[static_cast<std::size_t>(a)] == shade &&
                                 colour[static_cast<std::size_t>(b)] == shade && layout.sees(a, b);
                if (!clash)
                    continue;
                std::vector<Candidate> eliminations;
                for (const int cell : component)
                    if (colour[static_cast<std::size_t>(cell)] == shade)
                        eliminations.push_back({cell, value});
                Step step = patternStep(Technique::SimpleColouring, value, proof, std::move(eliminations));
                step.branches = colours;
                return step;
            }
            // A cell outside the colouring that sees both colours.
            std::vector<Candidate> eliminations;
            for (int cell = 0; cell < cellCount; ++cell) {
                if (!grid.hasCandidate(cell, value) || owner[static_cast<std::size_t>(cell)] == start)
                    continue;
                bool sees[2] = {false, false};
                for (const int c : component)
                    if (layout.sees(cell, c))
                        sees[colour[static_cast<std::size_t>(c)]] = true;
                if (sees[0] && sees[1])
                    eliminations.push_back({cell, value});
            }
            if (!eliminations.empty()) {
                Step step = patternStep(Technique::SimpleColouring, value, proof, std::move(eliminations));
                step.branches = std::move(colours);
                return step;
            }
        }
    }
    return std::nullopt;
}

std::optional<Step> findAlignedPairExclusion(const CandidateGrid& grid)
{
    const GridLayout& layout = grid.getLayout();
    const int cellCount = grid.getCellCount();
    constexpr int kMaxSide = CandidateGrid::kMaxInnerSize * CandidateGrid::kMaxInnerSize;
    std::array<char, kMaxSide * kMaxSide> bivalue; // on the stack: called for every step
    for (int cell = 0; cell < cellCount; ++cell)
        bivalue[static_cast<std::size_t>(cell)] = CandidateGrid::valueCount(grid.getCandidates(cell)) == 2;
    // Pairs in cell order; the cells that see both are among a's peers (in ascending order).
    std::vector<Mask> seenByBoth;
    for (int a = 0; a < cellCount; ++a) {
        if (grid.getValue(a) != 0)
            continue;
        const int* peersOfA = layout.peersOf(a);
        // Nothing goes without a bivalue cell seeing both: sparse grids have few.
        int bivaluePeers = 0;
        for (int k = 0; k < layout.peerCount; ++k)
            bivaluePeers += bivalue[static_cast<std::size_t>(peersOfA[k])];
        if (bivaluePeers == 0)
            continue;
        const int countA = CandidateGrid::valueCount(grid.getCandidates(a));
        for (int j = 0; j < layout.peerCount; ++j) {
            const int b = peersOfA[j];
            if (b < a || grid.getValue(b) != 0)
                continue;
            // A value of one cell goes only with a pair for each other value of the
            // other cell: fewer bivalue cells than that cannot exclude anything.
            const int needed = std::min(countA, CandidateGrid::valueCount(grid.getCandidates(b))) - 1;
            if (bivaluePeers < needed)
                continue;
            seenByBoth.clear();
            for (int k = 0; k < layout.peerCount; ++k) {
                const int cell = peersOfA[k];
                if (cell != b && bivalue[static_cast<std::size_t>(cell)] && layout.sees(cell, b))
                    seenByBoth.push_back(grid.getCandidates(cell));
            }
            if (seenByBoth.empty() || static_cast<int>(seenByBoth.size()) < needed)
                continue;
            // A value of one cell goes when with every value the other could take it
            // would empty a bivalue cell that sees both.
            auto excluded = [&](int first, int second) {
                const Mask both = CandidateGrid::bit(first) | CandidateGrid::bit(second);
                return std::find(seenByBoth.begin(), seenByBoth.end(), both) != seenByBoth.end();
            };
            Step step;
            step.technique = Technique::AlignedPairExclusion;
            for (const auto& [cell, other] : {std::pair{a, b}, std::pair{b, a}})
                for (Mask m = grid.getCandidates(cell); m; m &= m - 1) {
                    const int value = lowestValue(m);
                    bool all = true;
                    for (Mask o = grid.getCandidates(other) & ~CandidateGrid::bit(value); o && all; o &= o - 1)
                        all = excluded(value, lowestValue(o));
                    if (all)
                        step.eliminations.push_back({cell, value});
                }
            if (step.eliminations.empty())
                continue;
            for (const int cell : {a, b})
                for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                    step.proof.push_back({cell, lowestValue(m)});
            return step;
        }
    }
    return std::nullopt;
}

}  // namespace techniques
