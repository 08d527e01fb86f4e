#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class SudokuBoard;

// Units and peers of a grid of inner size n, shared by every grid of that size.
// Units 0..size-1 are the rows, size..2*size-1 the columns, 2*size..3*size-1 the boxes.
struct GridLayout {
    int innerSize = 0;
    int size = 0;
    int cellCount = 0;
    int unitCount = 0;
    int peerCount = 0;
    std::vector<int> unitCells;  // unitCount rows of size cells
    std::vector<int> cellUnits;  // cellCount rows of {row unit, column unit, box unit}
    std::vector<int> peers;      // cellCount rows of peerCount cells

    // Through data(): a 1x1 grid has no peers, and indexing its empty list is undefined.
    const int* cellsOf(int unit) const { return unitCells.data() + static_cast<std::size_t>(unit) * size; }
    const int* peersOf(int cell) const { return peers.data() + static_cast<std::size_t>(cell) * peerCount; }
    int rowOf(int cell) const { return cell / size; }
    int colOf(int cell) const { return cell % size; }
    int boxOf(int cell) const { return cellUnits[static_cast<std::size_t>(cell) * 3 + 2] - 2 * size; }
    int unitOf(int cell, int kind) const { return cellUnits[static_cast<std::size_t>(cell) * 3 + kind]; }
    bool sees(int a, int b) const
    {
        return a != b && (rowOf(a) == rowOf(b) || colOf(a) == colOf(b) || boxOf(a) == boxOf(b));
    }

    // The layout for inner size n (1..CandidateGrid::kMaxInnerSize); built once, thread-safe.
    static const GridLayout& forInnerSize(int n);
};

// Values and candidate bitmasks of a grid for human-style solving: candidate v of a
// cell is bit v - 1 of its mask, so grids up to 64 x 64 (inner size 8) fit one word.
class CandidateGrid {
public:
    using Mask = std::uint64_t;
    static constexpr int kMaxInnerSize = 8;

    // A blank grid; n must be within 1..kMaxInnerSize.
    explicit CandidateGrid(int innerSize);

    // Givens row-major, 0 for blank. Null when the size is not n^4 for a supported n,
    // a value is out of range, or two givens clash.
    static std::optional<CandidateGrid> fromValues(const std::vector<int>& values);
    static std::optional<CandidateGrid> fromBoard(const SudokuBoard& board);

    static Mask bit(int value) { return Mask{1} << (value - 1); }
    // The values in a mask. Counted in place: the library is built for processors without a
    // popcount instruction, where std::popcount is a call.
    static int valueCount(Mask mask)
    {
        mask -= (mask >> 1) & 0x5555555555555555;
        mask = (mask & 0x3333333333333333) + ((mask >> 2) & 0x3333333333333333);
        mask = (mask + (mask >> 4)) & 0x0f0f0f0f0f0f0f0f;
        return static_cast<int>((mask * 0x0101010101010101) >> 56);
    }

    const GridLayout& getLayout() const { return *layout; }
    int getInnerSize() const { return layout->innerSize; }
    int getSize() const { return layout->size; }
    int getCellCount() const { return layout->cellCount; }
    Mask getAllValues() const { return allValues; }

    int getValue(int cell) const { return values[static_cast<std::size_t>(cell)]; }
    Mask getCandidates(int cell) const { return candidates[static_cast<std::size_t>(cell)]; }
    bool hasCandidate(int cell, int value) const { return (getCandidates(cell) & bit(value)) != 0; }
    int getBlankCount() const { return blanks; }
    bool isSolved() const { return blanks == 0; }
    std::vector<int> getValues() const { return {values.begin(), values.end()}; }

    // Sets the value, empties the cell's candidates and removes the value from its peers.
    void place(int cell, int value);
    // Removes a candidate; true when it was there.
    bool eliminate(int cell, int value);

    // Places naked and hidden singles until none is left. False when a blank cell or
    // a unit runs out of room for a value (the grid then has no solution).
    bool propagateSingles();

    // Per unit and value, the blank cells still holding the value (one left is a hidden
    // single, none with the value unplaced a dead end), and per unit the values placed.
    // Kept beside a grid by a search that places one value at a time, so that a step
    // does not count the whole grid again.
    struct SinglesTally {
        std::vector<std::uint8_t> holders;
        std::vector<Mask> placedIn;
    };
    // As propagateSingles, counting tally afresh for this grid.
    bool propagateSingles(SinglesTally& tally);
    // Places a candidate value of a blank cell, then singles, with tally this grid's.
    bool placeAndPropagate(int cell, int value, SinglesTally& tally);

    bool operator==(const CandidateGrid& other) const
    {
        return values == other.values && candidates == other.candidates;
    }

private:
    std::size_t holderIndex(int unit, int value) const
    {
        return static_cast<std::size_t>(unit * layout->size + value - 1);
    }
    bool loseCandidate(SinglesTally& tally, int cell, int value);
    bool assignSingle(SinglesTally& tally, int cell, int value);
    bool drainSingles(SinglesTally& tally);

    const GridLayout* layout;
    Mask allValues;
    int blanks;
    std::vector<std::uint8_t> values;
    std::vector<Mask> candidates;
};
