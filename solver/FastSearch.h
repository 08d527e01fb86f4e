#pragma once

#include "SudokuBoard.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <type_traits>
#include <vector>

// Candidate-set arithmetic for the mask types of FastSearch: value v is bit v - 1.
template <typename Mask>
struct MaskOps {
    static Mask bit(int v) { return static_cast<Mask>(Mask{1} << (v - 1)); }
    static bool any(Mask m) { return m != 0; }
    static bool single(Mask m) { return m != 0 && (m & (m - 1)) == 0; }
    // Bit counting by halves, as the popcnt instruction cannot be assumed.
    static int count(Mask m)
    {
        std::uint64_t x = m;
        x -= (x >> 1) & 0x5555555555555555u;
        x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
        x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
        return static_cast<int>((x * 0x0101010101010101u) >> 56);
    }
    static int lowestValue(Mask m) { return std::countr_zero(m) + 1; }
    static int nthValue(Mask m, int k)
    {
        while (k-- > 0)
            m &= static_cast<Mask>(m - 1);
        return lowestValue(m);
    }
    static Mask full(int size) { return size > 0 ? static_cast<Mask>(bit(size) | (bit(size) - 1)) : Mask{}; }
    static Mask fromCell(const Cell& cell) { return static_cast<Mask>(cell.possibleWords()[0]); }
};

// Grids wider than 64 values: correct rather than fast, as such searches are
// out of reach anyway.
template <std::size_t Bits>
struct MaskOps<std::bitset<Bits>> {
    using Mask = std::bitset<Bits>;
    static Mask bit(int v) { return Mask().set(v - 1); }
    static bool any(const Mask& m) { return m.any(); }
    static bool single(const Mask& m) { return m.count() == 1; }
    static int count(const Mask& m) { return static_cast<int>(m.count()); }
    static int nthValue(const Mask& m, int k)
    {
        for (std::size_t i = 0; i < Bits; ++i)
            if (m.test(i) && k-- == 0)
                return static_cast<int>(i) + 1;
        return -1;
    }
    static int lowestValue(const Mask& m) { return nthValue(m, 0); }
    static Mask full(int size)
    {
        Mask m;
        for (int i = 0; i < size; ++i)
            m.set(i);
        return m;
    }
    static Mask fromCell(const Cell& cell)
    {
        Mask m;
        for (int v = 1; v <= cell.getMaxValue(); ++v)
            if (cell.isPossible(v))
                m.set(v - 1);
        return m;
    }
};

// Propagation and search on a flat copy of the board: arrays of values and of
// candidate masks (the count of a set is its number of bits), kept in
// column-major order, the order of the propagation scan, with a bit set of the
// blank cells, so that a pass visits only blank cells. There is one grid per
// search level, reused by copy-assignment, so that the search allocates nothing
// once it has been as deep before. FixedInner, when not 0, is the inner size
// known at compile time: the grid is then a plain block and the compiler unrolls
// the walks over rows, columns and sub-squares. The engine makes exactly the
// decisions of the board-based algorithms, random draws included.
//
// Placing the lowest candidate that no other blank cell of the row, or of the
// column, or of the sub-square has, is the same as placing the lowest candidate
// that is missing from at least one of the three sets "values held by two or more
// blank cells of the unit" (the cell itself being one of them).
template <typename Mask, int FixedInner = 0>
class FastSearch {
public:
    using Ops = MaskOps<Mask>;
    // Values up to 64 fit a byte.
    using Value = std::conditional_t<sizeof(Mask) <= sizeof(std::uint64_t), std::uint8_t, std::uint16_t>;

    static constexpr int kFixedSide = FixedInner * FixedInner;
    static constexpr int kFixedCells = kFixedSide * kFixedSide;
    template <typename T, int Count>
    using Storage = std::conditional_t<FixedInner != 0, std::array<T, Count>, std::vector<T>>;

    // Cell (r, c) is entry c * size + r of each array. live holds the candidates
    // of the blank cells and nothing for the filled ones: what the uniqueness
    // tests look at.
    struct Grid {
        Storage<Mask, kFixedCells> bits;
        Storage<Mask, kFixedCells> live;
        Storage<Value, kFixedCells> values;
        Storage<std::uint64_t, kFixedCells / 64 + 1> blank; // bit i set while cell i is blank
    };

    explicit FastSearch(int innerSize)
        : n(FixedInner ? FixedInner : innerSize)
        , size(n * n)
        , cellCount(size * size)
        , twice{}
        , stamps{}
    {
        if constexpr (FixedInner == 0) {
            twice.resize(3 * size);
            stamps.resize(3 * size);
        }
    }

    int getInnerSize() const { return inner(); }
    int getSize() const { return side(); }

