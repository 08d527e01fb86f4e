// Singles, locked candidates and naked and hidden subsets.
#include "Techniques.h"

#include <algorithm>
#include <array>
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

// The indexes of a combination; subsets have at most four members.
struct Chosen {
    std::array<int, 4> items{};
    int count = 0;
    const int* begin() const { return items.data(); }
    const int* end() const { return items.data() + count; }
};

template <typename Visit>
bool extendCombination(Chosen& chosen, int start, int itemCount, int k, const Mask* sets, Mask joined, Visit& visit)
{
    if (chosen.count == k)
        return visit(static_cast<const Chosen&>(chosen));
    for (int i = start; i <= itemCount - (k - chosen.count); ++i) {
        const Mask more = joined | sets[i];
        if (CandidateGrid::valueCount(more) > k)
            continue;
        chosen.items[static_cast<std::size_t>(chosen.count++)] = i;
        if (extendCombination(chosen, i + 1, itemCount, k, sets, more, visit))
            return true;
        --chosen.count;
    }
    return false;
}

// Calls visit(chosen) in lexicographic order for each k-subset of items (indexes into
// sets) whose sets together hold at most k elements, the only ones a subset can be;
// stops when visit returns true.
template <typename Visit>
bool forEachCombination(int itemCount, int k, const Mask* sets, Visit&& visit)
{
    Chosen chosen;
    return extendCombination(chosen, 0, itemCount, k, sets, 0, visit);
}

// The hidden single that pointing from box along line leaves in another box the line
// crosses, the first along the line: the scale counts pointing as direct only then. (A
// claim's eliminations keep to its box, which still holds the value twice in the line, so
// claiming is never direct that way; 1.9 appears in no published rating.)
std::optional<Candidate> pointedSingle(const CandidateGrid& grid, int box, int line, int value)
{
    const GridLayout& layout = grid.getLayout();
    const int lineKind = line / layout.size;
    const int* lineCells = layout.cellsOf(line);
    int lastBox = -1;
    for (int i = 0; i < layout.size; ++i) {
        const int other = layout.unitOf(lineCells[i], 2);
        if (!grid.hasCandidate(lineCells[i], value) || other == box || other == lastBox)
            continue;
        lastBox = other;
        // The line's cells of that box lose the value; what is left of it lies off the line.
        const int* cells = layout.cellsOf(other);
        int left = -1, count = 0;
        for (int j = 0; j < layout.size; ++j)
            if (grid.hasCandidate(cells[j], value) && layout.unitOf(cells[j], lineKind) != line) {
                left = cells[j];
                ++count;
            }
        if (count == 1)
            return Candidate{left, value};
    }
    return std::nullopt;
}

