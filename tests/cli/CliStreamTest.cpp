// gridlark-cli on streams: answers before the input ends, memory that does not grow
// with the input, a closed output, input that never ends or never makes sense, bench
// figures from the workers, and GNU parallel over many blocks.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

const std::string kData = GRIDLARK_CLI_DATA "/";
const std::string kCli = GRIDLARK_CLI;

std::vector<std::string> samplePuzzles()
{
    return puzzleLinesOf(kData + "puzzles.txt");
}

// Reads one line from fd, waiting up to a minute (only a hang waits that long).
std::string readLine(int fd)
{
    std::string line;
    char ch = 0;
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 60000) <= 0 || read(fd, &ch, 1) != 1)
            return line;
        if (ch == '\n')
            return line;
        line += ch;
    }
}

// The answer to a puzzle comes while the input is still open, and the next puzzle
// is read after it: nothing waits for the end of the input.
TEST(CliStream, AnswersEachPuzzleBeforeTheInputEnds)
{
    const std::vector<std::string> puzzles = samplePuzzles();
    ASSERT_GE(puzzles.size(), 2u);
    const CommandResult expected = runCli("-q solve --format line " + kData + "puzzles.txt");
    std::istringstream solutions(expected.out);
    int in[2];
    int out[2];
    ASSERT_EQ(pipe(in), 0);
    ASSERT_EQ(pipe(out), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        for (const int fd : {in[0], in[1], out[0], out[1]})
            close(fd);
        execl(GRIDLARK_CLI, "gridlark-cli", "-q", "solve", "--format", "line", "-", static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    close(in[0]);
    close(out[1]);
    for (const std::string& puzzle : puzzles) {
        const std::string line = puzzle + "\n";
        ASSERT_EQ(write(in[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
        std::string solution;
        std::getline(solutions, solution);
        EXPECT_EQ(readLine(out[0]), solution) << "the answer while the input is open";
    }
    close(in[1]);
    EXPECT_EQ(readLine(out[0]), "");
    close(out[0]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// The peak resident memory of the processes a shell command runs (in kilobytes).
long peakKilobytes(const std::string& command, CommandResult& result)
{
    int report[2];
    if (pipe(report) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        const CommandResult r = runCommand(command);
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        const std::string text = std::to_string(usage.ru_maxrss) + " " + std::to_string(r.code) + "\n" + r.out;
        if (write(report[1], text.data(), text.size()) < 0)
            std::_Exit(1);
        std::_Exit(0);
    }
    close(report[1]);
    std::string text;
    char chunk[4096];
    for (ssize_t got; (got = read(report[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(got));
    close(report[0]);
    waitpid(pid, nullptr, 0);
    long peak = -1;
    std::sscanf(text.c_str(), "%ld %d", &peak, &result.code);
    result.out = text.substr(text.find('\n') + 1);
    return peak;
}

TEST(CliStream, MemoryStaysFlatOverAMillionLines)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers' shadow memory is no measure of the tool's own";
#endif
    const std::string puzzle = samplePuzzles().front();
    const std::string shown = runCommand("echo '" + puzzle + "' | '" + kCli + "' show --format line -").out;
    for (const char* jobs : {"1", "3"}) {
        CommandResult r;
        const long peak = peakKilobytes("yes '" + puzzle + "' | head -n 1000000 | '" + kCli + "' -j " + jobs +
                                            " -q show --format line - | uniq -c",
                                        r);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, "1000000 " + shown);
        // Read whole, the million lines took over 600 MB.
        EXPECT_GT(peak, 0);
        EXPECT_LT(peak, 64 * 1024) << jobs << " jobs";
    }
}

// A reader that goes away (head) ends the run at once and without a message, even on
// input that never ends.
TEST(CliStream, ClosedOutputEndsTheRunQuietly)
{
    const std::string puzzle = samplePuzzles().front();
    const CommandResult r = runCommand("bash -c \"yes '" + puzzle + "' | timeout 60 '" + kCli +
                                       "' solve --format line - | head -n 5 | uniq -c; exit \\${PIPESTATUS[1]}\"");
    EXPECT_EQ(r.code, 1) << "the documented code of an output that cannot be written";
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.substr(0, 8), "      5 ") << r.out;
}

// Input that never becomes a puzzle, or a line that never ends, stops with a message at
// its place after a bounded amount of reading; the run before it stands.
TEST(CliStream, EndlessOrOverlongInputStopsWithAMessage)
{
    const std::string puzzle = samplePuzzles().front();
    const CommandResult solved = runCli("-q solve --format line " + kData + "puzzles.txt");
    const std::string first = solved.out.substr(0, 82);
    struct Case {
        std::string input;
        int code;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {"(echo '" + puzzle + "'; tr '\\0' 5 < /dev/zero)", 3, first,
         "(standard input):2:65537: a line longer than 65536 characters; a one-line puzzle has at most 625\n"},
        {"yes 1", 3, "",
         "(standard input):8388609: more than 16 MiB in a notation that is read whole; only one puzzle per line is "
         "read in pieces\n"},
        // Where the reading stops depends on how the pipe hands the blank lines over.
        {"yes ''", 2, "", ": no puzzle in the first 16 MiB\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const CommandResult r =
            runCommand("bash -c \"" + c.input + "\" | timeout 60 '" + kCli + "' -q solve --format line -");
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err.substr(0, 17), "(standard input):");
        EXPECT_EQ(r.err.substr(r.err.size() - std::min(r.err.size(), c.err.size())), c.err);
    }
    // Blank lines and comments between puzzles cost nothing, however many.
    const CommandResult spaced = runCommand("(echo '" + puzzle + "'; yes '' | head -n 3000000; echo '# note'; echo '" +
                                            puzzle + "') | '" + kCli + "' -q solve --format line -");
    EXPECT_EQ(spaced.code, 0) << spaced.err;
    EXPECT_EQ(spaced.out, first + first);
}

// An input read in pieces gets the same labels as one read whole: a lone puzzle is named
// by its input alone, one of several with its line.
TEST(CliStream, LabelsDoNotDependOnHowTheInputArrives)
{
    const std::string invalid = "11" + std::string(79, '.');
    const std::string message = ": SORRY, the current grid is invalid - there are one or more values duplicated in a "
                                "row, column or subsquare; or a value greater than 9. Attempt to solve abandoned.\n";
    const CommandResult alone = runCommand("(echo '" + invalid + "'; sleep 0.3) | '" + kCli + "' solve -");
    EXPECT_EQ(alone.code, 3);
    EXPECT_EQ(alone.err, "(standard input)" + message);
    const CommandResult two =
        runCommand("(echo '" + invalid + "'; sleep 0.3; echo '" + invalid + "') | '" + kCli + "' solve -");
    EXPECT_EQ(two.err, "(standard input):1" + message + "(standard input):2" + message);
}

// bench solves each puzzle once, on the workers, which send back its figures: the means
// are those of the figures solve prints, with any number of jobs.
TEST(CliStream, BenchFiguresComeFromTheWorkers)
{
    const std::string path = temporaryPath("bench-figures");
    std::string text;
    for (int i = 0; i < 300; ++i)
        for (const std::string& puzzle : samplePuzzles())
            text += puzzle + "\n";
    writeFile(path, text);
    const CommandResult solved = runCli("--seed 9 -j 1 solve '" + path + "'");
    ASSERT_EQ(solved.code, 0) << solved.err;
    double sums[3] = {0, 0, 0};
    long puzzles = 0;
    std::istringstream lines(solved.out);
    for (std::string line; std::getline(lines, line);) {
        long tries = 0, depth = 0, deadEnds = 0;
        if (std::sscanf(line.c_str(), "%ld; %ld; %ld", &tries, &depth, &deadEnds) == 3) {
            sums[0] += static_cast<double>(tries);
            sums[1] += static_cast<double>(depth);
            sums[2] += static_cast<double>(deadEnds);
            ++puzzles;
        }
    }
    ASSERT_EQ(puzzles, 900);
    char means[128];
    std::snprintf(means, sizeof means, "mean tries: %.3f\nmean greatest depth: %.3f\nmean dead ends: %.3f\n",
                  sums[0] / 900, sums[1] / 900, sums[2] / 900);
    for (const char* jobs : {"1", "3"}) {
        const CommandResult bench = runCli(std::string("--seed 9 -j ") + jobs + " bench '" + path + "'");
        EXPECT_EQ(bench.code, 0) << bench.err;
        EXPECT_NE(bench.out.find("puzzles solved: 900\n"), std::string::npos) << bench.out;
        EXPECT_NE(bench.out.find(std::string("jobs: ") + jobs + "\n"), std::string::npos) << bench.out;
        EXPECT_NE(bench.out.find(means), std::string::npos) << means << "in\n" << bench.out;
    }
    const CommandResult limited = runCli("--seed 9 -j 2 bench --unique --limit 700 '" + path + "'");
    EXPECT_NE(limited.out.find("puzzles solved: 700\n"), std::string::npos) << limited.out;
    EXPECT_NE(limited.out.find("unique: 700, multiple: 0, none: 0\n"), std::string::npos) << limited.out;
    std::remove(path.c_str());
}

// A bad line in a stream is named in its place; bench times the puzzles around it and
// prints its figures, with the bad line's exit code.
TEST(CliStream, BenchNamesABadLineAndTimesTheRest)
{
    const std::vector<std::string> puzzles = samplePuzzles();
    std::string text;
    for (int i = 0; i < 400; ++i)
        for (const std::string& puzzle : puzzles)
            text += puzzle + "\n";
    text += puzzles.front().substr(1) + "\n" + text;
    const std::string path = temporaryPath("bench-bad-line");
    writeFile(path, text);
    for (const char* jobs : {"1", "2"}) {
        const CommandResult r = runCommand("cat '" + path + "' | '" + kCli + "' -j " + jobs + " bench -");
        EXPECT_EQ(r.code, 3) << jobs << " jobs";
        EXPECT_EQ(r.err, "(standard input):1201:1: as line: a line of 80 characters; a one-line puzzle has 16, 81, "
                         "256 or 625 (or as many numbers)\n");
        EXPECT_NE(r.out.find("puzzles solved: 2400\nfailures: 0\n"), std::string::npos) << r.out;
    }
    std::remove(path.c_str());
}

// Lines that are not plain 81-character puzzles, well past the first block of a file of
// plain ones, read as anywhere else: bad ones named at their place, the others solved.
TEST(CliStream, OddLinesAmongPlainOnesReadAsAnywhereElse)
{
    const std::vector<std::string> puzzles = samplePuzzles();
    std::string plain;
    std::string odd;
    const auto both = [&](const std::string& clean, const std::string& written) {
        plain += clean + "\n";
        odd += written;
    };
    for (int i = 0; i < 1200; ++i) {
        const std::string& puzzle = puzzles[static_cast<std::size_t>(i) % puzzles.size()];
        if (i == 1000) {
            odd += puzzle.substr(1) + "\n" + puzzle.substr(0, 40) + "x" + puzzle.substr(41) + "\n# a note\n\r\n";
            both(puzzle, puzzle + "\r\n");
            both(puzzle, "  " + puzzle + "\t1\n");
            odd += "12345\n" + puzzle + "5\n";
        }
        both(puzzle, puzzle + "\n");
    }
    const std::string plainPath = temporaryPath("plain-lines");
    const std::string oddPath = temporaryPath("odd-lines");
    writeFile(plainPath, plain);
    writeFile(oddPath, odd);
    const CommandResult expected = runCli("--seed 5 -j 1 solve --format line '" + plainPath + "'");
    ASSERT_EQ(expected.code, 0) << expected.err;
    const std::string lengths = " characters; a one-line puzzle has 16, 81, 256 or 625 (or as many numbers)\n";
    for (const char* jobs : {"1", "3"}) {
        const CommandResult r = runCli(std::string("--seed 5 -j ") + jobs + " solve --format line '" + oddPath + "'");
        EXPECT_EQ(r.code, 3) << jobs << " jobs";
        EXPECT_EQ(r.out, expected.out) << jobs << " jobs";
        EXPECT_EQ(r.err, oddPath + ":1001:1: as line: a line of 80" + lengths + oddPath +
                             ":1002:41: as line: 'x' is not a value of a 9x9 puzzle or a blank\n" + oddPath +
                             ":1007:1: as line: a line of 5" + lengths + oddPath + ":1008:1: as line: a line of 82" +
                             lengths)
            << jobs << " jobs";
    }
    std::remove(plainPath.c_str());
    std::remove(oddPath.c_str());
}

// Many chunks and a window's worth of puzzles, some with many solutions: every job count
// prints the same bytes as one job.
TEST(CliStream, ManyPuzzlesPrintTheSameWithAnyNumberOfJobs)
{
    const std::string path = temporaryPath("many-puzzles");
    std::string text;
    for (int i = 0; i < 1500; ++i)
        for (const std::string& puzzle : samplePuzzles())
            text += (i % 2 ? puzzle : puzzle.substr(0, 63) + std::string(18, '.')) + "\n";
    writeFile(path, text);
    const CommandResult one = runCli("--seed 11 -j 1 solve --format line '" + path + "'");
    ASSERT_EQ(one.code, 0) << one.err;
    for (const char* jobs : {"2", "5"})
        EXPECT_EQ(runCommand("'" + kCli + "' --seed 11 -j " + std::string(jobs) + " solve --format line - < '" + path +
                             "'")
                      .out,
                  one.out)
            << jobs << " jobs";
    std::remove(path.c_str());
}

// The README's recipe over more puzzles than one block: GNU parallel cuts the input,
// runs a gridlark-cli on each block on local job slots, and keeps the blocks in order.
TEST(CliStream, GnuParallelOverManyBlocksMatchesOneRun)
{
    if (system("command -v parallel >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "GNU parallel is not installed (scripts/install-deps.sh test)";
    const std::string path = temporaryPath("parallel-blocks");
    std::string text;
    for (int i = 0; i < 700; ++i)
        for (const std::string& puzzle : samplePuzzles())
            text += puzzle + "\n";
    writeFile(path, text);
    const CommandResult whole = runCli("solve --format line '" + path + "'");
    ASSERT_EQ(whole.code, 0) << whole.err;
    const CommandResult split = runCommand("parallel --will-cite --pipe --block 20k -k -j 2 -S 2/: '" + kCli +
                                           "' --jobs 1 solve --format line - < '" + path + "'");
    EXPECT_EQ(split.code, 0) << split.err;
    EXPECT_EQ(split.out, whole.out);
    std::remove(path.c_str());
}

} // namespace