    // The grid of a search level; levels are created on first use and then kept.
    Grid& gridAt(int level)
    {
        while (static_cast<int>(pool.size()) <= level) {
            pool.push_back(std::make_unique<Grid>());
            if constexpr (FixedInner == 0) {
                pool.back()->bits.resize(cellCount);
                pool.back()->live.resize(cellCount);
                pool.back()->values.resize(cellCount);
                pool.back()->blank.resize(cellCount / 64 + 1);
            }
        }
        return *pool[level];
    }

    int candidates(const Grid& grid, int cell) const { return Ops::count(grid.bits[cell]); }
    int nthCandidate(const Grid& grid, int cell, int k) const { return Ops::nthValue(grid.bits[cell], k); }
    // Removes a candidate of a blank cell.
    void removeCandidate(Grid& grid, int cell, int v) const
    {
        grid.bits[cell] &= ~Ops::bit(v);
        grid.live[cell] = grid.bits[cell];
    }

    void load(const SudokuBoard& board, Grid& grid) const
    {
        std::fill(grid.blank.begin(), grid.blank.end(), 0);
        for (int i = 0; i < cellCount; ++i) {
            const Cell& cell = *board.cellAt(i % size, i / size);
            grid.bits[i] = Ops::fromCell(cell);
            grid.values[i] = static_cast<Value>(cell.getValue());
            grid.live[i] = cell.getValue() == 0 ? grid.bits[i] : Mask{};
            if (cell.getValue() == 0)
                grid.blank[i >> 6] |= std::uint64_t{1} << (i & 63);
        }
    }

    // Writes values and candidate sets back into a board of the same inner size.
    void store(const Grid& grid, SudokuBoard& board) const
    {
        const Mask full = Ops::full(size);
        for (int i = 0; i < cellCount; ++i) {
            Cell& cell = *board.cellAt(i % size, i / size);
            cell.setValue(grid.values[i]);
            cell.resetPossibles();
            for (Mask missing = full & ~grid.bits[i]; Ops::any(missing);) {
                const int v = Ops::lowestValue(missing);
                cell.removePossible(v);
                missing &= ~Ops::bit(v);
            }
        }
    }

    // The board's isValid on a loaded grid, whose values are all within 0..size:
    // no value twice among the filled cells of a row, column or sub-square.
    bool isValid(const Grid& grid) const
    {
        const int s = side();
        const int b = inner();
        for (int unit = 0; unit < s; ++unit) {
            Mask inRow{};
            Mask inColumn{};
            Mask inBox{};
            const int r0 = (unit / b) * b;
            const int c0 = (unit % b) * b;
            for (int k = 0; k < s; ++k) {
                if (!addValue(grid.values[k * s + unit], inRow) || !addValue(grid.values[unit * s + k], inColumn)
                    || !addValue(grid.values[(c0 + k % b) * s + r0 + k / b], inBox))
                    return false;
            }
        }
        return true;
    }

    void storeValues(const Grid& grid, SudokuBoard& board) const
    {
        for (int i = 0; i < cellCount; ++i)
            board.cellAt(i % size, i / size)->setValue(grid.values[i]);
    }

    // The board's recomputePossibles on a loaded grid.
    void recompute(Grid& grid)
    {
        std::fill(grid.bits.begin(), grid.bits.end(), Ops::full(size));
        for (int i = 0; i < cellCount; ++i)
            if (grid.values[i] != 0)
                place(grid, i, grid.values[i]);
        for (int i = 0; i < cellCount; ++i)
            grid.live[i] = grid.values[i] == 0 ? grid.bits[i] : Mask{};
    }

    // Sets the value and removes it from every peer's candidates.
    void place(Grid& grid, int cell, int v)
    {
        const int s = side();
        const int b = inner();
        const int r = cell % s;
        const int c = cell / s;
        grid.values[cell] = static_cast<Value>(v);
        grid.blank[cell >> 6] &= ~(std::uint64_t{1} << (cell & 63));
        ++epoch;
        const Mask keep = ~Ops::bit(v);
        Mask* bits = grid.bits.data();
        Mask* live = grid.live.data();
        // The walks pass over the cell itself too, without tests; its own set is
        // put back afterwards, as placing never touches the cell's candidates.
        const Mask own = bits[cell];
        for (int k = 0; k < s; ++k) {
            bits[c * s + k] &= keep;
            live[c * s + k] &= keep;
        }
        for (int k = 0; k < s; ++k) {
            bits[k * s + r] &= keep;
            live[k * s + r] &= keep;
        }
        const int r0 = r - r % b;
        const int c0 = c - c % b;
        for (int j = c0; j < c0 + b; ++j) {
            for (int i = r0; i < r0 + b; ++i) {
                bits[j * s + i] &= keep;
                live[j * s + i] &= keep;
            }
        }
        bits[cell] = own;
        live[cell] = Mask{};
    }

