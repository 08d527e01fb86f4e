// Feeds arbitrary bytes to the puzzle-notation reader: whatever it reads must be
// written and read back as the same puzzle in every notation that holds it, and a
// line file's second half, read on its own, gives the same puzzles and places.
#include "PuzzleText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "puzzle text fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PuzzleText reader;
    if (!reader.read(std::string(reinterpret_cast<const char*>(data), size), PuzzleFormat::automatic)) {
        check(reader.getError().line >= 1 && reader.getError().column >= 1, "an error without its place");
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t half = text.find('\n', text.size() / 2);
    if (reader.getFormat() == PuzzleFormat::line && half != std::string::npos && text.compare(0, 3, "\xEF\xBB\xBF") != 0) {
        const long firstLine = static_cast<long>(std::count(text.begin(), text.begin() + static_cast<long>(half), '\n')) + 2;
        PuzzleText block;
        block.read(std::string_view(text).substr(half + 1), PuzzleFormat::line, firstLine, reader.getField(),
                   reader.getSeparator());
        std::vector<const PuzzleValues*> expected;
        for (const PuzzleValues& puzzle : reader.getPuzzles())
            if (puzzle.line >= firstLine)
                expected.push_back(&puzzle);
        check(block.getPuzzles().size() == expected.size(), "a block reads another number of puzzles");
        for (std::size_t i = 0; i < expected.size(); ++i)
            check(block.getPuzzles()[i].line == expected[i]->line && block.getPuzzles()[i].values == expected[i]->values,
                  "a block reads another puzzle");
    }
    for (const PuzzleValues& puzzle : reader.getPuzzles()) {
        SudokuBoard board(puzzle.innerSize);
        const int side = board.getSize();
        check(puzzle.values.size() == static_cast<std::size_t>(side) * side, "a puzzle of the wrong size");
        for (int i = 0; i < side * side; ++i) {
            check(puzzle.values[i] <= side, "a value above the side");
            board.cellAt(i / side, i % side)->setValue(puzzle.values[i]);
        }
        for (const PuzzleFormat format :
             {PuzzleFormat::grid, PuzzleFormat::line, PuzzleFormat::sdk, PuzzleFormat::ss, PuzzleFormat::boxed}) {
            std::string text;
            // A grid of inner size 0 (no cells) keeps its box size only in a grid file.
            if ((puzzle.innerSize == 0 && format != PuzzleFormat::grid) || !PuzzleText::write(board, format, text))
                continue;
            PuzzleText back;
            check(back.read(text, format), "a written puzzle does not read back");
            check(back.getPuzzles().size() == 1 && back.getPuzzles()[0].values == puzzle.values,
                  "a written puzzle reads back as another");
        }
    }
    return 0;
}
