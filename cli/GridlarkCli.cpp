#include "GridlarkCli.h"

#include "GlibcRandom.h"
#include "GridFile.h"
#include "PuzzleStream.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <poll.h>

// The batch pipeline every command shares: read the inputs in pieces, work on their
// puzzles on the worker pool, print the results in input order.

namespace {

// A reading's places count from the piece's first line.
std::string place(const std::string& label, const PuzzleDiagnostic& d, long firstLine)
{
    return label + ":" + std::to_string(d.line + firstLine - 1) + ":" + std::to_string(d.column) + ": ";
}

std::string nameOf(const std::string& input)
{
    return input == "-" ? "(standard input)" : input;
}

// A line of a line file that fits no notation, as a message in its place.
BatchItem lineError(const std::string& label, const PuzzleText& reader, const PuzzleDiagnostic& error, long firstLine)
{
    BatchItem bad;
    bad.err = place(label, error, firstLine) + "as " + PuzzleText::getFormatName(reader.getFormat()) + ": " +
        error.message + "\n";
    bad.code = GridlarkCli::exitInvalidGrid;
    return bad;
}

// Why an input could not be read on, as a message with its exit code.
void streamFailure(const PuzzleStream& stream, const std::string& label, BatchItem& message)
{
    const std::string at = label + ":" + std::to_string(stream.getErrorLine()) + ": ";
    switch (stream.getError()) {
    case PuzzleStream::Error::unreadable:
        message.err += "cannot read " + label + ": " + std::strerror(stream.getErrno()) + "\n";
        message.code = GridlarkCli::exitCannotOpen;
        break;
    case PuzzleStream::Error::lineTooLong:
        message.err += label + ":" + std::to_string(stream.getErrorLine()) + ":" +
            std::to_string(PuzzleStream::kMaxLine + 1) + ": a line longer than " +
            std::to_string(PuzzleStream::kMaxLine) + " characters; a one-line puzzle has at most 625\n";
        message.code = GridlarkCli::exitInvalidGrid;
        break;
    case PuzzleStream::Error::tooLarge:
        message.err += at + "more than " + std::to_string(PuzzleStream::kMaxWhole >> 20) +
            " MiB in a notation that is read whole; only one puzzle per line is read in pieces\n";
        message.code = GridlarkCli::exitInvalidGrid;
        break;
    default:
        message.err += at + "no puzzle in the first " + std::to_string(PuzzleStream::kMaxWhole >> 20) + " MiB\n";
        message.code = GridlarkCli::exitNoInnerSize;
        break;
    }
}

} // namespace

// The items of a run, inputs read in pieces as the pipeline has room for them.
class GridlarkCli::InputFeed {
public:
    InputFeed(GridlarkCli& cli, const std::vector<Item>& items, std::size_t toMake, long limit, bool emptyIsNone)
        : cli(cli), items(items), toMake(toMake), limit(limit), emptyIsNone(emptyIsNone), counts(items.size()),
          ended(items.size())
    {
    }

    bool read(BatchPipeline& pipeline);
    int waitFd() const { return stream.getFd(); }
    int sole(std::size_t group) const
    {
        if (ended[group])
            return counts[group] == 1 ? 1 : 0;
        return counts[group] > 1 ? 0 : -1;
    }

private:
    void addPuzzle(BatchPipeline& pipeline);
    void endInput(BatchPipeline& pipeline, bool failed);

    GridlarkCli& cli;
    const std::vector<Item>& items;
    std::size_t toMake;
    std::size_t made = 0;
    const PuzzleValues blank;
    long limit;
    bool emptyIsNone;
    std::size_t next = 0;
    bool streaming = false;
    std::size_t group = 0; // the open input's item
    std::string label;
    PuzzleStream stream;
    PuzzleText reader;
    std::size_t pending = 0; // the reader's next puzzle to add
    std::size_t pieceCount = 0;
    std::size_t pendingError = 0; // the reader's next line error to report
    std::size_t errorCount = 0;
    long pieceLine = 1;
    bool pieceWhole = false;
    PuzzleFormat format = PuzzleFormat::automatic;
    std::vector<std::size_t> counts; // puzzles of each input so far
    std::vector<bool> ended;
    long added = 0;
};

void GridlarkCli::InputFeed::addPuzzle(BatchPipeline& pipeline)
{
    const PuzzleValues& puzzle = reader.getPuzzles()[pending++];
    const long line = puzzle.line + pieceLine - 1;
    const std::size_t count = ++counts[group];
    // Read in pieces, a first puzzle alone in its piece may turn out alone in its input.
    const bool several = !pieceWhole || pieceCount > 1 || errorCount > 0;
    const bool soleOpen = !pieceWhole && count == 1 && pieceCount - stream.getRepeated() == 1;
    pipeline.addPuzzle(puzzle, line, cli.puzzlesRead++, label, several, group, soleOpen);
    ++added;
}

