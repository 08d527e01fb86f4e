#include "GridlarkCli.h"

#include "LogicalSolver.h"
#include "StepText.h"
#include "UserTexts.h"

#include <cstdio>

// explain, hint, rate and generate: the logic library's commands.

namespace {

// The message and code of a puzzle that cannot be rated; false when it has one solution.
bool notUnique(int solutions, const std::string& label, std::string& err, int& code)
{
    if (solutions == 1)
        return false;
    err = label + (solutions == 0 ? ": no solution\n" : ": more than one solution\n");
    code = solutions == 0 ? GridlarkCli::exitNoSolution : GridlarkCli::exitSeveralSolutions;
    return true;
}

// A rating stopped by a step that lost the solution (a fault in its technique) gets
// an error rather than a rating or steps that cannot be right; false otherwise.
bool lostSolution(const Rating& rating, const GridLayout& layout, const std::string& label, std::string& err, int& code)
{
    if (rating.status != Rating::Status::LostSolution)
        return false;
    err = label + ": step " + std::to_string(rating.steps.size()) + " loses the solution's " +
        std::to_string(rating.lost.value) + " in " + StepText::cellName(rating.lost.cell, layout.size) + " (" +
        StepText::describe(rating.steps.back(), layout) + "); the steps stop there\n";
    code = GridlarkCli::exitNoSolution;
    return true;
}

int solutionsOf(const Rating& rating)
{
    return rating.status == Rating::Status::Rated ? 1 : rating.status == Rating::Status::NoSolution ? 0 : 2;
}

} // namespace

std::optional<CandidateGrid> GridlarkCli::logicGrid(const Item& item, std::string& err, int& code) const
{
    if (!boardOf(item.puzzle).isValid()) {
        err = item.label + ": " + UserTexts::invalidGrid + "\n";
        code = exitInvalidGrid;
        return std::nullopt;
    }
    std::string probe;
    if (!PuzzleText::write(boardOf(item.puzzle), outputFormat(PuzzleFormat::boxed), probe)) {
        err = item.label + ": the " + PuzzleText::getFormatName(outputFormat(PuzzleFormat::boxed)) +
            " format holds grids up to 25x25\n";
        code = exitUsage;
        return std::nullopt;
    }
    std::optional<CandidateGrid> grid;
    if (item.puzzle.innerSize <= CandidateGrid::kMaxInnerSize)
        grid = CandidateGrid::fromValues({item.puzzle.values.begin(), item.puzzle.values.end()});
    if (!grid) {
        err = item.label + ": solving step by step works on grids up to 64x64 (box size " +
            std::to_string(CandidateGrid::kMaxInnerSize) + ")\n";
        code = exitUsage;
    }
    return grid;
}

int GridlarkCli::explain(const std::vector<std::string>& inputs, bool hintOnly, bool html)
{
    const bool boxed = outputFormat(PuzzleFormat::boxed) == PuzzleFormat::boxed;
    const PictureFunctions* pictures = html ? PictureModule::load() : nullptr;
    if (html && !pictures)
        return exitNoPictures;
    std::vector<Item> items = readInputs(inputs, boxed && !html);
    if (html) {
        Item head;
        Item foot;
        head.out = pictures->htmlHead(inputs);
        foot.out = pictures->htmlFoot();
        items.insert(items.begin(), std::move(head));
        items.push_back(std::move(foot));
    }
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        const std::optional<CandidateGrid> grid = logicGrid(item, err, code);
        if (!grid)
            return;
        const GridLayout& layout = grid->getLayout();
        if (hintOnly) {
            if (notUnique(PuzzleRater::countSolutions(*grid), item.label, err, code))
                return;
            if (grid->isSolved()) {
                out = "The puzzle is solved.\n";
                return;
            }
            // Past the nested forcing chains' budget no step is found: the puzzle is
            // beyond the scale.
            if (const std::optional<Step> step = LogicalSolver(true).findNextStep(*grid)) {
                out = StepText::describe(*step, layout) + "\n";
            } else {
                err = item.label + ": no step found; the puzzle is beyond what the techniques prove (beyond 11.9)\n";
                code = exitNoSolution;
            }
            return;
        }
        const Rating rating = PuzzleRater::rate(*grid);
        if (lostSolution(rating, layout, item.label, err, code) || notUnique(solutionsOf(rating), item.label, err, code))
            return;
        if (html) {
            out = pictures->htmlSection(item.label, *grid, rating);
            return;
        }
        for (const Step& step : rating.steps)
            out += StepText::describe(step, layout) + "\n";
        out += render(boardOf(rating.solution, item.puzzle.innerSize), true);
    });
}

int GridlarkCli::rate(const std::vector<std::string>& inputs)
{
    const std::vector<Item> items = readInputs(inputs, false);
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        const std::optional<CandidateGrid> grid = logicGrid(item, err, code);
        if (!grid)
            return;
        const Rating rating = PuzzleRater::rate(*grid);
        if (lostSolution(rating, grid->getLayout(), item.label, err, code) ||
            notUnique(solutionsOf(rating), item.label, err, code))
            return;
        char figure[32];
        std::snprintf(figure, sizeof figure, rating.beyondScale ? "beyond %.1f " : "%.1f ", rating.rating);
        std::string line = figure + std::string(PuzzleRater::levelName(rating.level));
        const char* separator = " ";
        for (std::size_t t = 0; t < kTechniqueCount; ++t) {
            if (rating.counts[t] == 0)
                continue;
            line += separator + std::string(kTechniques[t].name) + ": " + std::to_string(rating.counts[t]);
            separator = ", ";
        }
        // The puzzle goes first when a format is asked for: in line format the
        // output reads back as the puzzles, the rating after the blank ignored.
        if (options.outputFormat == PuzzleFormat::automatic) {
            out = line + "\n";
            return;
        }
        out = render(boardOf(item.puzzle), false);
        if (options.outputFormat == PuzzleFormat::line && !out.empty())
            out.back() = ' ';
        out += line + "\n";
    });
}

int GridlarkCli::generate(int innerSize, std::optional<Level> level, Symmetry symmetry, int count)
{
    return runItems({}, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        GeneratorOptions generatorOptions;
        generatorOptions.innerSize = innerSize;
        generatorOptions.level = level;
        generatorOptions.symmetry = symmetry;
        // Puzzle by puzzle, so that any number of jobs makes the same ones.
        generatorOptions.seed = puzzleSeed(options.seed, item.ordinal);
        const std::optional<GeneratedPuzzle> puzzle = PuzzleGenerator(generatorOptions).next();
        if (!puzzle) {
            err = "gridlark-cli: no " + std::string(level ? PuzzleRater::levelName(*level) : "") +
                (level ? " " : "") + "puzzle found in " + std::to_string(generatorOptions.maxAttempts) + " tries\n";
            code = exitNoSolution;
            return;
        }
        out = render(boardOf(puzzle->givens, innerSize), true, PuzzleFormat::line);
        if (out.empty()) {
            err = std::string("gridlark-cli: the ") + PuzzleText::getFormatName(outputFormat(PuzzleFormat::line)) +
                " format holds grids up to 25x25\n";
            code = exitUsage;
        }
    }, static_cast<std::size_t>(count));
}
