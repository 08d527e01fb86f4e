#include "GridlarkCli.h"

#include "CountProcess.h"
#include "GlibcRandom.h"
#include "SolutionCheck.h"
#include "UserTexts.h"
#include "WorkerPool.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

// solve, count, list and bench: the search solver's commands.

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int GridlarkCli::solve(const std::vector<std::string>& inputs, bool unique, Engine engine)
{
    const PuzzleFormat format = outputFormat(PuzzleFormat::boxed);
    const bool boxed = format == PuzzleFormat::boxed;
    const bool showFigures = boxed && !options.quiet;
    const std::vector<Item> items = readInputs(inputs, boxed);
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        const int n = item.puzzle.innerSize;
        const std::uint32_t wanted = unique ? 2 : 1;
        std::uint32_t found = 0;
        bool byComplete = engine == Engine::complete;
        bool byBoard = false;
        if (!PuzzleText::holds(format, n) || engine == Engine::complete || (engine == Engine::automatic && n > 3)) {
            const SudokuBoard board = boardOf(item.puzzle);
            if (!board.isValid()) {
                err = item.label + ": " + UserTexts::invalidGrid + "\n";
                code = exitInvalidGrid;
                return;
            }
            if (!PuzzleText::holds(format, n)) {
                err = item.label + ": the " + PuzzleText::getFormatName(format) + " format holds grids up to 25x25\n";
                code = exitUsage;
                return;
            }
            if (!byComplete) {
                found = solver.solveWithinFirstLimit(&board, wanted);
                byComplete = solver.hasTimedOut();
            }
            if (byComplete)
                found = static_cast<std::uint32_t>(complete.solve(board, wanted));
            byBoard = true;
        } else {
            // The exact engine straight from the values: its own check tells an invalid grid.
            found = solver.solveValues(item.puzzle.values.data(), n, wanted);
            if (solver.wasInvalid()) {
                err = item.label + ": " + UserTexts::invalidGrid + "\n";
                code = exitInvalidGrid;
                return;
            }
        }
        if (found == 0) {
            if (unique && boxed)
                out = "none\n";
            err = item.label + ": no solution\n";
            code = exitNoSolution;
            return;
        }
        if (unique && found > 1) {
            err = item.label + ": more than one solution\n";
            code = exitSeveralSolutions;
            if (!boxed)
                return;
        }
        if (unique && boxed)
            out += found == 1 ? "unique\n" : "multiple\n";
        for (std::uint32_t i = 0; i < found; ++i) {
            const int k = static_cast<int>(i);
            if (byComplete)
                out += render(boardOf(complete.getSolution(k), n), true);
            else if (byBoard)
                out += render(*solver.getSolution(k), true);
            else
                renderValues(solver.getSolutionValues(k), n, out);
        }
        // The complete engine keeps no search figures; its line says which engine answered.
        if (showFigures)
            out += byComplete ? "engine: complete\n" : figures();
    });
}

