#pragma once

#include "GlibcRandom.h"
#include "SudokuBoard.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <climits>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Set arithmetic for the mask types of FastSearch. A mask is either a set of
// values (value v is bit v - 1) or a set of positions within a unit (position p
// is bit p): a unit of side N has N positions and N values.
template <typename Mask>
struct MaskOps {
    static Mask at(int p) { return static_cast<Mask>(Mask{1} << p); }
    static Mask bit(int v) { return at(v - 1); }
    static bool any(Mask m) { return m != 0; }
    // Two or more bits.
    static bool several(Mask m) { return static_cast<Mask>(m & static_cast<Mask>(m - 1)) != 0; }
    // m when c holds, else the empty set, without a branch.
    static Mask when(bool c, Mask m) { return c ? m : Mask{}; }
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
    static constexpr int kWords = 1;
    static void toWords(Mask m, std::uint64_t* words) { words[0] = m; }
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
    static constexpr int kWords = static_cast<int>((Bits + 63) / 64);
    static void toWords(const Mask& m, std::uint64_t* words)
    {
        std::fill(words, words + kWords, 0);
        for (std::size_t i = 0; i < Bits; ++i)
            if (m.test(i))
                words[i / 64] |= std::uint64_t{1} << (i % 64);
    }
};

// A vector of Bytes bytes of masks, for the mask types that have one: the hot
// loops take 32 bytes in the AVX2 build of a placement and 16 on the baseline,
// over a layout padded to whole 32-byte vectors. Vectors are read and written in
// place through the unaligned alias, never passed to a function, whose calling
// convention for them would depend on the build.
template <typename T, int Bytes>
struct VectorOf {
    using type = T;
    using unaligned = T;
};
// A vector size that depends on a template parameter is dropped by GCC: one
// specialisation per size. The unaligned aliases are typedefs: Clang keeps a
// lowered alignment there but not in an alias declaration.
template <>
struct VectorOf<std::uint16_t, 16> {
    using type = std::uint16_t __attribute__((vector_size(16)));
    typedef std::uint16_t unaligned __attribute__((vector_size(16), aligned(2), may_alias));
};
template <>
struct VectorOf<std::uint16_t, 32> {
    using type = std::uint16_t __attribute__((vector_size(32)));
    typedef std::uint16_t unaligned __attribute__((vector_size(32), aligned(2), may_alias));
};
template <>
struct VectorOf<std::uint32_t, 16> {
    using type = std::uint32_t __attribute__((vector_size(16)));
    typedef std::uint32_t unaligned __attribute__((vector_size(16), aligned(4), may_alias));
};
template <>
struct VectorOf<std::uint32_t, 32> {
    using type = std::uint32_t __attribute__((vector_size(32)));
    typedef std::uint32_t unaligned __attribute__((vector_size(32), aligned(4), may_alias));
};
template <>
struct VectorOf<std::uint64_t, 16> {
    using type = std::uint64_t __attribute__((vector_size(16)));
    typedef std::uint64_t unaligned __attribute__((vector_size(16), aligned(8), may_alias));
};
template <>
struct VectorOf<std::uint64_t, 32> {
    using type = std::uint64_t __attribute__((vector_size(32)));
    typedef std::uint64_t unaligned __attribute__((vector_size(32), aligned(8), may_alias));
};
static_assert(sizeof(VectorOf<std::uint16_t, 16>::type) == 16 && sizeof(VectorOf<std::uint64_t, 32>::type) == 32);
static_assert(alignof(VectorOf<std::uint16_t, 32>::unaligned) == 2 && alignof(VectorOf<std::uint64_t, 32>::unaligned) == 8);

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
//   where[N][U]     per value v and unit u, the positions within u of the blank
//                   cells that have v: where[(v - 1) * U + u], U being 3N
//                   rounded up to whole 32-byte vectors. Units are the
//                   rows 0..N-1, the columns N..2N-1 and the sub-squares
//                   2N..3N-1 (sub-square (r / n) * n + c / n); the position of
//                   (r, c) is c in its row, r in its column and
//                   (r % n) * n + c % n in its sub-square
//   shared[U]       per unit, the values that two or more of its blank cells
//                   have: bit v of shared[u] is "where[v][u] has two bits"
//   bits is padded to whole 32-byte vectors on the 9x9 grid
// where and shared change with every placement: for the placed value in one
// branch-free pass over its U units, a vector at a time (32 bytes with AVX2, 16
// on the baseline), with the cell's row of a table of masks (the positions of
// the cell's peers, or every position in its own units), and once per other
// candidate of the placed cell; so the scan tests a cell with three loads. On
// the 9x9 grid the other candidates leave by whole vectors too, and the value
// leaves the peers' candidates by whole vectors of cells: the sets are written
// only in whole vectors, which later vector reads get back from the store
// without waiting.
//
// A candidate that no other blank cell of the row, or of the column, or of the
// sub-square has is a candidate missing from at least one of the three shared
// sets of the cell's units; the lowest such candidate is the one the
// board-based algorithm places. The engine makes exactly the decisions of the
// board-based algorithms, random draws included. There is one grid per search
// level, reused by copy, so that the search allocates nothing once it has been
// as deep before.
template <typename Mask, int FixedInner = 0>
class FastSearch {
public:
    using Ops = MaskOps<Mask>;
    // Values up to 64 fit a byte.
    using Value = std::conditional_t<sizeof(Mask) <= sizeof(std::uint64_t), std::uint8_t, std::uint16_t>;

