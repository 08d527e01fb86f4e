#pragma once

#include "CandidateGrid.h"
#include "PuzzleRater.h"

#include <string>
#include <vector>

// explain --format html: one page that stands alone (no scripts, styles or pictures
// from elsewhere), each step in words beside its picture, collapsible, laid out for
// phones as well as desktops.
class HtmlExplanation {
public:
    // "Gridlark: how to solve" the inputs.
    static std::string title(const std::vector<std::string>& inputs);
    static std::string head(const std::string& title);
    // One puzzle: its rating, every step drawn on the grid as it stood before the step,
    // then the solution.
    static std::string section(const std::string& label, const CandidateGrid& puzzle, const Rating& rating);
    static std::string foot();

    static std::string escape(const std::string& text);
};
