// Singles, locked candidates and naked and hidden subsets.
#include "Techniques.h"

#include <algorithm>
#include <bit>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

int lowestValue(Mask mask) { return std::countr_zero(mask) + 1; }

Step placement(Technique technique, int cell, int value, int unit)
{
    Step step;
    step.technique = technique;
    step.placements.push_back({cell, value});
    step.proof.push_back({cell, value});
    if (unit >= 0)
        step.units.push_back(unit);
    step.digits.push_back(value);
    return step;
}

// Positions (indexes within the unit) of value in the unit, as a mask.
Mask positionsOf(const CandidateGrid& grid, int unit, int value)
{
    const int* cells = grid.getLayout().cellsOf(unit);
    Mask positions = 0;
    for (int i = 0; i < grid.getSize(); ++i)
        if (grid.hasCandidate(cells[i], value))
            positions |= Mask{1} << i;
    return positions;
}

// Calls visit(chosen) for each k-subset of items (indexes into items), stopping when it returns true.
template <typename Visit>
bool forEachCombination(int itemCount, int k, Visit&& visit)
{
    std::vector<int> chosen(static_cast<std::size_t>(k));
    for (int i = 0; i < k; ++i)
        chosen[static_cast<std::size_t>(i)] = i;
    if (k > itemCount)
        return false;
    while (true) {
        if (visit(chosen))
            return true;
        int i = k - 1;
        while (i >= 0 && chosen[static_cast<std::size_t>(i)] == itemCount - k + i)
            --i;
        if (i < 0)
            return false;
        ++chosen[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < k; ++j)
            chosen[static_cast<std::size_t>(j)] = chosen[static_cast<std::size_t>(j - 1)] + 1;
    }
}

// A hidden single of value that the step's eliminations leave in onlyUnit or, when it
// is negative, in a box of a cell they touch: the scale counts pointing as direct only
// then. (A claim's eliminations keep to its box, which still holds the value twice in
// the line, so claiming is never direct that way; 1.9 appears in no published rating.)
std::optional<Candidate> singleLeft(const CandidateGrid& grid, const Step& step, int value, int onlyUnit)
{
    const GridLayout& layout = grid.getLayout();
    auto eliminated = [&](int cell) {
        return std::find(step.eliminations.begin(), step.eliminations.end(), Candidate{cell, value}) !=
               step.eliminations.end();
    };
    for (const Candidate& gone : step.eliminations) {
        if (gone.value != value)
            continue;
        for (int kind = 0; kind < 3; ++kind) {
            const int unit = layout.unitOf(gone.cell, kind);
            if (onlyUnit >= 0 && unit != onlyUnit)
                continue;
            if (onlyUnit < 0 && kind != 2)
                continue;
            const int* cells = layout.cellsOf(unit);
            int left = -1, count = 0;
            for (int i = 0; i < layout.size; ++i)
                if (grid.hasCandidate(cells[i], value) && !eliminated(cells[i])) {
                    left = cells[i];
                    ++count;
                }
            if (count == 1)
                return Candidate{left, value};
        }
    }
    return std::nullopt;
}

// Pointing (box to line) or claiming (line to box) for one value; direct (pointing
// only), those that leave a hidden single, which they place.
std::optional<Step> lockedCandidates(const CandidateGrid& grid, bool pointing, bool direct = false)
{
    const GridLayout& layout = grid.getLayout();
    const int size = grid.getSize();
    for (int value = 1; value <= size; ++value)
        for (int u = 0; u < (pointing ? size : 2 * size); ++u) {
            const int unit = pointing ? 2 * size + u : u;
            const int* cells = layout.cellsOf(unit);
            std::vector<int> holders;
            for (int i = 0; i < size; ++i)
                if (grid.hasCandidate(cells[i], value))
                    holders.push_back(cells[i]);
            if (holders.size() < 2)
                continue;
            // A box's candidates in one row or one column; a line's in one box.
            int target = -1;
            for (const int kind : pointing ? std::vector<int>{0, 1} : std::vector<int>{2}) {
                const int candidateUnit = layout.unitOf(holders.front(), kind);
                if (std::all_of(holders.begin(), holders.end(),
                                [&](int cell) { return layout.unitOf(cell, kind) == candidateUnit; }))
                    target = candidateUnit;
            }
            if (target < 0)
                continue;
            Step step;
            step.technique = pointing ? Technique::Pointing : Technique::Claiming;
            step.units = {unit, target};
            step.digits = {value};
            const int* targetCells = layout.cellsOf(target);
            for (int i = 0; i < size; ++i) {
                const int cell = targetCells[i];
                if (!grid.hasCandidate(cell, value))
                    continue;
                if (layout.unitOf(cell, unit / size) == unit)
                    step.proof.push_back({cell, value});
                else
                    step.eliminations.push_back({cell, value});
            }
            if (step.eliminations.empty())
                continue;
            if (!direct)
                return step;
            if (const std::optional<Candidate> single = singleLeft(grid, step, value, -1)) {
                step.technique = Technique::DirectPointing;
                step.placements.push_back(*single);
                return step;
            }
        }
    return std::nullopt;
}

