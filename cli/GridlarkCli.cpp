#include "GridlarkCli.h"

#include "CountProcess.h"
#include "GridFile.h"
#include "LogicalSolver.h"
#include "StepText.h"
#include "UserTexts.h"
#include "WorkerPool.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// Whether solution is complete, breaks no rule and keeps every given of puzzle.
bool solvesPuzzle(const SudokuBoard& puzzle, const SudokuBoard& solution)
{
    const int size = puzzle.getSize();
    const int n = puzzle.getInnerSize();
    if (solution.getSize() != size)
        return false;
    // One bit per value seen, for each row, column and sub-square.
    const int words = (size + 63) / 64;
    std::vector<std::uint64_t> seen(3 * static_cast<std::size_t>(size) * words, 0);
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            const int v = solution.valueAt(r, c);
            if (v < 1 || v > size || (puzzle.valueAt(r, c) != 0 && puzzle.valueAt(r, c) != v))
                return false;
            const std::uint64_t bit = std::uint64_t{1} << ((v - 1) % 64);
            for (const int unit : {r, size + c, 2 * size + (r / n) * n + c / n}) {
                std::uint64_t& word = seen[static_cast<std::size_t>(unit) * words + (v - 1) / 64];
                if (word & bit)
                    return false;
                word |= bit;
            }
        }
    }
    return true;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

SudokuBoard boardOf(const PuzzleValues& puzzle)
{
    SudokuBoard board(puzzle.innerSize);
    const int side = board.getSize();
    for (int i = 0; i < side * side; ++i)
        board.cellAt(i / side, i % side)->setValue(puzzle.values[static_cast<std::size_t>(i)]);
    return board;
}

// Reads the whole input; a folder or another unreadable kind of file reads as empty.
bool readAll(int fd, std::string& text)
{
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0 || errno == EISDIR;
        // No notation holds a NUL byte; reading ends there, so that /dev/zero ends.
        const char* nul = static_cast<const char*>(std::memchr(chunk, '\0', static_cast<std::size_t>(got)));
        text.append(chunk, nul ? static_cast<std::size_t>(nul - chunk) + 1 : static_cast<std::size_t>(got));
        if (nul)
            return true;
    }
}

// The message and code of a puzzle that cannot be rated; false when it has one solution.
bool notUnique(int solutions, const std::string& label, std::string& err, int& code)
{
    if (solutions == 1)
        return false;
    err = label + (solutions == 0 ? ": no solution\n" : ": more than one solution\n");
    code = solutions == 0 ? GridlarkCli::exitNoSolution : GridlarkCli::exitSeveralSolutions;
    return true;
}

int solutionsOf(const Rating& rating)
{
    return rating.status == Rating::Status::Rated ? 1 : rating.status == Rating::Status::NoSolution ? 0 : 2;
}

SudokuBoard boardOf(const std::vector<int>& values, int innerSize)
{
    PuzzleValues puzzle;
    puzzle.innerSize = innerSize;
    puzzle.values.assign(values.begin(), values.end());
    return boardOf(puzzle);
}

std::string place(const std::string& label, const PuzzleDiagnostic& d)
{
    return label + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + ": ";
}

} // namespace

GridlarkCli::GridlarkCli(const CliOptions& options)
    : options(options)
{
    // The first cell of the process seeds rand with the time; it must come before
    // any seed of ours.
    SudokuBoard seedsOnce(1);
}

unsigned GridlarkCli::puzzleSeed(std::uint64_t seed, std::size_t index)
{
    // splitmix64: neighbouring puzzles get unrelated seeds.
    std::uint64_t z = seed + (static_cast<std::uint64_t>(index) + 1) * 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<unsigned>((z ^ (z >> 31)) & 0xFFFFFFFFu);
}

PuzzleFormat GridlarkCli::outputFormat(PuzzleFormat fallback) const
{
    return options.outputFormat == PuzzleFormat::automatic ? fallback : options.outputFormat;
}

