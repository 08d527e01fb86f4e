#include "GlibcRandom.h"
#include "ReferenceSolver.h"
#include "SudokuSolver.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string kSample = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";

auto figures(const SudokuSolver& solver)
{
    return std::make_tuple(solver.getTries(), solver.getMaxDepth(), solver.getDeadEnds());
}

TEST(Solver, FiguresOfBoardsThatNeedNoSearch)
{
    SudokuSolver solver;
    SudokuBoard complete = randomPuzzle(3, 0);
    const SudokuBoard* solution = solver.solve(&complete, false, false);
    ASSERT_NE(solution, nullptr);
    EXPECT_NE(solution, &complete) << "a new board, not the one passed in";
    EXPECT_TRUE(solves(complete, *solution)) << "the same values";
    EXPECT_EQ(figures(solver), std::make_tuple(0, 0, 0));

    SudokuBoard forced = boardFromText(3, kSample);
    ASSERT_NE(solver.solve(&forced, false, false), nullptr);
    EXPECT_EQ(figures(solver), std::make_tuple(0, 0, 0)) << "solved by propagation alone";

    // Row 0 needs a 9 that column 8 already holds: (0, 8) has no candidate.
    SudokuBoard contradiction = boardFromText(3, "12345678.........9");
    EXPECT_EQ(solver.solve(&contradiction, false, false), nullptr);
    EXPECT_EQ(figures(solver), std::make_tuple(0, 0, 1)) << "contradiction at the root";
}

// The solver checks validity on its own copy: it must reject exactly what the board rejects.
// Past 16 x 16 only duplicates, on every engine width: a valid wide grid would be searched.
TEST(Solver, RejectsDuplicatesInRowColumnOrSubSquare)
{
    SudokuSolver solver;
    for (const auto& [n, r1, c1, r2, c2] : {std::tuple{3, 0, 0, 0, 8}, {3, 0, 0, 8, 0}, {3, 4, 4, 5, 5},
                                            {3, 0, 0, 1, 3}, {4, 0, 0, 3, 3}, {4, 0, 0, 4, 3}, {4, 15, 2, 15, 14},
                                            {2, 1, 1, 0, 0}, {5, 3, 3, 4, 4}, {5, 24, 0, 24, 1}, {6, 0, 0, 0, 35},
                                            {6, 7, 2, 30, 2}, {9, 0, 0, 80, 0}, {9, 10, 10, 16, 16}, {9, 10, 10, 10, 74}}) {
        SudokuBoard board(n);
        board.cellAt(r1, c1)->setValue(2);
        board.cellAt(r2, c2)->setValue(2);
        const bool valid = board.isValid();
        EXPECT_EQ(solver.solve(&board, false, false) != nullptr, valid) << n << ": (" << r2 << ", " << c2 << ")";
        EXPECT_TRUE(valid || figures(solver) == std::make_tuple(-1, -1, 0));
    }
}

TEST(Solver, BlankBoardsOfEverySmallSizeAreSolved)
{
    SudokuSolver solver;
    for (int n = 0; n <= 5; ++n) {
        SudokuBoard blank(n);
        const SudokuBoard* solution = solver.solve(&blank, false, false);
        ASSERT_NE(solution, nullptr) << n;
        EXPECT_TRUE(solves(blank, *solution)) << n;
    }
}

// A clock that gives the scripted readings in turn and then keeps the last one.
using Readings = std::vector<std::int32_t>;
Readings clockScript;
std::size_t clockReads = 0;

std::int32_t scriptedClock()
{
    return clockScript[std::min(clockReads++, clockScript.size() - 1)];
}

// Readings that pass the limit (1 s, doubled at each restart) at branching node
// abandonAfter[k] + 1 of run k: each run reads the clock once at its start and once per
// branching node, and the last run never passes it.
Readings lateAfter(const std::vector<int>& abandonAfter)
{
    Readings readings;
    std::int32_t now = 0;
    std::int32_t limit = 1000;
    for (const int nodes : abandonAfter) {
        readings.insert(readings.end(), nodes + 1, now);
        now += limit + 1;
        readings.push_back(now);
        limit *= 2;
    }
    readings.push_back(now);
    return readings;
}

