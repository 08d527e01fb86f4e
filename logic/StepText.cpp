#include "StepText.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

std::string join(const std::vector<std::string>& parts, std::string_view last)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += i + 1 == parts.size() ? last : std::string_view(", ");
        text += parts[i];
    }
    return text;
}

std::string joinNumbers(const std::vector<int>& numbers, std::string_view last = " and ")
{
    std::vector<std::string> parts;
    for (const int n : numbers)
        parts.push_back(std::to_string(n));
    return join(parts, last);
}

std::string candidateName(Candidate c, int size)
{
    std::string name("(");
    name += std::to_string(c.value);
    name += ')';
    name += StepText::cellName(c.cell, size);
    return name;
}

// Distinct cells of the candidates, in order of first appearance.
std::vector<std::string> cellNames(const std::vector<Candidate>& candidates, int size)
{
    std::vector<int> cells;
    for (const Candidate& c : candidates)
        if (std::find(cells.begin(), cells.end(), c.cell) == cells.end())
            cells.push_back(c.cell);
    std::vector<std::string> names;
    for (const int cell : cells)
        names.push_back(StepText::cellName(cell, size));
    return names;
}

// "rows 2 and 8" for units of one kind.
std::string linesName(const std::vector<int>& units, int size)
{
    std::vector<int> numbers;
    for (const int unit : units)
        numbers.push_back(unit % size + 1);
    const std::string kind = units.front() < size ? "row" : units.front() < 2 * size ? "column" : "box";
    return kind + (units.size() > 1 ? "s " : " ") + joinNumbers(numbers);
}

std::string results(const Step& step, int size)
{
    std::vector<std::string> parts;
    for (const Candidate& c : step.placements)
        parts.push_back(StepText::cellName(c.cell, size) + " = " + std::to_string(c.value));
    for (const Candidate& c : step.eliminations)
        parts.push_back(StepText::cellName(c.cell, size) + "<>" + std::to_string(c.value));
    return join(parts, ", ");
}

std::string chain(const std::vector<Candidate>& nodes, int size)
{
    std::string text;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (i > 0)
            text += i % 2 ? "=" : "-";
        text += candidateName(nodes[i], size);
    }
    return text;
}

std::string nodeName(const ChainNode& node, int size)
{
    return StepText::cellName(node.candidate.cell, size) + (node.on ? "=" : "<>") + std::to_string(node.candidate.value);
}

// "r9c5=1 → r8c5<>1 → ..."; the inner chains of a nested step go on lines of their own
// below, indented one level deeper, each after the candidate it proves false.
std::string branchesText(const std::vector<ChainBranch>& branches, int size, int depth, std::string& below)
{
    std::vector<std::string> parts;
    for (const ChainBranch& branch : branches) {
        std::string text;
        for (const ChainNode& node : branch.nodes) {
            if (!text.empty())
                text += " → ";
            text += nodeName(node, size);
            if (node.nested.empty())
                continue;
            std::string deeper;
            const std::string inner = branchesText(node.nested, size, depth + 1, deeper);
            // Appended piece by piece: GCC 12 warns falsely on a sum of strings here.
            below += '\n';
            below.append(static_cast<std::size_t>(2 * depth), ' ');
            below += nodeName(node, size);
            below += " since ";
            below += inner;
            below += deeper;
        }
        parts.push_back(text);
    }
    return join(parts, "; ");
}

std::string chainText(const Step& step, int size)
{
    std::string below;
    const std::string text = branchesText(step.branches, size, 1, below);
    return " (" + text + ")" + below;
}

}  // namespace

std::string StepText::cellName(int cell, int size)
{
    // Appended piece by piece: GCC 12 warns falsely on "r" + std::string.
    std::string name("r");
    name += std::to_string(cell / size + 1);
    name += 'c';
    name += std::to_string(cell % size + 1);
    return name;
}