    static constexpr int kFixedSide = FixedInner * FixedInner;
    static constexpr int kFixedCells = kFixedSide * kFixedSide;
    static constexpr int kLanes = sizeof(Mask) <= 32 ? static_cast<int>(32 / sizeof(Mask)) : 1;
    static constexpr int unitsRoundedUp(int side) { return (3 * side + kLanes - 1) / kLanes * kLanes; }
    static constexpr int kFixedUnits = unitsRoundedUp(kFixedSide);
    // On the 9x9 grid a placement clears its value from the peers a vector of
    // cells at a time, with a table of their lanes (16 KB); bits is padded to
    // whole vectors for it.
    static constexpr bool kPeerLanes = FixedInner == 3;
    static constexpr int kPaddedCells = kPeerLanes ? (kFixedCells + kLanes - 1) / kLanes * kLanes : kFixedCells;
    template <typename T, int Count>
    using Storage = std::conditional_t<FixedInner != 0, std::array<T, Count>, std::vector<T>>;

    // The sets read by whole vectors start on vector boundaries, so that they
    // are read back from the vector stores of a copy.
    struct Grid {
        alignas(32) Storage<Mask, kPaddedCells> bits;
        Storage<Value, kFixedCells> values;
        Storage<std::uint64_t, kFixedCells / 64 + 1> blank;
        alignas(32) Storage<Mask, kFixedSide * kFixedUnits> where;
        alignas(32) Storage<Mask, kFixedUnits> shared;
    };

    explicit FastSearch(int innerSize)
        : n(FixedInner ? FixedInner : innerSize)
        , size(n * n)
        , cellCount(size * size)
        , units(unitsRoundedUp(size))
    {
        __builtin_cpu_init();
        wide = hasWideBuild();
        places.resize(cellCount);
        seen.resize(3 * size);
        for (int i = 0; i < cellCount; ++i) {
            const int r = i % size;
            const int c = i / size;
            places[i] = {static_cast<Index>(r), static_cast<Index>(c), static_cast<Index>((r / n) * n + c / n),
                         static_cast<Index>((r % n) * n + c % n)};
            for (int k = 0; k < size; ++k) {
                if (k != r)
                    peers.push_back(static_cast<Index>(c * size + k));
                if (k != c)
                    peers.push_back(static_cast<Index>(k * size + r));
                const int br = r - r % n + k / n;
                const int bc = c - c % n + k % n;
                if (br != r && bc != c)
                    peers.push_back(static_cast<Index>(bc * size + br));
            }
        }
        for (int k = 0; k < n; ++k) {
            Mask column{};
            for (int j = 0; j < n; ++j)
                column |= Ops::at(j * n + k);
            columnInBox.push_back(column);
        }
        if constexpr (kTabled) {
            peerPositions.resize(static_cast<std::size_t>(cellCount) * units);
            for (int i = 0; i < cellCount; ++i)
                positionsToKeep(i, &peerPositions[static_cast<std::size_t>(i) * units]);
            if constexpr (kPeerLanes) {
                ownKeep.assign(static_cast<std::size_t>(cellCount) * units, ~Mask{});
                for (int i = 0; i < cellCount; ++i) {
                    const Place& p = places[i];
                    Mask* keep = &ownKeep[static_cast<std::size_t>(i) * units];
                    keep[p.row] = ~Ops::at(p.col);
                    keep[size + p.col] = ~Ops::at(p.row);
                    keep[2 * size + p.box] = ~Ops::at(p.inBox);
                }
                unitCells.resize(static_cast<std::size_t>(3) * size * size);
                for (int i = 0; i < cellCount; ++i) {
                    const Place& p = places[i];
                    unitCells[p.row * size + i / size] = static_cast<Index>(i);
                    unitCells[(size + p.col) * size + i % size] = static_cast<Index>(i);
                    unitCells[(2 * size + p.box) * size + p.inBox] = static_cast<Index>(i);
                }
                peerLanes.resize(static_cast<std::size_t>(cellCount) * kPaddedCells);
                for (int i = 0; i < cellCount; ++i)
                    for (int k = 0; k < peerCount(); ++k)
                        peerLanes[static_cast<std::size_t>(i) * kPaddedCells + peers[i * peerCount() + k]] = ~Mask{};
            }
        } else {
            scratch.resize(units);
        }
    }

