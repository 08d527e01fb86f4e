#include "CandidateGrid.h"

#include "SudokuBoard.h"

#include <array>
#include <bit>
#include <memory>
#include <mutex>

namespace {

std::unique_ptr<GridLayout> buildLayout(int n)
{
    auto layout = std::make_unique<GridLayout>();
    const int size = n * n;
    layout->innerSize = n;
    layout->size = size;
    layout->cellCount = size * size;
    layout->unitCount = 3 * size;
    layout->unitCells.resize(static_cast<std::size_t>(3 * size * size));
    layout->cellUnits.resize(static_cast<std::size_t>(3 * size * size));
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c) {
            const int cell = r * size + c;
            const int box = (r / n) * n + c / n;
            const int inBox = (r % n) * n + c % n;
            layout->unitCells[static_cast<std::size_t>(r * size + c)] = cell;
            layout->unitCells[static_cast<std::size_t>((size + c) * size + r)] = cell;
            layout->unitCells[static_cast<std::size_t>((2 * size + box) * size + inBox)] = cell;
            layout->cellUnits[static_cast<std::size_t>(cell * 3)] = r;
            layout->cellUnits[static_cast<std::size_t>(cell * 3 + 1)] = size + c;
            layout->cellUnits[static_cast<std::size_t>(cell * 3 + 2)] = 2 * size + box;
        }
    layout->peerCount = 3 * size - 2 * n - 1;
    for (int cell = 0; cell < layout->cellCount; ++cell)
        for (int other = 0; other < layout->cellCount; ++other)
            if (layout->sees(cell, other))
                layout->peers.push_back(other);
    return layout;
}

}  // namespace

const GridLayout& GridLayout::forInnerSize(int n)
{
    static std::array<std::unique_ptr<GridLayout>, CandidateGrid::kMaxInnerSize + 1> layouts;
    static std::mutex mutex;
    const std::lock_guard<std::mutex> lock(mutex);
    if (!layouts[static_cast<std::size_t>(n)])
        layouts[static_cast<std::size_t>(n)] = buildLayout(n);
    return *layouts[static_cast<std::size_t>(n)];
}

CandidateGrid::CandidateGrid(int innerSize)
    : layout(&GridLayout::forInnerSize(innerSize)),
      allValues(layout->size == 64 ? ~Mask{0} : (Mask{1} << layout->size) - 1),
      blanks(layout->cellCount),
      values(static_cast<std::size_t>(layout->cellCount), 0),
      candidates(static_cast<std::size_t>(layout->cellCount), allValues)
{
}

std::optional<CandidateGrid> CandidateGrid::fromValues(const std::vector<int>& values)
{
    int n = 1;
    while (n <= kMaxInnerSize && static_cast<std::size_t>(n * n * n * n) < values.size())
        ++n;
    if (n > kMaxInnerSize || static_cast<std::size_t>(n * n * n * n) != values.size())
        return std::nullopt;
    CandidateGrid grid(n);
    for (int cell = 0; cell < grid.getCellCount(); ++cell) {
        const int v = values[static_cast<std::size_t>(cell)];
        if (v == 0)
            continue;
        if (v < 0 || v > grid.getSize() || !grid.hasCandidate(cell, v))
            return std::nullopt;
        grid.place(cell, v);
    }
    return grid;
}

std::optional<CandidateGrid> CandidateGrid::fromBoard(const SudokuBoard& board)
{
    const int size = board.getSize();
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(size * size));
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            values.push_back(board.valueAt(r, c));
    if (board.getInnerSize() < 1 || board.getInnerSize() > kMaxInnerSize)
        return std::nullopt;
    return fromValues(values);
}

