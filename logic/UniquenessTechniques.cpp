// Unique rectangles and BUG+1: sound only for a puzzle with exactly one solution,
// which cannot end in a pattern that two values could fill either way.
#include "Techniques.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

int lowestValue(Mask mask) { return std::countr_zero(mask) + 1; }

// Exactly two values, without a popcount (a library call on the baseline target).
bool isPair(Mask mask)
{
    const Mask rest = mask & (mask - 1);
    return rest != 0 && (rest & (rest - 1)) == 0;
}

// Type 4: one value of the pair only in the roof within a unit, so the roof holds it
// once and the other value of the pair cannot go in either roof cell.
bool roofLocked(const CandidateGrid& grid, Step& step, int unit, const std::vector<int>& roof, Mask pair)
{
    const int* cells = grid.getLayout().cellsOf(unit);
    for (int i = 0; i < 2; ++i) {
        const int value = step.digits[static_cast<std::size_t>(i)];
        const int other = step.digits[static_cast<std::size_t>(1 - i)];
        bool onlyRoof = true;
        for (int k = 0; k < grid.getSize(); ++k)
            onlyRoof &= cells[k] == roof[0] || cells[k] == roof[1] || !grid.hasCandidate(cells[k], value);
        if (!onlyRoof || !(pair & CandidateGrid::bit(other)))
            continue;
        step.eliminations = {{roof[0], other}, {roof[1], other}};
        step.units = {unit};
        return true;
    }
    return false;
}

// Type 3: the roof's extra values act as one cell that with k others of a shared unit
// forms a naked subset of k + 1 values; returns k, or 0 when there is none.
int roofSubset(const CandidateGrid& grid, Step& step, int unit, const std::vector<int>& roof, Mask extra)
{
    const int* cells = grid.getLayout().cellsOf(unit);
    // Members: cells that could join a subset of at most four values.
    std::vector<int> members, others;
    for (int k = 0; k < grid.getSize(); ++k) {
        const Mask mask = grid.getCandidates(cells[k]);
        if (cells[k] == roof[0] || cells[k] == roof[1] || mask == 0)
            continue;
        others.push_back(cells[k]);
        if (CandidateGrid::valueCount(mask | extra) <= 4)
            members.push_back(cells[k]);
    }
    const int count = std::min(static_cast<int>(members.size()), 16);
    for (int k = 1; k <= 3 && k < static_cast<int>(others.size()); ++k)
        for (std::uint32_t chosen = 0; chosen < (1u << count); ++chosen) {
            if (CandidateGrid::valueCount(chosen) != k)
                continue;
            Mask values = extra;
            std::vector<int> subset;
            for (int i = 0; i < count; ++i)
                if (chosen >> i & 1) {
                    values |= grid.getCandidates(members[static_cast<std::size_t>(i)]);
                    subset.push_back(members[static_cast<std::size_t>(i)]);
                }
            if (CandidateGrid::valueCount(values) != k + 1)
                continue;
            step.eliminations.clear();
            for (const int cell : others)
                if (std::find(subset.begin(), subset.end(), cell) == subset.end())
                    for (Mask m = grid.getCandidates(cell) & values; m; m &= m - 1)
                        step.eliminations.push_back({cell, lowestValue(m)});
            if (step.eliminations.empty())
                continue;
            for (const int cell : subset)
                for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                    step.proof.push_back({cell, lowestValue(m)});
            step.units = {unit};
            return k;
        }
    return 0;
}

}  // namespace

int roofInSharedUnit(const CandidateGrid& grid, Step& step, const std::vector<int>& roof, Mask pair, bool locked)
{
    const GridLayout& layout = grid.getLayout();
    const Mask extra = (grid.getCandidates(roof[0]) | grid.getCandidates(roof[1])) & ~pair;
    for (int kind = 0; kind < 3; ++kind) {
        const int unit = layout.unitOf(roof[0], kind);
        if (unit != layout.unitOf(roof[1], kind))
            continue;
        if (locked) {
            if (roofLocked(grid, step, unit, roof, pair))
                return 1;
        } else if (const int k = roofSubset(grid, step, unit, roof, extra)) {
            return k;
        }
    }
    return 0;
}

