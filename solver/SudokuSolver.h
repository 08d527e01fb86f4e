#pragma once

#include "SudokuBoard.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

template <typename Mask, int FixedInner>
class FastSearch;

// Randomised depth-first search with forced-value propagation over copies of a
// board. First-solution mode (the dialog's) is timed and restarts from the
// caller's board with twice the limit after a timeout; list-all mode prints every
// solution with its checksum to standard output.
class SudokuSolver {
public:
    // Milliseconds from any fixed origin; differences are taken in 32 bits.
    using ClockFunction = std::int32_t (*)();

    SudokuSolver();
    ~SudokuSolver();
    SudokuSolver(const SudokuSolver&) = delete;
    SudokuSolver& operator=(const SudokuSolver&) = delete;

    // Returns the first solution found (owned by the solver, valid until the next
    // solve or the solver's destruction), or null: invalid board, no solution, or
    // list-all mode. The board is only read.
    const SudokuBoard* solve(const SudokuBoard* board, bool listAll, bool sparse);

    // Searches for two solutions with the first-solution rules (time limit and
    // restarts included) and returns how many were found: 0, 1 or 2. The solutions
    // are read with getSolution. The mode of later solve calls is left as it was.
    std::uint32_t solveUnique(const SudokuBoard* board);

    // solve (wanted 1) or solveUnique (wanted 2) with the first time limit only:
    // returns the solutions found, read with getSolution; hasTimedOut() then tells
    // a search given up from a finished one. Figures and random draws are those of
    // solve and solveUnique up to there.
    std::uint32_t solveWithinFirstLimit(const SudokuBoard* board, std::uint32_t wanted);
    bool hasTimedOut() const { return timedOut; }

    // solve (wanted 1) or solveUnique (wanted 2) on a grid given as values, row-major,
    // 0 for a blank, without a board: the solutions are read with getSolutionValues,
    // in the same layout. Returns the solutions found; 0 for an invalid grid as well,
    // which wasInvalid() then tells (a value outside 0..size makes a grid invalid).
    std::uint32_t solveValues(const std::uint16_t* values, int innerSize, std::uint32_t wanted);
    bool wasInvalid() const { return invalid; }
    const std::uint16_t* getSolutionValues(int index) const;

    // Counts every solution with the list-all search, printing nothing, up to max
    // (0: no cap). stop is polled every few solutions; true ends the count, which
    // then stands as a lower bound. The mode of later solve calls is left as it was.
    std::uint64_t countSolutions(const SudokuBoard* board, std::uint64_t max, const std::function<bool()>& stop);
    // Whether the last countSolutions ended before the search was exhausted.
    bool wasCountStopped() const { return countStopped; }

    // Solutions found by the last run (counted, not stored, in list-all mode).
    std::uint32_t getSolutionCount() const { return solutionCount; }

    // Stored solution 0 or 1 of the last run, or null.
    const SudokuBoard* getSolution(int index) const;

    // Clears the results, checks the board, sets the time limit, searches and
    // restarts after timeouts.
    void run(const SudokuBoard* board);

    // One node of the search on the node's own copy, which it changes.
    void search(SudokuBoard* board);

    // Values tried (plus one per restart), deepest nesting of tried values, and
    // propagation failures of the last solve.
    std::int32_t getTries() const { return tries - 1; }
    std::int32_t getMaxDepth() const { return maxDepth - 1; }
    std::int32_t getDeadEnds() const { return deadEnds; }

    // Whether list-all mode with sparse output prints the solution of this number:
    // the first and every ten-millionth.
    static bool isListedWhenSparse(std::uint32_t number) { return number == 1 || number % 10000000 == 0; }

    // Prints the board's boxed text to standard output, or "<Null Board Pointer>".
    void printBoard(const SudokuBoard* board) const;

    // Fills in every forced value; returns null (complete), a blank cell without
    // candidates (dead end) or the blank cell to branch on.
    Cell* propagate(SudokuBoard* board);

    // Replaces the monotonic clock, so that tests can drive the time limit.
    void setClock(ClockFunction clock) { clockFunction = clock; }

    // The clock used unless setClock replaces it.
    static std::int32_t monotonicMilliseconds();

private:
    // Runs f with the flat search engine that suits the inner size.
    template <typename F>
    void withEngine(int innerSize, F&& f);
    // Clears the results and searches from the root that reload fills with the
    // grid's values, which it checks; restarts reload it.
    template <typename Reload>
    void run(int innerSize, const Reload& reload);
    // keepGrid: the level's grid is read afterwards (search stores it), so every
    // value is searched on a copy.
    template <typename Engine>
    void searchLevel(Engine& engine, int level, bool keepGrid);
    template <typename Engine>
    void foundSolution(Engine& engine, int level);

    void clearSolutions();
    bool isTimeUp();

    // The boards of the solution slots, kept from one run to the next; the first
    // storedSolutions of them hold the current run's solutions.
    std::unique_ptr<SudokuBoard> solutions[2];
    // The solutions of a run on values (the last run was one when valuesRun is set).
    std::vector<std::uint16_t> solutionValues[2];
    bool valuesRun = false;
    bool invalid = false;
    std::uint32_t storedSolutions;
    std::uint32_t solutionCount;
    std::int32_t tries;
    std::int32_t depth;
    std::int32_t maxDepth;
    std::int32_t deadEnds;
    std::uint32_t maxSolutions;
    bool sparsePrint;
    bool timeLimited;
    std::uint32_t timeLimit;
    std::int32_t startClock;
    bool timedOut;
    // The first time limit ends the run instead of restarting it.
    bool giveUpAtTimeout = false;
    // countSolutions' cap and stop check, and whether it stopped the search.
    const std::function<bool()>* countStop = nullptr;
    std::uint64_t countMax = 0;
    bool countStopped = false;

    ClockFunction clockFunction;
    std::unique_ptr<FastSearch<std::uint16_t, 3>> nineEngine;
    std::unique_ptr<FastSearch<std::uint16_t, 4>> sixteenEngine;
    std::unique_ptr<FastSearch<std::uint32_t, 5>> twentyFiveEngine;
    std::unique_ptr<FastSearch<std::uint16_t, 0>> smallEngine;
    std::unique_ptr<FastSearch<std::uint64_t, 0>> wideEngine;
    std::unique_ptr<FastSearch<std::bitset<256>, 0>> hugeEngine;
    std::unique_ptr<SudokuBoard> printScratch;
};
