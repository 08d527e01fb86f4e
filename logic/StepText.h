#pragma once

#include "CandidateGrid.h"
#include "Step.h"

#include <string>

// Steps in words, cells named r1c1 (1-based row and column), units "row 4",
// "column 7" or "box 6" (boxes numbered row by row).
class StepText {
public:
    static std::string cellName(int cell, int size);
    static std::string unitName(int unit, int size);
    static std::string describe(const Step& step, const GridLayout& layout);
};
