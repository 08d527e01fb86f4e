#include "GridlarkCli.h"
#include "GridlarkVersion.h"
#include "WorkerPool.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

const char* const kExitCodes = R"(
Exit codes:
  0   success
  1   an input cannot be opened, or the output cannot be written
  2   an input holds no puzzle (empty, or a grid file without its box size)
  3   invalid: a grid with repeated values, an input that fits no format or two, a warning under --strict
  4   no solution (bench: a puzzle failed verification; generate: no puzzle of the level was found; print: the book is written with the puzzle marked)
  5   more than one solution (solve --unique, explain, hint, rate; print: the book is written with the puzzle marked)
  6   the box size is out of range (0 to 16)
  7   a count stopped at --max or --timeout ("at least N")
  64  usage error
  69  print or explain --format html cannot load the picture module
  130 interrupted (Ctrl+C); what was done so far is printed)";

const char* const kCommands[] = {"solve", "count", "list", "show", "format", "bench",
                                 "explain", "hint", "rate", "generate", "print"};

// Options of the program that take a value, so that the command can be found
// among the arguments before they are parsed.
const char* const kValueOptions[] = {"--seed", "--jobs", "-j", "--input-format", "--format"};

// A whole number in [low, high], written in digits; a readable message otherwise.
CLI::Validator wholeNumber(unsigned long long low, unsigned long long high)
{
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            errno = 0;
            char* end = nullptr;
            const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
            if (text.empty() || text[0] == '-' || text[0] == '+' || *end != '\0' || errno == ERANGE || value < low ||
                value > high)
                return "must be a whole number from " + std::to_string(low) +
                    (high == ~0ULL ? " up" : " to " + std::to_string(high)) + ", not '" + text + "'";
            return "";
        },
        "NUMBER");
}

