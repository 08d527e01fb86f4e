#include "ReferenceSolver.h"
#include "SudokuSolver.h"
#include "TestBoards.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kSample = "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";

struct Figures {
    int tries;
    int maxDepth;
    int deadEnds;
};

Figures figuresOf(const SudokuSolver& solver)
{
    return {solver.getTries(), solver.getMaxDepth(), solver.getDeadEnds()};
}

void expectFigures(const SudokuSolver& solver, Figures expected, const char* what)
{
    EXPECT_EQ(solver.getTries(), expected.tries) << what;
    EXPECT_EQ(solver.getMaxDepth(), expected.maxDepth) << what;
    EXPECT_EQ(solver.getDeadEnds(), expected.deadEnds) << what;
}

TEST(Solver, FiguresOfBoardsThatNeedNoSearch)
{
    SudokuSolver solver;

    SudokuBoard invalid = boardFromText(3, "55");
    EXPECT_EQ(solver.solve(&invalid, false, false), nullptr);
    expectFigures(solver, {-1, -1, 0}, "invalid board");

    SudokuBoard complete = randomCompleteGrid(3);
    const SudokuBoard* solution = solver.solve(&complete, false, false);
    ASSERT_NE(solution, nullptr);
    EXPECT_NE(solution, &complete) << "a new board, not the one passed in";
    EXPECT_TRUE(keepsGivens(complete, *solution)) << "the same values";
    expectFigures(solver, {0, 0, 0}, "complete board");

    SudokuBoard forced = boardFromText(3, kSample);
    ASSERT_NE(solver.solve(&forced, false, false), nullptr);
    expectFigures(solver, {0, 0, 0}, "solved by propagation alone");

    // Row 0 needs a 9 that column 8 already holds: (0, 8) has no candidate.
    SudokuBoard contradiction = boardFromText(3, "12345678.........9");
    EXPECT_EQ(solver.solve(&contradiction, false, false), nullptr);
    expectFigures(solver, {0, 0, 1}, "contradiction at the root");
}

struct Placement {
    int row;
    int col;
};

// The solver rejects exactly the boards that the board's own check rejects.
TEST(Solver, RejectsDuplicatesInRowColumnOrSubSquare)
{
    struct Case {
        int innerSize;
        Placement first;
        Placement second;
    };
    const Case cases[] = {
        {3, {0, 0}, {0, 8}}, {3, {0, 0}, {8, 0}}, {3, {0, 0}, {1, 1}}, {3, {0, 0}, {1, 3}},
        {3, {4, 4}, {5, 5}}, {4, {0, 0}, {3, 3}}, {4, {0, 0}, {4, 3}}, {4, {15, 2}, {15, 14}},
        {2, {1, 1}, {0, 0}}, {2, {1, 1}, {2, 2}},
    };
    SudokuSolver solver;
    for (const Case& c : cases) {
        SudokuBoard board(c.innerSize);
        board.cellAt(c.first.row, c.first.col)->setValue(2);
        board.cellAt(c.second.row, c.second.col)->setValue(2);
        const bool valid = board.isValid();
        EXPECT_EQ(solver.solve(&board, false, false) != nullptr, valid)
            << c.innerSize << ": (" << c.second.row << ", " << c.second.col << ")";
        if (!valid)
            expectFigures(solver, {-1, -1, 0}, "invalid board");
    }
}

TEST(Solver, SolveNeverChangesItsArgumentAndOwnsItsResult)
{
    SudokuSolver solver;
    for (int i = 0; i < 50; ++i) {
        SudokuBoard puzzle = randomPuzzle(3, 40 + i % 30);
        puzzle.cellAt(0, 0)->removePossible(puzzle.valueAt(0, 0) == 1 ? 2 : 1);
        const SudokuBoard before(puzzle);
        const SudokuBoard* solution = solver.solve(&puzzle, false, false);
        ASSERT_NE(solution, nullptr);
        EXPECT_TRUE(sameBoard(puzzle, before));
        EXPECT_TRUE(isCompleteAndValid(*solution));
        EXPECT_TRUE(keepsGivens(puzzle, *solution));
        EXPECT_EQ(solver.getSolution(1), nullptr) << "first-solution mode stores one";
    }
}

TEST(Solver, BlankBoardsOfEverySmallSizeAreSolved)
{
    SudokuSolver solver;
    for (int n = 1; n <= 5; ++n) {
        SudokuBoard blank(n);
        const SudokuBoard* solution = solver.solve(&blank, false, false);
        ASSERT_NE(solution, nullptr) << n;
        EXPECT_TRUE(isCompleteAndValid(*solution)) << n;
    }
    SudokuBoard empty(0);
    EXPECT_NE(solver.solve(&empty, false, false), nullptr);
}

TEST(Solver, RandomPuzzlesKeepEveryGiven)
{
    SudokuSolver solver;
    for (int i = 0; i < 200; ++i) {
        const int n = i % 4 == 0 ? 4 : 3;
        SudokuBoard puzzle = randomPuzzle(n, (std::rand() % 3 + 1) * n * n * n);
        const SudokuBoard* solution = solver.solve(&puzzle, false, false);
        ASSERT_NE(solution, nullptr);
        EXPECT_TRUE(isCompleteAndValid(*solution));
        EXPECT_TRUE(keepsGivens(puzzle, *solution));
    }
}

// A clock that gives the scripted readings in turn and then keeps the last one.
std::vector<std::int32_t> clockScript;
std::size_t clockReads = 0;

std::int32_t scriptedClock()
{
    const std::size_t at = clockReads < clockScript.size() ? clockReads : clockScript.size() - 1;
    ++clockReads;
    return clockScript[at];
}

