#include "PlacementHint.h"

#include "StepText.h"

#include <algorithm>

namespace {

// Techniques whose premises are all about their digits in their units and the
// candidates of their pattern's cells; for the others any earlier elimination counts.
bool premisesKnown(Technique technique)
{
    switch (technique) {
    case Technique::FullHouse:
    case Technique::HiddenSingleBox:
    case Technique::HiddenSingleLine:
    case Technique::NakedSingle:
    case Technique::Pointing:
    case Technique::Claiming:
    case Technique::NakedPair:
    case Technique::NakedTriple:
    case Technique::NakedQuad:
    case Technique::HiddenPair:
    case Technique::HiddenTriple:
    case Technique::HiddenQuad:
    case Technique::XWing:
    case Technique::Swordfish:
    case Technique::Jellyfish:
        return true;
    default:
        return false;
    }
}

bool mayRestOn(const Step& step, const Candidate& gone, const GridLayout& layout)
{
    if (!premisesKnown(step.technique))
        return true;
    if (std::any_of(step.proof.begin(), step.proof.end(), [&](const Candidate& c) { return c.cell == gone.cell; }))
        return true;
    if (std::find(step.digits.begin(), step.digits.end(), gone.value) == step.digits.end())
        return false;
    return std::any_of(step.units.begin(), step.units.end(),
                       [&](int unit) { return layout.unitOf(gone.cell, unit / layout.size) == unit; });
}

} // namespace

std::optional<PlacementHint> PlacementHint::find(const CandidateGrid& grid, const LogicalSolver& solver)
{
    CandidateGrid work = grid;
    PlacementHint hint;
    while (std::optional<Step> step = solver.findNextStep(work)) {
        const bool places = !step->placements.empty();
        LogicalSolver::applyStep(work, *step);
        hint.steps.push_back(std::move(*step));
        if (places) {
            hint.dropUnneeded(grid.getLayout());
            return hint;
        }
    }
    return std::nullopt;
}

void PlacementHint::dropUnneeded(const GridLayout& layout)
{
    std::vector<bool> needed(steps.size(), false);
    needed.back() = true;
    for (std::size_t i = steps.size() - 1; i-- > 0;) {
        for (std::size_t j = i + 1; j < steps.size() && !needed[i]; ++j) {
            needed[i] = needed[j] && std::any_of(steps[i].eliminations.begin(), steps[i].eliminations.end(),
                                                 [&](const Candidate& gone) { return mayRestOn(steps[j], gone, layout); });
        }
    }
    std::vector<Step> kept;
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (needed[i])
            kept.push_back(std::move(steps[i]));
    steps = std::move(kept);
}

std::string PlacementHint::describe(const GridLayout& layout) const
{
    std::string text;
    for (std::size_t i = 0; i + 1 < steps.size(); ++i)
        text += StepText::describe(steps[i], layout) + ",\n";
    std::string last = StepText::describe(steps.back(), layout);
    if (steps.size() == 1)
        return last;
    // After eliminations a single needs no name of its own: its reason says it.
    const Technique technique = steps.back().technique;
    const bool single = technique == Technique::FullHouse || technique == Technique::HiddenSingleBox ||
                        technique == Technique::HiddenSingleLine || technique == Technique::NakedSingle;
    if (const std::size_t colon = last.find(": "); single && colon != std::string::npos)
        last.erase(0, colon + 2);
    return text + "so " + last;
}
