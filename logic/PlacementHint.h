#pragma once

#include "CandidateGrid.h"
#include "LogicalSolver.h"
#include "Step.h"

#include <optional>
#include <string>
#include <vector>

// The steps from a grid to the next value a player can enter: the easiest steps in
// turn until one places a value, without those that the placement and the steps kept
// do not rest on. A player who can write values only, not candidates, is never left
// with an elimination to act on.
class PlacementHint {
public:
    // Nothing when the solver finds no step on the way (solved, broken, or more than
    // one solution).
    static std::optional<PlacementHint> find(const CandidateGrid& grid, const LogicalSolver& solver);

    // Eliminations first; the last step places a value.
    const std::vector<Step>& getSteps() const { return steps; }
    const Candidate& getPlacement() const { return steps.back().placements.front(); }

    // One step per line, the placement last: "Pointing: 1 in box 8 lies only in
    // column 5: r1c5<>1, r6c5<>1, so r1c5 = 7 (only candidate left)".
    std::string describe(const GridLayout& layout) const;

private:
    // Keeps the placement and, latest first, each elimination step that a step kept
    // may rest on.
    void dropUnneeded(const GridLayout& layout);

    std::vector<Step> steps;
};