void CandidateGrid::place(int cell, int value)
{
    if (values[static_cast<std::size_t>(cell)] == 0)
        --blanks;
    values[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(value);
    candidates[static_cast<std::size_t>(cell)] = 0;
    const Mask clear = ~bit(value);
    const int* peers = layout->peersOf(cell);
    for (int i = 0; i < layout->peerCount; ++i)
        candidates[static_cast<std::size_t>(peers[i])] &= clear;
}

bool CandidateGrid::eliminate(int cell, int value)
{
    Mask& mask = candidates[static_cast<std::size_t>(cell)];
    if (!(mask & bit(value)))
        return false;
    mask &= ~bit(value);
    return true;
}

namespace {

// Work to do: a cell >= 0 with one candidate, or ~(unit * size + value - 1) for a value
// with one place left in a unit. Items can go stale and are checked again. The thread's
// own buffer, so that the counter's nodes do not allocate.
thread_local std::vector<int> singlesWork;

}  // namespace

bool CandidateGrid::propagateSingles()
{
    thread_local SinglesTally tally;
    return propagateSingles(tally);
}

bool CandidateGrid::propagateSingles(SinglesTally& tally)
{
    const GridLayout& grid = *layout;
    const int size = grid.size;
    tally.holders.assign(static_cast<std::size_t>(grid.unitCount * size), 0);
    tally.placedIn.assign(static_cast<std::size_t>(grid.unitCount), 0);
    std::vector<int>& work = singlesWork;
    work.clear();
    for (int cell = 0; cell < grid.cellCount; ++cell) {
        const int value = values[static_cast<std::size_t>(cell)];
        const Mask mask = candidates[static_cast<std::size_t>(cell)];
        if (value != 0) {
            for (int kind = 0; kind < 3; ++kind)
                tally.placedIn[static_cast<std::size_t>(grid.unitOf(cell, kind))] |= bit(value);
            continue;
        }
        if (mask == 0)
            return false;
        if (std::has_single_bit(mask))
            work.push_back(cell);
        for (Mask m = mask; m; m &= m - 1)
            for (int kind = 0; kind < 3; ++kind)
                ++tally.holders[holderIndex(grid.unitOf(cell, kind), std::countr_zero(m) + 1)];
    }
    for (int unit = 0; unit < grid.unitCount; ++unit)
        for (int value = 1; value <= size; ++value) {
            if (tally.placedIn[static_cast<std::size_t>(unit)] & bit(value))
                continue;
            const int count = tally.holders[holderIndex(unit, value)];
            if (count == 0)
                return false;
            if (count == 1)
                work.push_back(~static_cast<int>(holderIndex(unit, value)));
        }
    return drainSingles(tally);
}

bool CandidateGrid::placeAndPropagate(int cell, int value, SinglesTally& tally)
{
    singlesWork.clear();
    return assignSingle(tally, cell, value) && drainSingles(tally);
}

bool CandidateGrid::loseCandidate(SinglesTally& tally, int cell, int value)
{
    for (int kind = 0; kind < 3; ++kind) {
        const int unit = layout->unitOf(cell, kind);
        const int left = --tally.holders[holderIndex(unit, value)];
        if (tally.placedIn[static_cast<std::size_t>(unit)] & bit(value))
            continue;
        if (left == 0)
            return false;
        if (left == 1)
            singlesWork.push_back(~static_cast<int>(holderIndex(unit, value)));
    }
    return true;
}

bool CandidateGrid::assignSingle(SinglesTally& tally, int cell, int value)
{
    const Mask others = candidates[static_cast<std::size_t>(cell)] & ~bit(value);
    for (int kind = 0; kind < 3; ++kind)
        tally.placedIn[static_cast<std::size_t>(layout->unitOf(cell, kind))] |= bit(value);
    values[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(value);
    candidates[static_cast<std::size_t>(cell)] = 0;
    --blanks;
    for (Mask m = others; m; m &= m - 1)
        if (!loseCandidate(tally, cell, std::countr_zero(m) + 1))
            return false;
    const int* peers = layout->peersOf(cell);
    for (int i = 0; i < layout->peerCount; ++i) {
        Mask& mask = candidates[static_cast<std::size_t>(peers[i])];
        if (!(mask & bit(value)))
            continue;
        mask &= ~bit(value);
        if (mask == 0 || !loseCandidate(tally, peers[i], value))
            return false;
        if (std::has_single_bit(mask))
            singlesWork.push_back(peers[i]);
    }
    return true;
}

bool CandidateGrid::drainSingles(SinglesTally& tally)
{
    const int size = layout->size;
    std::vector<int>& work = singlesWork;
    while (!work.empty()) {
        const int item = work.back();
        work.pop_back();
        if (item >= 0) {
            const Mask mask = candidates[static_cast<std::size_t>(item)];
            if (values[static_cast<std::size_t>(item)] == 0 && !assignSingle(tally, item, std::countr_zero(mask) + 1))
                return false;
            continue;
        }
        const int unit = ~item / size;
        const int value = ~item % size + 1;
        if (tally.placedIn[static_cast<std::size_t>(unit)] & bit(value))
            continue;
        const int* cells = layout->cellsOf(unit);
        int cell = 0;
        while (cell < size && !(candidates[static_cast<std::size_t>(cells[cell])] & bit(value)))
            ++cell;
        if (cell == size || !assignSingle(tally, cells[cell], value))
            return false;
    }
    return true;
}