const std::string kHardest = "........8..3...4...9..2..6.....79.......612...6.5.2.7...8...5...1.....2.4.5.....3";

// A restart starts again from the caller's board and drops the solutions stored so far,
// but the figures cover every run. Blank boards are abandoned at the root (the limit's
// arithmetic); the hard puzzle meets dead ends before its limit, and the uniqueness
// search finds a first solution and loses it.
TEST(Solver, RestartsAfterTimeoutsAndKeepsTheFiguresOfAbandonedRuns)
{
    struct Case {
        const char* name;
        SudokuBoard board;
        std::uint32_t maxSolutions;
        Readings readings;
        std::vector<int> abandonAfter;
    };
    const SudokuBoard blank(3);
    const SudokuBoard hard = boardFromText(3, kHardest);
    const SudokuBoard open = boardFromText(3, kHardest.substr(0, 73));
    const Case cases[] = {
        {"never late", blank, 1, {0}, {}},
        {"exactly at the limit", blank, 1, {0, 1000, 1000}, {}},
        {"just over 1 s", blank, 1, {0, 1001, 5000}, {0}},
        {"doubled to 2 s", blank, 1, {0, 1001, 5000, 7001, 10000}, {0, 0}},
        {"1.5 s fits the doubled limit", blank, 1, {0, 1001, 5000, 6500}, {0}},
        {"3.9 s fits the limit doubled twice", blank, 1, {0, 1001, 5000, 7001, 10000, 13900}, {0, 0}},
        {"2 s for 16 x 16", SudokuBoard(4), 1, {0, 2000}, {}},
        {"over 2 s for 16 x 16", SudokuBoard(4), 1, {0, 2001, 9000}, {0}},
        {"the clock wraps around within the limit", blank, 1, {2147483400, -2147483296}, {}},
        {"dead ends before the limit", hard, 1, lateAfter({30}), {30}},
        {"dead ends in two abandoned runs", hard, 1, lateAfter({30, 60}), {30, 60}},
        {"uniqueness search", open, 2, lateAfter({17}), {17}},
    };
    for (const Case& c : cases) {
        clockScript = c.readings;
        clockReads = 0;
        SudokuSolver solver;
        solver.setClock(&scriptedClock);
        GlibcRandom::shared().seed(4242);
        const std::uint32_t found =
            c.maxSolutions == 1 ? solver.solve(&c.board, false, false) != nullptr : solver.solveUnique(&c.board);

        std::srand(4242);
        ReferenceSolver reference;
        reference.run(c.board, c.maxSolutions, c.abandonAfter);
        ASSERT_EQ(reference.abandonedRuns, static_cast<int>(c.abandonAfter.size())) << c.name;
        // A run abandoned past its root has work to lose, or the case proves little.
        EXPECT_TRUE(c.abandonAfter.empty() || c.abandonAfter[0] == 0 ||
                    (reference.abandonedDeadEnds > 0 && (c.maxSolutions == 1 || reference.abandonedSolutions > 0)))
            << c.name;
        EXPECT_EQ(figures(solver), std::make_tuple(reference.tries - 1, reference.maxDepth - 1, reference.deadEnds))
            << c.name << ": the figures of " << reference.abandonedRuns << " abandoned runs with "
            << reference.abandonedDeadEnds << " dead ends and " << reference.abandonedSolutions
            << " solutions, and of the last run";
        ASSERT_EQ(found, reference.solutionCount) << c.name;
        for (std::uint32_t k = 0; k < found; ++k)
            EXPECT_TRUE(sameBoard(*solver.getSolution(static_cast<int>(k)), *reference.solutions[k])) << c.name;
    }
}

