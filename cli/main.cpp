#include "GridlarkCli.h"
#include "GridlarkVersion.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace {

const char* const kExitCodes = R"(
Exit codes:
  0   success
  1   a file cannot be opened
  2   a grid file does not start with its inner size
  3   the grid is invalid (or a puzzle line is malformed)
  4   no solution (bench: a puzzle failed verification)
  5   --unique found more than one solution
  6   the inner size is out of range (0 to 16)
  64  usage error)";

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Solves Sudoku grids of any inner size with Gridlark's solver.", "gridlark-cli"};
    app.set_version_flag("--version", "gridlark-cli " GRIDLARK_VERSION);
    app.footer(kExitCodes);
    app.require_subcommand(1);

    std::vector<std::string> solveFiles;
    bool solveUnique = false;
    CLI::App* solve = app.add_subcommand("solve", "Solve grid files and print the first solution found");
    solve->add_flag("--unique", solveUnique, "Report \"unique\", \"multiple\" (with two solutions) or \"none\"");
    solve->add_option("FILE", solveFiles, "Grid files")->required();

    std::string listFile;
    bool listSparse = false;
    CLI::App* list = app.add_subcommand("list", "Print every solution with its checksum");
    list->add_flag("--sparse", listSparse, "Print only solution 1 and every 10,000,000th");
    list->add_option("FILE", listFile, "Grid file")->required();

    std::string showFile;
    CLI::App* show = app.add_subcommand("show", "Print the grid as read, with its checksum");
    show->add_option("FILE", showFile, "Grid file")->required();

    std::string formatFile;
    std::string formatOut;
    CLI::App* format = app.add_subcommand("format", "Write the grid in the saved grid-file layout");
    format->add_option("FILE", formatFile, "Grid file")->required();
    format->add_option("-o,--output", formatOut, "Output file (default: standard output)");

    std::string benchFile;
    long benchLimit = -1;
    bool benchUnique = false;
    CLI::App* bench = app.add_subcommand("bench", "Time the solver on one-line 9x9 puzzles");
    bench->add_option("--limit", benchLimit, "Solve only the first K puzzles")->check(CLI::NonNegativeNumber);
    bench->add_flag("--unique", benchUnique, "Look for a second solution too");
    bench->add_option("PUZZLES", benchFile, "File of puzzles, one per line")->required();

    for (CLI::App* sub : {solve, list, show, format, bench})
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

    GridlarkCli cli;
    if (*solve)
        return cli.solve(solveFiles, solveUnique);
    if (*list)
        return cli.list(listFile, listSparse);
    if (*show)
        return cli.show(showFile);
    if (*format)
        return cli.format(formatFile, formatOut);
    return cli.bench(benchFile, benchLimit, benchUnique);
}
