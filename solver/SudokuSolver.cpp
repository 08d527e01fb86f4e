#include "SudokuSolver.h"

#include "FastSearch.h"
#include "GlibcRandom.h"

#include <cstdio>
#include <ctime>
#include <type_traits>

SudokuSolver::SudokuSolver()
    : storedSolutions(0)
    , solutionCount(0)
    , tries(0)
    , depth(0)
    , maxDepth(0)
    , deadEnds(0)
    , maxSolutions(1)
    , sparsePrint(false)
    , timeLimited(false)
    , timeLimit(0)
    , startClock(0)
    , timedOut(false)
    , clockFunction(&SudokuSolver::monotonicMilliseconds)
{
}

SudokuSolver::~SudokuSolver() = default;

std::int32_t SudokuSolver::monotonicMilliseconds()
{
    // The search reads the clock at every branching node; the coarse clock (a few
    // milliseconds) is plenty for limits of seconds and costs a quarter of the fine one.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u));
}

void SudokuSolver::clearSolutions()
{
    storedSolutions = 0;
}

const SudokuBoard* SudokuSolver::solve(const SudokuBoard* board, bool listAll, bool sparse)
{
    if (listAll)
        maxSolutions = 3;
    sparsePrint = sparse;
    run(board);
    return getSolution(0);
}

std::uint32_t SudokuSolver::solveUnique(const SudokuBoard* board)
{
    const std::uint32_t mode = maxSolutions;
    maxSolutions = 2;
    run(board);
    maxSolutions = mode;
    return solutionCount;
}

std::uint32_t SudokuSolver::solveWithinFirstLimit(const SudokuBoard* board, std::uint32_t wanted)
{
    const std::uint32_t mode = maxSolutions;
    maxSolutions = wanted;
    giveUpAtTimeout = true;
    run(board);
    giveUpAtTimeout = false;
    maxSolutions = mode;
    return solutionCount;
}

std::uint64_t SudokuSolver::countSolutions(const SudokuBoard* board, std::uint64_t max,
                                           const std::function<bool()>& stop)
{
    const std::uint32_t mode = maxSolutions;
    maxSolutions = 3;
    countStop = &stop;
    countMax = max;
    run(board);
    countStop = nullptr;
    maxSolutions = mode;
    return solutionCount;
}

std::uint32_t SudokuSolver::solveValues(const std::uint16_t* values, int innerSize, std::uint32_t wanted)
{
    const std::uint32_t mode = maxSolutions;
    maxSolutions = wanted;
    valuesRun = true;
    run(innerSize, [&](auto& engine, auto& root) { return engine.loadValues(values, root); });
    maxSolutions = mode;
    return solutionCount;
}

const SudokuBoard* SudokuSolver::getSolution(int index) const
{
    return index >= 0 && static_cast<std::uint32_t>(index) < storedSolutions && !valuesRun ? solutions[index].get()
                                                                                          : nullptr;
}

const std::uint16_t* SudokuSolver::getSolutionValues(int index) const
{
    return index >= 0 && static_cast<std::uint32_t>(index) < storedSolutions && valuesRun
        ? solutionValues[index].data()
        : nullptr;
}

template <typename F>
void SudokuSolver::withEngine(int innerSize, F&& f)
{
    const auto ready = [innerSize](auto& engine) -> auto& {
        using Engine = typename std::remove_reference_t<decltype(engine)>::element_type;
        if (!engine || engine->getInnerSize() != innerSize)
            engine = std::make_unique<Engine>(innerSize);
        return *engine;
    };
    const int size = innerSize * innerSize;
    if (innerSize == 3)
        f(ready(nineEngine));
    else if (innerSize == 4)
        f(ready(sixteenEngine));
    else if (innerSize == 5)
        f(ready(twentyFiveEngine));
    else if (size <= 16)
        f(ready(smallEngine));
    else if (size <= 64)
        f(ready(wideEngine));
    else
        f(ready(hugeEngine));
}

void SudokuSolver::run(const SudokuBoard* board)
{
    valuesRun = false;
    // The engine's validity check on the copy answers as the board's isValid would,
    // since a cell only ever holds 0..size.
    run(board->getInnerSize(), [board](auto& engine, auto& root) {
        engine.load(*board, root, false);
        return engine.isValid(root);
    });
}