// solve with the first limit only: a late clock gives the run up instead of restarting
// it; in time, it answers as solve and solveUnique do, draw for draw.
TEST(Solver, SolveWithinFirstLimitGivesUpWhereSolveRestarts)
{
    SudokuBoard blank(3);
    SudokuSolver solver;
    solver.setClock(&scriptedClock);
    clockScript = {0, 1001, 5000};
    clockReads = 0;
    EXPECT_EQ(solver.solveWithinFirstLimit(&blank, 1), 0u);
    EXPECT_TRUE(solver.hasTimedOut());
    EXPECT_EQ(solver.getSolution(0), nullptr);
    EXPECT_EQ(figures(solver), std::make_tuple(0, 0, 0)) << "the root node alone";

    SudokuBoard puzzle = boardFromText(3, "........1.......23..4..5.........4.......675.18..........3......6........9.1.....");
    for (const std::uint32_t wanted : {1u, 2u}) {
        clockScript = {0};
        GlibcRandom::shared().seed(99);
        ASSERT_EQ(solver.solveWithinFirstLimit(&puzzle, wanted), wanted);
        EXPECT_FALSE(solver.hasTimedOut());
        const SudokuBoard first(*solver.getSolution(0));
        const auto within = figures(solver);
        GlibcRandom::shared().seed(99);
        if (wanted == 1)
            ASSERT_NE(solver.solve(&puzzle, false, false), nullptr);
        else
            ASSERT_EQ(solver.solveUnique(&puzzle), 2u);
        EXPECT_TRUE(sameBoard(first, *solver.getSolution(0))) << wanted;
        EXPECT_EQ(within, figures(solver)) << wanted;
    }
}

// The list-all search counts without printing, up to a cap or until the stop check says
// so; a stopped count leaves later timed solves free to restart.
TEST(Solver, CountSolutionsStopsAtTheCapOrTheCheck)
{
    SudokuSolver solver;
    const SudokuBoard many = boardFromText(3, "........1.......23..4..5.........4.......675.18..........3......6........9.1.....");
    const std::function<bool()> never = [] { return false; };
    testing::internal::CaptureStdout();
    EXPECT_EQ(solver.countSolutions(&many, 0, never), 641087u);
    EXPECT_FALSE(solver.wasCountStopped());
    EXPECT_EQ(solver.countSolutions(&many, 1000, never), 1000u);
    EXPECT_TRUE(solver.wasCountStopped());
    int polls = 0;
    EXPECT_EQ(solver.countSolutions(&many, 0, [&] { return ++polls == 2; }), 2048u) << "polled every 1024 solutions";
    EXPECT_TRUE(solver.wasCountStopped());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    SudokuBoard blank(3);
    solver.setClock(&scriptedClock);
    clockScript = {0, 1001, 5000};
    clockReads = 0;
    EXPECT_NE(solver.solve(&blank, false, false), nullptr) << "restarted after the timeout";
}

// Listing itself is the CLI tests' work (list and list --sparse), its counts the
// reference's and qqwing's. No test lists ten million solutions: the sparse rule itself,
// where solutionCount wraps to 0 after 4294967295.
TEST(Solver, SparseListingRuleAndTheNullBoardText)
{
    for (const auto& [number, listed] :
         {std::pair{1u, true}, {2u, false}, {1000000u, false}, {9999999u, false}, {10000000u, true},
          {10000001u, false}, {30000000u, true}, {4290000000u, true}, {4294967295u, false}, {0u, true}})
        EXPECT_EQ(SudokuSolver::isListedWhenSparse(number), listed) << "solution No " << number;
    testing::internal::CaptureStdout();
    SudokuSolver().printBoard(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "<Null Board Pointer>\n");
}

