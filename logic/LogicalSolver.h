#pragma once

#include "CandidateGrid.h"
#include "Step.h"

#include <optional>
#include <vector>

namespace techniques {
struct WeightCap;
}

// The steps taken, easiest available first, and whether they reached a full grid.
struct LogicalPath {
    std::vector<Step> steps;
    bool solved = false;
};

// Solves like a person: at every point it takes the easiest technique that proves
// something. It works on its own candidate grid and never touches SudokuSolver.
class LogicalSolver {
public:
    // Unique rectangles and BUG+1 assume one solution; they are left out unless the
    // caller has checked that with the exact counter. Techniques weighing more than
    // maxWeight are never tried (the generator's level cap).
    explicit LogicalSolver(bool uniqueSolutionKnown, double maxWeight = kNoCap)
        : uniqueSolutionKnown(uniqueSolutionKnown), maxWeight(maxWeight)
    {
    }

    static constexpr double kNoCap = 1e9;

    // The easiest step the grid allows, or nothing when no technique applies (solved,
    // broken, or with more than one solution).
    std::optional<Step> findNextStep(const CandidateGrid& grid) const;

    // The step found by one technique alone, for tests and explanations.
    std::optional<Step> findStep(const CandidateGrid& grid, Technique technique) const;

    static void applyStep(CandidateGrid& grid, const Step& step);

    // Takes steps until the grid is solved or none applies; grid ends as left.
    LogicalPath solve(CandidateGrid& grid) const;

private:
    // A step that fits the cap is the one found without it; heavier ones may be missed.
    std::optional<Step> findStep(const CandidateGrid& grid, Technique technique, const techniques::WeightCap& cap) const;
    std::optional<Step> findByTechnique(const CandidateGrid& grid, Technique technique,
                                        const techniques::WeightCap& cap) const;

    bool uniqueSolutionKnown;
    double maxWeight;
};