template <typename Reload>
void SudokuSolver::run(int innerSize, const Reload& reload)
{
    clearSolutions();
    solutionCount = 0;
    tries = 0;
    depth = 0;
    maxDepth = 0;
    deadEnds = 0;
    timedOut = false;
    countStopped = false;
    invalid = false;
    // The grid is level 0 of the engine's pool.
    withEngine(innerSize, [&](auto& engine) {
        auto& root = engine.gridAt(0);
        invalid = !reload(engine, root);
        if (invalid)
            return;
        if (maxSolutions > 2) {
            timeLimited = false;
            timeLimit = 4294967295u;
        } else {
            timeLimited = true;
            timeLimit = 1;
            if (innerSize > 3)
                timeLimit = timeLimit * static_cast<std::uint32_t>(innerSize - 3) * 2;
            startClock = clockFunction();
        }
        engine.recompute(root);
        searchLevel(engine, 0, false);
        while (timedOut && !giveUpAtTimeout && !countStopped) {
            if (solutionCount >= maxSolutions)
                return;
            reload(engine, root);
            engine.recompute(root);
            clearSolutions();
            solutionCount = 0;
            timeLimit *= 2;
            timedOut = false;
            startClock = clockFunction();
            searchLevel(engine, 0, false);
        }
    });
}

bool SudokuSolver::isTimeUp()
{
    const std::int32_t elapsedMs =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(clockFunction()) - static_cast<std::uint32_t>(startClock));
    return static_cast<double>(elapsedMs) / 1000.0 > static_cast<double>(timeLimit);
}

void SudokuSolver::search(SudokuBoard* board)
{
    withEngine(board->getInnerSize(), [&](auto& engine) {
        const int level = depth;
        engine.load(*board, engine.gridAt(level), true);
        searchLevel(engine, level, true);
        engine.store(engine.gridAt(level), *board);
    });
}

template <typename Engine>
void SudokuSolver::searchLevel(Engine& engine, int level, bool keepGrid)
{
    ++depth;
    ++tries;
    if (depth > maxDepth)
        maxDepth = depth;
    auto& grid = engine.gridAt(level);
    const int branch = engine.propagate(grid);
    if (branch < 0) {
        foundSolution(engine, level);
    } else if (engine.candidates(grid, branch) == 0) {
        ++deadEnds;
    } else {
        if (timeLimited && isTimeUp())
            timedOut = true;
        auto& child = engine.gridAt(level + 1);
        for (int left = engine.candidates(grid, branch); left > 0; --left) {
            if (timedOut)
                break;
            if (maxSolutions <= 2 && solutionCount >= maxSolutions)
                break;
            const int v = engine.nthCandidate(grid, branch, GlibcRandom::shared().next() % left);
            if (left == 1 && !keepGrid) {
                // The last value is searched on this node's grid, which nothing reads
                // afterwards: no copy.
                engine.place(grid, branch, v);
                searchLevel(engine, level, false);
                break;
            }
            engine.copy(grid, child);
            engine.removeCandidate(grid, branch, v);
            engine.place(child, branch, v);
            searchLevel(engine, level + 1, false);
        }
    }
    --depth;
}

template <typename Engine>
void SudokuSolver::foundSolution(Engine& engine, int level)
{
    ++solutionCount;
    const auto& grid = engine.gridAt(level);
    if (maxSolutions < 3 && valuesRun) {
        std::vector<std::uint16_t>& values = solutionValues[solutionCount - 1];
        values.resize(static_cast<std::size_t>(engine.getSize()) * engine.getSize());
        engine.storeValues(grid, values.data());
        storedSolutions = solutionCount;
        return;
    }
    if (maxSolutions < 3) {
        std::unique_ptr<SudokuBoard>& board = solutions[solutionCount - 1];
        if (!board || board->getInnerSize() != engine.getInnerSize())
            board = std::make_unique<SudokuBoard>(engine.getInnerSize());
        engine.store(grid, *board);
        storedSolutions = solutionCount;
        return;
    }
    if (countStop) {
        // Setting timedOut unwinds the search as a time limit would.
        if (solutionCount == countMax || ((solutionCount & 1023) == 0 && *countStop && (*countStop)()))
            timedOut = countStopped = true;
        return;
    }
    if (sparsePrint && !isListedWhenSparse(solutionCount))
        return;
    if (!printScratch || printScratch->getInnerSize() != engine.getInnerSize())
        printScratch = std::make_unique<SudokuBoard>(engine.getInnerSize());
    engine.storeValues(grid, *printScratch);
    std::printf("Solution No %lu:\n", static_cast<unsigned long>(solutionCount));
    printBoard(printScratch.get());
    std::printf("crc: %04X\n", static_cast<unsigned>(printScratch->crc16()));
    std::fflush(stdout);
}

void SudokuSolver::printBoard(const SudokuBoard* board) const
{
    if (!board) {
        std::printf("<Null Board Pointer>\n");
        return;
    }
    std::printf("%s", board->toText());
}

Cell* SudokuSolver::propagate(SudokuBoard* board)
{
    Cell* result = nullptr;
    withEngine(board->getInnerSize(), [&](auto& engine) {
        // The level past the deepest search level in use, so that a search in
        // progress keeps its grids.
        auto& grid = engine.gridAt(depth + 1);
        engine.load(*board, grid, true);
        const int cell = engine.propagate(grid);
        engine.store(grid, *board);
        if (cell >= 0)
            result = board->cellAt(cell % engine.getSize(), cell / engine.getSize());
    });
    return result;
}