    // Returns -1 when the grid is complete, else the index of the dead-end or
    // branching cell.
    int propagate(Grid& grid)
    {
        const int s = side();
        const int b = inner();
        if (s < 1)
            return -1;
        ++epoch;
        // Cells after the last placement of a pass were tested against the state
        // that the next pass starts from: until that pass places something, they
        // would fail again and only take part in the choice of the best cell.
        int settledAfter = cellCount;
        for (;;) {
            bool changed = false;
            int lastPlaced = -1;
            int best = -1;
            int bestCount = INT_MAX;
            // Only the cell being visited can be filled during the scan, so each
            // word of the blank set can be read once.
            const int words = static_cast<int>(grid.blank.size());
            for (int w = 0; w < words; ++w) {
                for (std::uint64_t left = grid.blank[w]; left != 0; left &= left - 1) {
                    const int i = 64 * w + std::countr_zero(left);
                    const Mask bits = grid.bits[i];
                    if (changed || i <= settledAfter) {
                        if (!Ops::any(bits))
                            return i;
                        if (Ops::single(bits)) {
                            // The single candidate is drawn like any other: one rand() call.
                            static_cast<void>(std::rand());
                            place(grid, i, Ops::lowestValue(bits));
                            changed = true;
                            lastPlaced = i;
                            continue;
                        }
                        const int r = i % s;
                        const int c = i / s;
                        const Mask shared =
                            sharedInRow(grid, r) & sharedInColumn(grid, c) & sharedInBox(grid, r - r % b, c - c % b);
                        const Mask unique = bits & ~shared;
                        if (Ops::any(unique)) {
                            place(grid, i, Ops::lowestValue(unique));
                            changed = true;
                            lastPlaced = i;
                            continue;
                        }
                    }
                    // No cell left to branch on has fewer than two candidates.
                    if (bestCount > 2) {
                        const int count = Ops::count(bits);
                        if (count < bestCount) {
                            best = i;
                            bestCount = count;
                        }
                    }
                }
            }
            settledAfter = lastPlaced;
            if (!changed)
                return best;
        }
    }

private:
    // Adds a filled cell's value to the set of values seen in a unit; false when
    // it is there already.
    static bool addValue(int v, Mask& seen)
    {
        if (v == 0)
            return true;
        const Mask bit = Ops::bit(v);
        if (Ops::any(seen & bit))
            return false;
        seen |= bit;
        return true;
    }

    int inner() const { return FixedInner ? FixedInner : n; }
    int side() const { return FixedInner ? FixedInner * FixedInner : size; }

    // Adds one cell to the running sets of values seen once and at least twice
    // among the blank cells of a unit.
    static void tally(const Grid& grid, int i, Mask& once, Mask& two)
    {
        two |= once & grid.live[i];
        once |= grid.live[i];
    }

    // Values that two or more blank cells of the unit have as candidates, cached
    // until the next placement or propagation.
    bool cached(int unit, Mask& out) const
    {
        if (stamps[unit] != epoch)
            return false;
        out = twice[unit];
        return true;
    }
    Mask remember(int unit, const Mask& two)
    {
        stamps[unit] = epoch;
        twice[unit] = two;
        return two;
    }

    Mask sharedInRow(const Grid& grid, int r)
    {
        Mask two{};
        if (cached(r, two))
            return two;
        Mask once{};
        const int s = side();
        for (int k = 0; k < s; ++k)
            tally(grid, k * s + r, once, two);
        return remember(r, two);
    }

    Mask sharedInColumn(const Grid& grid, int c)
    {
        const int s = side();
        Mask two{};
        if (cached(s + c, two))
            return two;
        Mask once{};
        for (int k = 0; k < s; ++k)
            tally(grid, c * s + k, once, two);
        return remember(s + c, two);
    }

    Mask sharedInBox(const Grid& grid, int r0, int c0)
    {
        const int s = side();
        const int b = inner();
        const int unit = 2 * s + r0 + c0 / b;
        Mask two{};
        if (cached(unit, two))
            return two;
        Mask once{};
        for (int j = c0; j < c0 + b; ++j)
            for (int i = r0; i < r0 + b; ++i)
                tally(grid, j * s + i, once, two);
        return remember(unit, two);
    }

    int n;
    int size;
    int cellCount;
    Storage<Mask, 3 * kFixedSide> twice;           // per unit: rows, columns, sub-squares
    Storage<std::uint64_t, 3 * kFixedSide> stamps; // epoch of each cached summary
    std::uint64_t epoch = 0;
    std::vector<std::unique_ptr<Grid>> pool;
};
