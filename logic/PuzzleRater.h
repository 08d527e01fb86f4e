#pragma once

#include "CandidateGrid.h"
#include "Step.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

enum class Level { Easy, Medium, Hard, Expert, Extreme };

struct LevelInfo {
    Level level;
    std::string_view name;
    // Highest rating of the level; a rating above it belongs to the next.
    double maxRating;
};

// Easy: singles. Medium: locked candidates, naked pairs, X-Wing, hidden pairs.
// Hard: triples, quads, fish, wings, unique rectangles, BUG+1. Expert: chains.
// Extreme: forcing chains.
inline constexpr std::array<LevelInfo, 5> kLevels{{
    {Level::Easy, "easy", 2.3},
    {Level::Medium, "medium", 3.4},
    {Level::Hard, "hard", 5.6},
    {Level::Expert, "expert", 7.0},
    {Level::Extreme, "extreme", 11.9},
}};

struct Rating {
    // LostSolution: a step removed the solution's value from a cell (a fault in its
    // technique); steps end with that step, and there is no rating.
    enum class Status { Rated, NoSolution, ManySolutions, LostSolution };
    Status status = Status::NoSolution;
    // Weight of the hardest step on the easiest-first path.
    double rating = 0.0;
    // No technique went on before the solution: rating is the ceiling, to be read as
    // "beyond" it.
    bool beyondScale = false;
    Level level = Level::Easy;
    // Steps of each technique, indexed as kTechniques.
    std::array<int, kTechniqueCount> counts{};
    std::vector<Step> steps;
    std::vector<int> solution;
    // With LostSolution: the cell and the solution's value that the last step lost.
    Candidate lost;
};

class PuzzleRater {
public:
    // Solutions up to two, exactly: counted, or one proven by filling the grid with
    // techniques that assume nothing about them. The first goes to solution if given.
    static int countSolutions(const CandidateGrid& puzzle, std::vector<int>* solution = nullptr);

    // A puzzle with one solution is solved step by step and rated, any other is only
    // reported as such.
    static Rating rate(const CandidateGrid& puzzle);

    // Rates a puzzle already known to have exactly this one solution (the generator
    // proves it while making the puzzle), without counting again.
    static Rating rateUnique(const CandidateGrid& puzzle, std::vector<int> solution);

    // The top of the scale; a puzzle past it is "beyond 11.9".
    static constexpr double kCeiling = 11.9;

    // Search nodes of the first solution count, which settles nearly every 9x9 puzzle.
    static constexpr std::int64_t kQuickCountNodes = 1000;

    static Level levelOf(double rating);
    static std::string_view levelName(Level level);
    // "easy" ... "extreme"; nothing for any other word.
    static std::optional<Level> parseLevel(std::string_view name);
};