int GridlarkCli::count(const std::vector<std::string>& inputs, std::uint64_t max, double timeout)
{
    const std::vector<Item> items = readInputs(inputs, true);
    return runItems(items, true, [&](const Item& item, std::string& out, std::string& err, int& code) {
        const SudokuBoard board = boardOf(item.puzzle);
        if (!board.isValid()) {
            err = item.label + ": " + UserTexts::invalidGrid + "\n";
            code = exitInvalidGrid;
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
        bool timedOut = false;
        const std::function<bool()> stop = [&] {
            if (WorkerPool::interruptRequested())
                return true;
            timedOut = timeout > 0 && std::chrono::steady_clock::now() >= deadline;
            return timedOut;
        };
        // Up to 9x9 the exact search's exhaustive enumeration counts a million
        // solutions a second, far more than one SAT call per solution; beyond, only
        // the complete engine finishes sparse grids.
        std::uint64_t found = 0;
        bool stopped = false;
        if (board.getInnerSize() <= 3) {
            found = solver.countSolutions(&board, max, stop);
            stopped = solver.wasCountStopped();
        } else {
            complete.setStopCheck(stop);
            found = complete.solve(board, max);
            stopped = complete.wasStopped();
            complete.setStopCheck(nullptr);
        }
        if (max != 0 && found >= max) {
            out = "at least " + std::to_string(max) + "\n";
            code = exitCountStopped;
        } else if (stopped && timedOut) {
            out = "at least " + std::to_string(found) + "\n";
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%g", timeout);
            err = item.label + ": stopped after " + seconds + " s\n";
            code = exitCountStopped;
        } else if (stopped) {
            out = "at least " + std::to_string(found) + "\n";
            code = exitInterrupted;
        } else {
            out = std::to_string(found) + "\n";
            if (found == 0) {
                err = item.label + ": no solution\n";
                code = exitNoSolution;
            }
        }
    });
}

int GridlarkCli::list(const std::string& input, bool sparse, std::uint64_t max)
{
    std::vector<Item> items;
    readInput(input, items);
    const auto puzzles = std::count_if(items.begin(), items.end(), [](const Item& item) { return item.isPuzzle; });
    for (const Item& item : items)
        if (!item.isPuzzle)
            std::fputs(item.err.c_str(), stderr);
    if (!items.empty() && !items.front().isPuzzle && items.front().code != exitOk)
        return items.front().code;
    const std::string label = input == "-" ? "(standard input)" : input;
    if (puzzles != 1) {
        std::fprintf(stderr, "%s: list takes one puzzle; this input holds %ld\n", label.c_str(),
                     static_cast<long>(puzzles));
        return exitUsage;
    }
    GlibcRandom::shared().seed(puzzleSeed(options.seed, 0));
    const SudokuBoard board = boardOf(items.back().puzzle);
    if (!board.isValid()) {
        std::fprintf(stderr, "%s: %s\n", label.c_str(), UserTexts::invalidGrid);
        return exitInvalidGrid;
    }
    const PuzzleFormat format = outputFormat(PuzzleFormat::boxed);
    std::string probe;
    if (!PuzzleText::write(board, format, probe)) {
        std::fprintf(stderr, "%s: the %s format holds grids up to 25x25\n", label.c_str(),
                     PuzzleText::getFormatName(format));
        return exitUsage;
    }

    // The solver prints "Solution No N:", the boxed board and "crc: XXXX" for each;
    // they are passed on line by line, in the chosen format, up to max.
    std::string pending;
    std::string box;
    std::uint64_t printed = 0;
    WorkerPool::catchInterrupt();
    const CountProcess::Result r = CountProcess::count(board, sparse, max, 0, [&](const std::string& chunk) {
        pending += chunk;
        std::size_t start = 0;
        for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = pending.substr(start, end + 1 - start);
            if (line.compare(0, 12, "Solution No ") == 0) {
                if (max != 0 && printed >= max)
                    return false;
                ++printed;
                box.clear();
                if (format == PuzzleFormat::boxed)
                    std::fputs(line.c_str(), stdout);
            } else if (line.compare(0, 5, "crc: ") == 0) {
                if (format == PuzzleFormat::boxed) {
                    std::fputs(box.c_str(), stdout);
                    if (!options.quiet)
                        std::fputs(line.c_str(), stdout);
                } else {
                    PuzzleText solution;
                    if (solution.read(box, PuzzleFormat::boxed))
                        std::fputs(render(boardOf(solution.getPuzzles().front()), false).c_str(), stdout);
                }
                std::fflush(stdout);
            } else {
                box += line;
            }
        }
        pending.erase(0, start);
        return true;
    });
    std::fflush(stdout);
    using Stop = CountProcess::Stop;
    if (r.stop == Stop::interrupted) {
        std::fprintf(stderr, "%s: interrupted after %llu solutions\n", label.c_str(),
                     static_cast<unsigned long long>(std::max<std::uint64_t>(r.count, printed)));
        return exitInterrupted;
    }
    if (r.stop == Stop::failed) {
        std::fprintf(stderr, "%s: the solutions could not be listed\n", label.c_str());
        return exitNoSolution;
    }
    if (max != 0 && (r.stop == Stop::atMax || r.count >= max)) {
        std::fprintf(stderr, "%s: at least %llu solutions\n", label.c_str(), static_cast<unsigned long long>(max));
        return exitCountStopped;
    }
    std::fprintf(stderr, "%s: %llu solution%s\n", label.c_str(), static_cast<unsigned long long>(r.count),
                 r.count == 1 ? "" : "s");
    return r.count == 0 ? exitNoSolution : exitOk;
}

