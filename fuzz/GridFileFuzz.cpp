// Feeds arbitrary bytes to the grid reader as if they were a file, then runs every
// board operation that a loaded grid meets, checking what must hold for any input.
#include "GridFile.h"
#include "SudokuBoard.h"
#include "SudokuSolver.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// An unsolvable sparse grid is searched to exhaustion, which under the fuzzer's
// instrumentation can take minutes for a 9 x 9 one; with this many givens it stays
// quick. Grids up to 4 x 4 are always solved.
constexpr int kMaxBlanksToSolve = 45;

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "grid file fuzz: %s\n", what);
        std::abort();
    }
}

// Writes the board in the saved layout into memory and reads it back.
void checkRoundTrip(const SudokuBoard& board)
{
    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    check(out != nullptr, "open_memstream failed");
    board.writeGrid(out);
    std::fclose(out);

    std::FILE* in = fmemopen(text, length, "r");
    check(in != nullptr, "fmemopen of the saved text failed");
    const GridRead read = readGrid(in);
    const SudokuBoard* again = read.board.get();
    std::fclose(in);
    std::free(text);

    check(read.status == GridReadStatus::ok && again, "a saved grid does not read back");
    const std::string before = board.toText();
    check(before == again->toText(), "a round trip changed the grid");
}

// Validity worked out independently of isValid: each value once per row, column
// and sub-square.
bool rulesHold(const SudokuBoard& board)
{
    const int n = board.getInnerSize();
    const int size = board.getSize();
    std::vector<char> seen(static_cast<std::size_t>(3) * size * (size + 1));
    auto mark = [&](int unit, int index, int v) {
        return std::exchange(seen[(static_cast<std::size_t>(unit) * size + index) * (size + 1) + v], char{1}) == 0;
    };
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c) {
            const int v = board.valueAt(r, c);
            if (v == 0)
                continue;
            if (!mark(0, r, v) || !mark(1, c, v) || !mark(2, (r / n) * n + c / n, v))
                return false;
        }
    return true;
}

// A solution is complete, keeps the rules and keeps every value of the puzzle.
void checkSolution(const SudokuBoard& puzzle, const SudokuBoard& solution)
{
    check(solution.getInnerSize() == puzzle.getInnerSize(), "solution of another size");
    check(solution.isValid() && rulesHold(solution), "solution breaks the rules");
    for (int r = 0; r < puzzle.getSize(); ++r)
        for (int c = 0; c < puzzle.getSize(); ++c)
            check(solution.valueAt(r, c) != 0 &&
                      (puzzle.valueAt(r, c) == 0 || puzzle.valueAt(r, c) == solution.valueAt(r, c)),
                  "solution is incomplete or lost a given");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // fmemopen only reads in mode "r"; the cast does not let it write.
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    check(in != nullptr, "fmemopen failed");
    const GridRead read = readGrid(in);
    std::fclose(in);
    SudokuBoard* board = read.board.get();

    check((read.status == GridReadStatus::ok) == (board != nullptr), "status and board disagree");
    if (!board)
        return 0;

    const int n = board->getInnerSize();
    check(n >= 0 && n <= SudokuBoard::kMaxInnerSize && board->getSize() == n * n, "inner size or size out of bounds");
    int blanks = 0;
    for (int r = 0; r < board->getSize(); ++r)
        for (int c = 0; c < board->getSize(); ++c) {
            const int v = board->valueAt(r, c);
            check(v >= 0 && v <= board->getSize(), "a cell holds a value out of range");
            blanks += v == 0;
        }

    check(board->isValid() == rulesHold(*board), "isValid disagrees with the rules");
    board->recomputePossibles();
    const std::size_t textLength = std::strlen(board->toText());
    check(textLength == (static_cast<std::size_t>(n) * n + n + 1) * (4 * static_cast<std::size_t>(n) * n + 2),
          "boxed text has the wrong length");
    check(textLength < static_cast<std::size_t>(SudokuBoard::getTextBufferSize()), "boxed text overruns its buffer");
    // The writer and reader run the same code for every size; the largest boards
    // would only slow the fuzzer down.
    if (n <= 9)
        checkRoundTrip(*board);

    // First-solution mode only: list-all could run for ever on a sparse grid, and
    // grids above 9 x 9 can take seconds. One solver for every input, as in the
    // dialog, so that each solve also frees the previous solution.
    static SudokuSolver solver;
    if (n <= 2 || (n == 3 && blanks <= kMaxBlanksToSolve)) {
        if (const SudokuBoard* solution = solver.solve(board, false, false))
            checkSolution(*board, *solution);
        else
            check(n > 0, "no solution for a board without cells");
    }
    return 0;
}
