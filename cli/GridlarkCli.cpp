#include "GridlarkCli.h"

#include "GridFile.h"
#include "WorkerPool.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

// The batch pipeline every command shares: read the inputs into items, work on them
// on the worker pool, print the results in input order.

namespace {

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

SudokuBoard GridlarkCli::boardOf(const PuzzleValues& puzzle)
{
    SudokuBoard board(puzzle.innerSize);
    const int side = board.getSize();
    for (int i = 0; i < side * side; ++i)
        board.cellAt(i / side, i % side)->setValue(puzzle.values[static_cast<std::size_t>(i)]);
    return board;
}

SudokuBoard GridlarkCli::boardOf(const std::vector<int>& values, int innerSize)
{
    PuzzleValues puzzle;
    puzzle.innerSize = innerSize;
    puzzle.values.assign(values.begin(), values.end());
    return boardOf(puzzle);
}
