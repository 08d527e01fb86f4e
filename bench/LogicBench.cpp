// Throughput of the logic library, one core: rating a puzzle file and generating
// puzzles of a level. Prints one line of figures per run.
//
//   logic_bench rate FILE [LIMIT]        puzzles/s, median and 99th percentile per puzzle
//                                        (CPU time)
//   logic_bench path FILE [LIMIT]        the same for the step-by-step path alone, without
//                                        the solution count (puzzles of many solutions
//                                        are followed until no technique applies)
//   logic_bench generate LEVEL COUNT [N] puzzles/s for inner size N (default 3); LEVEL any
//                                        takes the first minimal puzzle made (seed 1; with
//                                        LOGIC_BENCH_VERBOSE set, prints each puzzle and rating)
//   logic_bench calibrate FILE [EVERY]   puzzles with published ratings ("PUZZLE RATING"),
//                                        every EVERY-th line: Spearman's rank correlation,
//                                        share within 0.5 overall and per band, the largest
//                                        share of one value at 7.5 and up, time per puzzle
//   logic_bench sound FILE [LIMIT]       checks every step of every puzzle's path against
//                                        the search solver's solution: no elimination of
//                                        its value, no other placement, and a puzzle of one
//                                        solution solved to it (one of several solutions is
//                                        followed up to dynamic forcing chains); exits 1 on
//                                        any fault
#include "LogicalSolver.h"
#include "PuzzleGenerator.h"
#include "PuzzleRater.h"
#include "SolutionCounter.h"
#include "StepText.h"
#include "SudokuBoard.h"
#include "SudokuSolver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The process's CPU time: on a shared machine wall time says more about the neighbours.
double cpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// One puzzle per line: 81 characters ('.' or '0' blank), 256 letters ('.' blank,
// A-P for 1-16), or whitespace-separated numbers (0 blank) for any size.
std::vector<int> parsePuzzle(const std::string& line)
{
    std::vector<int> values;
    if (line.size() == 81 || line.size() == 256) {
        for (const char ch : line) {
            if (ch == '.' || ch == '0')
                values.push_back(0);
            else if (line.size() == 81 && ch >= '1' && ch <= '9')
                values.push_back(ch - '0');
            else if (line.size() == 256 && ch >= 'A' && ch <= 'P')
                values.push_back(ch - 'A' + 1);
            else
                return {};
        }
        return values;
    }
    std::istringstream in(line);
    for (int v; in >> v;)
        values.push_back(v);
    return values;
}

int rate(const char* path, std::size_t limit, bool pathOnly)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "logic_bench: cannot open %s\n", path);
        return 1;
    }
    std::vector<double> times;
    int rated = 0, many = 0, none = 0, unreadable = 0, beyond = 0;
    std::vector<double> ratings;
    std::array<int, kLevels.size()> levels{};
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSeconds();
    for (std::string line; times.size() < limit && std::getline(in, line);) {
        if (line.empty())
            continue;
        const std::optional<CandidateGrid> grid = CandidateGrid::fromValues(parsePuzzle(line));
        if (!grid) {
            ++unreadable;
            continue;
        }
        const double one = cpuSeconds();
        Rating rating;
        if (pathOnly) {
            CandidateGrid work = *grid;
            const LogicalPath steps = LogicalSolver(false).solve(work);
            rating.status = steps.solved ? Rating::Status::Rated : Rating::Status::ManySolutions;
            for (const Step& step : steps.steps)
                rating.rating = std::max(rating.rating, step.weight);
            rating.level = PuzzleRater::levelOf(rating.rating);
        } else {
            rating = PuzzleRater::rate(*grid);
        }
        times.push_back(cpuSeconds() - one);
        if (rating.status == Rating::Status::Rated) {
            ++rated;
            beyond += rating.beyondScale;
            ratings.push_back(rating.rating);
            ++levels[static_cast<std::size_t>(rating.level)];
        } else {
            ++(rating.status == Rating::Status::ManySolutions ? many : none);
        }
    }
    const double total = secondsSince(start);
    const double cpu = cpuSeconds() - cpuStart;
    if (times.empty()) {
        std::fprintf(stderr, "logic_bench: no puzzle read from %s\n", path);
        return 1;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double p99 = times[std::min(times.size() - 1, times.size() * 99 / 100)];
    std::printf("%zu puzzles in %.3f s CPU (%.3f s wall): %.0f puzzles/s of CPU time, per puzzle (CPU) median %.3f ms, "
                "p99 %.3f ms, max %.3f ms\n",
                times.size(), cpu, total, static_cast<double>(times.size()) / cpu, median * 1e3, p99 * 1e3,
                times.back() * 1e3);
    std::printf("rated %d (", rated);
    for (const LevelInfo& info : kLevels)
        std::printf("%s%.*s %d", info.level == Level::Easy ? "" : ", ", static_cast<int>(info.name.size()),
                    info.name.data(), levels[static_cast<std::size_t>(info.level)]);
    std::printf(pathOnly ? "), stuck %d, none %d, unreadable %d\n" : "), more than one solution %d, none %d, unreadable %d\n",
                many, none, unreadable);
    if (!ratings.empty()) {
        std::sort(ratings.begin(), ratings.end());
        std::printf("ratings: min %.1f, median %.1f, max %.1f, beyond 11.9: %d\n", ratings.front(),
                    ratings[ratings.size() / 2], ratings.back(), beyond);
    }
    return 0;
}

