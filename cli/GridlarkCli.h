#pragma once

#include "BatchPipeline.h"
#include "CompleteSolver.h"
#include "PictureModule.h"
#include "PuzzleGenerator.h"
#include "PuzzleText.h"
#include "SudokuBoard.h"
#include "SudokuSolver.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How every command reads, prints and runs.
struct CliOptions {
    std::uint64_t seed = 0;
    bool verbose = false;
    int jobs = 1;
    PuzzleFormat inputFormat = PuzzleFormat::automatic;
    PuzzleFormat outputFormat = PuzzleFormat::automatic; // automatic: the command's own
    bool quiet = false;
    bool strict = false;
};

// The commands of gridlark-cli. Each returns the process exit code; results go to
// standard output, every error message to standard error with the input's name.
class GridlarkCli {
public:
    enum ExitCode {
        exitOk = 0,
        exitCannotOpen = SudokuBoard::kExitCannotOpen,
        exitNoInnerSize = SudokuBoard::kExitNoInnerSize,
        exitInvalidGrid = 3,
        exitNoSolution = 4,
        exitSeveralSolutions = 5,
        exitInnerSizeOutOfRange = SudokuBoard::kExitInnerSizeOutOfRange,
        exitCountStopped = 7,
        exitUsage = 64,
        exitNoPictures = 69,
        exitInterrupted = 130,
    };

    // Which engine solve uses: the exact search (figures, random choices), the
    // complete one (no figures), or the exact one with the complete one taking
    // over a grid above 9x9 that passes the exact search's first time limit.
    enum class Engine { exact, complete, automatic };

    explicit GridlarkCli(const CliOptions& options);

    // With several inputs, each is handled in turn; the result is the code of the
    // first puzzle or input that failed.
    int solve(const std::vector<std::string>& inputs, bool unique, Engine engine = Engine::automatic);
    // max 0: no cap; timeout 0: no limit.
    int count(const std::vector<std::string>& inputs, std::uint64_t max, double timeout);
    int list(const std::string& input, bool sparse, std::uint64_t max);
    int show(const std::vector<std::string>& inputs);
    int format(const std::string& input, const std::string& outPath);
    // limit < 0: every puzzle of the input.
    int bench(const std::string& input, long limit, bool unique);

    // Every step in words, then the solution; with hintOnly only the next step; with
    // html one page with every step drawn.
    int explain(const std::vector<std::string>& inputs, bool hintOnly, bool html = false);
    // One line per puzzle: rating, level and the steps of each technique used.
    int rate(const std::vector<std::string>& inputs);
    // A puzzle book: the puzzles drawn with their level and rating, solutions after them.
    int print(const std::vector<std::string>& inputs, const PrintOptions& print);
    // count puzzles with one solution each, of the level when one is given.
    int generate(int innerSize, std::optional<Level> level, Symmetry symmetry, int count);

    // The seed of puzzle number index of a run: the same for any worker.
    static unsigned puzzleSeed(std::uint64_t seed, std::size_t index);

private:
    using Item = BatchItem;
    using Work = std::function<void(const Item&, std::string&, std::string&, int&)>;
    class InputFeed;

    // Reads one input ("-": standard input) whole, up to its bound, into items; false
    // when it gave no puzzle.
    bool readInput(const std::string& input, std::vector<Item>& items);
    // The messages of one reading of an input, or of a piece of it that starts on
    // firstLine: its warnings and failure. False when it gave no puzzles to work on.
    bool readInput(const std::string& label, const PuzzleText& reader, bool ok, long firstLine, Item& message);
    // The inputs as items, each read in pieces when the run reaches it.
    std::vector<Item> readInputs(const std::vector<std::string>& inputs, bool headers);
    // Runs work over the items, then over toMake empty puzzles numbered from 0 (the
    // puzzles generate makes), on the worker pool and prints the results in order.
    int runItems(const std::vector<Item>& items, bool finishTask, const Work& work, std::size_t toMake = 0);
    // The same with each puzzle's whole result, handed to done in order; at most limit
    // puzzles (limit < 0: all); emptyIsNone: an empty input is a batch of no puzzles.
    int runBatch(BatchPipeline& pipeline, const std::vector<Item>& items, const BatchPipeline::Work& work,
                 const BatchPipeline::Done& done, long limit, bool emptyIsNone, std::size_t toMake = 0);
    std::string render(const SudokuBoard& board, bool withCrc, PuzzleFormat fallback = PuzzleFormat::boxed) const;
    // A solution's values as render writes them, with the crc, appended to out.
    void renderValues(const std::uint16_t* values, int innerSize, std::string& out);
    // The puzzle on the logic library's grid; nothing, with the message and code set,
    // when it is invalid or too large for it.
    std::optional<CandidateGrid> logicGrid(const Item& item, std::string& err, int& code) const;
    std::string figures() const;
    static SudokuBoard boardOf(const PuzzleValues& puzzle);
    static SudokuBoard boardOf(const std::vector<int>& values, int innerSize);
    // A board holding the values (row-major), kept from one puzzle to the next.
    const SudokuBoard& scratchBoard(const std::uint16_t* values, int innerSize);
    PuzzleFormat outputFormat(PuzzleFormat fallback) const;

    CliOptions options;
    SudokuSolver solver;
    CompleteSolver complete;
    std::size_t puzzlesRead = 0;
    std::unique_ptr<SudokuBoard> scratch;
};
