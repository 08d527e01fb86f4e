// Unique loops: six or more cells holding the same two values, each unit they touch
// holding exactly two of them at odd distance along the loop. Were every cell left with
// the two values alone, they could be swapped around the loop, giving a second solution:
// a puzzle with one solution cannot end so. Sound only when that one solution is known.
#include "Techniques.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

int lowestValue(Mask mask) { return std::countr_zero(mask) + 1; }

// Loops of more cells weigh more, and past this length none is looked for.
constexpr int kMaxLoopCells = 12;

constexpr std::array<Technique, 4> kLoopTypes{Technique::UniqueLoop1, Technique::UniqueLoop4, Technique::UniqueLoop2,
                                              Technique::UniqueLoop3};

// The four types' loops differ only in the extra candidates they allow: type 1 on one cell,
// types 3 and 4 on two, type 2 on any number of cells of three candidates. One search walks
// every loop any of them allows; each type keeps the shortest that gives it a step, the
// first of equals, as a search of its own would.
class LoopSearch {
public:
    explicit LoopSearch(const CandidateGrid& grid)
        : grid(grid), layout(grid.getLayout()), size(grid.getSize()),
          unitUse(static_cast<std::size_t>(layout.unitCount), 0)
    {
    }

    std::array<std::optional<Step>, kLoopTypes.size()> find()
    {
        for (int a = 1; a <= size; ++a)
            for (int b = a + 1; b <= size; ++b) {
                pair = CandidateGrid::bit(a) | CandidateGrid::bit(b);
                cells.clear();
                for (int cell = 0; cell < grid.getCellCount(); ++cell)
                    if (grid.getValue(cell) == 0 && (grid.getCandidates(cell) & pair) == pair)
                        cells.push_back(cell);
                keepPartnered();
                int exact = 0, narrow = 0;
                for (const int cell : cells) {
                    exact += !isExtra(cell);
                    narrow += !isWide(cell);
                }
                bool any = false;
                for (std::size_t t = 0; t < kLoopTypes.size(); ++t) {
                    searched[t] = t == kType2 ? narrow >= 6
                                              : static_cast<int>(cells.size()) >= 6 && exact >= 6 - extraLimit(t);
                    any |= searched[t];
                }
                if (!any)
                    continue;
                for (const int start : cells) {
                    any = false;
                    for (std::size_t t = 0; t < kLoopTypes.size(); ++t) {
                        maxLength[t] = best[t] ? bestCells[t] - 2 : kMaxLoopCells;
                        searched[t] = searched[t] && maxLength[t] >= 6;
                        any |= searched[t];
                    }
                    if (!any)
                        break;
                    measureFrom(start);
                    loop.assign(1, start);
                    extras = isExtra(start);
                    wide = isWide(start);
                    roofMask = extras ? grid.getCandidates(start) : 0;
                    mixedRoof = false;
                    use(start, 1);
                    extend();
                    use(start, -1);
                }
            }
        return std::move(best);
    }

private:
    static constexpr std::size_t kType2 = 2;

    bool isExtra(int cell) const { return grid.getCandidates(cell) != pair; }
    // Type 2's cells hold one extra value at most.
    bool isWide(int cell) const { return CandidateGrid::valueCount(grid.getCandidates(cell)) > 3; }

    // Whether type t may still close the loop walked so far: type 2 with its extra cells
    // alike, since they must share one value.
    bool open(std::size_t t) const
    {
        if (!searched[t])
            return false;
        if (t == kType2)
            return wide == 0 && !mixedRoof;
        return extras <= extraLimit(t);
    }

    int longestOpen() const
    {
        int longest = 0;
        for (std::size_t t = 0; t < kLoopTypes.size(); ++t)
            if (open(t))
                longest = std::max(longest, maxLength[t]);
        return longest;
    }

    void use(int cell, int delta)
    {
        for (int kind = 0; kind < 3; ++kind)
            unitUse[static_cast<std::size_t>(layout.unitOf(cell, kind))] += delta;
    }

    // A loop holds two cells of each unit it touches, so a cell alone in one of its units
    // among those left is in none; dropping it may leave another alone in turn.
    void keepPartnered()
    {
        for (const int cell : cells)
            use(cell, 1);
        for (bool dropped = true; dropped;) {
            dropped = false;
            std::erase_if(cells, [&](int cell) {
                for (int kind = 0; kind < 3; ++kind)
                    if (unitUse[static_cast<std::size_t>(layout.unitOf(cell, kind))] < 2) {
                        use(cell, -1);
                        dropped = true;
                        return true;
                    }
                return false;
            });
        }
        for (const int cell : cells)
            use(cell, -1);
    }

    // A cell may join at the loop's position when no unit gets a third cell, and every
    // loop cell it sees lies at odd distance (so the two values alternate between them).
    bool fits(int cell) const
    {
        for (int kind = 0; kind < 3; ++kind)
            if (unitUse[static_cast<std::size_t>(layout.unitOf(cell, kind))] >= 2)
                return false;
        const std::size_t position = loop.size();
        for (std::size_t i = 0; i < position; ++i)
            if (loop[i] == cell || (layout.sees(loop[i], cell) && (position - i) % 2 == 0))
                return false;
        return true;
    }

    static int extraLimit(std::size_t t) { return t == kType2 ? kMaxLoopCells : t == 0 ? 1 : 2; }

