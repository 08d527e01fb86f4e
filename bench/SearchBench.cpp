// Micro-benchmarks of the search engine's hot path on its own grids: one
// placement (with the level copy that the search makes before it) and one
// propagation, on 9 x 9, 16 x 16 and 25 x 25 grids.

#include "BenchBoards.h"
#include "FastSearch.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// partlyFilledBoard as an engine grid with its
// candidates rebuilt.
template <typename Engine>
typename Engine::Grid& partlyFilled(Engine& engine, int n)
{
    const SudokuBoard board = partlyFilledBoard(n);
    auto& grid = engine.gridAt(0);
    engine.load(board, grid, false);
    engine.recompute(grid);
    return grid;
}

template <typename Mask, int Inner>
void BM_LevelCopy(benchmark::State& state)
{
    FastSearch<Mask, Inner> engine(Inner);
    const auto& grid = partlyFilled(engine, Inner);
    auto& child = engine.gridAt(1);
    for (auto _ : state) {
        child = grid;
        benchmark::ClobberMemory();
    }
}

// Each iteration places the lowest candidate of the next blank cell on a fresh
// copy; subtract BM_LevelCopy for the placement alone.
template <typename Mask, int Inner>
void BM_CopyAndPlace(benchmark::State& state)
{
    FastSearch<Mask, Inner> engine(Inner);
    const auto& grid = partlyFilled(engine, Inner);
    auto& child = engine.gridAt(1);
    const int cells = engine.getSize() * engine.getSize();
    int cell = 0;
    for (auto _ : state) {
        do
            cell = (cell + 1) % cells;
        while (grid.values[cell] != 0);
        child = grid;
        engine.place(child, cell, engine.nthCandidate(grid, cell, 0));
        benchmark::ClobberMemory();
    }
}

// Propagation of the copied grid to its end; the grid is solved by forced
// values alone.
template <typename Mask, int Inner>
void BM_CopyAndPropagate(benchmark::State& state)
{
    FastSearch<Mask, Inner> engine(Inner);
    const auto& grid = partlyFilled(engine, Inner);
    auto& child = engine.gridAt(1);
    for (auto _ : state) {
        child = grid;
        benchmark::DoNotOptimize(engine.propagate(child));
    }
}

} // namespace

BENCHMARK(BM_LevelCopy<std::uint16_t, 3>);
BENCHMARK(BM_LevelCopy<std::uint16_t, 4>);
BENCHMARK(BM_LevelCopy<std::uint32_t, 5>);
BENCHMARK(BM_CopyAndPlace<std::uint16_t, 3>);
BENCHMARK(BM_CopyAndPlace<std::uint16_t, 4>);
BENCHMARK(BM_CopyAndPlace<std::uint32_t, 5>);
BENCHMARK(BM_CopyAndPropagate<std::uint16_t, 3>);
BENCHMARK(BM_CopyAndPropagate<std::uint16_t, 4>);
BENCHMARK(BM_CopyAndPropagate<std::uint32_t, 5>);

BENCHMARK_MAIN();