bool GridlarkCli::readInput(const std::string& input, std::vector<Item>& items)
{
    const std::string label = input == "-" ? "(standard input)" : input;
    Item message;
    std::string text;
    if (input == "-") {
        readAll(STDIN_FILENO, text);
    } else {
        std::FILE* in = openGridFile(input.c_str());
        if (!in) {
            message.err = "cannot open " + label + ": " + std::strerror(errno) + "\n";
            message.code = exitCannotOpen;
            items.push_back(std::move(message));
            return false;
        }
        readAll(fileno(in), text);
        std::fclose(in);
    }

    PuzzleText reader;
    const bool ok = reader.read(text, options.inputFormat);
    for (const PuzzleDiagnostic& warning : reader.getWarnings()) {
        message.err += place(label, warning) + (options.strict ? "error: " : "warning: ") + warning.message + "\n";
        message.code = options.strict ? exitInvalidGrid : exitOk;
    }
    if (!ok) {
        emptyInput = reader.getFailure() == PuzzleText::Failure::empty;
        switch (reader.getFailure()) {
        case PuzzleText::Failure::empty:
        case PuzzleText::Failure::noInnerSize:
        case PuzzleText::Failure::innerSizeOutOfRange: {
            // The grid file reader's own words for a file it cannot read.
            GridRead failed;
            failed.status = reader.getFailure() == PuzzleText::Failure::innerSizeOutOfRange
                ? GridReadStatus::innerSizeOutOfRange
                : GridReadStatus::noInnerSize;
            failed.innerSizeText = reader.getGridInnerSizeText();
            message.err += failed.message(label.c_str());
            message.code = failed.exitCode();
            break;
        }
        case PuzzleText::Failure::ambiguous:
            message.err += place(label, reader.getError()) + reader.getError().message +
                "; choose one with --input-format\n";
            message.code = exitInvalidGrid;
            break;
        default:
            message.err += place(label, reader.getError()) + reader.getError().message + "\n";
            message.code = exitInvalidGrid;
            break;
        }
    }
    const std::size_t count = reader.getPuzzles().size();
    if (ok && options.verbose)
        message.err += label + ": " + std::to_string(count) + " puzzle" + (count == 1 ? "" : "s") + " read as " +
            PuzzleText::getFormatName(reader.getFormat()) + "\n";
    const bool failed = !ok || message.code != exitOk;
    if (!message.err.empty())
        items.push_back(std::move(message));
    if (failed)
        return false;
    for (const PuzzleValues& puzzle : reader.getPuzzles()) {
        Item item;
        item.isPuzzle = true;
        item.ordinal = puzzlesRead++;
        item.puzzle = puzzle;
        item.label = count > 1 ? label + ":" + std::to_string(puzzle.line) : label;
        items.push_back(std::move(item));
    }
    return true;
}

std::vector<GridlarkCli::Item> GridlarkCli::readInputs(const std::vector<std::string>& inputs, bool headers)
{
    std::vector<Item> items;
    for (const std::string& input : inputs) {
        if (headers && inputs.size() > 1) {
            Item header;
            header.out = (input == "-" ? std::string("(standard input)") : input) + ":\n";
            items.push_back(std::move(header));
        }
        readInput(input, items);
    }
    return items;
}