std::optional<Step> hiddenSubset(const CandidateGrid& grid, int count, bool direct);

constexpr Technique kNakedSubsets[] = {Technique::NakedPair, Technique::NakedTriple, Technique::NakedQuad};
constexpr Technique kHiddenSubsets[] = {Technique::HiddenPair, Technique::HiddenTriple, Technique::HiddenQuad};

}  // namespace

std::optional<Step> findFullHouse(const CandidateGrid& grid)
{
    const GridLayout& layout = grid.getLayout();
    for (int unit = 0; unit < layout.unitCount; ++unit) {
        const int* cells = layout.cellsOf(unit);
        int blank = -1;
        int blanks = 0;
        for (int i = 0; i < layout.size && blanks < 2; ++i)
            if (grid.getValue(cells[i]) == 0) {
                blank = cells[i];
                ++blanks;
            }
        if (blanks == 1 && std::has_single_bit(grid.getCandidates(blank)))
            return placement(Technique::FullHouse, blank, lowestValue(grid.getCandidates(blank)), unit);
    }
    return std::nullopt;
}

std::optional<Step> findHiddenSingle(const CandidateGrid& grid, bool inBoxes)
{
    const GridLayout& layout = grid.getLayout();
    const int size = layout.size;
    const int firstUnit = inBoxes ? 2 * size : 0;
    const int endUnit = inBoxes ? 3 * size : 2 * size;
    for (int unit = firstUnit; unit < endUnit; ++unit) {
        const int* cells = layout.cellsOf(unit);
        Mask once = 0, twice = 0;
        for (int i = 0; i < size; ++i) {
            const Mask mask = grid.getCandidates(cells[i]);
            twice |= once & mask;
            once |= mask;
        }
        const Mask hidden = once & ~twice;
        if (!hidden)
            continue;
        const int value = lowestValue(hidden);
        for (int i = 0; i < size; ++i)
            if (grid.hasCandidate(cells[i], value))
                return placement(inBoxes ? Technique::HiddenSingleBox : Technique::HiddenSingleLine, cells[i], value,
                                 unit);
    }
    return std::nullopt;
}

std::optional<Step> findNakedSingle(const CandidateGrid& grid)
{
    for (int cell = 0; cell < grid.getCellCount(); ++cell)
        if (grid.getValue(cell) == 0 && std::has_single_bit(grid.getCandidates(cell)))
            return placement(Technique::NakedSingle, cell, lowestValue(grid.getCandidates(cell)), -1);
    return std::nullopt;
}

std::optional<Step> findPointing(const CandidateGrid& grid) { return lockedCandidates(grid, true); }

std::optional<Step> findClaiming(const CandidateGrid& grid) { return lockedCandidates(grid, false); }

std::optional<Step> findNakedSubset(const CandidateGrid& grid, int count)
{
    const GridLayout& layout = grid.getLayout();
    for (int unit = 0; unit < layout.unitCount; ++unit) {
        const int* cells = layout.cellsOf(unit);
        std::vector<int> members;
        int blanks = 0;
        for (int i = 0; i < layout.size; ++i) {
            const int n = std::popcount(grid.getCandidates(cells[i]));
            blanks += n > 0;
            if (n >= 2 && n <= count)
                members.push_back(cells[i]);
        }
        // A subset that fills every blank cell of the unit proves nothing.
        if (blanks <= count)
            continue;
        std::optional<Step> found;
        forEachCombination(static_cast<int>(members.size()), count, [&](const std::vector<int>& chosen) {
            Mask values = 0;
            for (const int i : chosen)
                values |= grid.getCandidates(members[static_cast<std::size_t>(i)]);
            if (std::popcount(values) != count)
                return false;
            Step step;
            step.technique = kNakedSubsets[count - 2];
            step.units = {unit};
            for (Mask m = values; m; m &= m - 1)
                step.digits.push_back(lowestValue(m));
            std::vector<int> subset;
            for (const int i : chosen) {
                const int cell = members[static_cast<std::size_t>(i)];
                subset.push_back(cell);
                for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                    step.proof.push_back({cell, lowestValue(m)});
            }
            for (int i = 0; i < layout.size; ++i) {
                const int cell = cells[i];
                if (std::find(subset.begin(), subset.end(), cell) != subset.end())
                    continue;
                for (Mask m = grid.getCandidates(cell) & values; m; m &= m - 1)
                    step.eliminations.push_back({cell, lowestValue(m)});
            }
            return keepIfItEliminates(step, found);
        });
        if (found)
            return found;
    }
    return std::nullopt;
}