    // Links from the start to each cell through cells after it, so that a path that
    // cannot come back within the length allowed stops early.
    void measureFrom(int start)
    {
        distance.assign(cells.size(), kMaxLoopCells + 1);
        std::size_t first = 0;
        while (cells[first] != start)
            ++first;
        distance[first] = 0;
        bool changed = true;
        for (int d = 0; changed; ++d) {
            changed = false;
            for (std::size_t i = first; i < cells.size(); ++i) {
                if (distance[i] != d)
                    continue;
                for (std::size_t j = first + 1; j < cells.size(); ++j)
                    if (distance[j] > d + 1 && layout.sees(cells[i], cells[j])) {
                        distance[j] = d + 1;
                        changed = true;
                    }
            }
        }
    }

    void extend()
    {
        const int last = loop.back();
        const int length = static_cast<int>(loop.size());
        // The start is the loop's lowest cell, and its second cell lower than its last,
        // so each loop is met once.
        if (length >= 6 && length % 2 == 0 && last > loop[1] && layout.sees(last, loop.front()) && closed())
            for (std::size_t t = 0; t < kLoopTypes.size(); ++t)
                if (open(t) && length <= maxLength[t])
                    conclude(t);
        if (length >= longestOpen())
            return;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int cell = cells[i];
            if (cell <= loop.front() || !layout.sees(last, cell) || !fits(cell))
                continue;
            const int extra = isExtra(cell);
            const int wider = isWide(cell);
            const Mask roofBefore = roofMask;
            const bool mixedBefore = mixedRoof;
            if (extra) {
                mixedRoof |= roofMask != 0 && grid.getCandidates(cell) != roofMask;
                roofMask = grid.getCandidates(cell);
            }
            extras += extra;
            wide += wider;
            if (length + distance[i] <= longestOpen()) {
                loop.push_back(cell);
                use(cell, 1);
                extend();
                use(cell, -1);
                loop.pop_back();
            }
            wide -= wider;
            extras -= extra;
            roofMask = roofBefore;
            mixedRoof = mixedBefore;
        }
    }

    // Every unit the loop touches holds two of its cells.
    bool closed() const
    {
        for (const int cell : loop)
            for (int kind = 0; kind < 3; ++kind)
                if (unitUse[static_cast<std::size_t>(layout.unitOf(cell, kind))] != 2)
                    return false;
        return true;
    }

    void conclude(std::size_t t)
    {
        const Technique type = kLoopTypes[t];
        std::vector<int> roof;
        for (const int cell : loop)
            if (isExtra(cell))
                roof.push_back(cell);
        if (roof.empty())
            return;
        Step step;
        step.technique = type;
        step.digits = {lowestValue(pair), lowestValue(pair & (pair - 1))};
        for (const int cell : loop)
            for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                step.proof.push_back({cell, lowestValue(m)});
        double extraWeight = 0.0;
        switch (type) {
        case Technique::UniqueLoop1:
            if (roof.size() != 1)
                return;
            for (const int value : step.digits)
                step.eliminations.push_back({roof[0], value});
            break;
        case Technique::UniqueLoop2: {
            // Every roof cell has the same one extra value: one of them holds it.
            const Mask extra = grid.getCandidates(roof[0]) & ~pair;
            if (roof.size() < 2 || !std::has_single_bit(extra))
                return;
            for (const int cell : roof)
                if (grid.getCandidates(cell) != (pair | extra))
                    return;
            const int value = lowestValue(extra);
            for (int cell = 0; cell < grid.getCellCount(); ++cell)
                if (grid.hasCandidate(cell, value) &&
                    std::all_of(roof.begin(), roof.end(), [&](int r) { return layout.sees(cell, r); }))
                    step.eliminations.push_back({cell, value});
            step.digits.push_back(value);
            break;
        }
        default: {
            if (roof.size() != 2 || !layout.sees(roof[0], roof[1]))
                return;
            // Type 3 weighs 0.1 more for each cell the subset takes besides the roof.
            const int k = roofInSharedUnit(grid, step, roof, pair, type == Technique::UniqueLoop4);
            if (k == 0)
                return;
            extraWeight = type == Technique::UniqueLoop3 ? 0.1 * (k - 1) : 0.0;
            break;
        }
        }
        if (step.eliminations.empty())
            return;
        step.weight = std::round((techniqueInfo(type).weight + lengthModifier(static_cast<int>(loop.size())) + extraWeight) * 10) / 10;
        best[t] = std::move(step);
        bestCells[t] = static_cast<int>(loop.size());
        maxLength[t] = bestCells[t] - 2;
    }

    const CandidateGrid& grid;
    const GridLayout& layout;
    const int size;
    std::vector<int> unitUse;
    Mask pair = 0;
    std::vector<int> cells;
    std::vector<int> loop;
    int extras = 0;
    int wide = 0;
    // The first extra cell's candidates on the loop, and whether another differs.
    Mask roofMask = 0;
    bool mixedRoof = false;
    std::array<bool, kLoopTypes.size()> searched{};
    std::array<int, kLoopTypes.size()> maxLength{};
    std::array<int, kLoopTypes.size()> bestCells{};
    std::vector<int> distance;
    std::array<std::optional<Step>, kLoopTypes.size()> best;
};

}  // namespace

std::optional<Step> findUniqueLoop(const CandidateGrid& grid, Technique type)
{
    // The solver asks for the four types in a row on the same grid: one search answers all.
    thread_local std::optional<CandidateGrid> lastGrid;
    thread_local std::array<std::optional<Step>, kLoopTypes.size()> found;
    if (!lastGrid || !(*lastGrid == grid)) {
        found = LoopSearch(grid).find();
        lastGrid = grid;
    }
    return found[static_cast<std::size_t>(std::find(kLoopTypes.begin(), kLoopTypes.end(), type) - kLoopTypes.begin())];
}

}  // namespace techniques