int GridlarkCli::runItems(const std::vector<Item>& items, bool finishTask,
                          const std::function<void(const Item&, std::string&, std::string&, int&)>& work)
{
    WorkerPool pool(options.jobs, finishTask);
    int result = exitOk;
    bool partial = false;
    const std::size_t done = pool.run(
        items.size(),
        [&](std::size_t index) {
            const Item& item = items[index];
            TaskResult r{item.out, item.err, item.code};
            if (item.isPuzzle) {
                std::srand(puzzleSeed(options.seed, item.ordinal));
                work(item, r.out, r.err, r.code);
            }
            return r;
        },
        [&](std::size_t, const TaskResult& r) {
            std::fwrite(r.out.data(), 1, r.out.size(), stdout);
            if (!r.err.empty()) {
                std::fflush(stdout);
                std::fputs(r.err.c_str(), stderr);
            }
            if (result == exitOk)
                result = r.code;
            partial = partial || r.code == exitInterrupted;
        });
    std::fflush(stdout);
    if (done == items.size() && !pool.wasInterrupted())
        return result;
    const auto puzzles = [&](std::size_t end) {
        return std::count_if(items.begin(), items.begin() + static_cast<long>(end),
                             [](const Item& item) { return item.isPuzzle; });
    };
    if (pool.wasInterrupted()) {
        // A puzzle stopped half-way has printed its partial figure but is not done.
        std::fprintf(stderr, "gridlark-cli: interrupted after %ld of %ld puzzles\n",
                     static_cast<long>(puzzles(done)) - (partial ? 1 : 0), static_cast<long>(puzzles(items.size())));
        return exitInterrupted;
    }
    std::fprintf(stderr, "gridlark-cli: a worker process ended before puzzle %ld\n",
                 static_cast<long>(puzzles(done) + 1));
    return exitNoSolution;
}

std::string GridlarkCli::render(const SudokuBoard& board, bool withCrc, PuzzleFormat fallback) const
{
    const PuzzleFormat format = outputFormat(fallback);
    std::string text;
    if (!PuzzleText::write(board, format, text))
        return "";
    if (format == PuzzleFormat::sdk || format == PuzzleFormat::ss)
        text += '\n';
    if (format == PuzzleFormat::boxed && withCrc && !options.quiet) {
        char crc[16];
        std::snprintf(crc, sizeof crc, "crc: %04X\n", static_cast<unsigned>(board.crc16()));
        text += crc;
    }
    return text;
}

std::string GridlarkCli::figures() const
{
    if (options.quiet || outputFormat(PuzzleFormat::boxed) != PuzzleFormat::boxed)
        return "";
    char text[64];
    std::snprintf(text, sizeof text, "%li; %li; %li\n", static_cast<long>(solver.getTries()),
                  static_cast<long>(solver.getMaxDepth()), static_cast<long>(solver.getDeadEnds()));
    return text;
}