void GridlarkCli::InputFeed::endInput(BatchPipeline& pipeline, bool failed)
{
    const std::size_t count = counts[group];
    if (!failed && cli.options.verbose && count > 0)
        pipeline.addText("", label + ": " + std::to_string(count) + " puzzle" + (count == 1 ? "" : "s") + " read as " +
                             PuzzleText::getFormatName(format) + "\n",
                         exitOk);
    ended[group] = true;
    streaming = false;
    pending = pieceCount = pendingError = errorCount = 0;
    stream.close();
}

bool GridlarkCli::InputFeed::read(BatchPipeline& pipeline)
{
    while (pipeline.getRoom() > 0) {
        if (limit >= 0 && added >= limit) {
            if (streaming)
                endInput(pipeline, false);
            return false;
        }
        if (pending < pieceCount || pendingError < errorCount) {
            const std::vector<PuzzleDiagnostic>& lineErrors = reader.getLineErrors();
            if (pendingError < errorCount &&
                (pending == pieceCount || lineErrors[pendingError].line < reader.getPuzzles()[pending].line)) {
                const BatchItem bad = lineError(label, reader, lineErrors[pendingError++], pieceLine);
                pipeline.addText("", bad.err, bad.code);
            } else {
                addPuzzle(pipeline);
            }
            continue;
        }
        if (streaming) {
            bool ok = false;
            switch (stream.next(reader, ok)) {
            case PuzzleStream::Status::wait:
                return true;
            case PuzzleStream::Status::end:
                endInput(pipeline, false);
                continue;
            case PuzzleStream::Status::failed: {
                Item message;
                streamFailure(stream, label, message);
                pipeline.addText("", message.err, message.code);
                endInput(pipeline, true);
                continue;
            }
            case PuzzleStream::Status::piece:
                break;
            }
            Item message;
            const bool good = cli.readInput(label, reader, ok, stream.getFirstLine(), message);
            const bool none = emptyIsNone && !ok && reader.getFailure() == PuzzleText::Failure::empty;
            if (!message.err.empty() && !none)
                pipeline.addText("", message.err, message.code);
            if (!good) {
                endInput(pipeline, true);
                continue;
            }
            format = reader.getFormat();
            pending = stream.getRepeated();
            pieceCount = reader.getPuzzles().size();
            pieceLine = stream.getFirstLine();
            pieceWhole = stream.isWhole();
            pendingError = 0;
            errorCount = reader.getLineErrors().size();
            continue;
        }
        if (next == items.size()) {
            if (made == toMake)
                return false;
            // Puzzles made from nothing are numbered, not kept: any count takes no memory.
            pipeline.addPuzzle(blank, 0, made++, "", false, 0, false);
            ++added;
            continue;
        }
        const Item& item = items[next++];
        if (item.input.empty()) {
            if (item.isPuzzle) {
                pipeline.addPuzzle(item.puzzle, item.puzzle.line, item.ordinal, item.label, false, next - 1, false);
                ++added;
            } else {
                pipeline.addText(item.out, item.err, item.code);
            }
            continue;
        }
        group = next - 1;
        label = nameOf(item.input);
        if (!stream.open(item.input, cli.options.inputFormat, false)) {
            pipeline.addText("", "cannot open " + label + ": " + std::strerror(errno) + "\n", exitCannotOpen);
            ended[group] = true;
            continue;
        }
        streaming = true;
    }
    return true;
}

GridlarkCli::GridlarkCli(const CliOptions& options)
    : options(options)
{
    // The first cell of the process seeds the generator with the time; it must come
    // before any seed of ours.
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
    const std::string label = nameOf(input);
    Item message;
    PuzzleStream stream;
    if (!stream.open(input, options.inputFormat, true)) {
        message.err = "cannot open " + label + ": " + std::strerror(errno) + "\n";
        message.code = exitCannotOpen;
        items.push_back(std::move(message));
        return false;
    }
    PuzzleText reader;
    bool ok = false;
    PuzzleStream::Status status;
    while ((status = stream.next(reader, ok)) == PuzzleStream::Status::wait) {
        pollfd ready{stream.getFd(), POLLIN, 0};
        poll(&ready, 1, -1);
    }
    if (status != PuzzleStream::Status::piece) {
        streamFailure(stream, label, message);
        items.push_back(std::move(message));
        return false;
    }
    const bool good = readInput(label, reader, ok, stream.getFirstLine(), message);
    const std::size_t count = reader.getPuzzles().size();
    if (ok && options.verbose)
        message.err += label + ": " + std::to_string(count) + " puzzle" + (count == 1 ? "" : "s") + " read as " +
            PuzzleText::getFormatName(reader.getFormat()) + "\n";
    if (!message.err.empty())
        items.push_back(std::move(message));
    if (!good)
        return false;
    // Lines of a line file that fit nothing are named in their place among the
    // puzzles, which are all worked on.
    const std::vector<PuzzleDiagnostic>& lineErrors = reader.getLineErrors();
    std::size_t nextError = 0;
    const auto errorsBefore = [&](long line) {
        for (; nextError < lineErrors.size() && lineErrors[nextError].line < line; ++nextError)
            items.push_back(lineError(label, reader, lineErrors[nextError], stream.getFirstLine()));
    };
    for (const PuzzleValues& puzzle : reader.getPuzzles()) {
        errorsBefore(puzzle.line);
        Item item;
        item.isPuzzle = true;
        item.ordinal = puzzlesRead++;
        item.puzzle = puzzle;
        item.puzzle.line += stream.getFirstLine() - 1;
        item.label = count > 1 || !lineErrors.empty() ? label + ":" + std::to_string(item.puzzle.line) : label;
        items.push_back(std::move(item));
    }
    errorsBefore(std::numeric_limits<long>::max());
    return true;
}