    int getInnerSize() const { return inner(); }

    // Whether place and propagate use their AVX2 build, which is the default
    // where the processor has AVX2; the baseline build can be chosen instead.
    bool isWide() const { return wide; }
    void setWide(bool on) { wide = on && hasWideBuild(); }
    int getSize() const { return side(); }

    // The grid of a search level; levels are created on first use and then kept.
    // Read several times per try: the growth is kept out of line.
    Grid& gridAt(int level)
    {
        if (static_cast<std::size_t>(level) >= pool.size()) [[unlikely]]
            grow(level);
        return *pool[static_cast<std::size_t>(level)];
    }

    // Copies a grid. On the 9x9 grid by whole vectors at the offsets the engine
    // reads them at: a string copy's stores make the first reads of the copy wait.
    __attribute__((target_clones("avx2", "default"))) void copy(const Grid& from, Grid& to) const
    {
        if constexpr (kPeerLanes) {
            using Bytes = char __attribute__((vector_size(32), aligned(32), may_alias));
            static_assert(sizeof(Grid) % sizeof(Bytes) == 0 && alignof(Grid) % sizeof(Bytes) == 0);
            const Bytes* source = reinterpret_cast<const Bytes*>(&from);
            Bytes* target = reinterpret_cast<Bytes*>(&to);
#pragma GCC unroll 32
            for (std::size_t k = 0; k < sizeof(Grid) / sizeof(Bytes); ++k)
                target[k] = source[k];
        } else {
            to = from;
        }
    }

    int candidates(const Grid& grid, int cell) const { return Ops::count(grid.bits[cell]); }
    int nthCandidate(const Grid& grid, int cell, int k) const { return Ops::nthValue(grid.bits[cell], k); }

    // Removes a candidate of a blank cell.
    void removeCandidate(Grid& grid, int cell, int v) const
    {
        grid.bits[cell] &= ~Ops::bit(v);
        leaveUnits<16>(grid, cell, Ops::bit(v));
    }

    // The board's values, and its candidates too when withCandidates is set;
    // without them the grid is fit only for recompute.
    void load(const SudokuBoard& board, Grid& grid, bool withCandidates) const
    {
        const int s = side();
        std::fill(grid.blank.begin(), grid.blank.end(), 0);
        for (int r = 0; r < s; ++r) {
            for (int c = 0; c < s; ++c) {
                const Cell& cell = *board.cellAt(r, c);
                const int i = c * s + r;
                grid.values[i] = static_cast<Value>(cell.getValue());
                if (cell.getValue() == 0)
                    grid.blank[i >> 6] |= std::uint64_t{1} << (i & 63);
                if (withCandidates)
                    grid.bits[i] = Ops::fromCell(cell);
            }
        }
        if (withCandidates)
            buildUnits(grid);
    }