int GridlarkCli::solve(const std::vector<std::string>& inputs, bool unique)
{
    const bool boxed = outputFormat(PuzzleFormat::boxed) == PuzzleFormat::boxed;
    const std::vector<Item> items = readInputs(inputs, boxed);
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        SudokuBoard board = boardOf(item.puzzle);
        std::string check;
        if (!board.isValid()) {
            err = item.label + ": " + UserTexts::invalidGrid + "\n";
            code = exitInvalidGrid;
            return;
        }
        if (!PuzzleText::write(board, outputFormat(PuzzleFormat::boxed), check)) {
            err = item.label + ": the " + PuzzleText::getFormatName(outputFormat(PuzzleFormat::boxed)) +
                " format holds grids up to 25x25\n";
            code = exitUsage;
            return;
        }
        if (!unique) {
            const SudokuBoard* solution = solver.solve(&board, false, false);
            if (!solution) {
                err = item.label + ": no solution\n";
                code = exitNoSolution;
                return;
            }
            out = render(*solution, true) + figures();
            return;
        }
        switch (solver.solveUnique(&board)) {
        case 0:
            out = boxed ? "none\n" : "";
            err = item.label + ": no solution\n";
            code = exitNoSolution;
            return;
        case 1:
            out = (boxed ? "unique\n" : "") + render(*solver.getSolution(0), true) + figures();
            return;
        default:
            if (boxed)
                out = "multiple\n" + render(*solver.getSolution(0), true) + render(*solver.getSolution(1), true) +
                    figures();
            err = item.label + ": more than one solution\n";
            code = exitSeveralSolutions;
            return;
        }
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
        const CountProcess::Result r = CountProcess::count(board, true, max, timeout, nullptr);
        using Stop = CountProcess::Stop;
        if (r.stop == Stop::failed) {
            err = item.label + ": the count could not be run\n";
            code = exitNoSolution;
        } else if (max != 0 && r.count >= max && r.stop != Stop::interrupted) {
            out = "at least " + std::to_string(max) + "\n";
            code = exitCountStopped;
        } else if (r.stop == Stop::timedOut) {
            out = "at least " + std::to_string(r.count) + "\n";
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%g", timeout);
            err = item.label + ": stopped after " + seconds + " s\n";
            code = exitCountStopped;
        } else if (r.stop == Stop::interrupted) {
            out = "at least " + std::to_string(r.count) + "\n";
            code = exitInterrupted;
        } else {
            out = std::to_string(r.count) + "\n";
            if (r.count == 0) {
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
    std::srand(puzzleSeed(options.seed, 0));
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

int GridlarkCli::show(const std::vector<std::string>& inputs)
{
    const std::vector<Item> items = readInputs(inputs, outputFormat(PuzzleFormat::boxed) == PuzzleFormat::boxed);
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        out = render(boardOf(item.puzzle), true);
        if (out.empty()) {
            err = item.label + ": the " + PuzzleText::getFormatName(outputFormat(PuzzleFormat::boxed)) +
                " format holds grids up to 25x25\n";
            code = exitUsage;
        }
    });
}

int GridlarkCli::format(const std::string& input, const std::string& outPath)
{
    std::vector<Item> items;
    const bool ok = readInput(input, items);
    for (const Item& item : items)
        if (!item.isPuzzle)
            std::fputs(item.err.c_str(), stderr);
    if (!ok)
        return items.empty() ? exitNoInnerSize : items.front().code;
    std::string text;
    for (const Item& item : items) {
        if (item.isPuzzle && !PuzzleText::write(boardOf(item.puzzle), outputFormat(PuzzleFormat::grid), text)) {
            std::fprintf(stderr, "%s: the %s format holds grids up to 25x25\n", item.label.c_str(),
                         PuzzleText::getFormatName(outputFormat(PuzzleFormat::grid)));
            return exitUsage;
        }
    }
    if (outPath.empty() || outPath == "-") {
        std::fputs(text.c_str(), stdout);
        return exitOk;
    }
    std::FILE* out = std::fopen(outPath.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "cannot open %s for writing: %s\n", outPath.c_str(), std::strerror(errno));
        return exitCannotOpen;
    }
    std::fputs(text.c_str(), out);
    const bool written = std::fflush(out) == 0 && !std::ferror(out);
    const int error = errno;
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "cannot write %s: %s\n", outPath.c_str(), std::strerror(written ? errno : error));
        return exitCannotOpen;
    }
    return exitOk;
}

