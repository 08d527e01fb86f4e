#include "Cell.h"

#include "GlibcRandom.h"

#include <bit>
#include <ctime>
#include <cstring>

bool Cell::seedPending = true;

void Cell::init(int r, int c, int maxV)
{
    row = r;
    col = c;
    value = 0;
    maxValue = maxV < 0 ? 0 : maxV;
    if (!isInline())
        heapBits = new std::uint64_t[wordCount(maxValue)];
    resetPossibles();
    seedOnce();
}

void Cell::seedOnce()
{
    if (seedPending) {
        GlibcRandom::shared().seed(static_cast<unsigned>(static_cast<std::uint32_t>(std::time(nullptr))));
        seedPending = false;
    }
}

Cell::Cell(int r, int c, int maxV)
{
    init(r, c, maxV);
}

Cell::Cell(const Cell& other)
    : row(other.row), col(other.col), value(other.value), maxValue(other.maxValue), numPossible(other.numPossible)
{
    // Board copies are the solver's hot path: take the flags as they are rather
    // than setting them all first.
    if (isInline()) {
        inlineBits = other.inlineBits;
    } else {
        heapBits = new std::uint64_t[wordCount(maxValue)];
        std::memcpy(heapBits, other.heapBits, sizeof(std::uint64_t) * wordCount(maxValue));
    }
    seedOnce();
}

Cell& Cell::operator=(const Cell& other)
{
    if (this == &other)
        return *this;
    if (wordCount(maxValue) != wordCount(other.maxValue) || isInline() != other.isInline()) {
        if (!isInline())
            delete[] heapBits;
        maxValue = other.maxValue;
        if (!isInline())
            heapBits = new std::uint64_t[wordCount(maxValue)];
    }
    row = other.row;
    col = other.col;
    value = other.value;
    maxValue = other.maxValue;
    std::memcpy(words(), other.words(), sizeof(std::uint64_t) * wordCount(maxValue));
    numPossible = other.numPossible;
    return *this;
}

Cell::~Cell()
{
    if (!isInline())
        delete[] heapBits;
}

void Cell::resetPossibles()
{
    if (isInline()) {
        inlineBits = lowBits(maxValue);
    } else {
        const int n = wordCount(maxValue);
        for (int i = 0; i < n - 1; ++i)
            heapBits[i] = ~std::uint64_t{0};
        heapBits[n - 1] = lowBits(maxValue - 64 * (n - 1));
    }
    numPossible = maxValue;
}

void Cell::setHeapPossibles(const std::uint64_t* bits)
{
    const int n = wordCount(maxValue);
    numPossible = 0;
    for (int i = 0; i < n; ++i) {
        heapBits[i] = bits[i] & (i == n - 1 ? lowBits(maxValue - 64 * i) : ~std::uint64_t{0});
        numPossible += std::popcount(heapBits[i]);
    }
}

int Cell::nthPossible(int k) const
{
    if (k < 0 || k >= numPossible)
        return -1;
    const std::uint64_t* w = words();
    const int n = wordCount(maxValue);
    for (int i = 0; i < n; ++i) {
        std::uint64_t bits = w[i];
        const int here = std::popcount(bits);
        if (k >= here) {
            k -= here;
            continue;
        }
        while (k-- > 0)
            bits &= bits - 1;
        return 64 * i + std::countr_zero(bits) + 1;
    }
    return -1;
}

int Cell::randomPossible()
{
    if (numPossible < 1)
        return -1;
    return nthPossible(GlibcRandom::shared().next() % numPossible);
}