    // A grid's values, row-major with 0 for a blank, straight into a grid fit for
    // recompute; false, as isValid, for an invalid grid, and for a value above the size.
    bool loadValues(const std::uint16_t* from, Grid& grid) const
    {
        const int s = side();
        std::fill(grid.blank.begin(), grid.blank.end(), 0);
        bool outside = false;
        for (int r = 0; r < s; ++r) {
            for (int c = 0; c < s; ++c) {
                const int v = from[r * s + c];
                const int i = c * s + r;
                outside = outside || v > s;
                grid.values[i] = static_cast<Value>(v > s ? 0 : v);
                if (v == 0)
                    grid.blank[i >> 6] |= std::uint64_t{1} << (i & 63);
            }
        }
        return !outside && isValid(grid);
    }

    // The values, row-major.
    void storeValues(const Grid& grid, std::uint16_t* to) const
    {
        const int s = side();
        for (int r = 0; r < s; ++r)
            for (int c = 0; c < s; ++c)
                to[r * s + c] = grid.values[c * s + r];
    }

    // Writes values and candidate sets back into a board of the same inner size.
    // The cells count their candidates, with the instruction where there is one.
    __attribute__((target_clones("popcnt", "default"))) void store(const Grid& grid, SudokuBoard& board) const
    {
        const int s = side();
        std::uint64_t words[Ops::kWords];
        for (int r = 0; r < s; ++r) {
            for (int c = 0; c < s; ++c) {
                const int i = c * s + r;
                Ops::toWords(grid.bits[i], words);
                board.cellAt(r, c)->setValueAndPossibles(grid.values[i], words);
            }
        }
    }

    // The board's isValid on a loaded grid, whose values are all within 0..size:
    // no value twice among the filled cells of a row, column or sub-square.
    bool isValid(const Grid& grid) const
    {
        if constexpr (FixedInner == 3) {
            // Unrolled, so that the sets stay in registers: a column's cells are
            // consecutive, and its sub-squares are those of three rows at a time.
            Mask rows[9]{};
            Mask boxes[3]{};
            Mask twice{};
#pragma GCC unroll 9
            for (int c = 0; c < 9; ++c) {
                Mask column{};
#pragma GCC unroll 9
                for (int r = 0; r < 9; ++r) {
                    const Mask vb = static_cast<Mask>((1u << grid.values[c * 9 + r]) >> 1);
                    Mask& box = boxes[r / 3];
                    twice |= (rows[r] | column | box) & vb;
                    rows[r] |= vb;
                    column |= vb;
                    box |= vb;
                }
                seen[9 + c] = column;
                if (c % 3 == 2) {
                    for (int b = 0; b < 3; ++b) {
                        seen[18 + b * 3 + c / 3] = boxes[b];
                        boxes[b] = Mask{};
                    }
                }
            }
            std::copy(rows, rows + 9, seen.begin());
            return !Ops::any(twice);
        }
        const int s = side();
        std::fill(seen.begin(), seen.end(), Mask{});
        Mask twice{};
        for (int i = 0; i < cellCount; ++i) {
            const int v = grid.values[i];
            const Mask vb = Ops::when(v != 0, Ops::bit(std::max(v, 1)));
            const Place& p = places[i];
            for (const int unit : {static_cast<int>(p.row), s + p.col, 2 * s + p.box}) {
                twice |= seen[unit] & vb;
                seen[unit] |= vb;
            }
        }
        return !Ops::any(twice);
    }

    void storeValues(const Grid& grid, SudokuBoard& board) const
    {
        const int s = side();
        for (int r = 0; r < s; ++r)
            for (int c = 0; c < s; ++c)
                board.cellAt(r, c)->setValue(grid.values[c * s + r]);
    }

    // The board's recomputePossibles on a loaded grid that isValid has just found
    // valid: every cell loses the values of its filled peers, which with no value
    // twice in a unit are the values of its three units (isValid's sets) but its own.
    void recompute(Grid& grid) const { wide ? recomputeWide(grid) : recomputeInline(grid); }

private:
    __attribute__((target("avx2,bmi,bmi2,popcnt"))) void recomputeWide(Grid& grid) const { recomputeInline(grid); }
    __attribute__((always_inline)) void recomputeInline(Grid& grid) const
    {
        const int s = side();
        const Mask full = Ops::full(s);
        for (int i = 0; i < cellCount; ++i) {
            const int v = grid.values[i];
            const Mask own = Ops::when(v != 0, Ops::bit(std::max(v, 1)));
            const Place& p = places[i];
            const Mask taken = static_cast<Mask>(seen[p.row] | seen[s + p.col] | seen[2 * s + p.box]);
            grid.bits[i] = static_cast<Mask>(full & (static_cast<Mask>(~taken) | own));
        }
        buildUnits(grid);
    }

public:
    // Fills a blank cell with v and removes v from every peer's candidates; the
    // cell's own candidates stay as they were.
    void place(Grid& grid, int cell, int v) const
    {
        if (wide)
            placeWide(grid, cell, v);
        else
            placeInline<16>(grid, cell, v);
    }

