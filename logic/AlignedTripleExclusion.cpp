// Aligned triple exclusion: three cells that see each other cannot take a combination of
// values that puts one value in two of them, or that takes every candidate of a cell of
// two or three candidates seeing all three. A value of a cell found in no combination
// left is false.
#include "Techniques.h"

#include <algorithm>
#include <array>
#include <bit>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

int lowestValue(Mask mask) { return std::countr_zero(mask) + 1; }

class TripleSearch {
public:
    explicit TripleSearch(const CandidateGrid& grid) : grid(grid), layout(grid.getLayout())
    {
        for (int cell = 0; cell < grid.getCellCount(); ++cell)
            if (grid.getValue(cell) == 0) {
                blanks.push_back(cell);
                if (CandidateGrid::valueCount(grid.getCandidates(cell)) <= 3)
                    small.push_back(cell);
            }
    }

    std::optional<Step> find()
    {
        std::optional<Step> found;
        for (const int hub : blanks) {
            const int* peers = layout.peersOf(hub);
            for (int i = 0; i < layout.peerCount; ++i)
                for (int j = i + 1; j < layout.peerCount; ++j) {
                    const int p = peers[i], q = peers[j];
                    if (grid.getValue(p) != 0 || grid.getValue(q) != 0)
                        continue;
                    // Each three cells that see each other are met from their lowest.
                    if (!layout.sees(p, q) || p < hub || q < hub)
                        continue;
                    if (tryTriple({hub, p, q}, found))
                        return found;
                }
        }
        return found;
    }

private:
    struct Excluder {
        int cell;
        Mask values;
    };

    bool tryTriple(const std::array<int, 3>& triple, std::optional<Step>& found)
    {
        excluders.clear();
        used.clear();
        for (const int cell : small) {
            if (cell == triple[0] || cell == triple[1] || cell == triple[2])
                continue;
            if (!layout.sees(cell, triple[0]) || !layout.sees(cell, triple[1]) || !layout.sees(cell, triple[2]))
                continue;
            excluders.push_back({cell, grid.getCandidates(cell)});
            used.push_back(0);
        }
        if (excluders.empty())
            return false;
        // Per triple cell, the values found in some combination left.
        Mask allowed[3] = {0, 0, 0};
        const Mask first = grid.getCandidates(triple[0]);
        const Mask second = grid.getCandidates(triple[1]);
        const Mask third = grid.getCandidates(triple[2]);
        for (Mask a = first; a; a &= a - 1)
            for (Mask b = second; b; b &= b - 1) {
                const Mask va = a & -a, vb = b & -b;
                if (va == vb)
                    continue;
                for (Mask c = third; c; c &= c - 1) {
                    const Mask vc = c & -c;
                    if (va == vc || vb == vc)
                        continue;
                    if (excluded(va, vb, vc))
                        continue;
                    allowed[0] |= va;
                    allowed[1] |= vb;
                    allowed[2] |= vc;
                }
            }
        Step step;
        step.technique = Technique::AlignedTripleExclusion;
        for (int k = 0; k < 3; ++k) {
            const int cell = triple[static_cast<std::size_t>(k)];
            for (Mask m = grid.getCandidates(cell) & ~allowed[k]; m; m &= m - 1)
                step.eliminations.push_back({cell, lowestValue(m)});
        }
        if (step.eliminations.empty())
            return false;
        for (const int cell : triple)
            for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                step.proof.push_back({cell, lowestValue(m)});
        // The cells that ruled a combination out follow the three.
        for (std::size_t i = 0; i < excluders.size(); ++i)
            if (used[i])
                for (Mask m = excluders[i].values; m; m &= m - 1)
                    step.proof.push_back({excluders[i].cell, lowestValue(m)});
        step.weight = techniqueInfo(Technique::AlignedTripleExclusion).weight;
        found = std::move(step);
        return true;
    }

    // The three values empty a cell that sees all three.
    bool excluded(Mask va, Mask vb, Mask vc)
    {
        for (std::size_t i = 0; i < excluders.size(); ++i) {
            const Excluder& e = excluders[i];
            if ((e.values & ~(va | vb | vc)) == 0) {
                used[i] = 1;
                return true;
            }
        }
        return false;
    }

    const CandidateGrid& grid;
    const GridLayout& layout;
    std::vector<int> blanks;
    std::vector<int> small;
    std::vector<Excluder> excluders;
    std::vector<char> used;
};

}  // namespace

std::optional<Step> findAlignedTripleExclusion(const CandidateGrid& grid)
{
    return TripleSearch(grid).find();
}

}  // namespace techniques