int GridlarkCli::bench(const std::string& input, long limit, bool unique)
{
    std::vector<Item> all;
    // An empty input is a set of no puzzles.
    if (!readInput(input, all) && emptyInput)
        all.clear();
    for (const Item& item : all)
        if (!item.isPuzzle)
            std::fputs(item.err.c_str(), stderr);
    if (!all.empty() && !all.front().isPuzzle && all.front().code != exitOk)
        return all.front().code;
    std::vector<Item> items;
    for (Item& item : all)
        if (item.isPuzzle && (limit < 0 || static_cast<long>(items.size()) < limit))
            items.push_back(std::move(item));

    const std::string label = input == "-" ? "(standard input)" : input;
    std::vector<double> times;
    long solved = 0;
    long failures = 0;
    long counts[3] = {0, 0, 0};
    double tries = 0;
    double depths = 0;
    double deadEnds = 0;
    WorkerPool::catchInterrupt();
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < items.size() && !WorkerPool::interruptRequested(); ++i) {
        SudokuBoard puzzle = boardOf(items[i].puzzle);
        std::srand(puzzleSeed(options.seed, i));
        const auto before = std::chrono::steady_clock::now();
        const SudokuBoard* solution = nullptr;
        if (unique) {
            const std::uint32_t found = solver.solveUnique(&puzzle);
            ++counts[found];
            solution = solver.getSolution(0);
        } else {
            solution = solver.solve(&puzzle, false, false);
        }
        times.push_back(secondsSince(before));
        if (solution && solvesPuzzle(puzzle, *solution)) {
            ++solved;
            tries += solver.getTries();
            depths += solver.getMaxDepth();
            deadEnds += solver.getDeadEnds();
        } else {
            ++failures;
            std::fprintf(stderr, "%s: line %ld: %s\n", label.c_str(), items[i].puzzle.line,
                         solution ? "the solution does not check" : "no solution");
        }
    }
    const double total = secondsSince(start);
    const bool interrupted = WorkerPool::interruptRequested();

    const std::size_t count = times.size();
    double median = 0;
    double p99 = 0;
    if (count > 0) {
        std::sort(times.begin(), times.end());
        median = count % 2 ? times[count / 2] : (times[count / 2 - 1] + times[count / 2]) / 2;
        p99 = times[std::min(count - 1, (count * 99 + 99) / 100 - 1)];
    }
    const double perSolved = solved > 0 ? 1.0 / static_cast<double>(solved) : 0.0;
    std::printf("puzzles solved: %ld\n", solved);
    std::printf("failures: %ld\n", failures);
    std::printf("total time: %.3f s\n", total);
    std::printf("puzzles per second: %.0f\n", total > 0 ? static_cast<double>(count) / total : 0.0);
    std::printf("median time per puzzle: %.1f us\n", median * 1e6);
    std::printf("99th percentile time per puzzle: %.1f us\n", p99 * 1e6);
    std::printf("mean tries: %.3f\n", tries * perSolved);
    std::printf("mean greatest depth: %.3f\n", depths * perSolved);
    std::printf("mean dead ends: %.3f\n", deadEnds * perSolved);
    if (unique)
        std::printf("unique: %ld, multiple: %ld, none: %ld\n", counts[1], counts[2], counts[0]);

    if (options.jobs > 1 && !interrupted && !items.empty()) {
        // The same puzzles again on the worker pool, for the throughput of all jobs.
        long poolFailures = 0;
        const auto poolStart = std::chrono::steady_clock::now();
        const int code = runItems(items, false, [&](const Item& item, std::string&, std::string&, int& result) {
            SudokuBoard puzzle = boardOf(item.puzzle);
            const SudokuBoard* solution = solver.solve(&puzzle, false, false);
            result = solution && solvesPuzzle(puzzle, *solution) ? exitOk : exitNoSolution;
        });
        const double poolTotal = secondsSince(poolStart);
        if (code == exitInterrupted)
            return exitInterrupted;
        poolFailures += code != exitOk;
        std::printf("puzzles per second with %d jobs: %.0f\n", options.jobs,
                    poolTotal > 0 ? static_cast<double>(items.size()) / poolTotal : 0.0);
        failures += poolFailures;
    }
    if (interrupted) {
        std::fflush(stdout);
        std::fprintf(stderr, "gridlark-cli: interrupted after %zu of %zu puzzles\n", count, items.size());
        return exitInterrupted;
    }
    return failures > 0 ? exitNoSolution : exitOk;
}

std::optional<CandidateGrid> GridlarkCli::logicGrid(const Item& item, std::string& err, int& code) const
{
    if (!boardOf(item.puzzle).isValid()) {
        err = item.label + ": " + UserTexts::invalidGrid + "\n";
        code = exitInvalidGrid;
        return std::nullopt;
    }
    std::string probe;
    if (!PuzzleText::write(boardOf(item.puzzle), outputFormat(PuzzleFormat::boxed), probe)) {
        err = item.label + ": the " + PuzzleText::getFormatName(outputFormat(PuzzleFormat::boxed)) +
            " format holds grids up to 25x25\n";
        code = exitUsage;
        return std::nullopt;
    }
    std::optional<CandidateGrid> grid;
    if (item.puzzle.innerSize <= CandidateGrid::kMaxInnerSize)
        grid = CandidateGrid::fromValues({item.puzzle.values.begin(), item.puzzle.values.end()});
    if (!grid) {
        err = item.label + ": solving step by step works on grids up to 64x64 (box size " +
            std::to_string(CandidateGrid::kMaxInnerSize) + ")\n";
        code = exitUsage;
    }
    return grid;
}