    // Returns -1 when the grid is complete, else the index of the dead-end or
    // branching cell.
    int propagate(Grid& grid) const { return wide ? propagateWide(grid) : propagateInline<16>(grid); }

private:
    __attribute__((noinline)) void grow(int level)
    {
        while (static_cast<int>(pool.size()) <= level) {
            pool.push_back(std::make_unique<Grid>());
            if constexpr (FixedInner == 0) {
                pool.back()->bits.resize(cellCount);
                pool.back()->values.resize(cellCount);
                pool.back()->blank.resize(cellCount / 64 + 1);
                pool.back()->where.resize(static_cast<std::size_t>(size) * units);
                pool.back()->shared.resize(units);
            }
        }
    }

    // The AVX2 builds of place and propagate, whose vectors are twice as wide. Every
    // processor with AVX2 so far has BMI and POPCNT too, which the scan's bit walk uses;
    // the build is chosen only where all three are.
    static bool hasWideBuild()
    {
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
            __builtin_cpu_supports("popcnt");
    }
    __attribute__((target("avx2,bmi,bmi2,popcnt"))) void placeWide(Grid& grid, int cell, int v) const
    {
        placeInline<32>(grid, cell, v);
    }
    __attribute__((target("avx2,bmi,bmi2,popcnt"))) int propagateWide(Grid& grid) const
    {
        return propagateInline<32>(grid);
    }

    // The bodies of place and propagate, inlined into each build of them, with
    // vectors of Bytes bytes.
    template <int Bytes>
    __attribute__((always_inline)) void placeInline(Grid& grid, int cell, int v) const
    {
        const int u = unitCount();
        grid.values[cell] = static_cast<Value>(v);
        grid.blank[cell >> 6] &= ~(std::uint64_t{1} << (cell & 63));
        const Mask vb = Ops::bit(v);

        // v leaves the cell's three units, and in every other unit the positions
        // of the cell's peers.
        const Mask* keep = nullptr;
        if constexpr (kTabled)
            keep = &peerPositions[static_cast<std::size_t>(cell) * u];
        else
            keep = positionsToKeep(cell, scratch.data());
        keepPositions<Bytes>(grid, v, keep);
        // After the pass, whose wide loads of shared would otherwise wait for
        // the narrow stores of these updates where they are narrow.
        leaveUnits<Bytes>(grid, cell, grid.bits[cell] & ~vb);

        clearFromPeers<Bytes>(grid, cell, vb);
    }

    template <int Bytes>
    __attribute__((always_inline)) int propagateInline(Grid& grid) const
    {
        const int s = side();
        if (s < 1)
            return -1;
        const Mask* shared = grid.shared.data();
        // Held in a register across the placements, which could write anywhere
        // as far as the compiler knows.
        const Place* at = places.data();
        // A visit that acts on nothing changes nothing: cells after the last
        // placement of a pass were tested against the state that the next pass
        // starts from, so until that pass places something they are passed over.
        int settled = cellCount;
        for (;;) {
            int lastPlaced = -1;
            // settled until the pass places something, then past every cell.
            int end = settled;
            // Only the cell being visited can be filled during the scan, so each
            // word of the blank set can be read once.
            const int words = static_cast<int>(grid.blank.size());
            for (int word = 0; word < words; ++word) {
                for (std::uint64_t left = grid.blank[word]; left != 0; left &= left - 1) {
                    const int i = 64 * word + std::countr_zero(left);
                    if (i >= end)
                        return branchCell(grid);
                    const Mask bits = grid.bits[i];
                    if (!Ops::several(bits)) {
                        if (!Ops::any(bits))
                            return i;
                        // The single candidate is drawn like any other: one draw.
                        static_cast<void>(GlibcRandom::shared().next());
                        placeInline<Bytes>(grid, i, Ops::lowestValue(bits));
                        lastPlaced = i;
                        end = cellCount;
                        continue;
                    }
                    const Place& p = at[i];
                    const Mask unique = bits & ~(shared[p.row] & shared[s + p.col] & shared[2 * s + p.box]);
                    if (Ops::any(unique)) {
                        placeInline<Bytes>(grid, i, Ops::lowestValue(unique));
                        lastPlaced = i;
                        end = cellCount;
                    }
                }
            }
            if (lastPlaced < 0)
                return branchCell(grid);
            settled = lastPlaced;
        }
    }

