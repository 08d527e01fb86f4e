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

// Set arithmetic for the mask types of FastSearch. A mask is either a set of
// values (value v is bit v - 1) or a set of positions within a unit (position p
// is bit p): a unit of side N has N positions and N values.
template <typename Mask>
struct MaskOps {
    static Mask at(int p) { return static_cast<Mask>(Mask{1} << p); }
    static Mask bit(int v) { return at(v - 1); }
    static bool any(Mask m) { return m != 0; }
    // Two or more bits.
    static bool several(Mask m) { return (m & (m - 1)) != 0; }
    // m when c holds, else the empty set, without a branch.
    static Mask when(bool c, Mask m) { return static_cast<Mask>(m & (Mask{0} - static_cast<Mask>(c))); }
    // By bytes through a table: the Debian baseline has no popcnt instruction, and
    // counts are needed only for the branching cell, not in the propagation scan.
    static int count(Mask m)
    {
        static constexpr auto table = [] {
            std::array<std::uint8_t, 256> t{};
            for (int i = 1; i < 256; ++i)
                t[i] = static_cast<std::uint8_t>(t[i >> 1] + (i & 1));
            return t;
        }();
        int n = 0;
        for (std::size_t k = 0; k < sizeof(Mask); ++k)
            n += table[static_cast<std::uint8_t>(m >> (8 * k))];
        return n;
    }
    static int lowestValue(Mask m) { return std::countr_zero(m) + 1; }
    static Mask withoutLowest(Mask m) { return static_cast<Mask>(m & (m - 1)); }
    static int nthValue(Mask m, int k)
    {
        while (k-- > 0)
            m = withoutLowest(m);
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
    static Mask at(int p) { return Mask().set(static_cast<std::size_t>(p)); }
    static Mask bit(int v) { return at(v - 1); }
    static bool any(const Mask& m) { return m.any(); }
    static bool several(const Mask& m) { return m.count() > 1; }
    static Mask when(bool c, const Mask& m) { return c ? m : Mask(); }
    static int count(const Mask& m) { return static_cast<int>(m.count()); }
    static int nthValue(const Mask& m, int k)
    {
        for (std::size_t i = 0; i < Bits; ++i)
            if (m.test(i) && k-- == 0)
                return static_cast<int>(i) + 1;
        return -1;
    }
    static int lowestValue(const Mask& m) { return nthValue(m, 0); }
    static Mask withoutLowest(const Mask& m) { return m & ~bit(lowestValue(m)); }
    static Mask full(int size)
    {
        Mask m;
        for (int i = 0; i < size; ++i)
            m.set(static_cast<std::size_t>(i));
        return m;
    }
    static Mask fromCell(const Cell& cell)
    {
        Mask m;
        for (int v = 1; v <= cell.getMaxValue(); ++v)
            if (cell.isPossible(v))
                m.set(static_cast<std::size_t>(v - 1));
        return m;
    }
};

// Propagation and search on a flat copy of the board. One engine serves every
// size; FixedInner, when not 0, is the inner size n known at compile time, so
// that the grid is a plain block and the walks over units are unrolled.
//
// Layout of a Grid (N = n * n, cells in column-major order, the order of the
// propagation scan: cell (r, c) is index c * N + r):
//   bits[N * N]     candidate values of each cell; a filled cell keeps the flags
//                   it had, as the board's cells do
//   values[N * N]   0 for a blank cell, else its value
//   blank[]         bit i of the words set while cell i is blank
//   where[N][3N]    per value v and unit u, the positions within u of the blank
//                   cells that have v: where[(v - 1) * 3N + u]. Units are the
//                   rows 0..N-1, the columns N..2N-1 and the sub-squares
//                   2N..3N-1 (sub-square (r / n) * n + c / n); the position of
//                   (r, c) is c in its row, r in its column and
//                   (r % n) * n + c % n in its sub-square
//   shared[3N]      per unit, the values that two or more of its blank cells
//                   have: bit v of shared[u] is "where[v][u] has two bits"
// where and shared change with every placement, branch-free for the placed
// value and once per other candidate of the placed cell, so that the scan tests
// a cell with three loads.
//
// A candidate that no other blank cell of the row, or of the column, or of the
// sub-square has is a candidate missing from at least one of the three shared
// sets of the cell's units; the lowest such candidate is the one the
// board-based algorithm places. The engine makes exactly the decisions of the
// board-based algorithms, random draws included. There is one grid per search
// level, reused by copy-assignment, so that the search allocates nothing once
// it has been as deep before.
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

    struct Grid {
        Storage<Mask, kFixedCells> bits;
        Storage<Value, kFixedCells> values;
        Storage<std::uint64_t, kFixedCells / 64 + 1> blank;
        Storage<Mask, 3 * kFixedSide * kFixedSide> where;
        Storage<Mask, 3 * kFixedSide> shared;
    };