int GridlarkCli::explain(const std::vector<std::string>& inputs, bool hintOnly)
{
    const bool boxed = outputFormat(PuzzleFormat::boxed) == PuzzleFormat::boxed;
    const std::vector<Item> items = readInputs(inputs, boxed);
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        const std::optional<CandidateGrid> grid = logicGrid(item, err, code);
        if (!grid)
            return;
        const GridLayout& layout = grid->getLayout();
        if (hintOnly) {
            if (notUnique(PuzzleRater::countSolutions(*grid), item.label, err, code))
                return;
            if (grid->isSolved()) {
                out = "The puzzle is solved.\n";
                return;
            }
            // The deep forcing chain always finds a step on a puzzle with one solution.
            if (const std::optional<Step> step = LogicalSolver(true).findNextStep(*grid)) {
                out = StepText::describe(*step, layout) + "\n";
            } else {
                err = item.label + ": no step found\n";
                code = exitNoSolution;
            }
            return;
        }
        const Rating rating = PuzzleRater::rate(*grid);
        if (notUnique(solutionsOf(rating), item.label, err, code))
            return;
        for (const Step& step : rating.steps)
            out += StepText::describe(step, layout) + "\n";
        out += render(boardOf(rating.solution, item.puzzle.innerSize), true);
    });
}

int GridlarkCli::rate(const std::vector<std::string>& inputs)
{
    const std::vector<Item> items = readInputs(inputs, false);
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        const std::optional<CandidateGrid> grid = logicGrid(item, err, code);
        if (!grid)
            return;
        const Rating rating = PuzzleRater::rate(*grid);
        if (notUnique(solutionsOf(rating), item.label, err, code))
            return;
        char figure[32];
        std::snprintf(figure, sizeof figure, rating.beyondScale ? "beyond %.1f " : "%.1f ", rating.rating);
        std::string line = figure + std::string(PuzzleRater::levelName(rating.level));
        const char* separator = " ";
        for (std::size_t t = 0; t < kTechniqueCount; ++t) {
            if (rating.counts[t] == 0)
                continue;
            line += separator + std::string(kTechniques[t].name) + ": " + std::to_string(rating.counts[t]);
            separator = ", ";
        }
        // The puzzle goes first when a format is asked for: in line format the
        // output reads back as the puzzles, the rating after the blank ignored.
        if (options.outputFormat == PuzzleFormat::automatic) {
            out = line + "\n";
            return;
        }
        out = render(boardOf(item.puzzle), false);
        if (options.outputFormat == PuzzleFormat::line && !out.empty())
            out.back() = ' ';
        out += line + "\n";
    });
}

int GridlarkCli::generate(int innerSize, std::optional<Level> level, Symmetry symmetry, int count)
{
    std::vector<Item> items(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].isPuzzle = true;
        items[i].ordinal = i;
    }
    return runItems(items, false, [&](const Item& item, std::string& out, std::string& err, int& code) {
        GeneratorOptions generatorOptions;
        generatorOptions.innerSize = innerSize;
        generatorOptions.level = level;
        generatorOptions.symmetry = symmetry;
        // Puzzle by puzzle, so that any number of jobs makes the same ones.
        generatorOptions.seed = puzzleSeed(options.seed, item.ordinal);
        const std::optional<GeneratedPuzzle> puzzle = PuzzleGenerator(generatorOptions).next();
        if (!puzzle) {
            err = "gridlark-cli: no " + std::string(level ? PuzzleRater::levelName(*level) : "") +
                (level ? " " : "") + "puzzle found in " + std::to_string(generatorOptions.maxAttempts) + " tries\n";
            code = exitNoSolution;
            return;
        }
        out = render(boardOf(puzzle->givens, innerSize), true, PuzzleFormat::line);
        if (out.empty()) {
            err = std::string("gridlark-cli: the ") + PuzzleText::getFormatName(outputFormat(PuzzleFormat::line)) +
                " format holds grids up to 25x25\n";
            code = exitUsage;
        }
    });
}
