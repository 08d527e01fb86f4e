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
    DirectPointing,
    DirectHiddenPair,
    NakedSingle,
    DirectHiddenTriple,
    Pointing,
    Claiming,
    NakedPair,
    XWing,
    HiddenPair,
    NakedTriple,
    Swordfish,
    HiddenTriple,
    XYWing,
    XYZWing,
    UniqueRectangle1,
    UniqueRectangle4,
    UniqueRectangle2,
    UniqueRectangle3,
    UniqueLoop1,
    UniqueLoop4,
    UniqueLoop2,
    UniqueLoop3,
    NakedQuad,
    Jellyfish,
    HiddenQuad,
    BugPlusOne,
    AlignedPairExclusion,
    XCycle,
    Skyscraper,
    TwoStringKite,
    FinnedXWing,
    FinnedSwordfish,
    FinnedJellyfish,
    SimpleColouring,
    XChain,
    YCycle,
    XYChain,
    WWing,
    Aic,
    BidirectionalCycle,
    ContradictionChain,
    AlignedTripleExclusion,
    Nishio,
    CellForcingChain,
    UnitForcingChain,
    DynamicForcingChain,
    DynamicForcingChainPlus,
    NestedForcingChain,
    NestedMultipleForcingChain,
    NestedDynamicForcingChain,
};

struct TechniqueInfo {
    Technique technique;
    std::string_view name;
    // Base difficulty on the 1.0 to 11.9 scale; chains add to it with their length.
    double weight;
    bool onScale;
};

// The one table of names and base weights, in the order of the enumeration. Techniques
// the community scale lacks (onScale false) are chains in disguise: they come just before
// the chains and weigh what the chain they are would weigh.
inline constexpr std::array<TechniqueInfo, 53> kTechniques{{
    {Technique::FullHouse, "Full house", 1.0, true},
    {Technique::HiddenSingleBox, "Hidden single in box", 1.2, true},
    {Technique::HiddenSingleLine, "Hidden single in line", 1.5, true},
    {Technique::DirectPointing, "Direct pointing", 1.7, true},
    {Technique::DirectHiddenPair, "Direct hidden pair", 2.0, true},
    {Technique::NakedSingle, "Naked single", 2.3, true},
    {Technique::DirectHiddenTriple, "Direct hidden triple", 2.5, true},
    {Technique::Pointing, "Pointing", 2.6, true},
    {Technique::Claiming, "Claiming", 2.8, true},
    {Technique::NakedPair, "Naked pair", 3.0, true},
    {Technique::XWing, "X-Wing", 3.2, true},
    {Technique::HiddenPair, "Hidden pair", 3.4, true},
    {Technique::NakedTriple, "Naked triple", 3.6, true},
    {Technique::Swordfish, "Swordfish", 3.8, true},
    {Technique::HiddenTriple, "Hidden triple", 4.0, true},
    {Technique::XYWing, "XY-Wing", 4.2, true},
    {Technique::XYZWing, "XYZ-Wing", 4.4, true},
    {Technique::UniqueRectangle1, "Unique rectangle type 1", 4.5, true},
    {Technique::UniqueRectangle4, "Unique rectangle type 4", 4.5, true},
    {Technique::UniqueRectangle2, "Unique rectangle type 2", 4.5, true},
    {Technique::UniqueRectangle3, "Unique rectangle type 3", 4.5, true},
    {Technique::UniqueLoop1, "Unique loop type 1", 4.5, true},
    {Technique::UniqueLoop4, "Unique loop type 4", 4.5, true},
    {Technique::UniqueLoop2, "Unique loop type 2", 4.5, true},
    {Technique::UniqueLoop3, "Unique loop type 3", 4.5, true},
    {Technique::NakedQuad, "Naked quad", 5.0, true},
    {Technique::Jellyfish, "Jellyfish", 5.2, true},
    {Technique::HiddenQuad, "Hidden quad", 5.4, true},
    {Technique::BugPlusOne, "BUG+1", 5.6, true},
    {Technique::AlignedPairExclusion, "Aligned pair exclusion", 6.2, true},
    {Technique::XCycle, "X-cycle", 6.5, true},
    {Technique::Skyscraper, "Skyscraper", 6.6, false},
    {Technique::TwoStringKite, "2-String Kite", 6.6, false},
    {Technique::FinnedXWing, "Finned X-Wing", 6.6, false},
    {Technique::FinnedSwordfish, "Finned Swordfish", 6.6, false},
    {Technique::FinnedJellyfish, "Finned Jellyfish", 6.6, false},
    {Technique::SimpleColouring, "Simple colouring", 6.6, false},
    {Technique::XChain, "X-chain", 6.6, true},
    {Technique::YCycle, "Y-cycle", 6.6, true},
    {Technique::XYChain, "XY-chain", 7.0, true},
    {Technique::WWing, "W-Wing", 7.0, false},
    {Technique::Aic, "Alternating inference chain", 7.0, true},
    {Technique::BidirectionalCycle, "Bidirectional cycle", 7.0, true},
    {Technique::ContradictionChain, "Forcing chain", 7.0, true},
    {Technique::AlignedTripleExclusion, "Aligned triple exclusion", 7.5, true},
    {Technique::Nishio, "Nishio forcing chain", 7.5, true},
    {Technique::CellForcingChain, "Cell forcing chain", 8.0, true},
    {Technique::UnitForcingChain, "Unit forcing chain", 8.0, true},
    {Technique::DynamicForcingChain, "Dynamic forcing chain", 8.5, true},
    {Technique::DynamicForcingChainPlus, "Dynamic forcing chain (+)", 9.0, true},
    {Technique::NestedForcingChain, "Nested forcing chain", 9.5, true},
    {Technique::NestedMultipleForcingChain, "Nested multiple forcing chain", 10.0, true},
    {Technique::NestedDynamicForcingChain, "Nested dynamic forcing chain", 10.5, true},
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

struct ChainBranch;

// One link of a forcing chain: a candidate true (on) or false, and the sub-chains of a
// nested chain that proved it false.
struct ChainNode {
    Candidate candidate;
    bool on = false;
    std::vector<ChainBranch> nested;
};

// A premise's path to its conclusion, premise first.
struct ChainBranch {
    std::vector<ChainNode> nodes;
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
    // Forcing chains: each branch from its premise to what it proves; simple colouring:
    // its two colours.
    std::vector<ChainBranch> branches;
    // The step's weight: the technique's base plus its length modifier.
    double weight = 0.0;
};

// The scale's complexity modifier: 0.1 for each of the lengths 4, 6, 8, 12, 16, 24, 32,
// ... (each half again, then a third again, the one before) that a chain goes past.
inline double lengthModifier(int length)
{
    int added = 0;
    bool half = true;
    for (int ceiling = 4; length > ceiling; half = !half) {
        ++added;
        ceiling = half ? ceiling * 3 / 2 : ceiling * 4 / 3;
    }
    return added * 0.1;
}
