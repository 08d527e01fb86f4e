#pragma once

#include "CandidateGrid.h"
#include "Step.h"

#include <cstdint>
#include <optional>
#include <vector>

// What a picture of a grid shows: the values (givens apart), the candidates of the
// blank cells and a step with its pattern. Any box size, 2 (4x4) to 5 (25x25). Plain
// data, so that programs which do not draw can still say what is to be drawn.
struct GridPicture {
    static constexpr int kMinInnerSize = 2;
    static constexpr int kMaxInnerSize = 5;

    int innerSize = 3;
    std::vector<int> values;            // row by row, 0 for a blank
    std::vector<bool> givens;           // empty: no value is a given
    std::vector<std::uint64_t> candidates;  // bit v - 1 for value v; empty: none drawn
    std::optional<Step> step;

    // The grid's values, the givens marked, and its candidates when asked for.
    static GridPicture of(const CandidateGrid& grid, const std::vector<int>& givens, bool candidates,
                          std::optional<Step> step = std::nullopt);
};
