#pragma once

#include <cstdint>

// Whether solution is complete, breaks no rule and keeps every given of puzzle: both
// grids of the inner size, values row-major with 0 for a blank.
bool solvesPuzzle(const std::uint16_t* puzzle, const std::uint16_t* solution, int innerSize);