    using Index = std::conditional_t<sizeof(Mask) <= sizeof(std::uint64_t), std::uint16_t, std::int32_t>;
    // 32-byte vectors of masks, for the pass over a value's units.
    static constexpr bool kVectors = !std::is_same_v<typename VectorOf<Mask, 32>::type, Mask>;
    template <int Bytes>
    using Vector = typename VectorOf<Mask, Bytes>::type;
    template <int Bytes>
    static constexpr int kLanesOf = sizeof(Mask) <= Bytes ? static_cast<int>(Bytes / sizeof(Mask)) : 1;
    // Pointers, not references: Clang forgets the alias's lowered alignment on a
    // returned reference and would emit aligned moves.
    template <int Bytes>
    static typename VectorOf<Mask, Bytes>::unaligned* vectorAt(Mask* at)
    {
        return reinterpret_cast<typename VectorOf<Mask, Bytes>::unaligned*>(at);
    }
    template <int Bytes>
    static const typename VectorOf<Mask, Bytes>::unaligned* vectorAt(const Mask* at)
    {
        return reinterpret_cast<const typename VectorOf<Mask, Bytes>::unaligned*>(at);
    }
    // Row, column, sub-square and position within the sub-square of a cell.
    struct Place {
        Index row;
        Index col;
        Index box;
        Index inBox;
    };

    int inner() const { return FixedInner ? FixedInner : n; }
    int side() const { return FixedInner ? FixedInner * FixedInner : size; }
    int unitCount() const { return FixedInner ? kFixedUnits : units; }
    int peerCount() const
    {
        const int s = side();
        const int b = inner();
        return s > 0 ? 2 * (s - 1) + (b - 1) * (b - 1) : 0;
    }

    // Per unit, the positions that a placement in the cell leaves alone: none in
    // the cell's own units, all but the peers' in the others. Written to out,
    // which it returns.
    Mask* positionsToKeep(int cell, Mask* out) const
    {
        const int s = size;
        const Place& p = places[cell];
        const int band = p.row - p.row % n;
        const int stack = p.col - p.col % n;
        const Mask low = Ops::full(n);
        std::fill(out, out + units, ~Mask{});
        for (int k = 0; k < s; ++k) {
            out[k] = k / n == p.row / n ? ~(low << stack) : ~Ops::at(p.col);
            out[s + k] = k / n == p.col / n ? ~(low << band) : ~Ops::at(p.row);
            if (k / n == p.row / n)
                out[2 * s + k] = ~(low << ((p.row % n) * n));
            else if (k % n == p.col / n)
                out[2 * s + k] = ~columnInBox[p.col % n];
        }
        out[p.row] = Mask{};
        out[s + p.col] = Mask{};
        out[2 * s + p.box] = Mask{};
        return out;
    }

