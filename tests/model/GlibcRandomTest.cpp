#include "GlibcRandom.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

// Draws from both after seeding both; the first draw that differs, or -1.
int firstDifference(GlibcRandom& random, unsigned seed, int draws)
{
    random.seed(seed);
    std::srand(seed);
    for (int i = 0; i < draws; ++i)
        if (random.next() != std::rand())
            return i;
    return -1;
}

TEST(GlibcRandom, DrawsWhatTheCLibraryDraws)
{
    GlibcRandom random;
    for (unsigned seed = 0; seed < 1000; ++seed)
        ASSERT_EQ(firstDifference(random, seed, 1000), -1) << "seed " << seed;
    // Seeds that are negative as glibc's signed word, the extremes, and 16807's modulus.
    for (const unsigned seed : {0x7FFFFFFEu, 0x7FFFFFFFu, 0x80000000u, 0x80000001u, 0xDEADBEEFu, 0xFFFFFFFEu,
                                0xFFFFFFFFu, 127773u, 127773u * 16807u, static_cast<unsigned>(INT_MAX) + 2u})
        ASSERT_EQ(firstDifference(random, seed, 100000), -1) << "seed " << seed;
}

// A process that never seeds draws as after srand(1), and reseeding starts over
// whatever was drawn before.
TEST(GlibcRandom, UnseededAndReseeded)
{
    GlibcRandom fresh;
    std::srand(1);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(fresh.next(), std::rand()) << i;
    fresh.seed(5);
    const int first = fresh.next();
    for (int i = 0; i < 77; ++i)
        fresh.next();
    fresh.seed(5);
    EXPECT_EQ(fresh.next(), first);
}

} // namespace