// The solver and the plain reference, started from the same seed, must propagate and
// search alike: store the same boards (values and candidate sets), count the same
// figures and leave the random generator at the same place; each solution must solve
// the board, which stays as given.
void compareRun(SudokuSolver& solver, const SudokuBoard& start, std::uint32_t maxSolutions, unsigned seed)
{
    const std::string where = "seed " + std::to_string(seed) + ", inner size " + std::to_string(start.getInnerSize());
    SudokuBoard board(start);
    // Stale candidates do not matter: the solver rebuilds them.
    for (int i = 0; i < board.getSize() * board.getSize(); ++i)
        board.cellAt(i / board.getSize(), i % board.getSize())->removePossible(1);
    const SudokuBoard given(board);

    // One propagation: the same board afterwards, the same cell returned, the same draws.
    SudokuBoard fast(start);
    SudokuBoard plain(start);
    GlibcRandom::shared().seed(seed);
    const Cell* fastCell = solver.propagate(&fast);
    const int fastNext = GlibcRandom::shared().next();
    std::srand(seed);
    const Cell* plainCell = ReferenceSolver::propagate(&plain);
    ASSERT_TRUE(sameBoard(fast, plain) && fastNext == std::rand()) << where;
    ASSERT_EQ(fastCell == nullptr, plainCell == nullptr) << where;
    EXPECT_TRUE(!fastCell || fastCell == fast.cellAt(plainCell->getRow(), plainCell->getCol())) << where;

    // Then the whole search.
    GlibcRandom::shared().seed(seed);
    const std::uint32_t found =
        maxSolutions == 1 ? solver.solve(&board, false, false) != nullptr : solver.solveUnique(&board);
    const int solverNext = GlibcRandom::shared().next();

    ReferenceSolver reference;
    std::srand(seed);
    reference.run(start, maxSolutions);
    const int referenceNext = std::rand();

    ASSERT_EQ(found, reference.solutionCount) << where;
    EXPECT_EQ(figures(solver), std::make_tuple(reference.tries - 1, reference.maxDepth - 1, reference.deadEnds))
        << where;
    EXPECT_EQ(solverNext, referenceNext) << where;
    for (std::uint32_t k = 0; k < 2; ++k) {
        const SudokuBoard* solution = solver.getSolution(static_cast<int>(k));
        ASSERT_EQ(solution != nullptr, k < found) << where;
        EXPECT_TRUE(!solution || (sameBoard(*solution, *reference.solutions[k]) && solves(start, *solution))) << where;
    }
    EXPECT_TRUE(sameBoard(board, given)) << "the argument is only read; " << where;
}

// Puzzles cut from complete grids and, up to 9 x 9, valid boards grown by random
// placements (which may have no solution; on larger grids such boards can keep the
// untimed search busy for ever).
TEST(SearchAgainstReference, FirstSolutionAndUniquenessOnRandomBoards)
{
    SudokuSolver solver;
    solver.setClock([] { return std::int32_t{0}; });
    for (const auto& [innerSize, boards] : {std::pair{2, 100}, {3, 400}, {4, 100}, {5, 4}, {8, 4}, {9, 4}}) {
        const int cells = innerSize * innerSize * innerSize * innerSize;
        for (int i = 0; i < boards; ++i) {
            std::srand(7000u * innerSize + i);
            GlibcRandom::shared().seed(7000u * innerSize + i);
            const SudokuBoard board =
                innerSize <= 3 && i % 3 == 2
                    ? randomPartialBoard(innerSize, std::rand() % (cells / 2 + 1))
                    : randomPuzzle(innerSize, innerSize > 4
                                                  ? innerSize * innerSize * (i + 1)
                                                  : std::rand() % (innerSize <= 3 ? cells * 3 / 2 : cells / 2));
            compareRun(solver, board, i % 4 == 3 || (innerSize > 4 && i % 2) ? 2 : 1, 31u * i + 5u);
            if (HasFailure())
                return;
        }
    }
}

TEST(SearchAgainstReference, ListAllCountsOnRandomBoards)
{
    SudokuSolver solver;
    for (int i = 0; i < 100; ++i) {
        std::srand(9100u + i);
        GlibcRandom::shared().seed(9100u + i);
        const SudokuBoard board = i % 3 == 0   ? randomPuzzle(3, 30 + std::rand() % 30)
                                  : i % 3 == 1 ? randomPuzzle(2, std::rand() % 24)
                                               : randomPartialBoard(2, std::rand() % 9);
        SudokuBoard copy(board);
        GlibcRandom::shared().seed(i);
        testing::internal::CaptureStdout();
        EXPECT_EQ(solver.solve(&copy, true, true), nullptr);
        const std::string out = testing::internal::GetCapturedStdout();

        ReferenceSolver reference;
        std::srand(i);
        reference.run(board, 3);
        EXPECT_EQ(std::make_tuple(solver.getSolutionCount(), solver.getTries(), solver.getDeadEnds()),
                  std::make_tuple(reference.solutionCount, reference.tries - 1, reference.deadEnds)) << i;
        EXPECT_EQ(out.empty(), reference.solutionCount == 0) << "sparse output shows solution 1 only";
        EXPECT_EQ(solver.countSolutions(&board, 0, [] { return false; }), reference.solutionCount) << i;
    }
}

} // namespace
