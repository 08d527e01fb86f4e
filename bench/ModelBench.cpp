// Micro-benchmarks of the board operations on the solver's hot path, and of one
// search node (copy and propagate). Each reports the heap allocations it makes per
// iteration; BM_FlagArrayBoardCopy copies a board laid out the plain way (a cell
// table plus one flag array per cell) for comparison with the board's own copy.

#include "AllocationCounter.h"
#include "BenchBoards.h"
#include "SudokuBoard.h"
#include "SudokuSolver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// A solved grid with about a third of its cells blanked, candidates rebuilt.
SudokuBoard partlyFilled(int n)
{
    SudokuBoard board = partlyFilledBoard(n);
    board.recomputePossibles();
    return board;
}

void BM_BoardCopy(benchmark::State& state)
{
    const SudokuBoard source = partlyFilled(static_cast<int>(state.range(0)));
    AllocationCounter counter(state);
    for (auto _ : state) {
        SudokuBoard copy(source);
        benchmark::DoNotOptimize(copy);
    }
    counter.report();
}

void BM_PlaceValue(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const int size = n * n;
    SudokuBoard board(n);
    int i = 0;
    AllocationCounter counter(state);
    for (auto _ : state) {
        // Walk the cells so that every row, column and sub-square is touched.
        board.placeValue(i / size, i % size, i % size + 1);
        i = (i + 1) % (size * size);
        benchmark::ClobberMemory();
    }
    counter.report();
}

void BM_RecomputePossibles(benchmark::State& state)
{
    SudokuBoard board = partlyFilled(static_cast<int>(state.range(0)));
    AllocationCounter counter(state);
    for (auto _ : state) {
        board.recomputePossibles();
        benchmark::ClobberMemory();
    }
    counter.report();
}

// A copy as the search makes one per node, then propagation on it; this puzzle
// is solved by forced values alone (51 blanks).
void BM_CopyAndPropagate(benchmark::State& state)
{
    const int puzzle[81] = {5, 3, 0, 0, 7, 0, 0, 0, 0, 6, 0, 0, 1, 9, 5, 0, 0, 0, 0, 9, 8, 0, 0, 0, 0, 6, 0,
                            8, 0, 0, 0, 6, 0, 0, 0, 3, 4, 0, 0, 8, 0, 3, 0, 0, 1, 7, 0, 0, 0, 2, 0, 0, 0, 6,
                            0, 6, 0, 0, 0, 0, 2, 8, 0, 0, 0, 0, 4, 1, 9, 0, 0, 5, 0, 0, 0, 0, 8, 0, 0, 7, 9};
    SudokuBoard board(3);
    for (int i = 0; i < 81; ++i)
        board.cellAt(i / 9, i % 9)->setValue(puzzle[i]);
    board.recomputePossibles();
    SudokuSolver solver;
    AllocationCounter counter(state);
    for (auto _ : state) {
        SudokuBoard copy(board);
        benchmark::DoNotOptimize(solver.propagate(&copy));
    }
    counter.report();
}

// The plain layout: one table of cells, each cell owning maxValue + 1 flags.
struct FlagArrayCell {
    int row, col, value, maxValue;
    bool* possible;
    int numPossible;
};

class FlagArrayBoard {
public:
    explicit FlagArrayBoard(const SudokuBoard& board) : cells(board.getSize() * board.getSize())
    {
        const int size = board.getSize();
        for (int r = 0; r < size; ++r) {
            for (int c = 0; c < size; ++c) {
                const Cell* from = board.cellAt(r, c);
                FlagArrayCell& cell = cells[r * size + c];
                cell = {r, c, from->getValue(), size, new bool[size + 1], from->numPossibles()};
                for (int v = 0; v <= size; ++v)
                    cell.possible[v] = from->isPossible(v);
            }
        }
    }
    FlagArrayBoard(const FlagArrayBoard& other) : cells(other.cells)
    {
        for (FlagArrayCell& cell : cells) {
            const bool* from = cell.possible;
            cell.possible = new bool[cell.maxValue + 1];
            std::copy(from, from + cell.maxValue + 1, cell.possible);
        }
    }
    FlagArrayBoard& operator=(const FlagArrayBoard&) = delete;
    ~FlagArrayBoard()
    {
        for (FlagArrayCell& cell : cells)
            delete[] cell.possible;
    }

private:
    std::vector<FlagArrayCell> cells;
};

void BM_FlagArrayBoardCopy(benchmark::State& state)
{
    const FlagArrayBoard source(partlyFilled(static_cast<int>(state.range(0))));
    AllocationCounter counter(state);
    for (auto _ : state) {
        FlagArrayBoard copy(source);
        benchmark::DoNotOptimize(copy);
    }
    counter.report();
}

} // namespace

BENCHMARK(BM_BoardCopy)->Arg(3)->Arg(4)->Arg(9);
BENCHMARK(BM_FlagArrayBoardCopy)->Arg(3)->Arg(4)->Arg(9);
BENCHMARK(BM_PlaceValue)->Arg(3)->Arg(4);
BENCHMARK(BM_RecomputePossibles)->Arg(3)->Arg(4);
BENCHMARK(BM_CopyAndPropagate);

BENCHMARK_MAIN();