namespace {

constexpr std::array<Technique, 4> kRectangleTypes{Technique::UniqueRectangle1, Technique::UniqueRectangle4,
                                                   Technique::UniqueRectangle2, Technique::UniqueRectangle3};

// The step of one type that the rectangle's cells and pair make, if any.
std::optional<Step> rectangleStep(const CandidateGrid& grid, Technique type, const int (&cells)[4], Mask pair,
                                  std::vector<int>& roof)
{
    const GridLayout& layout = grid.getLayout();
    // Type 1 wants three floor cells, the others two: most pairs have neither and are
    // passed over before anything is built.
    int floorCells = 0;
    for (const int cell : cells)
        floorCells += grid.getCandidates(cell) == pair;
    if (floorCells != (type == Technique::UniqueRectangle1 ? 3 : 2))
        return std::nullopt;
    roof.clear();
    for (const int cell : cells)
        if (grid.getCandidates(cell) != pair)
            roof.push_back(cell);
    // The other types want the two roof cells side by side.
    if (type != Technique::UniqueRectangle1 &&
        (!layout.sees(roof[0], roof[1]) ||
         (layout.rowOf(roof[0]) != layout.rowOf(roof[1]) && layout.colOf(roof[0]) != layout.colOf(roof[1]))))
        return std::nullopt;
    Step step;
    step.technique = type;
    step.digits = {lowestValue(pair), lowestValue(pair & (pair - 1))};
    for (const int cell : cells)
        for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
            step.proof.push_back({cell, lowestValue(m)});
    if (type == Technique::UniqueRectangle1) {
        for (const int value : step.digits)
            step.eliminations.push_back({roof[0], value});
        return step;
    }
    const Mask extra = (grid.getCandidates(roof[0]) | grid.getCandidates(roof[1])) & ~pair;
    if (type == Technique::UniqueRectangle2) {
        if (!std::has_single_bit(extra) || grid.getCandidates(roof[0]) != (pair | extra) ||
            grid.getCandidates(roof[1]) != (pair | extra))
            return std::nullopt;
        const int value = lowestValue(extra);
        step.eliminations = candidatesSeeingBoth(grid, {roof[0], value}, {roof[1], value});
        if (step.eliminations.empty())
            return std::nullopt;
        step.digits.push_back(value);
        return step;
    }
    if (const int k = roofInSharedUnit(grid, step, roof, pair, type == Technique::UniqueRectangle4)) {
        if (type == Technique::UniqueRectangle3)
            step.weight = std::round((techniqueInfo(Technique::UniqueRectangle3).weight + 0.1 * (k - 1)) * 10) / 10;
        return step;
    }
    return std::nullopt;
}

// Each type's first step, rectangles and pairs in order: one walk over the rectangles
// serves all four types.
std::array<std::optional<Step>, kRectangleTypes.size()> findRectangles(const CandidateGrid& grid)
{
    std::array<std::optional<Step>, kRectangleTypes.size()> found;
    std::size_t left = found.size();
    const int size = grid.getSize();
    const int n = grid.getInnerSize();
    const GridLayout& layout = grid.getLayout();
    // Every type has two floor cells or more, cells of the pair alone: on a sparse grid
    // most rectangles have fewer bivalue cells than that, and are passed over in order.
    std::vector<std::uint64_t> pairColumns(static_cast<std::size_t>(size), 0);
    for (int cell = 0; cell < grid.getCellCount(); ++cell)
        if (isPair(grid.getCandidates(cell)))
            pairColumns[static_cast<std::size_t>(layout.rowOf(cell))] |= std::uint64_t{1} << layout.colOf(cell);
    std::vector<int> roof;
    for (int r1 = 0; r1 < size; ++r1)
        for (int r2 = r1 + 1; r2 < size; ++r2) {
            const std::uint64_t both = pairColumns[static_cast<std::size_t>(r1)] & pairColumns[static_cast<std::size_t>(r2)];
            const std::uint64_t either = pairColumns[static_cast<std::size_t>(r1)] | pairColumns[static_cast<std::size_t>(r2)];
            for (int c1 = 0; c1 < size; ++c1) {
                const std::uint64_t above = ~std::uint64_t{0} << c1 << 1;
                // The second column brings what the first lacks of two.
                const std::uint64_t seconds = (both >> c1 & 1) ? ~std::uint64_t{0} : (either >> c1 & 1) ? either : both;
                for (std::uint64_t pending = seconds & above & (~std::uint64_t{0} >> (64 - size)); pending;
                     pending &= pending - 1) {
                    const int c2 = std::countr_zero(pending);
                    // The four cells must lie in exactly two boxes.
                    if ((r1 / n == r2 / n) == (c1 / n == c2 / n))
                        continue;
                    const int cells[4] = {r1 * size + c1, r1 * size + c2, r2 * size + c1, r2 * size + c2};
                    Mask common = grid.getAllValues();
                    for (const int cell : cells)
                        common &= grid.getCandidates(cell);
                    if (CandidateGrid::valueCount(common) < 2)
                        continue;
                    for (Mask a = common; a; a &= a - 1)
                        for (Mask b = a & (a - 1); b; b &= b - 1) {
                            const Mask pair = (a & -a) | (b & -b);
                            for (std::size_t t = 0; t < found.size(); ++t) {
                                if (found[t])
                                    continue;
                                found[t] = rectangleStep(grid, kRectangleTypes[t], cells, pair, roof);
                                if (found[t] && --left == 0)
                                    return found;
                            }
                        }
                }
            }
        }
    return found;
}

}  // namespace

