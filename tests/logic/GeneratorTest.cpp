#include "LogicTestSupport.h"
#include "PuzzleGenerator.h"
#include "SolutionCounter.h"
#include "SudokuSolver.h"

#include <gtest/gtest.h>

namespace {

int givenCount(const std::vector<int>& givens)
{
    return static_cast<int>(std::count_if(givens.begin(), givens.end(), [](int v) { return v != 0; }));
}

// The search solver's own count (0, 1 or 2), independent of the counter under test.
std::uint32_t solverCount(const std::vector<int>& givens, int innerSize)
{
    const int size = innerSize * innerSize;
    SudokuBoard board(innerSize);
    for (int cell = 0; cell < size * size; ++cell)
        board.cellAt(cell / size, cell % size)->setValue(givens[static_cast<std::size_t>(cell)]);
    SudokuSolver solver;
    return solver.solveUnique(&board);
}

int mateOf(int cell, int size, Symmetry symmetry)
{
    const int r = cell / size, c = cell % size;
    switch (symmetry) {
    case Symmetry::None: return cell;
    case Symmetry::Rotational: return (size - 1 - r) * size + size - 1 - c;
    case Symmetry::Diagonal: return c * size + r;
    case Symmetry::Mirror: return r * size + size - 1 - c;
    }
    return cell;
}

struct GeneratorCase {
    int innerSize;
    Symmetry symmetry;
    std::optional<Level> level;
};

class GeneratorTest : public testing::TestWithParam<GeneratorCase> {};

TEST_P(GeneratorTest, MakesSymmetricPuzzlesWithOneSolutionMinimalForTheLevelAsked)
{
    const GeneratorCase& c = GetParam();
    GeneratorOptions options;
    options.innerSize = c.innerSize;
    options.symmetry = c.symmetry;
    options.level = c.level;
    options.seed = 2024;
    PuzzleGenerator generator(options);
    const int size = c.innerSize * c.innerSize;
    // Checking a 16x16 puzzle's minimality costs seconds: one round there.
    for (int round = 0; round < (c.innerSize > 3 ? 1 : 3); ++round) {
        const std::optional<GeneratedPuzzle> puzzle = generator.next();
        ASSERT_TRUE(puzzle.has_value());
        const CandidateGrid grid = *CandidateGrid::fromValues(puzzle->givens);
        std::vector<int> solution;
        EXPECT_EQ(SolutionCounter::count(grid, 2, &solution), 1);
        EXPECT_EQ(solverCount(puzzle->givens, c.innerSize), 1u);
        EXPECT_EQ(solution, puzzle->solution);
        EXPECT_LT(givenCount(puzzle->givens), size * size / 2);
        if (c.level) {
            EXPECT_EQ(puzzle->rating.level, *c.level);
        }
        EXPECT_EQ(puzzle->rating.status, Rating::Status::Rated);
        for (int cell = 0; cell < size * size; ++cell) {
            const int mate = mateOf(cell, size, c.symmetry);
            EXPECT_EQ(puzzle->givens[static_cast<std::size_t>(cell)] != 0,
                      puzzle->givens[static_cast<std::size_t>(mate)] != 0);
            // Minimal for the level: without this given (and its mate) the solution is no
            // longer single, or the puzzle needs a technique above the level.
            if (puzzle->givens[static_cast<std::size_t>(cell)] == 0 || mate < cell)
                continue;
            std::vector<int> fewer = puzzle->givens;
            fewer[static_cast<std::size_t>(cell)] = fewer[static_cast<std::size_t>(mate)] = 0;
            if (solverCount(fewer, c.innerSize) == 1) {
                ASSERT_TRUE(c.level) << "r" << cell / size + 1 << "c" << cell % size + 1 << " could go";
                const Rating without = PuzzleRater::rateUnique(*CandidateGrid::fromValues(fewer), puzzle->solution);
                EXPECT_GT(without.level, *c.level) << "r" << cell / size + 1 << "c" << cell % size + 1;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Logic, GeneratorTest,
                         testing::Values(GeneratorCase{2, Symmetry::None, std::nullopt},
                                         GeneratorCase{3, Symmetry::None, Level::Easy},
                                         GeneratorCase{3, Symmetry::Rotational, Level::Medium},
                                         GeneratorCase{3, Symmetry::Diagonal, Level::Hard},
                                         GeneratorCase{3, Symmetry::Mirror, std::nullopt},
                                         GeneratorCase{4, Symmetry::Rotational, Level::Easy},
                                         GeneratorCase{4, Symmetry::None, Level::Medium}));

TEST(Generator, TheSameSeedGivesTheSamePuzzles)
{
    GeneratorOptions options;
    options.seed = 77;
    PuzzleGenerator first(options), second(options);
    options.seed = 78;
    PuzzleGenerator other(options);
    const GeneratedPuzzle a1 = *first.next(), a2 = *first.next();
    EXPECT_EQ(a1.givens, second.next()->givens);
    EXPECT_EQ(a2.givens, second.next()->givens);
    EXPECT_NE(a1.givens, a2.givens);
    EXPECT_NE(a1.givens, other.next()->givens);
}

TEST(Generator, GivesUpOnSizesItCannotHold)
{
    for (const int n : {0, -1, CandidateGrid::kMaxInnerSize + 1}) {
        GeneratorOptions options;
        options.innerSize = n;
        EXPECT_FALSE(PuzzleGenerator(options).next().has_value()) << n;
    }
    EXPECT_EQ(PuzzleGenerator::parseSymmetry("rotational"), Symmetry::Rotational);
    EXPECT_EQ(PuzzleGenerator::parseSymmetry("mirror"), Symmetry::Mirror);
    EXPECT_FALSE(PuzzleGenerator::parseSymmetry("spiral"));
}

// A sparse 25x25 puzzle, whose full count would run for hours: the techniques prove its
// one solution, and a blank grid's second solution is still found.
TEST(PuzzleRater, CountsLargeSparsePuzzlesWithoutSearchingThemWhole)
{
    GeneratorOptions options;
    options.innerSize = 5;
    options.level = Level::Medium;
    options.seed = 5;
    const std::optional<GeneratedPuzzle> puzzle = PuzzleGenerator(options).next();
    ASSERT_TRUE(puzzle.has_value());
    const CandidateGrid grid = *CandidateGrid::fromValues(puzzle->givens);
    std::vector<int> solution;
    EXPECT_EQ(PuzzleRater::countSolutions(grid, &solution), 1);
    EXPECT_EQ(solution, puzzle->solution);
    const Rating rating = PuzzleRater::rate(grid);
    EXPECT_EQ(rating.status, Rating::Status::Rated);
    EXPECT_EQ(rating.level, Level::Medium);
    EXPECT_EQ(PuzzleRater::countSolutions(CandidateGrid(4)), 2);
}

// Facts known without any program: a blank 4x4 grid has 288 solutions; a full grid one.
TEST(SolutionCounter, CountsExactlyUpToTheLimit)
{
    EXPECT_EQ(SolutionCounter::count(CandidateGrid(2), 1000), 288);
    EXPECT_EQ(SolutionCounter::count(CandidateGrid(2), 10), 10);
    const std::string solved = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
    std::vector<int> solution;
    EXPECT_EQ(SolutionCounter::count(*CandidateGrid::fromValues(valuesOfLine(solved)), 2, &solution), 1);
    EXPECT_EQ(solution, valuesOfLine(solved));
    EXPECT_FALSE(SolutionCounter::countWithin(CandidateGrid(3), 1000000, 50).has_value());
    EXPECT_EQ(SolutionCounter::countWithin(CandidateGrid(2), 1000, 100000), 288);
}

// Givens taken away from a full grid a pair at a time (a cell and its turned mate), kept
// while one solution is left: another solution differing in the pair is found exactly
// when the count finds two, and a budget too small to decide gives no answer.
TEST(SolutionCounter, FindsAnotherSolutionDifferingInTheCellsTakenAway)
{
    const std::vector<int> known =
        valuesOfLine("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
    std::vector<int> givens = known;
    int kept = 0, cleared = 0;
    for (int cell = 0; cell <= 40; ++cell) {
        const std::vector<int> pair = cell == 40 ? std::vector<int>{40} : std::vector<int>{cell, 80 - cell};
        std::vector<int> trial = givens;
        for (const int c : pair)
            trial[static_cast<std::size_t>(c)] = 0;
        const CandidateGrid grid = *CandidateGrid::fromValues(trial);
        const bool two = SolutionCounter::count(grid, 2) == 2;
        EXPECT_EQ(SolutionCounter::findOtherWithin(grid, known, pair, 1000000), two) << cell;
        if (two) {
            ++kept;
        } else {
            givens = trial;
            ++cleared;
        }
    }
    EXPECT_GT(kept, 0);
    EXPECT_GT(cleared, 0);
    EXPECT_FALSE(SolutionCounter::findOtherWithin(CandidateGrid(3), known, {0}, 5).has_value());
}

}  // namespace
