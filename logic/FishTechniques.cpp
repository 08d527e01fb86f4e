// X-Wing, Swordfish and Jellyfish, plain and finned, with rows or columns as base lines.
#include "Techniques.h"

#include <bit>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

constexpr Technique kFish[] = {Technique::XWing, Technique::Swordfish, Technique::Jellyfish};
constexpr Technique kFinnedFish[] = {Technique::FinnedXWing, Technique::FinnedSwordfish, Technique::FinnedJellyfish};

// Calls visit(chosen) for each k-subset of 0..itemCount-1 in lexicographic order
// (pruned by accept on each prefix), stopping when visit returns true.
template <typename Accept, typename Visit>
bool forEachSubset(std::vector<int>& chosen, int start, int itemCount, int k, Accept&& accept, Visit&& visit)
{
    if (static_cast<int>(chosen.size()) == k)
        return visit(chosen);
    for (int i = start; i <= itemCount - (k - static_cast<int>(chosen.size())); ++i) {
        chosen.push_back(i);
        if (accept(chosen) && forEachSubset(chosen, i + 1, itemCount, k, accept, visit))
            return true;
        chosen.pop_back();
    }
    return false;
}

struct FishSearch {
    FishSearch(const CandidateGrid& grid, int count) : grid(grid), count(count) {}

    const CandidateGrid& grid;
    int count;
    int value = 0;
    bool byColumns = false;
    // Kept from one value to the next, so that the search does not allocate per value.
    std::vector<int> lines;
    std::vector<Mask> where;
    std::vector<int> chosen;
    std::vector<int> spareCrosses;
    std::vector<int> pads;

    int size() const { return grid.getSize(); }
    int cellAt(int line, int cross) const { return byColumns ? cross * size() + line : line * size() + cross; }
    int lineUnit(int line) const { return byColumns ? size() + line : line; }
    int crossUnit(int cross) const { return byColumns ? cross : size() + cross; }

    Mask positions(int line) const
    {
        Mask where = 0;
        for (int cross = 0; cross < size(); ++cross)
            if (grid.hasCandidate(cellAt(line, cross), value))
                where |= Mask{1} << cross;
        return where;
    }

    // The step for base lines and cover positions; eliminations limited to cells in
    // allowed (all crosses for a plain fish, the fin box's columns for a finned one). Most
    // patterns tried eliminate nothing: their step is left without its pattern.
    Step makeStep(Technique technique, const std::vector<int>& base, Mask cover, const std::vector<Mask>& where,
                  const std::vector<int>& lines, int finBox) const
    {
        Step step;
        Mask baseLines = 0;
        for (const int b : base)
            baseLines |= Mask{1} << lines[static_cast<std::size_t>(b)];
        for (int line = 0; line < size(); ++line) {
            if (baseLines & (Mask{1} << line))
                continue;
            for (Mask m = cover; m; m &= m - 1) {
                const int cell = cellAt(line, std::countr_zero(m));
                if (grid.hasCandidate(cell, value) && (finBox < 0 || grid.getLayout().boxOf(cell) == finBox))
                    step.eliminations.push_back({cell, value});
            }
        }
        if (step.eliminations.empty())
            return step;
        step.technique = technique;
        step.digits = {value};
        for (const int b : base) {
            const int line = lines[static_cast<std::size_t>(b)];
            step.units.push_back(lineUnit(line));
            for (Mask m = where[static_cast<std::size_t>(b)]; m; m &= m - 1)
                step.proof.push_back({cellAt(line, std::countr_zero(m)), value});
        }
        for (Mask m = cover; m; m &= m - 1)
            step.units.push_back(crossUnit(std::countr_zero(m)));
        return step;
    }

    std::optional<Step> find(bool finned)
    {
        const int n = grid.getInnerSize();
        lines.clear();
        where.clear();
        for (int line = 0; line < size(); ++line) {
            const Mask m = positions(line);
            const int k = CandidateGrid::valueCount(m);
            if (k >= 1 && k <= (finned ? count + n : count)) {
                lines.push_back(line);
                where.push_back(m);
            }
        }
        std::optional<Step> found;
        chosen.clear();
        // A fish's base lines lie in count cover lines, plus for a finned one the crosses
        // of the fin box: more crosses than that, and no extension of the prefix fits.
        const int crossesAllowed = finned ? count + n : count;
        auto accept = [&](const std::vector<int>& prefix) {
            Mask cover = 0;
            for (const int b : prefix)
                cover |= where[static_cast<std::size_t>(b)];
            return CandidateGrid::valueCount(cover) <= crossesAllowed;
        };
        auto visit = [&](const std::vector<int>& base) {
            found = finned ? finnedStep(base, lines, where) : plainStep(base, lines, where);
            return found.has_value();
        };
        forEachSubset(chosen, 0, static_cast<int>(lines.size()), count, accept, visit);
        return found;
    }