int GridlarkCli::bench(const std::string& input, long limit, bool unique)
{
    const std::string label = input == "-" ? "(standard input)" : input;
    // Times per puzzle in bins 1% apart: the median and 99th percentile to within 1%
    // in memory that does not grow with the set.
    constexpr double kBinRatio = 1.01;
    static const double binScale = 1 / std::log(kBinRatio);
    std::vector<std::uint64_t> bins(3000);
    const auto binOf = [&](std::int64_t nanoseconds) {
        const double at = std::log(static_cast<double>(std::max<std::int64_t>(nanoseconds, 1))) * binScale;
        return std::min(bins.size() - 1, static_cast<std::size_t>(at));
    };
    long count = 0;
    long solved = 0;
    long failures = 0;
    long counts[3] = {0, 0, 0};
    double tries = 0;
    double depths = 0;
    double deadEnds = 0;
    bool inputFailed = false;

    Item whole;
    whole.input = input;
    // A puzzle solved when Ctrl+C comes is finished, so that the figures of the run so
    // far are printed.
    BatchPipeline pipeline(options.jobs, true);
    const auto start = std::chrono::steady_clock::now();
    // Each puzzle is solved once, on a worker, which sends back its time and figures.
    const int code = runBatch(
        pipeline, {whole},
        [&](const Item& item, TaskResult& result) {
            const std::uint16_t* puzzle = item.puzzle.values.data();
            const auto before = std::chrono::steady_clock::now();
            const std::int64_t found = solver.solveValues(puzzle, item.puzzle.innerSize, unique ? 2 : 1);
            const auto after = std::chrono::steady_clock::now();
            const std::uint16_t* solution = solver.getSolutionValues(0);
            const bool good = solution && solvesPuzzle(puzzle, solution, item.puzzle.innerSize);
            result.figures = {std::chrono::duration_cast<std::chrono::nanoseconds>(after - before).count(),
                              good,
                              solver.getTries(),
                              solver.getMaxDepth(),
                              solver.getDeadEnds(),
                              found};
            if (!good) {
                result.err = label + ": line " + std::to_string(item.puzzle.line) + ": " +
                    (solution ? "the solution does not check" : "no solution") + "\n";
                result.code = exitNoSolution;
            }
        },
        [&](bool isPuzzle, const TaskResult& result) {
            if (!isPuzzle) {
                inputFailed = inputFailed || result.code != exitOk;
                return;
            }
            ++count;
            ++bins[binOf(result.figures[0])];
            ++counts[std::min<std::int64_t>(result.figures[5], 2)];
            if (result.figures[1]) {
                ++solved;
                tries += static_cast<double>(result.figures[2]);
                depths += static_cast<double>(result.figures[3]);
                deadEnds += static_cast<double>(result.figures[4]);
            } else {
                ++failures;
            }
        },
        limit, true);
    const double total = secondsSince(start);
    // Bad lines among the puzzles are named in their place and the rest still timed;
    // an input that gave no puzzle at all has no figures.
    if (pipeline.wasOutputClosed() || (inputFailed && count == 0 && !pipeline.wasInterrupted()))
        return code;

    // The time of the puzzle of that rank in order of time: the middle of its bin.
    const auto timeAt = [&](long rank) {
        long seen = 0;
        std::size_t bin = 0;
        while (bin + 1 < bins.size() && (seen += static_cast<long>(bins[bin])) <= rank)
            ++bin;
        return std::exp((static_cast<double>(bin) + 0.5) / binScale) * 1e-9;
    };
    double median = 0;
    double p99 = 0;
    if (count > 0) {
        median = count % 2 ? timeAt(count / 2) : (timeAt(count / 2 - 1) + timeAt(count / 2)) / 2;
        p99 = timeAt(std::min(count - 1, (count * 99 + 99) / 100 - 1));
    }
    const double perSolved = solved > 0 ? 1.0 / static_cast<double>(solved) : 0.0;
    std::printf("puzzles solved: %ld\n", solved);
    std::printf("failures: %ld\n", failures);
    std::printf("total time: %.3f s\n", total);
    std::printf("jobs: %d\n", options.jobs);
    std::printf("puzzles per second: %.0f\n", total > 0 ? static_cast<double>(count) / total : 0.0);
    std::printf("median time per puzzle: %.1f us\n", median * 1e6);
    std::printf("99th percentile time per puzzle: %.1f us\n", p99 * 1e6);
    std::printf("mean tries: %.3f\n", tries * perSolved);
    std::printf("mean greatest depth: %.3f\n", depths * perSolved);
    std::printf("mean dead ends: %.3f\n", deadEnds * perSolved);
    if (unique)
        std::printf("unique: %ld, multiple: %ld, none: %ld\n", counts[1], counts[2], counts[0]);
    std::fflush(stdout);
    return code;
}
