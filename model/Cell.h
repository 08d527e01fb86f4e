#pragma once

#include <bit>
#include <cstdint>

// One grid position: coordinates, value (0 = blank) and the set of values still
// possible for it. Value and candidates are independent: setValue never touches
// the candidates; keeping them consistent is the board's work.
//
// The candidate flags are stored one bit per value (value v at bit v - 1), inline
// for up to 64 values and in an owned heap array beyond that, so that copying a
// board of inner size up to 8 allocates nothing per cell. Copies are deep.
class Cell {
public:
    // Largest maxValue whose flags live inside the cell.
    static constexpr int kInlineValues = 64;

    Cell(int row, int col, int maxValue);
    Cell(const Cell& other);
    Cell& operator=(const Cell& other);
    ~Cell();

    int getRow() const { return row; }
    int getCol() const { return col; }
    int getValue() const { return value; }
    int getMaxValue() const { return maxValue; }

    // Stores v when it is 0 or within 1..maxValue; anything else is ignored.
    void setValue(int v)
    {
        if (v >= 0 && v <= maxValue)
            value = v;
    }

    bool isPossible(int v) const
    {
        if (v < 1 || v > maxValue)
            return false;
        return (words()[(v - 1) >> 6] >> ((v - 1) & 63)) & 1u;
    }

    // Removes v from the candidates if present; returns the count afterwards.
    int removePossible(int v)
    {
        if (v >= 1 && v <= maxValue) {
            std::uint64_t& word = words()[(v - 1) >> 6];
            const std::uint64_t bit = std::uint64_t{1} << ((v - 1) & 63);
            if (word & bit) {
                word &= ~bit;
                --numPossible;
            }
        }
        return numPossible;
    }

    void resetPossibles();
    int numPossibles() const { return numPossible; }

    // The k-th candidate (0-based) in ascending order, or -1.
    int nthPossible(int k) const;

    // A candidate drawn with one draw of the process's rand() sequence
    // (GlibcRandom::shared()), or -1 when there is none.
    int randomPossible();

    // The candidate bits, (maxValue + 63) / 64 words; value v is bit (v - 1) % 64
    // of word (v - 1) / 64. For the solver's set arithmetic.
    const std::uint64_t* possibleWords() const { return words(); }
    static int wordCount(int maxValue) { return maxValue > 0 ? (maxValue - 1) / 64 + 1 : 0; }

    // setValue(v), and the candidates replaced by the set in bits (the layout of
    // possibleWords, wordCount words); bits above maxValue are ignored. For the
    // solver, which writes whole cells back.
    void setValueAndPossibles(int v, const std::uint64_t* bits)
    {
        setValue(v);
        if (isInline()) {
            inlineBits = bits[0] & lowBits(maxValue);
            numPossible = std::popcount(inlineBits);
        } else {
            setHeapPossibles(bits);
        }
    }

    // True until the first cell of the process is constructed (which seeds the
    // process's generator).
    static bool isSeedPending() { return seedPending; }

private:
    void init(int row, int col, int maxValue);
    void setHeapPossibles(const std::uint64_t* bits);
    // Bits 0..n-1 set, for the last word of a candidate set of n values.
    static std::uint64_t lowBits(int n) { return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1; }
    // Seeds the process's generator with the time at the first construction.
    static void seedOnce();
    bool isInline() const { return maxValue <= kInlineValues; }
    std::uint64_t* words() { return isInline() ? &inlineBits : heapBits; }
    const std::uint64_t* words() const { return isInline() ? &inlineBits : heapBits; }

    std::int32_t row;
    std::int32_t col;
    std::int32_t value;
    std::int32_t maxValue;
    union {
        std::uint64_t inlineBits;
        std::uint64_t* heapBits;
    };
    std::int32_t numPossible;

    static bool seedPending;
};