int generate(const char* levelName, int count, int innerSize)
{
    const bool anyLevel = std::string(levelName) == "any";
    const std::optional<Level> level = PuzzleRater::parseLevel(levelName);
    if ((!level && !anyLevel) || count < 1) {
        std::fprintf(stderr, "logic_bench: generate wants a level (easy ... extreme, or any) and a count\n");
        return 2;
    }
    GeneratorOptions options;
    options.innerSize = innerSize;
    options.level = level;
    options.seed = 1;
    PuzzleGenerator generator(options);
    const bool verbose = std::getenv("LOGIC_BENCH_VERBOSE") != nullptr;
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSeconds();
    double slowest = 0;
    for (int i = 0; i < count; ++i) {
        const double one = cpuSeconds();
        const std::optional<GeneratedPuzzle> puzzle = generator.next();
        slowest = std::max(slowest, cpuSeconds() - one);
        if (!puzzle) {
            std::fprintf(stderr, "logic_bench: no %s puzzle within %d attempts\n", levelName, options.maxAttempts);
            return 1;
        }
        if (verbose) {
            for (const int value : puzzle->givens)
                std::printf("%d ", value);
            std::printf("%.1f\n", puzzle->rating.rating);
        }
    }
    const double total = secondsSince(start);
    const double cpu = cpuSeconds() - cpuStart;
    std::printf("%d %s puzzles of inner size %d in %.3f s CPU (%.3f s wall): %.2f puzzles/s of CPU time, slowest %.3f s\n",
                count, levelName, innerSize, cpu, total, count / cpu, slowest);
    return 0;
}

// Ranks with ties sharing their mean rank.
std::vector<double> ranks(const std::vector<double>& values)
{
    std::vector<std::size_t> order(values.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> result(values.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i;
        while (j < order.size() && values[order[j]] == values[order[i]])
            ++j;
        for (std::size_t k = i; k < j; ++k)
            result[order[k]] = (static_cast<double>(i + j) - 1) / 2;
        i = j;
    }
    return result;
}

double spearman(const std::vector<double>& a, const std::vector<double>& b)
{
    const std::vector<double> ra = ranks(a), rb = ranks(b);
    const double n = static_cast<double>(a.size());
    double ma = 0, mb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ma += ra[i] / n;
        mb += rb[i] / n;
    }
    double sab = 0, saa = 0, sbb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        sab += (ra[i] - ma) * (rb[i] - mb);
        saa += (ra[i] - ma) * (ra[i] - ma);
        sbb += (rb[i] - mb) * (rb[i] - mb);
    }
    return sab / std::sqrt(saa * sbb);
}

int calibrate(const char* path, std::size_t every)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "logic_bench: cannot open %s\n", path);
        return 1;
    }
    std::vector<double> published, ours, times;
    std::size_t line = 0;
    const bool verbose = std::getenv("LOGIC_BENCH_VERBOSE") != nullptr;
    for (std::string text; std::getline(in, text);) {
        if (line++ % every != 0 || text.size() < 83)
            continue;
        const std::optional<CandidateGrid> grid = CandidateGrid::fromValues(parsePuzzle(text.substr(0, 81)));
        if (!grid)
            continue;
        const Clock::time_point one = Clock::now();
        const Rating rating = PuzzleRater::rate(*grid);
        times.push_back(secondsSince(one));
        if (rating.status != Rating::Status::Rated)
            continue;
        published.push_back(std::strtod(text.c_str() + 82, nullptr));
        ours.push_back(rating.rating);
        if (verbose) {
            const Step* hardest = nullptr;
            for (const Step& step : rating.steps)
                if (!hardest || step.weight > hardest->weight)
                    hardest = &step;
            std::size_t nodes = hardest ? hardest->proof.size() : 0;
            if (hardest && !hardest->branches.empty()) {
                nodes = 0;
                for (const ChainBranch& branch : hardest->branches)
                    nodes += branch.nodes.size();
            }
            std::printf("%s %.1f %.1f %zu %s\n", text.substr(0, 81).c_str(), published.back(), ours.back(), nodes,
                        hardest ? std::string(techniqueInfo(hardest->technique).name).c_str() : "-");
        }
    }
    if (published.empty()) {
        std::fprintf(stderr, "logic_bench: no rated puzzle read from %s\n", path);
        return 1;
    }
    struct Band {
        double low, high;
        int count = 0, close = 0;
    };
    std::vector<Band> bands{{0, 2.35}, {2.35, 5.65}, {5.65, 7.45}, {7.45, 20}, {0, 20}};
    std::map<double, int> topValues;
    int top = 0;
    for (std::size_t i = 0; i < published.size(); ++i) {
        for (Band& band : bands)
            if (published[i] >= band.low && published[i] < band.high) {
                ++band.count;
                band.close += std::fabs(published[i] - ours[i]) <= 0.501;
            }
        if (published[i] >= 7.45) {
            ++top;
            ++topValues[std::round(ours[i] * 10) / 10];
        }
    }
    int largest = 0;
    for (const auto& [value, count] : topValues)
        largest = std::max(largest, count);
    std::sort(times.begin(), times.end());
    double total = 0;
    for (const double t : times)
        total += t;
    std::printf("%zu puzzles: Spearman %.4f\n", published.size(), spearman(published, ours));
    for (const Band& band : bands)
        std::printf("published %.1f-%.1f: %d puzzles, %.1f%% within 0.5\n", band.low, band.high, band.count,
                    band.count ? 100.0 * band.close / band.count : 0.0);
    std::printf("published >= 7.5: largest share of one value %.1f%%\n", top ? 100.0 * largest / top : 0.0);
    std::printf("time: total %.2f s, median %.3f ms, max %.1f ms\n", total, times[times.size() / 2] * 1e3,
                times.back() * 1e3);
    return 0;
}