std::string StepText::unitName(int unit, int size)
{
    static constexpr const char* kinds[] = {"row ", "column ", "box "};
    return kinds[unit / size] + std::to_string(unit % size + 1);
}

std::string StepText::describe(const Step& step, const GridLayout& layout)
{
    const int size = layout.size;
    const std::string name(techniqueInfo(step.technique).name);
    const std::string outcome = results(step, size);
    const int value = step.digits.empty() ? 0 : step.digits.front();
    switch (step.technique) {
    case Technique::FullHouse:
        return "Full house: " + outcome + " (last empty cell in " + unitName(step.units.front(), size) + ")";
    case Technique::HiddenSingleBox:
    case Technique::HiddenSingleLine:
        return "Hidden single: " + outcome + " (only place for " + std::to_string(value) + " in " +
               unitName(step.units.front(), size) + ")";
    case Technique::NakedSingle:
        return "Naked single: " + outcome + " (only candidate left)";
    case Technique::Pointing:
    case Technique::Claiming:
        return name + ": " + std::to_string(value) + " in " + unitName(step.units[0], size) + " lies only in " +
               unitName(step.units[1], size) + ": " + outcome;
    case Technique::NakedPair:
    case Technique::NakedTriple:
    case Technique::NakedQuad:
        return name + " " + joinNumbers(step.digits) + " in " + unitName(step.units.front(), size) + " (" +
               join(cellNames(step.proof, size), ", ") + "): " + outcome;
    case Technique::HiddenPair:
    case Technique::HiddenTriple:
    case Technique::HiddenQuad:
        return name + " " + joinNumbers(step.digits) + " in " + unitName(step.units.front(), size) + " (only in " +
               join(cellNames(step.proof, size), ", ") + "): " + outcome;
    case Technique::XWing:
    case Technique::Swordfish:
    case Technique::Jellyfish:
    case Technique::FinnedXWing:
    case Technique::FinnedSwordfish:
    case Technique::FinnedJellyfish: {
        const std::size_t baseCount = step.units.size() / 2;
        const std::vector<int> base(step.units.begin(), step.units.begin() + static_cast<long>(baseCount));
        const std::vector<int> cover(step.units.begin() + static_cast<long>(baseCount), step.units.end());
        std::string text = name + " on " + std::to_string(value) + " in " + linesName(base, size);
        std::vector<Candidate> fins;
        for (const Candidate& c : step.proof)
            if (std::none_of(cover.begin(), cover.end(),
                             [&](int unit) { return layout.unitOf(c.cell, unit / size) == unit; }))
                fins.push_back(c);
        if (!fins.empty())
            text += " (fin " + join(cellNames(fins, size), ", ") + ")";
        return text + ": " + outcome;
    }
    case Technique::XChain:
    case Technique::XYChain:
    case Technique::Aic:
        return name + " " + chain(step.proof, size) + ": " + outcome;
    case Technique::ContradictionChain:
    case Technique::Nishio:
    case Technique::CellForcingChain:
    case Technique::UnitForcingChain:
    case Technique::DynamicForcingChain:
    case Technique::DynamicForcingChainPlus:
    case Technique::NestedForcingChain:
    case Technique::NestedMultipleForcingChain:
    case Technique::NestedDynamicForcingChain: {
        const Candidate premise = step.proof.front();
        std::string what;
        if (step.technique == Technique::UnitForcingChain || !step.units.empty())
            what = "every place for " + std::to_string(premise.value) + " in " + unitName(step.units.front(), size) +
                   " leads to " + outcome;
        else if (step.proof.size() > 1)
            what = "every candidate of " + cellName(premise.cell, size) + " leads to " + outcome;
        else if (step.branches.size() == 2 && step.branches[0].nodes.front().on != step.branches[1].nodes.front().on)
            what = cellName(premise.cell, size) + " = " + std::to_string(premise.value) + " or not, either way " +
                   outcome;
        else
            what = cellName(premise.cell, size) + (step.placements.empty() ? " = " : "<>") +
                   std::to_string(premise.value) + " leads to a contradiction: " + outcome;
        return name + ": " + what + chainText(step, size);
    }
    case Technique::DirectPointing: {
        Step locked = step;
        locked.placements.clear();
        return name + ": " + std::to_string(value) + " in " + unitName(step.units[0], size) + " lies only in " +
               unitName(step.units[1], size) + ": " + results(locked, size) + ", leaving " +
               results(Step{step.technique, step.placements, {}, {}, {}, {}, {}, 0.0}, size);
    }
    case Technique::XYWing:
    case Technique::XYZWing: {
        const std::vector<std::string> cells = cellNames(step.proof, size);
        return name + " on " + joinNumbers(step.digits, "/") + " (pivot " + cells[0] + ", pincers " + cells[1] +
               " and " + cells[2] + "): " + outcome;
    }
    case Technique::WWing: {
        const std::vector<std::string> cells = cellNames(step.proof, size);
        return name + " on " + joinNumbers(step.digits, "/") + " (pincers " + cells[0] + " and " + cells[3] +
               ", strong link on " + std::to_string(step.digits[0]) + " in " + unitName(step.units.front(), size) +
               " between " + cells[1] + " and " + cells[2] + "): " + outcome;
    }
    case Technique::SimpleColouring: {
        std::string text = name + " on " + std::to_string(value);
        for (std::size_t shade = 0; shade < step.branches.size(); ++shade) {
            std::vector<Candidate> cells;
            for (const ChainNode& node : step.branches[shade].nodes)
                cells.push_back(node.candidate);
            text += (shade == 0 ? " (colour A " : "; colour B ") + join(cellNames(cells, size), ", ");
        }
        return text + "): " + outcome;
    }
    case Technique::DirectHiddenPair:
    case Technique::DirectHiddenTriple:
        return name + " " + joinNumbers(step.digits) + " in " + unitName(step.units.front(), size) + " (only in " +
               join(cellNames(step.proof, size), ", ") + "): " + outcome;
    case Technique::XCycle:
    case Technique::YCycle:
    case Technique::BidirectionalCycle:
        return name + " " + chain(step.proof, size) + "-" + candidateName(step.proof.front(), size) + ": " + outcome;
    case Technique::UniqueLoop1:
    case Technique::UniqueLoop2: {
        std::vector<Candidate> extra;
        for (const Candidate& c : step.proof)
            if (c.value != step.digits[0] && c.value != step.digits[1])
                extra.push_back(c);
        return name + " on " + joinNumbers({step.digits[0], step.digits[1]}, "/") + " (loop " +
               join(cellNames(step.proof, size), ", ") + "; extra candidates in " + join(cellNames(extra, size), " and ") +
               "): " + outcome;
    }
    case Technique::AlignedTripleExclusion: {
        const std::vector<std::string> cells = cellNames(step.proof, size);
        const std::vector<std::string> triple(cells.begin(), cells.begin() + 3);
        const std::vector<std::string> emptied(cells.begin() + 3, cells.end());
        return name + ": " + join(triple, " and ") + " would empty " + join(emptied, " and ") + ": " + outcome;
    }
    case Technique::UniqueRectangle3:
    case Technique::UniqueRectangle4:
    case Technique::UniqueLoop3:
    case Technique::UniqueLoop4:
        return name + " on " + joinNumbers({step.digits[0], step.digits[1]}, "/") + " (" +
               join(cellNames(step.proof, size), ", ") + ") in " + unitName(step.units.front(), size) + ": " + outcome;
    default: {
        std::vector<std::string> pattern;
        for (const std::string& cell : cellNames(step.proof, size))
            pattern.push_back(cell);
        return name + " on " + joinNumbers(step.digits, "/") + " (" + join(pattern, ", ") + "): " + outcome;
    }
    }
}
