#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

// The techniques in the order the solver tries them, easiest first.
enum class Technique {
    FullHouse,
    HiddenSingleBox,
    HiddenSingleLine,
    NakedSingle,
    Pointing,
    Claiming,
    NakedPair,
    XWing,
    HiddenPair,
    NakedTriple,
    Swordfish,
    HiddenTriple,
    Skyscraper,
    TwoStringKite,
    XYWing,
    XYZWing,
    WWing,
    FinnedXWing,
    UniqueRectangle1,
    UniqueRectangle2,
    SimpleColouring,
    NakedQuad,
    FinnedSwordfish,
    Jellyfish,
    HiddenQuad,
    BugPlusOne,
    FinnedJellyfish,
    XChain,
    XYChain,
    Aic,
    ContradictionChain,
    CellForcingChain,
    UnitForcingChain,
    DynamicForcingChain,
    DeepForcingChain,
};

struct TechniqueInfo {
    Technique technique;
    std::string_view name;
    // Difficulty on the 1.0 to 11 scale; a puzzle's rating is its hardest step.
    double weight;
};

// The one table of names and weights, in the order of the enumeration.
inline constexpr std::array<TechniqueInfo, 35> kTechniques{{
    {Technique::FullHouse, "Full house", 1.0},
    {Technique::HiddenSingleBox, "Hidden single in box", 1.2},
    {Technique::HiddenSingleLine, "Hidden single in line", 1.5},
    {Technique::NakedSingle, "Naked single", 2.3},
    {Technique::Pointing, "Pointing", 2.6},
    {Technique::Claiming, "Claiming", 2.8},
    {Technique::NakedPair, "Naked pair", 3.0},
    {Technique::XWing, "X-Wing", 3.2},
    {Technique::HiddenPair, "Hidden pair", 3.4},
    {Technique::NakedTriple, "Naked triple", 3.6},
    {Technique::Swordfish, "Swordfish", 3.8},
    {Technique::HiddenTriple, "Hidden triple", 4.0},
    {Technique::Skyscraper, "Skyscraper", 4.0},
    {Technique::TwoStringKite, "2-String Kite", 4.1},
    {Technique::XYWing, "XY-Wing", 4.2},
    {Technique::XYZWing, "XYZ-Wing", 4.4},
    {Technique::WWing, "W-Wing", 4.4},
    {Technique::FinnedXWing, "Finned X-Wing", 4.4},
    {Technique::UniqueRectangle1, "Unique rectangle type 1", 4.5},
    {Technique::UniqueRectangle2, "Unique rectangle type 2", 4.6},
    {Technique::SimpleColouring, "Simple colouring", 4.6},
    {Technique::NakedQuad, "Naked quad", 5.0},
    {Technique::FinnedSwordfish, "Finned Swordfish", 5.0},
    {Technique::Jellyfish, "Jellyfish", 5.2},
    {Technique::HiddenQuad, "Hidden quad", 5.4},
    {Technique::BugPlusOne, "BUG+1", 5.6},
    {Technique::FinnedJellyfish, "Finned Jellyfish", 5.6},
    {Technique::XChain, "X-chain", 6.5},
    {Technique::XYChain, "XY-chain", 6.6},
    {Technique::Aic, "Alternating inference chain", 7.0},
    {Technique::ContradictionChain, "Contradiction forcing chain", 7.5},
    {Technique::CellForcingChain, "Cell forcing chain", 8.0},
    {Technique::UnitForcingChain, "Unit forcing chain", 8.2},
    {Technique::DynamicForcingChain, "Dynamic forcing chain", 9.0},
    {Technique::DeepForcingChain, "Deep forcing chain", 11.0},
}};

inline constexpr std::size_t kTechniqueCount = kTechniques.size();

inline const TechniqueInfo& techniqueInfo(Technique technique)
{
    return kTechniques[static_cast<std::size_t>(technique)];
}

// One value of one cell.
struct Candidate {
    int cell = 0;
    int value = 0;
    bool operator==(const Candidate&) const = default;
};

// One deduction: what it places and eliminates, and the pattern that proves it.
struct Step {
    Technique technique = Technique::FullHouse;
    std::vector<Candidate> placements;
    std::vector<Candidate> eliminations;
    // The pattern's candidates; for chains the nodes in order, strong link first.
    std::vector<Candidate> proof;
    // Units of the pattern (fish: base lines then cover lines; singles: the unit).
    std::vector<int> units;
    // The values the pattern is about.
    std::vector<int> digits;
};