// Pointing (box to line) or claiming (line to box) for one value; direct (pointing
// only), those that leave a hidden single, which they place.
std::optional<Step> lockedCandidates(const CandidateGrid& grid, bool pointing, bool direct = false)
{
    const GridLayout& layout = grid.getLayout();
    const int size = grid.getSize();
    const int firstKind = pointing ? 0 : 2;
    const int endKind = pointing ? 2 : 3;
    for (int value = 1; value <= size; ++value)
        for (int u = 0; u < (pointing ? size : 2 * size); ++u) {
            const int unit = pointing ? 2 * size + u : u;
            const int* cells = layout.cellsOf(unit);
            int first = -1, holders = 0;
            // Per kind of unit, whether every holder so far lies in the first one's.
            std::array<bool, 3> shared{true, true, true};
            for (int i = 0; i < size; ++i) {
                if (!grid.hasCandidate(cells[i], value))
                    continue;
                if (++holders == 1)
                    first = cells[i];
                else
                    for (int kind = firstKind; kind < endKind; ++kind)
                        shared[static_cast<std::size_t>(kind)] =
                            shared[static_cast<std::size_t>(kind)] && layout.unitOf(cells[i], kind) == layout.unitOf(first, kind);
            }
            if (holders < 2)
                continue;
            // A box's candidates in one row or one column; a line's in one box.
            int target = -1;
            for (int kind = firstKind; kind < endKind; ++kind)
                if (shared[static_cast<std::size_t>(kind)])
                    target = layout.unitOf(first, kind);
            if (target < 0)
                continue;
            // Most patterns eliminate nothing, and most that do leave no single: neither
            // is worth building a step for.
            const int* targetCells = layout.cellsOf(target);
            bool eliminates = false;
            for (int i = 0; i < size && !eliminates; ++i)
                eliminates = grid.hasCandidate(targetCells[i], value) && layout.unitOf(targetCells[i], unit / size) != unit;
            if (!eliminates)
                continue;
            std::optional<Candidate> single;
            if (direct && !(single = pointedSingle(grid, unit, target, value)))
                continue;
            Step step;
            step.technique = pointing ? Technique::Pointing : Technique::Claiming;
            step.units = {unit, target};
            step.digits = {value};
            for (int i = 0; i < size; ++i) {
                const int cell = targetCells[i];
                if (!grid.hasCandidate(cell, value))
                    continue;
                if (layout.unitOf(cell, unit / size) == unit)
                    step.proof.push_back({cell, value});
                else
                    step.eliminations.push_back({cell, value});
            }
            if (single) {
                step.technique = Technique::DirectPointing;
                step.placements.push_back(*single);
            }
            return step;
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
    // Blank cells per unit from one pass over the cells, not one per unit.
    std::array<int, 3 * 64> blanks;
    std::fill_n(blanks.begin(), layout.unitCount, 0);
    for (int cell = 0; cell < layout.cellCount; ++cell)
        if (grid.getValue(cell) == 0)
            for (int kind = 0; kind < 3; ++kind)
                ++blanks[static_cast<std::size_t>(layout.unitOf(cell, kind))];
    for (int unit = 0; unit < layout.unitCount; ++unit) {
        if (blanks[static_cast<std::size_t>(unit)] != 1)
            continue;
        const int* cells = layout.cellsOf(unit);
        int i = 0;
        while (grid.getValue(cells[i]) != 0)
            ++i;
        if (std::has_single_bit(grid.getCandidates(cells[i])))
            return placement(Technique::FullHouse, cells[i], lowestValue(grid.getCandidates(cells[i])), unit);
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
        std::array<int, 64> members;
        std::array<Mask, 64> sets;
        int memberCount = 0;
        int blanks = 0;
        for (int i = 0; i < layout.size; ++i) {
            const int n = CandidateGrid::valueCount(grid.getCandidates(cells[i]));
            blanks += n > 0;
            if (n >= 2 && n <= count) {
                sets[static_cast<std::size_t>(memberCount)] = grid.getCandidates(cells[i]);
                members[static_cast<std::size_t>(memberCount++)] = cells[i];
            }
        }
        // A subset that fills every blank cell of the unit proves nothing.
        if (blanks <= count)
            continue;
        std::optional<Step> found;
        forEachCombination(memberCount, count, sets.data(), [&](const Chosen& chosen) {
            Mask values = 0;
            for (const int i : chosen)
                values |= grid.getCandidates(members[static_cast<std::size_t>(i)]);
            if (CandidateGrid::valueCount(values) != count)
                return false;
            Step step;
            step.technique = kNakedSubsets[count - 2];
            step.units = {unit};
            for (Mask m = values; m; m &= m - 1)
                step.digits.push_back(lowestValue(m));
            for (const int i : chosen) {
                const int cell = members[static_cast<std::size_t>(i)];
                for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                    step.proof.push_back({cell, lowestValue(m)});
            }
            for (int i = 0; i < layout.size; ++i) {
                const int cell = cells[i];
                if (std::any_of(chosen.begin(), chosen.end(),
                                [&](int j) { return members[static_cast<std::size_t>(j)] == cell; }))
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
        // Each value's positions in the unit, one pass over its cells; only the grid's
        // values are cleared, not the whole array, once per unit.
        std::array<Mask, 64> placesOf;
        std::fill_n(placesOf.begin(), layout.size, Mask{0});
        for (int i = 0; i < layout.size; ++i)
            for (Mask m = grid.getCandidates(cells[i]); m; m &= m - 1)
                placesOf[static_cast<std::size_t>(std::countr_zero(m))] |= Mask{1} << i;
        std::array<int, 64> members;
        std::array<Mask, 64> positions;
        int memberCount = 0;
        int unplaced = 0;
        for (int value = 1; value <= layout.size; ++value) {
            const Mask where = placesOf[static_cast<std::size_t>(value - 1)];
            const int n = CandidateGrid::valueCount(where);
            unplaced += n > 0;
            if (n >= 2 && n <= count) {
                members[static_cast<std::size_t>(memberCount)] = value;
                positions[static_cast<std::size_t>(memberCount++)] = where;
            }
        }
        if (unplaced <= count)
            continue;
        std::optional<Step> found;
        forEachCombination(memberCount, count, positions.data(), [&](const Chosen& chosen) {
            Mask where = 0;
            Mask values = 0;
            for (const int i : chosen) {
                where |= positions[static_cast<std::size_t>(i)];
                values |= CandidateGrid::bit(members[static_cast<std::size_t>(i)]);
            }
            if (CandidateGrid::valueCount(where) != count)
                return false;
            // A step is built only for a subset that eliminates something and, when direct,
            // leaves another value one place in the unit: the first such value is placed.
            Mask others = 0;
            for (Mask w = where; w; w &= w - 1)
                others |= grid.getCandidates(cells[std::countr_zero(w)]) & ~values;
            if (!others)
                return false;
            std::optional<Candidate> single;
            for (Mask m = others; direct && m && !single; m &= m - 1) {
                const Mask left = placesOf[static_cast<std::size_t>(std::countr_zero(m))] & ~where;
                if (std::has_single_bit(left))
                    single = Candidate{cells[std::countr_zero(left)], lowestValue(m)};
            }
            if (direct && !single)
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
            if (single) {
                step.technique = count == 2 ? Technique::DirectHiddenPair : Technique::DirectHiddenTriple;
                step.placements.push_back(*single);
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
    std::vector<Candidate> result;
    candidatesSeeingBoth(grid, a, b, result);
    return result;
}

void candidatesSeeingBoth(const CandidateGrid& grid, Candidate a, Candidate b, std::vector<Candidate>& result)
{
    const GridLayout& layout = grid.getLayout();
    auto linked = [&](Candidate x, Candidate y) {
        return x.cell == y.cell ? x.value != y.value : (x.value == y.value && layout.sees(x.cell, y.cell));
    };
    result.clear();
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
}

}  // namespace techniques
