#pragma once

#include "CandidateGrid.h"
#include "Step.h"

#include <optional>
#include <utility>
#include <vector>

// Finders of one technique each (or of one family, chosen by an argument). Each looks
// at the grid as it stands and returns the first step it proves, without applying it.
namespace techniques {

// The weights a caller can still use: at most atMost and below below (the lightest step it
// holds). A finder given one may skip heavier steps; a step it returns that fits is the one
// it returns without a cap.
struct WeightCap {
    double atMost = 1e18;
    double below = 2e18;
    bool admits(double weight) const { return weight <= atMost && weight < below; }
    // The most nodes, up to longest, a chain of the kind's base may have and fit; 0 if none.
    int maxNodes(Technique kind, int longest) const;
};

std::optional<Step> findFullHouse(const CandidateGrid& grid);
// Boxes (Technique::HiddenSingleBox) or rows and columns (HiddenSingleLine).
std::optional<Step> findHiddenSingle(const CandidateGrid& grid, bool inBoxes);
std::optional<Step> findNakedSingle(const CandidateGrid& grid);
// Pointing or a hidden pair or triple whose eliminations leave a hidden single
// at once: Technique::DirectPointing, DirectHiddenPair, DirectHiddenTriple.
std::optional<Step> findDirect(const CandidateGrid& grid, Technique kind);
std::optional<Step> findPointing(const CandidateGrid& grid);
std::optional<Step> findClaiming(const CandidateGrid& grid);
// Naked or hidden subsets of 2, 3 or 4 cells.
std::optional<Step> findNakedSubset(const CandidateGrid& grid, int count);
std::optional<Step> findHiddenSubset(const CandidateGrid& grid, int count);
// X-Wing, Swordfish, Jellyfish (count 2, 3, 4), plain or finned.
std::optional<Step> findFish(const CandidateGrid& grid, int count, bool finned);
std::optional<Step> findSkyscraper(const CandidateGrid& grid);
std::optional<Step> findTwoStringKite(const CandidateGrid& grid);
// XY-Wing (xyz false) or XYZ-Wing.
std::optional<Step> findWing(const CandidateGrid& grid, bool xyz);
std::optional<Step> findWWing(const CandidateGrid& grid);
std::optional<Step> findSimpleColouring(const CandidateGrid& grid);
// Only sound when the puzzle is known to have exactly one solution.
// Technique::UniqueRectangle1 to UniqueRectangle4.
std::optional<Step> findUniqueRectangle(const CandidateGrid& grid, Technique type);
// Technique::UniqueLoop1 to UniqueLoop4: loops of six cells or more.
std::optional<Step> findUniqueLoop(const CandidateGrid& grid, Technique type);
// Types 4 (locked) and 3 (subset) of rectangles and loops alike, in the first unit both
// roof cells share (step.digits holds the pair): fills the step's eliminations, units and,
// for type 3, the subset's proof. Returns 0 when nothing goes, else 1 for type 4 and for
// type 3 the number of cells that join the roof's extra values.
int roofInSharedUnit(const CandidateGrid& grid, Step& step, const std::vector<int>& roof, CandidateGrid::Mask pair,
                     bool locked);
std::optional<Step> findBugPlusOne(const CandidateGrid& grid);
// Two cells that see each other cannot take a pair of values that empties a bivalue
// cell both see.
std::optional<Step> findAlignedPairExclusion(const CandidateGrid& grid);
// Three cells that see each other, and the cells of two or three candidates that see all
// three and that their values would empty.
std::optional<Step> findAlignedTripleExclusion(const CandidateGrid& grid);
// Technique::XCycle, YCycle or BidirectionalCycle: continuous loops.
std::optional<Step> findCycle(const CandidateGrid& grid, Technique kind, const WeightCap& cap = {});
// Technique::XChain, XYChain or Aic.
std::optional<Step> findChain(const CandidateGrid& grid, Technique kind, const WeightCap& cap = {});
// Technique::ContradictionChain up to NestedDynamicForcingChain.
std::optional<Step> findForcingChain(const CandidateGrid& grid, Technique kind, const WeightCap& cap = {});

// For searches over combinations: a step that eliminates something becomes the one
// found (true, the search stops); one that does not is dropped.
inline bool keepIfItEliminates(Step& step, std::optional<Step>& found)
{
    if (step.eliminations.empty())
        return false;
    found = std::move(step);
    return true;
}

// Weight of a chain of the kind's base with that many nodes.
double chainWeight(Technique kind, int nodes);

// Every candidate of the grid that sees (is weakly linked to) both a and b.
std::vector<Candidate> candidatesSeeingBoth(const CandidateGrid& grid, Candidate a, Candidate b);
// The same into result, for searches that try many ends and keep few.
void candidatesSeeingBoth(const CandidateGrid& grid, Candidate a, Candidate b, std::vector<Candidate>& result);

}  // namespace techniques