    std::optional<Step> plainStep(const std::vector<int>& base, const std::vector<int>& lines,
                                  const std::vector<Mask>& where) const
    {
        Mask cover = 0;
        for (const int b : base)
            cover |= where[static_cast<std::size_t>(b)];
        if (CandidateGrid::valueCount(cover) != count)
            return std::nullopt;
        Step step = makeStep(kFish[count - 2], base, cover, where, lines, -1);
        if (step.eliminations.empty())
            return std::nullopt;
        return step;
    }

    // Whether the box of band and stack holds the value off the base lines, where a
    // finned fish's eliminations lie.
    bool holdsOffBase(int band, int stack, Mask baseLines) const
    {
        const int n = grid.getInnerSize();
        for (int line = band * n; line < band * n + n; ++line)
            if (!(baseLines & (Mask{1} << line)))
                for (int cross = stack * n; cross < stack * n + n; ++cross)
                    if (grid.hasCandidate(cellAt(line, cross), value))
                        return true;
        return false;
    }

    std::optional<Step> finnedStep(const std::vector<int>& base, const std::vector<int>& lines,
                                   const std::vector<Mask>& where)
    {
        const int n = grid.getInnerSize();
        Mask baseLines = 0;
        for (const int b : base)
            baseLines |= Mask{1} << lines[static_cast<std::size_t>(b)];
        for (int band = 0; band < n; ++band) {
            bool baseInBand = false;
            for (const int b : base)
                baseInBand |= lines[static_cast<std::size_t>(b)] / n == band;
            if (!baseInBand)
                continue;
            for (int stack = 0; stack < n; ++stack) {
                const Mask boxCrosses = ((Mask{1} << n) - 1) << (stack * n);
                Mask outside = 0;
                Mask inside = 0;
                for (const int b : base) {
                    const Mask m = where[static_cast<std::size_t>(b)];
                    const bool inBand = lines[static_cast<std::size_t>(b)] / n == band;
                    outside |= inBand ? m & ~boxCrosses : m;
                    inside |= inBand ? m & boxCrosses : 0;
                }
                const int missing = count - CandidateGrid::valueCount(outside);
                if (missing < 0 || outside == 0 || !holdsOffBase(band, stack, baseLines))
                    continue;
                // Pad the cover with columns of the fin box; what stays outside is the fin.
                const Mask spare = boxCrosses & ~outside;
                spareCrosses.clear();
                for (Mask m = spare; m; m &= m - 1)
                    spareCrosses.push_back(std::countr_zero(m));
                pads.clear();
                std::optional<Step> found;
                forEachSubset(
                    pads, 0, static_cast<int>(spareCrosses.size()), missing,
                    [](const std::vector<int>&) { return true; },
                    [&](const std::vector<int>& chosenPads) {
                        Mask cover = outside;
                        for (const int p : chosenPads)
                            cover |= Mask{1} << spareCrosses[static_cast<std::size_t>(p)];
                        if ((inside & ~cover) == 0)
                            return false;
                        const int finBox = byColumns ? stack * n + band : band * n + stack;
                        Step step = makeStep(kFinnedFish[count - 2], base, cover, where, lines, finBox);
                        return keepIfItEliminates(step, found);
                    });
                if (found)
                    return found;
            }
        }
        return std::nullopt;
    }
};

}  // namespace

std::optional<Step> findFish(const CandidateGrid& grid, int count, bool finned)
{
    FishSearch search(grid, count);
    for (int value = 1; value <= grid.getSize(); ++value)
        for (const bool byColumns : {false, true}) {
            search.value = value;
            search.byColumns = byColumns;
            if (std::optional<Step> step = search.find(finned))
                return step;
        }
    return std::nullopt;
}

}  // namespace techniques
