#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

// The sequence of glibc's rand() and srand(), drawn inline and without the C
// library's lock. glibc's default generator is additive feedback over 31 words:
// r[i] = r[i - 31] + r[i - 3] (mod 2^32), each draw r[i] >> 1; srand(s) fills
// r[0..30] with the 16807 generator from s (0 taken as 1), repeats r[0..2] as
// r[31..33] and discards 310 draws.
class GlibcRandom {
public:
    // The state of a process that has not called srand: that of srand(1).
    constexpr GlibcRandom() { seed(1); }

    constexpr void seed(unsigned s)
    {
        std::uint32_t r[kSeedWords];
        // glibc keeps the seed as a signed 32-bit word; division truncates toward 0.
        std::int32_t word = static_cast<std::int32_t>(s == 0 ? 1u : s);
        r[0] = static_cast<std::uint32_t>(word);
        // glibc's first step takes any word, a negative one too; it leaves one below the
        // modulus, of which each later step is 16807 times it modulo 2^31 - 1 exactly:
        // reduced by folding the high bits down rather than by division.
        const std::int64_t hi = word / 127773;
        const std::int64_t lo = word % 127773;
        word = static_cast<std::int32_t>(16807 * lo - 2836 * hi);
        if (word < 0)
            word += kModulus;
        r[1] = static_cast<std::uint32_t>(word);
        std::uint64_t next = static_cast<std::uint32_t>(word);
        for (int i = 2; i < kDegree; ++i) {
            next *= 16807;
            next = (next & kModulus) + (next >> 31);
            if (next >= kModulus)
                next -= kModulus;
            r[i] = static_cast<std::uint32_t>(next);
        }
        for (int i = kDegree; i < kDegree + kSeparation; ++i)
            r[i] = r[i - kDegree];
        if (std::is_constant_evaluated()) {
            for (int i = kDegree + kSeparation; i < kFirstDraw; ++i)
                r[i] = r[i - kDegree] + r[i - kSeparation];
            for (int i = kFirstDraw - kDegree; i < kFirstDraw; ++i)
                words[i & kMask] = r[i];
        } else {
            discardBatched(r);
            // The last 31 words in their places, which wrap past the end of words.
            constexpr int kFirstKept = kFirstDraw - kDegree;
            constexpr int kBeforeWrap = kMask + 1 - (kFirstKept & kMask);
            static_assert(kBeforeWrap <= kDegree);
            std::memcpy(words + (kFirstKept & kMask), r + kFirstKept, kBeforeWrap * sizeof r[0]);
            std::memcpy(words, r + kFirstKept + kBeforeWrap, (kDegree - kBeforeWrap) * sizeof r[0]);
        }
        at = kFirstDraw;
    }

    // rand(): 0..2147483647.
    int next()
    {
        const std::uint32_t v = words[(at - kDegree) & kMask] + words[(at - kSeparation) & kMask];
        words[at & kMask] = v;
        ++at;
        return static_cast<int>(v >> 1);
    }

    // The generator of the process, in place of the C library's: the cells and the
    // solver draw from it, the command-line tool seeds it per puzzle.
    static GlibcRandom& shared() { return sharedInstance; }

private:
    static constexpr std::uint32_t kModulus = 2147483647;
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;
    // Draws 34..343 of r are srand's discarded ones; 344 is the first rand().
    static constexpr int kFirstDraw = kDegree + kSeparation + 10 * kDegree;
    // r of srand, plus the words that the last batched step writes past it.
    static constexpr int kSeedWords = kFirstDraw + 3;
    // r[i] is kept at i & kMask: room for the last 31 words without a modulo.
    static constexpr std::uint32_t kMask = 63;

    // The discarded draws six at a time: r[i..i+2] need only words at least three back,
    // and r[i+3..i+5] are r[i..i+2] plus words 28 back. Four lanes are computed each
    // time; the fourth is overwritten by the next one.
    static constexpr int kStep = 2 * kSeparation;
    static constexpr int kLastStep = kDegree + kSeparation + (kFirstDraw - 1 - kDegree - kSeparation) / kStep * kStep;
    static_assert(kLastStep + kStep + 1 <= kSeedWords, "the last step writes within r");
    static void discardBatched(std::uint32_t* r)
    {
        using Lanes = std::uint32_t __attribute__((vector_size(16)));
        for (int i = kDegree + kSeparation; i < kFirstDraw; i += kStep) {
            Lanes near;
            Lanes far;
            Lanes farNext;
            std::memcpy(&near, r + i - kSeparation, sizeof near);
            std::memcpy(&far, r + i - kDegree, sizeof far);
            std::memcpy(&farNext, r + i + kSeparation - kDegree, sizeof farNext);
            near += far;
            std::memcpy(r + i, &near, sizeof near);
            near += farNext;
            std::memcpy(r + i + kSeparation, &near, sizeof near);
        }
    }

    std::uint32_t words[kMask + 1] = {};
    std::uint32_t at = 0;

    static GlibcRandom sharedInstance;
};