struct RestartCase {
    const char* name;
    int innerSize;
    std::vector<std::int32_t> readings;
    int restarts;
};

// Each abandoned run enters only its root node: one try, one root propagation
// (whose random draws are spent) and no dead end. The last run then searches like
// an untimed one.
TEST(Solver, RestartsAfterTimeoutsAndKeepsTheFiguresOfAbandonedRuns)
{
    const RestartCase cases[] = {
        {"never late", 3, {0}, 0},
        {"exactly at the limit", 3, {0, 1000, 1000}, 0},
        {"just over 1 s", 3, {0, 1001, 5000}, 1},
        {"limit doubles to 2 s", 3, {0, 1001, 5000, 7001, 10000}, 2},
        {"2 s over inner size 4: in time", 4, {0, 2000}, 0},
        {"2 s over inner size 4: late", 4, {0, 2001, 9000}, 1},
        {"clock wraps around within the limit", 3, {2147483400, -2147483296}, 0},
    };
    for (const RestartCase& rc : cases) {
        SudokuBoard blank(rc.innerSize);
        clockScript = rc.readings;
        clockReads = 0;
        SudokuSolver solver;
        solver.setClock(&scriptedClock);
        std::srand(4242);
        const SudokuBoard* solution = solver.solve(&blank, false, false);
        ASSERT_NE(solution, nullptr) << rc.name;
        const Figures got = figuresOf(solver);
        const SudokuBoard kept(*solution);

        std::srand(4242);
        for (int i = 0; i < rc.restarts; ++i) {
            SudokuBoard root(blank);
            root.recomputePossibles();
            ReferenceSolver::propagate(&root);
        }
        ReferenceSolver reference;
        reference.run(blank, 1);
        EXPECT_EQ(got.tries, reference.tries - 1 + rc.restarts) << rc.name;
        EXPECT_EQ(got.maxDepth, reference.maxDepth - 1) << rc.name;
        EXPECT_EQ(got.deadEnds, reference.deadEnds) << rc.name;
        ASSERT_NE(reference.solutions[0], nullptr);
        EXPECT_TRUE(sameBoard(kept, *reference.solutions[0])) << rc.name;
    }
}

TEST(Solver, UniquenessCheckCountsUpToTwoSolutions)
{
    SudokuSolver solver;
    SudokuBoard unique = boardFromText(3, kSample);
    EXPECT_EQ(solver.solveUnique(&unique), 1u);
    ASSERT_NE(solver.getSolution(0), nullptr);
    EXPECT_EQ(solver.getSolution(1), nullptr);

    SudokuBoard open = boardFromText(3, kSample.substr(0, 40));
    EXPECT_EQ(solver.solveUnique(&open), 2u);
    ASSERT_NE(solver.getSolution(1), nullptr);
    EXPECT_FALSE(sameBoard(*solver.getSolution(0), *solver.getSolution(1)));
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(isCompleteAndValid(*solver.getSolution(i)));
        EXPECT_TRUE(keepsGivens(open, *solver.getSolution(i)));
    }

    SudokuBoard none = boardFromText(3, "12345678.........9");
    EXPECT_EQ(solver.solveUnique(&none), 0u);
    EXPECT_EQ(solver.getSolution(0), nullptr);

    ASSERT_NE(solver.solve(&open, false, false), nullptr);
    EXPECT_EQ(solver.getSolution(1), nullptr) << "solve keeps first-solution mode";
}

// Parses list-all output into (number, board text, crc) records.
struct Listed {
    unsigned long number;
    std::string text;
    unsigned crc;
};

std::vector<Listed> parseListing(const std::string& out, int lines)
{
    std::vector<Listed> listed;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        Listed item{};
        EXPECT_EQ(std::sscanf(line.c_str(), "Solution No %lu:", &item.number), 1) << line;
        for (int i = 0; i < lines && std::getline(in, line); ++i)
            item.text += line + "\n";
        std::getline(in, line);
        EXPECT_EQ(std::sscanf(line.c_str(), "crc: %X", &item.crc), 1) << line;
        listed.push_back(item);
    }
    return listed;
}

// Reads a boxed 4 x 4 text back into a board.
SudokuBoard boardFromBoxedText(const std::string& text)
{
    std::string digits;
    for (const char ch : text)
        if (ch >= '1' && ch <= '4')
            digits += ch;
    return boardFromText(2, digits);
}

TEST(Solver, ListAllPrintsEveryFourByFourGridWithItsChecksum)
{
    SudokuSolver solver;
    SudokuBoard blank(2);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(solver.solve(&blank, true, false), nullptr);
    const std::vector<Listed> listed = parseListing(::testing::internal::GetCapturedStdout(), 7);

    ASSERT_EQ(listed.size(), 288u);
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].number, i + 1);
        const SudokuBoard board = boardFromBoxedText(listed[i].text);
        EXPECT_TRUE(isCompleteAndValid(board)) << listed[i].text;
        EXPECT_EQ(listed[i].crc, board.crc16()) << listed[i].text;
        EXPECT_EQ(listed[i].text, board.toText());
        distinct.insert(listed[i].text);
    }
    EXPECT_EQ(distinct.size(), 288u);

    ::testing::internal::CaptureStdout();
    solver.solve(&blank, true, true);
    EXPECT_EQ(parseListing(::testing::internal::GetCapturedStdout(), 7).size(), 1u) << "sparse prints solution 1";
}

TEST(Solver, PrintBoardOfNull)
{
    SudokuSolver solver;
    ::testing::internal::CaptureStdout();
    solver.printBoard(nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "<Null Board Pointer>\n");
}

} // namespace
