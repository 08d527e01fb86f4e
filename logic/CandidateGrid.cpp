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

bool CandidateGrid::propagateSingles()
{
    const int size = layout->size;
    for (bool changed = true; changed;) {
        changed = false;
        for (int cell = 0; cell < layout->cellCount; ++cell) {
            if (values[static_cast<std::size_t>(cell)] != 0)
                continue;
            const Mask mask = candidates[static_cast<std::size_t>(cell)];
            if (mask == 0)
                return false;
            if (std::has_single_bit(mask)) {
                place(cell, std::countr_zero(mask) + 1);
                changed = true;
            }
        }
        for (int unit = 0; unit < layout->unitCount; ++unit) {
            const int* cells = layout->cellsOf(unit);
            Mask once = 0, twice = 0, placed = 0;
            for (int i = 0; i < size; ++i) {
                const Mask mask = candidates[static_cast<std::size_t>(cells[i])];
                twice |= once & mask;
                once |= mask;
                if (values[static_cast<std::size_t>(cells[i])] != 0)
                    placed |= bit(values[static_cast<std::size_t>(cells[i])]);
            }
            if ((once | placed) != allValues)
                return false;
            Mask hidden = once & ~twice & ~placed;
            while (hidden) {
                const int value = std::countr_zero(hidden) + 1;
                hidden &= hidden - 1;
                for (int i = 0; i < size; ++i)
                    if (candidates[static_cast<std::size_t>(cells[i])] & bit(value)) {
                        place(cells[i], value);
                        changed = true;
                        break;
                    }
            }
        }
    }
    return true;
}