    // The first blank cell with the fewest candidates, or -1 when none is left.
    // Called when no blank cell can act, so none has fewer than two candidates.
    // Once per node, over every blank cell: counted with the instruction where there is one.
    __attribute__((target_clones("popcnt", "default"))) int branchCell(const Grid& grid) const
    {
        int best = -1;
        int bestCount = INT_MAX;
        const int words = static_cast<int>(grid.blank.size());
        for (int word = 0; word < words; ++word) {
            for (std::uint64_t left = grid.blank[word]; left != 0; left &= left - 1) {
                const int i = 64 * word + std::countr_zero(left);
                int count = 0;
                if constexpr (std::is_integral_v<Mask>)
                    count = std::popcount(grid.bits[i]);
                else
                    count = Ops::count(grid.bits[i]);
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

    template <int Bytes>
    __attribute__((always_inline)) void clearFromPeers(Grid& grid, int cell, const Mask& vb) const
    {
        if constexpr (kPeerLanes) {
            const Vector<Bytes> vbs = Vector<Bytes>{} + vb;
            const Mask* lanes = &peerLanes[static_cast<std::size_t>(cell) * kPaddedCells];
            Mask* bits = grid.bits.data();
#pragma GCC unroll 16
            for (int k = 0; k < kPaddedCells; k += kLanesOf<Bytes>)
                *vectorAt<Bytes>(bits + k) &= ~(*vectorAt<Bytes>(lanes + k) & vbs);
        } else {
            const Mask keep = ~vb;
            const int count = peerCount();
            const Index* peer = peers.data() + static_cast<std::size_t>(cell) * count;
#pragma GCC unroll 80
            for (int k = 0; k < count; ++k)
                grid.bits[peer[k]] &= keep;
        }
    }

#if defined(__SSE2__)
    // buildUnits on the 9x9 grid: per unit, the candidate sets of its nine cells
    // in the lanes of two vectors, whose bit v - 1, shifted to the sign of each
    // lane, gives where for v in one movemask; shared by counting to two.
    __attribute__((always_inline)) void transposeUnits(Grid& grid) const
    {
        const int s = side();
        const int u = unitCount();
        Mask blankBits[kFixedCells];
        for (int i = 0; i < cellCount; ++i)
            blankBits[i] = grid.values[i] != 0 ? Mask{} : grid.bits[i];
        for (int unit = 0; unit < 3 * s; ++unit) {
            const Index* cells = &unitCells[static_cast<std::size_t>(unit) * s];
            Mask m[8];
            Mask once{};
            Mask twice{};
#pragma GCC unroll 9
            for (int k = 0; k < 8; ++k) {
                m[k] = blankBits[cells[k]];
                twice |= once & m[k];
                once |= m[k];
            }
            // Lanes named one by one rather than inserted in the loop, whose lane number
            // is a constant only once the loop is unrolled, which a debug build does not do.
            const auto lane = [&m](int k) { return static_cast<short>(m[k]); };
            const __m128i low = _mm_setr_epi16(lane(0), lane(1), lane(2), lane(3), lane(4), lane(5), lane(6), lane(7));
            const Mask last = blankBits[cells[8]];
            twice |= once & last;
            const __m128i high = _mm_cvtsi32_si128(last);
            grid.shared[unit] = twice;
#pragma GCC unroll 9
            for (int v = 0; v < 9; ++v) {
                const __m128i shift = _mm_cvtsi32_si128(15 - v);
                const __m128i signs = _mm_packs_epi16(_mm_sll_epi16(low, shift), _mm_sll_epi16(high, shift));
                grid.where[v * u + unit] = static_cast<Mask>(_mm_movemask_epi8(signs));
            }
        }
    }
#endif

    // Per unit, v keeps only the positions of keep in where; shared follows.
    // Positions only leave a unit, so a unit whose v is still shared had it
    // shared before: shared only has v to lose.
    template <int Bytes>
    __attribute__((always_inline)) void keepPositions(Grid& grid, int v, const Mask* keep) const
    {
        const int u = unitCount();
        const Mask vb = Ops::bit(v);
        Mask* w = &grid.where[(v - 1) * u];
        Mask* shared = grid.shared.data();
        if constexpr (kVectors) {
            const Vector<Bytes> vbs = Vector<Bytes>{} + vb;
#pragma GCC unroll 32
            for (int k = 0; k < u; k += kLanesOf<Bytes>) {
                const Vector<Bytes> m = *vectorAt<Bytes>(w + k) & *vectorAt<Bytes>(keep + k);
                *vectorAt<Bytes>(w + k) = m;
                // All ones in the lanes with at most one position left.
                const Vector<Bytes> few = reinterpret_cast<Vector<Bytes>>((m & (m - 1)) == 0);
                *vectorAt<Bytes>(shared + k) &= ~(few & vbs);
            }
        } else {
            for (int k = 0; k < u; ++k) {
                const Mask m = w[k] & keep[k];
                w[k] = m;
                shared[k] &= ~Ops::when(!Ops::several(m), vb);
            }
        }
    }

    // A blank cell no longer counts for the given values in its three units.
    // On the 9x9 grid by whole vectors, through a table of the positions that
    // stay (all but the cell's own in its three units): a value's where and
    // shared are then only ever written in whole vectors, which the pass of a
    // later placement of that value reads back without waiting.
    template <int Bytes>
    __attribute__((always_inline)) void leaveUnits(Grid& grid, int cell, Mask values) const
    {
        if constexpr (kPeerLanes) {
            const Mask* keep = &ownKeep[static_cast<std::size_t>(cell) * unitCount()];
            for (; Ops::any(values); values = Ops::withoutLowest(values))
                keepPositions<Bytes>(grid, Ops::lowestValue(values), keep);
        } else {
            const Place& p = places[cell];
            const int u = unitCount();
            const int row = p.row;
            const int col = side() + p.col;
            const int box = 2 * side() + p.box;
            const Mask notInRow = ~Ops::at(p.col);
            const Mask notInCol = ~Ops::at(p.row);
            const Mask notInBox = ~Ops::at(p.inBox);
            Mask* shared = grid.shared.data();
            for (; Ops::any(values); values = Ops::withoutLowest(values)) {
                const int v = Ops::lowestValue(values);
                const Mask vb = Ops::bit(v);
                Mask* w = &grid.where[(v - 1) * u];
                // Read once each: where and shared may alias as far as the compiler knows.
                const Mask inRow = w[row] & notInRow;
                const Mask inCol = w[col] & notInCol;
                const Mask inBox = w[box] & notInBox;
                w[row] = inRow;
                w[col] = inCol;
                w[box] = inBox;
                shared[row] &= ~Ops::when(!Ops::several(inRow), vb);
                shared[col] &= ~Ops::when(!Ops::several(inCol), vb);
                shared[box] &= ~Ops::when(!Ops::several(inBox), vb);
            }
        }
    }

    // where and shared from the candidates of the blank cells.
    __attribute__((always_inline)) void buildUnits(Grid& grid) const
    {
        const int s = side();
        const int u = unitCount();
        std::fill(grid.where.begin(), grid.where.end(), Mask{});
        std::fill(grid.shared.begin(), grid.shared.end(), Mask{});
#if defined(__SSE2__)
        if constexpr (kPeerLanes) {
            transposeUnits(grid);
            return;
        }
#endif
        for (int i = 0; i < cellCount; ++i) {
            if (grid.values[i] != 0)
                continue;
            const Place& p = places[i];
            const Mask inRow = Ops::at(p.col);
            const Mask inCol = Ops::at(p.row);
            const Mask inBox = Ops::at(p.inBox);
            for (Mask m = grid.bits[i]; Ops::any(m); m = Ops::withoutLowest(m)) {
                Mask* w = &grid.where[(Ops::lowestValue(m) - 1) * u];
                w[p.row] |= inRow;
                w[s + p.col] |= inCol;
                w[2 * s + p.box] |= inBox;
            }
        }
        Mask* shared = grid.shared.data();
        for (int v = 1; v <= s; ++v) {
            const Mask* w = &grid.where[(v - 1) * u];
            const Mask vb = Ops::bit(v);
            if constexpr (kVectors) {
                const Vector<16> vbs = Vector<16>{} + vb;
                for (int k = 0; k < u; k += kLanesOf<16>) {
                    const Vector<16> m = *vectorAt<16>(w + k);
                    *vectorAt<16>(shared + k) |= reinterpret_cast<Vector<16>>((m & (m - 1)) != 0) & vbs;
                }
            } else {
                for (int k = 0; k < u; ++k)
                    shared[k] |= Ops::when(Ops::several(w[k]), vb);
            }
        }
    }

    int n;
    int size;
    int cellCount;
    int units;
    // Whether the processor has AVX2, for the builds of place and propagate.
    bool wide = false;
    // A table of peerPositions rows costs cells * units masks, too much beyond
    // 64 values; there each placement works its row out in scratch.
    static constexpr bool kTabled = sizeof(Mask) <= sizeof(std::uint64_t);
    std::vector<Mask> peerPositions;
    std::vector<Mask> peerLanes; // kPaddedCells per cell, all ones at its peers
    std::vector<Mask> ownKeep; // units per cell, all ones but at its own positions
    std::vector<Index> unitCells; // per unit, the cell at each position
    mutable std::vector<Mask> scratch;
    mutable std::vector<Mask> seen; // per unit, the values isValid met, for recompute
    std::vector<Place> places;
    std::vector<Index> peers; // peerCount() per cell: its column, row and sub-square
    std::vector<Mask> columnInBox; // positions of a sub-square's column k
    std::vector<std::unique_ptr<Grid>> pool;
};
