// Ratings against the community scale: puzzles whose ratings others published, spread
// from hidden singles to dynamic forcing chains, must rate within 0.2. The collection
// may not be copied into the project, so the test reads the lines by number from the
// shared set and checks that each still carries the rating typed here.
#include "LogicTestSupport.h"
#include "PuzzleRater.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>

namespace {

struct Published {
    int line;
    double rating;
    Technique hardest;
};

TEST(PublishedRating, ADozenPuzzlesAcrossTheScaleRateWithinATenthOrTwo)
{
    const char* dir = std::getenv("GRIDLARK_BENCH_DIR") ? std::getenv("GRIDLARK_BENCH_DIR") : GRIDLARK_SHARED_BENCH_DIR;
    const std::string path = std::string(dir) + "/rated/cb000_all_er.txt";
    std::ifstream in(path);
    if (!in)
        GTEST_SKIP() << "no rated puzzles at " << path;
    const std::vector<Published> cases = {
        {92, 1.2, Technique::HiddenSingleBox},       {100, 1.7, Technique::DirectPointing},
        {1, 2.0, Technique::DirectHiddenPair},       {22, 2.6, Technique::Pointing},
        {241, 3.4, Technique::HiddenPair},           {18, 4.2, Technique::XYWing},
        {28, 4.5, Technique::UniqueRectangle1},      {95, 5.6, Technique::BugPlusOne},
        {516, 6.2, Technique::AlignedPairExclusion}, {20, 6.6, Technique::Skyscraper},
        {3, 7.1, Technique::YCycle},                 {1201, 7.8, Technique::Nishio},
        {2, 8.3, Technique::CellForcingChain},       {400, 8.9, Technique::DynamicForcingChain},
    };
    std::map<int, std::string> lines;
    int number = 0;
    for (std::string text; std::getline(in, text);)
        lines[++number] = text;
    for (const Published& c : cases) {
        const std::string& text = lines[c.line];
        ASSERT_GE(text.size(), 83u) << "line " << c.line;
        ASSERT_DOUBLE_EQ(std::strtod(text.c_str() + 82, nullptr), c.rating) << "line " << c.line << " changed";
        const Rating rating = PuzzleRater::rate(*CandidateGrid::fromValues(valuesOfLine(text)));
        ASSERT_EQ(rating.status, Rating::Status::Rated) << text;
        EXPECT_LE(std::fabs(rating.rating - c.rating), 0.2 + 1e-9) << text << " rates " << rating.rating;
        // The hardest step is of the technique the published rating stands for.
        double hardest = 0;
        Technique technique = Technique::FullHouse;
        for (const Step& step : rating.steps)
            if (step.weight > hardest) {
                hardest = step.weight;
                technique = step.technique;
            }
        EXPECT_EQ(technique, c.hardest) << text << ": " << techniqueInfo(technique).name;
    }
}

}  // namespace