bool GridlarkCli::readInput(const std::string& label, const PuzzleText& reader, bool ok, long firstLine, Item& message)
{
    for (const PuzzleDiagnostic& warning : reader.getWarnings()) {
        message.err += place(label, warning, firstLine) + (options.strict ? "error: " : "warning: ") + warning.message + "\n";
        message.code = options.strict ? exitInvalidGrid : exitOk;
    }
    if (!ok) {
        const PuzzleDiagnostic& error = reader.getError();
        switch (reader.getFailure()) {
        case PuzzleText::Failure::empty:
            message.err += label + ": " + error.message + "\n";
            message.code = exitNoInnerSize;
            break;
        case PuzzleText::Failure::noInnerSize:
            message.err += place(label, error, firstLine) + error.message + "\n";
            message.code = exitNoInnerSize;
            break;
        case PuzzleText::Failure::innerSizeOutOfRange:
            message.err += place(label, error, firstLine) + error.message + "\n";
            message.code = exitInnerSizeOutOfRange;
            break;
        case PuzzleText::Failure::ambiguous:
            message.err += place(label, error, firstLine) + error.message + "; choose one with --input-format\n";
            message.code = exitInvalidGrid;
            break;
        default:
            message.err += place(label, error, firstLine) + error.message + "\n";
            message.code = exitInvalidGrid;
            break;
        }
    }
    if (ok && options.verbose)
        for (const PuzzleDiagnostic& note : reader.getNotes())
            message.err += place(label, note, firstLine) + note.message + "\n";
    return ok && message.code == exitOk;
}

std::vector<GridlarkCli::Item> GridlarkCli::readInputs(const std::vector<std::string>& inputs, bool headers)
{
    std::vector<Item> items;
    for (const std::string& input : inputs) {
        if (headers && inputs.size() > 1) {
            Item header;
            header.out = nameOf(input) + ":\n";
            items.push_back(std::move(header));
        }
        Item item;
        item.input = input;
        items.push_back(std::move(item));
    }
    return items;
}

int GridlarkCli::runItems(const std::vector<Item>& items, bool finishTask, const Work& work, std::size_t toMake)
{
    BatchPipeline pipeline(options.jobs, finishTask);
    return runBatch(
        pipeline, items, [&](const Item& item, TaskResult& result) { work(item, result.out, result.err, result.code); },
        {}, -1, false, toMake);
}

int GridlarkCli::runBatch(BatchPipeline& pipeline, const std::vector<Item>& items, const BatchPipeline::Work& work,
                          const BatchPipeline::Done& done, long limit, bool emptyIsNone, std::size_t toMake)
{
    InputFeed feed(*this, items, toMake, limit, emptyIsNone);
    const BatchPipeline::Source source{[&](BatchPipeline& into) { return feed.read(into); },
                                       [&] { return feed.waitFd(); },
                                       [&](std::size_t group) { return feed.sole(group); }};
    return pipeline.run(
        source,
        [&](const Item& item, TaskResult& result) {
            GlibcRandom::shared().seed(puzzleSeed(options.seed, item.ordinal));
            work(item, result);
        },
        done);
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

void GridlarkCli::renderValues(const std::uint16_t* values, int innerSize, std::string& out)
{
    // The notations of characters are written from the values; the others need a board.
    const PuzzleFormat format = outputFormat(PuzzleFormat::boxed);
    if (PuzzleText::writeValues(values, innerSize, format, out)) {
        if (format != PuzzleFormat::line)
            out += '\n';
        return;
    }
    out += render(scratchBoard(values, innerSize), true);
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

const SudokuBoard& GridlarkCli::scratchBoard(const std::uint16_t* values, int innerSize)
{
    if (!scratch || scratch->getInnerSize() != innerSize)
        scratch = std::make_unique<SudokuBoard>(innerSize);
    const int side = scratch->getSize();
    for (int i = 0; i < side * side; ++i)
        scratch->cellAt(i / side, i % side)->setValue(values[i]);
    return *scratch;
}