    explicit FastSearch(int innerSize)
        : n(FixedInner ? FixedInner : innerSize)
        , size(n * n)
        , cellCount(size * size)
    {
        places.resize(cellCount);
        for (int i = 0; i < cellCount; ++i) {
            const int r = i % size;
            const int c = i / size;
            places[i] = {static_cast<Index>(r), static_cast<Index>(c), static_cast<Index>((r / n) * n + c / n),
                         static_cast<Index>((r % n) * n + c % n)};
        }
        for (int k = 0; k < n; ++k) {
            Mask column{};
            for (int j = 0; j < n; ++j)
                column |= Ops::at(j * n + k);
            columnInBox.push_back(column);
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
                pool.back()->values.resize(cellCount);
                pool.back()->blank.resize(cellCount / 64 + 1);
                pool.back()->where.resize(3 * cellCount);
                pool.back()->shared.resize(3 * size);
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
        leaveUnits(grid, places[cell], v);
    }

    void load(const SudokuBoard& board, Grid& grid) const
    {
        std::fill(grid.blank.begin(), grid.blank.end(), 0);
        for (int i = 0; i < cellCount; ++i) {
            const Cell& cell = *board.cellAt(i % size, i / size);
            grid.bits[i] = Ops::fromCell(cell);
            grid.values[i] = static_cast<Value>(cell.getValue());
            if (cell.getValue() == 0)
                grid.blank[i >> 6] |= std::uint64_t{1} << (i & 63);
        }
        buildUnits(grid);
    }

    // Writes values and candidate sets back into a board of the same inner size.
    // Cells whose flags already match are left alone, and flags are only given
    // back when the cell lacks one that it should have.
    void store(const Grid& grid, SudokuBoard& board) const
    {
        const Mask full = Ops::full(size);
        for (int i = 0; i < cellCount; ++i) {
            Cell& cell = *board.cellAt(i % size, i / size);
            cell.setValue(grid.values[i]);
            const Mask want = grid.bits[i];
            Mask have = Ops::fromCell(cell);
            if (have == want)
                continue;
            if (Ops::any(want & ~have)) {
                cell.resetPossibles();
                have = full;
            }
            for (Mask drop = have & ~want; Ops::any(drop); drop = Ops::withoutLowest(drop))
                cell.removePossible(Ops::lowestValue(drop));
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
    void recompute(Grid& grid) const
    {
        std::fill(grid.bits.begin(), grid.bits.end(), Ops::full(size));
        for (int i = 0; i < cellCount; ++i)
            if (grid.values[i] != 0)
                clearFromPeers(grid, i, Ops::bit(grid.values[i]));
        buildUnits(grid);
    }

    // Fills a blank cell with v and removes v from every peer's candidates; the
    // cell's own candidates stay as they were.
    void place(Grid& grid, int cell, int v) const
    {
        const Place& p = places[cell];
        const int s = side();
        const int b = inner();
        const int units = 3 * s;
        grid.values[cell] = static_cast<Value>(v);
        grid.blank[cell >> 6] &= ~(std::uint64_t{1} << (cell & 63));
        const Mask vb = Ops::bit(v);
        for (Mask others = grid.bits[cell] & ~vb; Ops::any(others); others = Ops::withoutLowest(others))
            leaveUnits(grid, p, Ops::lowestValue(others));

        // v leaves the cell's three units, and in every other unit the positions
        // of the cell's peers.
        Mask* w = &grid.where[(v - 1) * units];
        const int band = p.row - p.row % b;
        const int stack = p.col - p.col % b;
        const Mask low = Ops::full(b);
        const Mask notCol = ~Ops::at(p.col);
        const Mask notRow = ~Ops::at(p.row);
        for (int k = 0; k < s; ++k) {
            w[k] &= notCol;
            w[s + k] &= notRow;
        }
        const Mask notBoxCols = ~(low << stack);
        const Mask notBoxRows = ~(low << band);
        const Mask notRowInBox = ~(low << ((p.row % b) * b));
        const Mask notColInBox = ~columnInBox[p.col % b];
        for (int k = 0; k < b; ++k) {
            w[band + k] &= notBoxCols;
            w[s + stack + k] &= notBoxRows;
            w[2 * s + band + k] &= notRowInBox;
            w[2 * s + k * b + stack / b] &= notColInBox;
        }
        w[p.row] = Mask{};
        w[s + p.col] = Mask{};
        w[2 * s + p.box] = Mask{};
        for (int u = 0; u < units; ++u)
            grid.shared[u] = (grid.shared[u] & ~vb) | Ops::when(Ops::several(w[u]), vb);

        clearFromPeers(grid, cell, vb);
    }

    // Returns -1 when the grid is complete, else the index of the dead-end or
    // branching cell.
    int propagate(Grid& grid) const
    {
        const int s = side();
        if (s < 1)
            return -1;
        const Mask* shared = grid.shared.data();
        // A visit that acts on nothing changes nothing: cells after the last
        // placement of a pass were tested against the state that the next pass
        // starts from, so until that pass places something they are passed over.
        int settled = cellCount;
        for (;;) {
            int lastPlaced = -1;
            // Only the cell being visited can be filled during the scan, so each
            // word of the blank set can be read once.
            const int words = static_cast<int>(grid.blank.size());
            for (int word = 0; word < words; ++word) {
                for (std::uint64_t left = grid.blank[word]; left != 0; left &= left - 1) {
                    const int i = 64 * word + std::countr_zero(left);
                    if (lastPlaced < 0 && i >= settled)
                        return branchCell(grid);
                    const Mask bits = grid.bits[i];
                    if (!Ops::several(bits)) {
                        if (!Ops::any(bits))
                            return i;
                        // The single candidate is drawn like any other: one rand() call.
                        static_cast<void>(std::rand());
                        place(grid, i, Ops::lowestValue(bits));
                        lastPlaced = i;
                        continue;
                    }
                    const Place& p = places[i];
                    const Mask unique = bits & ~(shared[p.row] & shared[s + p.col] & shared[2 * s + p.box]);
                    if (Ops::any(unique)) {
                        place(grid, i, Ops::lowestValue(unique));
                        lastPlaced = i;
                    }
                }
            }
            if (lastPlaced < 0)
                return branchCell(grid);
            settled = lastPlaced;
        }
    }

private:
    using Index = std::conditional_t<sizeof(Mask) <= sizeof(std::uint64_t), std::uint16_t, std::int32_t>;
    // Row, column, sub-square and position within the sub-square of a cell.
    struct Place {
        Index row;
        Index col;
        Index box;
        Index inBox;
    };

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

    // The first blank cell with the fewest candidates, or -1 when none is left.
    // Called when no blank cell can act, so none has fewer than two candidates.
    int branchCell(const Grid& grid) const
    {
        int best = -1;
        int bestCount = INT_MAX;
        const int words = static_cast<int>(grid.blank.size());
        for (int word = 0; word < words; ++word) {
            for (std::uint64_t left = grid.blank[word]; left != 0; left &= left - 1) {
                const int i = 64 * word + std::countr_zero(left);
                const int count = Ops::count(grid.bits[i]);
                if (count < bestCount) {
                    if (count <= 2)
                        return i;
                    best = i;
                    bestCount = count;
                }
            }
        }
        return best;
    }

    // The walks pass over the cell itself too, without tests; its own set is put
    // back afterwards, as placing never touches the cell's candidates.
    void clearFromPeers(Grid& grid, int cell, const Mask& vb) const
    {
        const int s = side();
        const int b = inner();
        const Place& p = places[cell];
        const Mask keep = ~vb;
        const Mask own = grid.bits[cell];
        Mask* bits = grid.bits.data();
        for (int k = 0; k < s; ++k) {
            bits[p.col * s + k] &= keep;
            bits[k * s + p.row] &= keep;
        }
        const int r0 = p.row - p.row % b;
        const int c0 = p.col - p.col % b;
        for (int j = c0; j < c0 + b; ++j)
            for (int i = r0; i < r0 + b; ++i)
                bits[j * s + i] &= keep;
        bits[cell] = own;
    }

    // A blank cell no longer counts for value v in its three units.
    void leaveUnits(Grid& grid, const Place& p, int v) const
    {
        const int s = side();
        const Mask vb = Ops::bit(v);
        Mask* w = &grid.where[(v - 1) * 3 * s];
        w[p.row] &= ~Ops::at(p.col);
        w[s + p.col] &= ~Ops::at(p.row);
        w[2 * s + p.box] &= ~Ops::at(p.inBox);
        for (const int u : {static_cast<int>(p.row), s + static_cast<int>(p.col), 2 * s + static_cast<int>(p.box)})
            grid.shared[u] &= ~Ops::when(!Ops::several(w[u]), vb);
    }

    // where and shared from the candidates of the blank cells.
    void buildUnits(Grid& grid) const
    {
        const int s = side();
        std::fill(grid.where.begin(), grid.where.end(), Mask{});
        std::fill(grid.shared.begin(), grid.shared.end(), Mask{});
        for (int i = 0; i < cellCount; ++i) {
            if (grid.values[i] != 0)
                continue;
            const Place& p = places[i];
            for (Mask m = grid.bits[i]; Ops::any(m); m = Ops::withoutLowest(m)) {
                Mask* w = &grid.where[(Ops::lowestValue(m) - 1) * 3 * s];
                w[p.row] |= Ops::at(p.col);
                w[s + p.col] |= Ops::at(p.row);
                w[2 * s + p.box] |= Ops::at(p.inBox);
            }
        }
        for (int v = 1; v <= s; ++v)
            for (int u = 0; u < 3 * s; ++u)
                grid.shared[u] |= Ops::when(Ops::several(grid.where[(v - 1) * 3 * s + u]), Ops::bit(v));
    }

    int n;
    int size;
    int cellCount;
    std::vector<Place> places;
    std::vector<Mask> columnInBox; // positions of a sub-square's column k
    std::vector<std::unique_ptr<Grid>> pool;
};
