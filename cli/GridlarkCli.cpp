#include "GridlarkCli.h"

#include "GridFile.h"
#include "PuzzleReader.h"
#include "UserTexts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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
    std::vector<std::uint64_t> seen(3 * static_cast<std::size_t>(size) * ((size + 63) / 64), 0);
    const int words = (size + 63) / 64;
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

} // namespace

std::unique_ptr<SudokuBoard> GridlarkCli::readBoard(const std::string& file, int& exitCode)
{
    GridRead read = readGridFile(file.c_str());
    std::fputs(read.message(file.c_str()).c_str(), stderr);
    exitCode = read.exitCode();
    return std::move(read.board);
}

void GridlarkCli::printSolution(const SudokuBoard& board)
{
    solver.printBoard(&board);
    std::printf("crc: %04X\n", static_cast<unsigned>(board.crc16()));
}

void GridlarkCli::printFigures()
{
    std::printf("%li; %li; %li\n", static_cast<long>(solver.getTries()), static_cast<long>(solver.getMaxDepth()),
                static_cast<long>(solver.getDeadEnds()));
}

std::unique_ptr<SudokuBoard> GridlarkCli::readValidBoard(const std::string& file, int& exitCode)
{
    std::unique_ptr<SudokuBoard> board = readBoard(file, exitCode);
    if (board && !board->isValid()) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), UserTexts::invalidGrid);
        exitCode = exitInvalidGrid;
        return nullptr;
    }
    return board;
}

int GridlarkCli::solveOne(const std::string& file, bool unique)
{
    int code = exitOk;
    std::unique_ptr<SudokuBoard> board = readValidBoard(file, code);
    if (!board)
        return code;
    if (!unique) {
        const SudokuBoard* solution = solver.solve(board.get(), false, false);
        if (!solution) {
            std::fprintf(stderr, "%s: no solution\n", file.c_str());
            return exitNoSolution;
        }
        printSolution(*solution);
        printFigures();
        return exitOk;
    }
    switch (solver.solveUnique(board.get())) {
    case 0:
        std::printf("none\n");
        std::fprintf(stderr, "%s: no solution\n", file.c_str());
        return exitNoSolution;
    case 1:
        std::printf("unique\n");
        printSolution(*solver.getSolution(0));
        printFigures();
        return exitOk;
    default:
        std::printf("multiple\n");
        printSolution(*solver.getSolution(0));
        printSolution(*solver.getSolution(1));
        printFigures();
        std::fprintf(stderr, "%s: more than one solution\n", file.c_str());
        return exitSeveralSolutions;
    }
}

int GridlarkCli::solve(const std::vector<std::string>& files, bool unique)
{
    int result = exitOk;
    for (const std::string& file : files) {
        if (files.size() > 1)
            std::printf("%s:\n", file.c_str());
        const int code = solveOne(file, unique);
        std::fflush(stdout);
        if (result == exitOk)
            result = code;
    }
    return result;
}

int GridlarkCli::list(const std::string& file, bool sparse)
{
    int code = exitOk;
    std::unique_ptr<SudokuBoard> board = readValidBoard(file, code);
    if (!board)
        return code;
    solver.solve(board.get(), true, sparse);
    std::fflush(stdout);
    const unsigned long count = solver.getSolutionCount();
    std::fprintf(stderr, "%s: %lu solution%s\n", file.c_str(), count, count == 1 ? "" : "s");
    return count == 0 ? exitNoSolution : exitOk;
}

int GridlarkCli::show(const std::string& file)
{
    int code = exitOk;
    std::unique_ptr<SudokuBoard> board = readBoard(file, code);
    if (!board)
        return code;
    printSolution(*board);
    return exitOk;
}

int GridlarkCli::format(const std::string& file, const std::string& outPath)
{
    int code = exitOk;
    std::unique_ptr<SudokuBoard> board = readBoard(file, code);
    if (!board)
        return code;
    if (outPath.empty() || outPath == "-") {
        board->writeGrid(stdout);
        return exitOk;
    }
    std::FILE* out = std::fopen(outPath.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "%s: cannot open for writing\n", outPath.c_str());
        return exitCannotOpen;
    }
    board->writeGrid(out);
    if (std::fclose(out) != 0) {
        std::fprintf(stderr, "%s: write failed\n", outPath.c_str());
        return exitCannotOpen;
    }
    return exitOk;
}

int GridlarkCli::bench(const std::string& file, long limit, bool unique)
{
    PuzzleReader reader(file);
    if (!reader.isOpen()) {
        std::fprintf(stderr, "%s: cannot open\n", file.c_str());
        return exitCannotOpen;
    }
    const bool progress = isatty(STDERR_FILENO) != 0;
    SudokuBoard puzzle(3);
    std::array<int, PuzzleReader::kCells> values{};
    std::vector<double> times;
    long solved = 0;
    long failures = 0;
    long counts[3] = {0, 0, 0};
    double tries = 0;
    double depths = 0;
    double deadEnds = 0;
    const auto start = std::chrono::steady_clock::now();
    while (limit < 0 || static_cast<long>(times.size()) < limit) {
        const PuzzleReader::Result result = reader.next(values);
        if (result == PuzzleReader::Result::end)
            break;
        if (result == PuzzleReader::Result::malformed) {
            if (progress)
                std::fputc('\n', stderr);
            std::fprintf(stderr, "%s: %s\n", file.c_str(), reader.getError().c_str());
            return exitInvalidGrid;
        }
        for (int i = 0; i < PuzzleReader::kCells; ++i)
            puzzle.cellAt(i / 9, i % 9)->setValue(values[i]);
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
            std::fprintf(stderr, "%s: line %ld: %s\n", file.c_str(), reader.getLineNumber(),
                         solution ? "the solution does not check" : "no solution");
        }
        if (progress && times.size() % 1000 == 0)
            std::fprintf(stderr, "\r%zu puzzles", times.size());
    }
    const double total = secondsSince(start);
    if (progress)
        std::fprintf(stderr, "\r\033[K");

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
    return failures > 0 ? exitNoSolution : exitOk;
}
