// Unique rectangles and BUG+1: sound only for a puzzle with exactly one solution,
// which cannot end in a pattern that two values could fill either way.
#include "Techniques.h"

#include <bit>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

int lowestValue(Mask mask) { return std::countr_zero(mask) + 1; }

}  // namespace

std::optional<Step> findUniqueRectangle(const CandidateGrid& grid, int type)
{
    const GridLayout& layout = grid.getLayout();
    const int size = grid.getSize();
    const int n = grid.getInnerSize();
    for (int r1 = 0; r1 < size; ++r1)
        for (int r2 = r1 + 1; r2 < size; ++r2)
            for (int c1 = 0; c1 < size; ++c1)
                for (int c2 = c1 + 1; c2 < size; ++c2) {
                    // The four cells must lie in exactly two boxes.
                    if ((r1 / n == r2 / n) == (c1 / n == c2 / n))
                        continue;
                    const int cells[4] = {r1 * size + c1, r1 * size + c2, r2 * size + c1, r2 * size + c2};
                    Mask common = grid.getAllValues();
                    for (const int cell : cells)
                        common &= grid.getCandidates(cell);
                    if (std::popcount(common) < 2)
                        continue;
                    for (Mask a = common; a; a &= a - 1)
                        for (Mask b = a & (a - 1); b; b &= b - 1) {
                            const Mask pair = (a & -a) | (b & -b);
                            std::vector<int> floor, roof;
                            for (const int cell : cells)
                                (grid.getCandidates(cell) == pair ? floor : roof).push_back(cell);
                            Step step;
                            step.digits = {lowestValue(pair), lowestValue(pair & (pair - 1))};
                            for (const int cell : cells)
                                for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                                    step.proof.push_back({cell, lowestValue(m)});
                            if (type == 1 && floor.size() == 3) {
                                step.technique = Technique::UniqueRectangle1;
                                for (const int value : step.digits)
                                    step.eliminations.push_back({roof[0], value});
                                return step;
                            }
                            if (type != 2 || floor.size() != 2)
                                continue;
                            const Mask extra = grid.getCandidates(roof[0]) & ~pair;
                            if (!std::has_single_bit(extra) || grid.getCandidates(roof[1]) != (pair | extra))
                                continue;
                            const int value = lowestValue(extra);
                            for (int cell = 0; cell < grid.getCellCount(); ++cell)
                                if (grid.hasCandidate(cell, value) && layout.sees(cell, roof[0]) &&
                                    layout.sees(cell, roof[1]))
                                    step.eliminations.push_back({cell, value});
                            if (step.eliminations.empty())
                                continue;
                            step.technique = Technique::UniqueRectangle2;
                            step.digits.push_back(value);
                            return step;
                        }
                }
    return std::nullopt;
}

std::optional<Step> findBugPlusOne(const CandidateGrid& grid)
{
    const GridLayout& layout = grid.getLayout();
    int extraCell = -1;
    for (int cell = 0; cell < grid.getCellCount(); ++cell) {
        const int count = std::popcount(grid.getCandidates(cell));
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