std::optional<Step> findUniqueRectangle(const CandidateGrid& grid, Technique type)
{
    // The solver asks for the four types in a row on the same grid: one walk answers all.
    thread_local std::optional<CandidateGrid> lastGrid;
    thread_local std::array<std::optional<Step>, kRectangleTypes.size()> found;
    if (!lastGrid || !(*lastGrid == grid)) {
        found = findRectangles(grid);
        lastGrid = grid;
    }
    return found[static_cast<std::size_t>(std::find(kRectangleTypes.begin(), kRectangleTypes.end(), type) -
                                          kRectangleTypes.begin())];
}

std::optional<Step> findBugPlusOne(const CandidateGrid& grid)
{
    const GridLayout& layout = grid.getLayout();
    int extraCell = -1;
    for (int cell = 0; cell < grid.getCellCount(); ++cell) {
        const int count = CandidateGrid::valueCount(grid.getCandidates(cell));
        if (count == 3 && extraCell < 0)
            extraCell = cell;
        else if (count != 0 && count != 2)
            return std::nullopt;
    }
    if (extraCell < 0)
        return std::nullopt;
    // The value seen three times in the extra cell's row is the one that breaks the pattern.
    int value = 0;
    for (Mask m = grid.getCandidates(extraCell); m; m &= m - 1) {
        int count = 0;
        const int* cells = layout.cellsOf(layout.unitOf(extraCell, 0));
        for (int i = 0; i < grid.getSize(); ++i)
            count += grid.hasCandidate(cells[i], lowestValue(m));
        if (count == 3)
            value = lowestValue(m);
    }
    if (value == 0)
        return std::nullopt;
    // Every other value must appear exactly twice in every unit it is still open in.
    for (int unit = 0; unit < layout.unitCount; ++unit) {
        const int* cells = layout.cellsOf(unit);
        for (int v = 1; v <= grid.getSize(); ++v) {
            int count = 0;
            bool holdsExtra = false;
            for (int i = 0; i < grid.getSize(); ++i)
                if (grid.hasCandidate(cells[i], v)) {
                    ++count;
                    holdsExtra |= cells[i] == extraCell;
                }
            const int expected = holdsExtra && v == value ? 3 : 2;
            if (count != 0 && count != expected)
                return std::nullopt;
        }
    }
    Step step;
    step.technique = Technique::BugPlusOne;
    step.placements.push_back({extraCell, value});
    for (Mask m = grid.getCandidates(extraCell); m; m &= m - 1)
        step.proof.push_back({extraCell, lowestValue(m)});
    step.digits = {value};
    return step;
}

}  // namespace techniques
