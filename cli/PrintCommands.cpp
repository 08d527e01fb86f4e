#include "GridlarkCli.h"

#include "WorkerPool.h"

#include <cstdio>

// print: a puzzle book; the module draws it.

int GridlarkCli::print(const std::vector<std::string>& inputs, const PrintOptions& print)
{
    const PictureFunctions* pictures = PictureModule::load();
    if (!pictures)
        return exitNoPictures;
    // A book is made of all its puzzles at once, so each input is read whole.
    std::vector<Item> items;
    for (const std::string& input : inputs)
        readInput(input, items);
    int failure = exitOk;  // an input that cannot go into the book: nothing is written
    int unrated = exitOk;  // a puzzle without one solution: printed, and the code says so
    std::vector<PictureEntry> puzzles;
    std::vector<PictureEntry> solutions;
    for (const Item& item : items) {
        if (WorkerPool::interruptRequested()) {
            std::fputs("gridlark-cli: interrupted; nothing written\n", stderr);
            return exitInterrupted;
        }
        std::string err = item.err;
        int code = item.code;
        std::optional<CandidateGrid> grid;
        if (item.isPuzzle && (item.puzzle.innerSize < GridPicture::kMinInnerSize ||
                              item.puzzle.innerSize > GridPicture::kMaxInnerSize)) {
            err = item.label + ": print draws grids from 4x4 to 25x25\n";
            code = exitUsage;
        } else if (item.isPuzzle) {
            grid = logicGrid(item, err, code);
        }
        std::fputs(err.c_str(), stderr);
        if (failure == exitOk)
            failure = code;
        // Once the book is refused, the rest is only read, for its messages.
        if (!grid || failure != exitOk)
            continue;

        const Rating rating = PuzzleRater::rate(*grid);
        const std::string number = std::to_string(puzzles.size() + 1);
        std::string caption = "Puzzle " + number;
        if (rating.status == Rating::Status::Rated) {
            char figure[64];
            std::snprintf(figure, sizeof figure, ": %s, rating %.1f",
                          std::string(PuzzleRater::levelName(rating.level)).c_str(), rating.rating);
            caption += figure;
        } else {
            const bool none = rating.status == Rating::Status::NoSolution;
            const std::string what = none ? "no solution" : "more than one solution";
            std::fprintf(stderr, "%s: %s; printed without a rating\n", item.label.c_str(), what.c_str());
            if (unrated == exitOk)
                unrated = none ? exitNoSolution : exitSeveralSolutions;
            caption += ": " + what;
        }
        const std::vector<int> givens = grid->getValues();
        puzzles.push_back({GridPicture::of(*grid, givens, print.candidates), caption});
        if (!print.solutions)
            continue;
        if (rating.status == Rating::Status::Rated)
            solutions.push_back({GridPicture::of(*CandidateGrid::fromValues(rating.solution), givens, false),
                                 "Solution " + number});
        else
            solutions.push_back({std::nullopt, puzzles.back().caption});
    }
    if (failure != exitOk)
        return failure;

    // Solutions start on a page of their own.
    std::vector<PicturePage> pages;
    for (const std::vector<PictureEntry>* part : {&puzzles, &solutions})
        for (std::size_t i = 0; i < part->size(); i += static_cast<std::size_t>(print.perPage))
            pages.emplace_back(part->begin() + static_cast<long>(i),
                               part->begin() + static_cast<long>(std::min(part->size(), i + print.perPage)));

    return pictures->writeBook(print, pages) ? unrated : exitCannotOpen;
}
