#pragma once

#include "PuzzleRater.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

// Which givens stay together: none, 180-degree turn, the main diagonal, left-right.
enum class Symmetry { None, Rotational, Diagonal, Mirror };

struct GeneratorOptions {
    int innerSize = 3;
    // Any level when empty.
    std::optional<Level> level;
    Symmetry symmetry = Symmetry::None;
    std::uint64_t seed = 0;
    // Puzzles made and rated before giving up on the level.
    int maxAttempts = 2000;
};

struct GeneratedPuzzle {
    // No group of givens can go without a second solution or, for a level below
    // extreme, a technique above the level.
    std::vector<int> givens;
    std::vector<int> solution;
    Rating rating;
};

// Makes puzzles with exactly one solution from a random full grid by taking givens
// away (a symmetric group at a time) while the solution stays unique and, for a level
// below extreme, within reach of the level's techniques: what is left is minimal for
// the level. The same options give the same puzzles.
class PuzzleGenerator {
public:
    explicit PuzzleGenerator(const GeneratorOptions& options);

    // The next puzzle of the level asked for; nothing after maxAttempts misses or for
    // an inner size outside 1..CandidateGrid::kMaxInnerSize.
    std::optional<GeneratedPuzzle> next();

    // One puzzle minimal for the level's cap, not yet rated; the inner size must be
    // supported.
    GeneratedPuzzle makeMinimal();

    static std::optional<Symmetry> parseSymmetry(std::string_view name);

    // Search nodes for the first, short uniqueness count of each group taken away and for
    // the search for another solution near the known one; per cell for the longer count
    // without a level's cap.
    static constexpr std::int64_t kQuickCountNodes = 100;
    static constexpr std::int64_t kNodeBudgetPerCell = 4;

private:
    std::vector<std::vector<int>> symmetryGroups() const;
    // Highest weight the level allows, or no cap.
    double levelCap() const;
    // Whether the givens, those of a puzzle with that one solution less a group of cells,
    // keep it as their only one (shown by the capped techniques, else searched for
    // another that differs in the group), and within the cap.
    bool staysUnique(const std::vector<int>& givens, const std::vector<int>& group, const std::vector<int>& solution,
                     double cap) const;

    GeneratorOptions options;
    std::mt19937_64 random;
};