std::uint64_t freshSeed()
{
    // A clock finer than a second and the process id: two runs in the same second differ.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    return (static_cast<std::uint64_t>(nanoseconds) ^ (static_cast<std::uint64_t>(getpid()) << 40)) % 1000000000000ULL;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--")
            break;
        if (!arg.empty() && arg[0] == '-') {
            for (const char* option : kValueOptions)
                if (arg == option)
                    ++i;
            continue;
        }
        bool known = false;
        for (const char* command : kCommands)
            known = known || arg == command;
        if (!known) {
            std::fprintf(stderr, "gridlark-cli: unknown command '%s'; the commands are", arg.c_str());
            for (const char* command : kCommands)
                std::fprintf(stderr, " %s", command);
            std::fprintf(stderr, "\nRun with --help for more information.\n");
            return GridlarkCli::exitUsage;
        }
        break;
    }

    CLI::App app{"Solves Sudoku grids of any box size with Gridlark's solver; explains, rates and makes puzzles.",
                 "gridlark-cli"};
    app.set_version_flag("--version", "gridlark-cli " GRIDLARK_VERSION);
    app.footer(kExitCodes);
    app.require_subcommand(1);
    app.fallthrough();

    CliOptions options;
    std::string seedText;
    std::string inputFormat = "auto";
    std::string outputFormat;
    options.jobs = static_cast<int>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    const std::vector<std::string> inputNames = {"auto", "grid", "line", "sdk", "ss", "boxed"};
    const std::vector<std::string> outputNames = {"boxed", "line", "grid", "sdk", "ss", "html", "pdf", "svg", "png"};
    app.add_option("--seed", seedText, "Seed of the random choices: the same seed repeats a run exactly")
        ->check(wholeNumber(0, ~0ULL));
    app.add_flag("--verbose", options.verbose, "Print the seed and how each input was read to standard error");
    app.add_option("-j,--jobs", options.jobs,
                   "Processes for solve, count, show, bench, explain, hint, rate and generate: this one and up to N-1 "
                   "workers (default: processors)")
        ->check(wholeNumber(1, 1024));
    app.add_option("--input-format", inputFormat, "auto, grid, line, sdk, ss or boxed (default: auto)")
        ->check(CLI::IsMember(inputNames));
    app.add_option("--format", outputFormat,
                   "Output: boxed, line, grid, sdk or ss (default: boxed; format: grid; generate: line); "
                   "html for explain; pdf, svg or png for print (default: pdf)")
        ->check(CLI::IsMember(outputNames));
    app.add_flag("-q,--quiet", options.quiet, "Leave out the crc and figures lines");
    app.add_flag("--strict", options.strict, "Treat a grid file's warnings as errors");

    std::vector<std::string> solveInputs;
    bool solveUnique = false;
    CLI::App* solve = app.add_subcommand("solve", "Solve puzzles and print the first solution found");
    solve->add_flag("--unique", solveUnique, "Report \"unique\", \"multiple\" (with two solutions) or \"none\"");
    std::string solveEngine = "auto";
    solve->add_option("--engine", solveEngine,
                      "exact: the search with its figures; complete: the SAT-based engine, no figures; auto "
                      "(default): exact, and complete for a grid above 9x9 that passes the first time limit")
        ->check(CLI::IsMember({"exact", "complete", "auto"}));
    solve->add_option("INPUT", solveInputs, "Puzzle files; - is standard input")->required();

    std::vector<std::string> countInputs;
    std::uint64_t countMax = 0;
    double countTimeout = 0;
    CLI::App* count = app.add_subcommand("count", "Print each puzzle's number of solutions");
    count->add_option("--max", countMax, "Stop at N solutions and print \"at least N\"")
        ->check(wholeNumber(1, ~0ULL));
    count->add_option("--timeout", countTimeout, "Stop each count after SECONDS and print \"at least\" its figure")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                char* end = nullptr;
                const double value = std::strtod(text.c_str(), &end);
                return *end == '\0' && value > 0 && value < 1e9 ? ""
                                                                : "must be a number of seconds above 0, not '" +
                                                                      text + "'";
            },
            "SECONDS"));
    count->add_option("INPUT", countInputs, "Puzzle files; - is standard input")->required();

    std::string listInput;
    bool listSparse = false;
    std::uint64_t listMax = 0;
    CLI::App* list = app.add_subcommand("list", "Print every solution with its checksum");
    list->add_flag("--sparse", listSparse, "Print only solution 1 and every 10,000,000th");
    list->add_option("--max", listMax, "Stop after N solutions")->check(wholeNumber(1, ~0ULL));
    list->add_option("INPUT", listInput, "Puzzle file; - is standard input")->required();

    std::vector<std::string> showInputs;
    CLI::App* show = app.add_subcommand("show", "Print the puzzles as read, with their checksums");
    show->add_option("INPUT", showInputs, "Puzzle files; - is standard input")->required();

    std::string formatInput;
    std::string formatOut;
    CLI::App* format = app.add_subcommand("format", "Write the grid in the saved grid-file layout");
    format->add_option("INPUT", formatInput, "Puzzle file; - is standard input")->required();
    format->add_option("-o,--output", formatOut, "Output file (default: standard output)");

    std::string benchInput;
    long benchLimit = -1;
    bool benchUnique = false;
    CLI::App* bench = app.add_subcommand("bench", "Time the solver on a file of puzzles");
    bench->add_option("--limit", benchLimit, "Solve only the first K puzzles")
        ->check(wholeNumber(0, 1000000000000ULL));
    bench->add_flag("--unique", benchUnique, "Look for a second solution too");
    bench->add_option("PUZZLES", benchInput, "File of puzzles; - is standard input")->required();

    std::vector<std::string> explainInputs;
    CLI::App* explain = app.add_subcommand("explain", "Print every step of a solution in words, then the solution");
    explain->add_option("INPUT", explainInputs, "Puzzle files; - is standard input")->required();

    std::vector<std::string> hintInputs;
    CLI::App* hint = app.add_subcommand("hint", "Print the next step in words");
    hint->add_option("INPUT", hintInputs, "Puzzle files; - is standard input")->required();

    std::vector<std::string> rateInputs;
    CLI::App* rate = app.add_subcommand("rate", "Print each puzzle's rating, level and techniques used");
    rate->add_option("INPUT", rateInputs, "Puzzle files; - is standard input")->required();

    int generateSize = 3;
    std::string generateLevel;
    std::string generateSymmetry = "none";
    int generateCount = 1;
    CLI::App* generate = app.add_subcommand("generate", "Print new puzzles with exactly one solution");
    generate->add_option("--size", generateSize, "Box size: 2 (4x4) to 5 (25x25) (default: 3)")
        ->check(wholeNumber(2, 5));
    generate->add_option("--level", generateLevel, "easy, medium, hard, expert or extreme (default: any)")
        ->check(CLI::IsMember({"easy", "medium", "hard", "expert", "extreme"}));
    generate->add_option("--symmetry", generateSymmetry, "none, rotational, diagonal or mirror (default: none)")
        ->check(CLI::IsMember({"none", "rotational", "diagonal", "mirror"}));
    generate->add_option("--count", generateCount, "Puzzles to print (default: 1)")->check(wholeNumber(1, 1000000));

    std::vector<std::string> printInputs;
    PrintOptions printOptions;
    CLI::App* print = app.add_subcommand("print", "Draw the puzzles as a book: PDF, or SVG or PNG pages");
    print->add_option("--per-page", printOptions.perPage, "Puzzles on a page: 1, 2, 4 or 6 (default: 1)")
        ->check(CLI::IsMember({1, 2, 4, 6}));
    print->add_flag("--solutions", printOptions.solutions, "Add the solutions on the last pages");
    print->add_flag("--candidates", printOptions.candidates, "Draw the candidates of the blank cells");
    print->add_option("-o,--output", printOptions.outPath,
                      "Output file; SVG and PNG books of several pages get the page number before the extension")
        ->required();
    print->add_option("INPUT", printInputs, "Puzzle files; - is standard input")->required();

    for (CLI::App* sub : {solve, count, list, show, format, bench, explain, hint, rate, generate, print})
        sub->footer(kExitCodes);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return GridlarkCli::exitUsage;
    }

    // Picture formats belong to the commands that draw.
    const bool picture = outputFormat == "pdf" || outputFormat == "svg" || outputFormat == "png";
    if ((outputFormat == "html" && !*explain) || (picture && !*print) ||
        (*print && !outputFormat.empty() && !picture)) {
        std::fprintf(stderr, "gridlark-cli: --format %s is not for %s; explain takes html, print pdf, svg or png\n",
                     outputFormat.c_str(), app.get_subcommands().front()->get_name().c_str());
        return GridlarkCli::exitUsage;
    }
    // Without --format, print goes by the output's extension.
    const std::string& out = printOptions.outPath;
    if (outputFormat == "svg" || (outputFormat.empty() && out.ends_with(".svg")))
        printOptions.format = PrintOptions::Format::svg;
    if (outputFormat == "png" || (outputFormat.empty() && out.ends_with(".png")))
        printOptions.format = PrintOptions::Format::png;

    options.seed = seedText.empty() ? freshSeed() : std::strtoull(seedText.c_str(), nullptr, 10);
    PuzzleText::parseFormatName(inputFormat, options.inputFormat);
    if (!outputFormat.empty())
        PuzzleText::parseFormatName(outputFormat, options.outputFormat);
    if (options.verbose)
        std::fprintf(stderr, "seed: %llu\n", static_cast<unsigned long long>(options.seed));
    WorkerPool::catchInterrupt();

    GridlarkCli cli(options);
    if (*solve)
        return cli.solve(solveInputs, solveUnique,
                         solveEngine == "exact"      ? GridlarkCli::Engine::exact
                         : solveEngine == "complete" ? GridlarkCli::Engine::complete
                                                     : GridlarkCli::Engine::automatic);
    if (*count)
        return cli.count(countInputs, countMax, countTimeout);
    if (*list)
        return cli.list(listInput, listSparse, listMax);
    if (*show)
        return cli.show(showInputs);
    if (*format)
        return cli.format(formatInput, formatOut);
    if (*explain)
        return cli.explain(explainInputs, false, outputFormat == "html");
    if (*hint)
        return cli.explain(hintInputs, true);
    if (*rate)
        return cli.rate(rateInputs);
    if (*print)
        return cli.print(printInputs, printOptions);
    if (*generate)
        return cli.generate(generateSize, PuzzleRater::parseLevel(generateLevel),
                            *PuzzleGenerator::parseSymmetry(generateSymmetry), generateCount);
    return cli.bench(benchInput, benchLimit, benchUnique);
}