std::optional<Step> findHiddenSubset(const CandidateGrid& grid, int count) { return hiddenSubset(grid, count, false); }

std::optional<Step> findDirect(const CandidateGrid& grid, Technique kind)
{
    switch (kind) {
    case Technique::DirectPointing: return lockedCandidates(grid, true, true);
    case Technique::DirectHiddenPair: return hiddenSubset(grid, 2, true);
    default: return hiddenSubset(grid, 3, true);
    }
}

namespace {

std::optional<Step> hiddenSubset(const CandidateGrid& grid, int count, bool direct)
{
    const GridLayout& layout = grid.getLayout();
    for (int unit = 0; unit < layout.unitCount; ++unit) {
        const int* cells = layout.cellsOf(unit);
        std::vector<int> members;
        std::vector<Mask> positions;
        int unplaced = 0;
        for (int value = 1; value <= layout.size; ++value) {
            const Mask where = positionsOf(grid, unit, value);
            const int n = std::popcount(where);
            unplaced += n > 0;
            if (n >= 2 && n <= count) {
                members.push_back(value);
                positions.push_back(where);
            }
        }
        if (unplaced <= count)
            continue;
        std::optional<Step> found;
        forEachCombination(static_cast<int>(members.size()), count, [&](const std::vector<int>& chosen) {
            Mask where = 0;
            Mask values = 0;
            for (const int i : chosen) {
                where |= positions[static_cast<std::size_t>(i)];
                values |= CandidateGrid::bit(members[static_cast<std::size_t>(i)]);
            }
            if (std::popcount(where) != count)
                return false;
            Step step;
            step.technique = kHiddenSubsets[count - 2];
            step.units = {unit};
            for (const int i : chosen)
                step.digits.push_back(members[static_cast<std::size_t>(i)]);
            for (Mask w = where; w; w &= w - 1) {
                const int cell = cells[std::countr_zero(w)];
                for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                    (values & (m & -m) ? step.proof : step.eliminations).push_back({cell, lowestValue(m)});
            }
            if (direct) {
                // The subset's unit, short of one more place for another value.
                for (Mask m = grid.getAllValues() & ~values; m; m &= m - 1)
                    if (const std::optional<Candidate> single = singleLeft(grid, step, lowestValue(m), unit)) {
                        step.technique = count == 2 ? Technique::DirectHiddenPair : Technique::DirectHiddenTriple;
                        step.placements.push_back(*single);
                        return keepIfItEliminates(step, found);
                    }
                return false;
            }
            return keepIfItEliminates(step, found);
        });
        if (found)
            return found;
    }
    return std::nullopt;
}

}  // namespace

std::vector<Candidate> candidatesSeeingBoth(const CandidateGrid& grid, Candidate a, Candidate b)
{
    const GridLayout& layout = grid.getLayout();
    auto linked = [&](Candidate x, Candidate y) {
        return x.cell == y.cell ? x.value != y.value : (x.value == y.value && layout.sees(x.cell, y.cell));
    };
    std::vector<Candidate> result;
    for (Mask m = grid.getCandidates(a.cell) & ~CandidateGrid::bit(a.value); m; m &= m - 1) {
        const Candidate c{a.cell, lowestValue(m)};
        if (!(c == b) && linked(c, b))
            result.push_back(c);
    }
    const int* peers = layout.peersOf(a.cell);
    for (int i = 0; i < layout.peerCount; ++i) {
        const Candidate c{peers[i], a.value};
        if (grid.hasCandidate(c.cell, c.value) && !(c == b) && linked(c, b))
            result.push_back(c);
    }
    return result;
}

}  // namespace techniques