// The search solver's first solution: with several, any one of them keeps every sound
// step's eliminations and placements.
std::vector<int> searchSolution(const std::vector<int>& givens, int innerSize)
{
    const int size = innerSize * innerSize;
    SudokuBoard board(innerSize);
    for (int cell = 0; cell < size * size; ++cell)
        board.cellAt(cell / size, cell % size)->setValue(givens[static_cast<std::size_t>(cell)]);
    SudokuSolver solver;
    const SudokuBoard* solution = solver.solve(&board, false, false);
    std::vector<int> values;
    for (int cell = 0; solution && cell < size * size; ++cell)
        values.push_back(solution->valueAt(cell / size, cell % size));
    return values;
}

int sound(const char* path, std::size_t limit)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "logic_bench: cannot open %s\n", path);
        return 1;
    }
    std::size_t puzzles = 0, steps = 0, unique = 0, several = 0, faults = 0;
    const Clock::time_point start = Clock::now();
    for (std::string line; puzzles < limit && std::getline(in, line);) {
        const std::vector<int> givens = parsePuzzle(line);
        std::optional<CandidateGrid> grid = CandidateGrid::fromValues(givens);
        if (!grid)
            continue;
        ++puzzles;
        const std::vector<int> solution = searchSolution(givens, grid->getInnerSize());
        const bool one = SolutionCounter::count(*grid, 2) == 1;
        ++(one ? unique : several);
        // With several solutions the deep forcing chain's refutations need not exist, and
        // its search for them can take hours on large grids: such puzzles stop before it.
        const LogicalSolver logic(one, one ? LogicalSolver::kNoCap : techniqueInfo(Technique::DynamicForcingChain).weight);
        while (const std::optional<Step> step = logic.findNextStep(*grid)) {
            ++steps;
            bool wrong = false;
            for (const Candidate& c : step->eliminations)
                wrong |= solution[static_cast<std::size_t>(c.cell)] == c.value;
            for (const Candidate& c : step->placements)
                wrong |= solution[static_cast<std::size_t>(c.cell)] != c.value;
            if (wrong) {
                ++faults;
                std::printf("unsound step in puzzle %zu: %s\n", puzzles, StepText::describe(*step, grid->getLayout()).c_str());
                break;
            }
            LogicalSolver::applyStep(*grid, *step);
        }
        if (one && grid->getValues() != solution) {
            ++faults;
            std::printf("puzzle %zu: the path stops short of its one solution\n", puzzles);
        }
    }
    std::printf("%zu puzzles (%zu of one solution, %zu of several), %zu steps checked in %.1f s: %zu faults\n", puzzles,
                unique, several, steps, secondsSince(start), faults);
    return faults == 0 && puzzles > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if ((command == "rate" || command == "path") && argc >= 3)
        return rate(argv[2], argc > 3 ? std::strtoull(argv[3], nullptr, 10) : SIZE_MAX, command == "path");
    if (command == "calibrate" && argc >= 3)
        return calibrate(argv[2], argc > 3 ? std::max<std::size_t>(1, std::strtoull(argv[3], nullptr, 10)) : 1);
    if (command == "sound" && argc >= 3)
        return sound(argv[2], argc > 3 ? std::strtoull(argv[3], nullptr, 10) : SIZE_MAX);
    if (command == "generate" && argc >= 4)
        return generate(argv[2], std::atoi(argv[3]), argc > 4 ? std::atoi(argv[4]) : 3);
    std::fprintf(stderr, "usage: logic_bench rate|path|sound FILE [LIMIT] | logic_bench calibrate FILE [EVERY] | logic_bench generate LEVEL COUNT [INNER_SIZE]\n");
    return 2;
}
