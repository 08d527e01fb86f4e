#include "GridlarkCli.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

// show and format: puzzles printed again, in another notation.

int GridlarkCli::show(const std::vector<std::string>& inputs)
{
    const std::vector<Item> items = readInputs(inputs, outputFormat(PuzzleFormat::boxed) == PuzzleFormat::boxed);
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        out = render(boardOf(item.puzzle), true);
        if (out.empty()) {
            err = item.label + ": the " + PuzzleText::getFormatName(outputFormat(PuzzleFormat::boxed)) +
                " format holds grids up to 25x25\n";
            code = exitUsage;
        }
    });
}

int GridlarkCli::format(const std::string& input, const std::string& outPath)
{
    std::vector<Item> items;
    const bool ok = readInput(input, items);
    for (const Item& item : items)
        if (!item.isPuzzle)
            std::fputs(item.err.c_str(), stderr);
    if (!ok)
        return items.empty() ? exitNoInnerSize : items.front().code;
    std::string text;
    for (const Item& item : items) {
        if (item.isPuzzle && !PuzzleText::write(boardOf(item.puzzle), outputFormat(PuzzleFormat::grid), text)) {
            std::fprintf(stderr, "%s: the %s format holds grids up to 25x25\n", item.label.c_str(),
                         PuzzleText::getFormatName(outputFormat(PuzzleFormat::grid)));
            return exitUsage;
        }
    }
    if (outPath.empty() || outPath == "-") {
        std::fputs(text.c_str(), stdout);
        return exitOk;
    }
    std::FILE* out = std::fopen(outPath.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "cannot open %s for writing: %s\n", outPath.c_str(), std::strerror(errno));
        return exitCannotOpen;
    }
    std::fputs(text.c_str(), out);
    const bool written = std::fflush(out) == 0 && !std::ferror(out);
    const int error = errno;
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "cannot write %s: %s\n", outPath.c_str(), std::strerror(written ? errno : error));
        return exitCannotOpen;
    }
    return exitOk;
}
