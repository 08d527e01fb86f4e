#include "FastSearch.h"
#include "ReferenceSolver.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

// The engine keeps where and shared up to date placement by placement, on the
// 9x9 grid through tables of lanes and by whole vectors; whatever the path,
// they must equal the sets built afresh from the grid's candidates.
template <typename Engine>
class IncrementalUnits : public ::testing::Test {};

template <typename Mask, int Fixed, int Inner>
struct EngineOf {
    using Engine = FastSearch<Mask, Fixed>;
    static constexpr int kInner = Inner;
};

using Engines = ::testing::Types<EngineOf<std::uint16_t, 3, 3>, EngineOf<std::uint16_t, 0, 3>,
                                 EngineOf<std::uint16_t, 4, 4>, EngineOf<std::uint32_t, 0, 5>>;
TYPED_TEST_SUITE(IncrementalUnits, Engines);

template <typename Engine>
void expectAsRebuilt(Engine& engine, const typename Engine::Grid& grid, int scratchLevel)
{
    SudokuBoard board(engine.getInnerSize());
    engine.store(grid, board);
    auto& fresh = engine.gridAt(scratchLevel);
    engine.load(board, fresh, true);
    EXPECT_TRUE(fresh.bits == grid.bits);
    EXPECT_TRUE(fresh.where == grid.where);
    EXPECT_TRUE(fresh.shared == grid.shared);
}

// Blank cells with two or more candidates, in scan order.
template <typename Engine>
int firstBranchable(const Engine& engine, const typename Engine::Grid& grid, int from)
{
    const int cells = engine.getSize() * engine.getSize();
    for (int k = 0; k < cells; ++k) {
        const int i = (from + k) % cells;
        if (grid.values[i] == 0 && engine.candidates(grid, i) >= 2)
            return i;
    }
    return -1;
}

TYPED_TEST(IncrementalUnits, PlacementsRemovalsAndCopiesKeepWhereAndShared)
{
    using Engine = typename TypeParam::Engine;
    std::srand(11);
    for (int round = 0; round < 6; ++round) {
        Engine engine(TypeParam::kInner);
        // Both builds of place and propagate, where the processor has AVX2.
        engine.setWide(round % 2 == 0);
        const SudokuBoard start = randomPartialBoard(TypeParam::kInner, 3 + round);
        auto& grid = engine.gridAt(0);
        engine.load(start, grid, false);
        ASSERT_TRUE(engine.isValid(grid));
        engine.recompute(grid);
        expectAsRebuilt(engine, grid, 3);

        // A branch as the search makes it: a copy takes the value, the grid loses it.
        for (int step = 0; step < 8; ++step) {
            const int cell = firstBranchable(engine, grid, std::rand());
            if (cell < 0)
                break;
            const int v = engine.nthCandidate(grid, cell, std::rand() % engine.candidates(grid, cell));
            auto& child = engine.gridAt(1);
            engine.copy(grid, child);
            EXPECT_TRUE(child.bits == grid.bits && child.values == grid.values && child.blank == grid.blank &&
                        child.where == grid.where && child.shared == grid.shared);
            engine.removeCandidate(grid, cell, v);
            engine.place(child, cell, v);
            expectAsRebuilt(engine, grid, 3);
            expectAsRebuilt(engine, child, 3);
            engine.propagate(child);
            expectAsRebuilt(engine, child, 3);
        }
    }
}

} // namespace
