// gridlark-cli over many puzzles: worker processes, seeds, counts with limits,
// Ctrl+C, pipes and GNU parallel.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kData = GRIDLARK_CLI_DATA "/";

// The puzzles of the sample file, each with one solution.
std::vector<std::string> uniquePuzzles()
{
    return puzzleLinesOf(kData + "puzzles.txt");
}

// The sample puzzles and more with several solutions, so that the random choices
// show in the output.
std::string puzzleFile()
{
    const std::string path = temporaryPath("batch-puzzles");
    const std::vector<std::string> puzzles = uniquePuzzles();
    std::string text;
    for (const std::string& puzzle : puzzles)
        text += puzzle + "\n";
    // Blanking the givens of the last row leaves puzzles with many solutions.
    for (const std::string& puzzle : puzzles)
        text += puzzle.substr(0, 72) + std::string(9, '.') + "\n";
    text += std::string(81, '.') + "\n";
    writeFile(path, text);
    return path;
}

int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliBatch, WorkersAndSeedsGiveTheSameOutputAsOneWorker)
{
    const std::string path = puzzleFile();
    const CommandResult one = runCli("--seed 42 --jobs 1 solve --format line '" + path + "'");
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(lineCount(one.out), 7);
    for (const char* command : {"--seed 42 --jobs 2 solve --format line", "--seed 42 -j 3 solve --format line"}) {
        const CommandResult many = runCli(std::string(command) + " '" + path + "'");
        EXPECT_EQ(many.out, one.out) << command;
    }
    // Another seed takes other random choices on the puzzles with many solutions.
    EXPECT_NE(runCli("--seed 43 solve --format line '" + path + "'").out, one.out);
    const CommandResult boxed1 = runCli("--seed 7 -j 1 solve '" + path + "' '" + path + "'");
    const CommandResult boxed2 = runCli("--seed 7 -j 2 solve '" + path + "' '" + path + "'");
    EXPECT_EQ(boxed2.out, boxed1.out);
    EXPECT_EQ(boxed2.err, boxed1.err);
    // Without --seed, --verbose prints the seed that repeats the run.
    const CommandResult fresh = runCli("--verbose solve --format line '" + path + "'");
    const std::size_t at = fresh.err.find("seed: ");
    ASSERT_NE(at, std::string::npos) << fresh.err;
    const std::string seed = fresh.err.substr(at + 6, fresh.err.find('\n', at) - at - 6);
    EXPECT_EQ(runCli("--seed " + seed + " solve --format line '" + path + "'").out, fresh.out);
    std::remove(path.c_str());
}

// Every command that works in batches prints the same bytes, messages and exit code
// with one job (all in one process) as with three (two of them workers), puzzles with
// many solutions, an invalid one and a bad line among them.
TEST(CliBatch, EveryBatchCommandPrintsTheSameWithAnyNumberOfJobs)
{
    const std::string path = puzzleFile();
    const std::string easy = uniquePuzzles().front() + "\n";
    writeFile(path, readFile(path) + "11" + std::string(79, '.') + "\n" + easy.substr(1) + easy + easy + easy);
    const char* const commands[] = {"solve", "solve --unique --format line", "count --max 50", "show",
                                    "explain", "hint", "rate", "bench --unique"};
    for (const char* command : commands) {
        const std::string arguments = std::string(command) + " '" + path + "'";
        const CommandResult one = runCli("--seed 3 -j 1 " + arguments);
        const CommandResult three = runCli("--seed 3 -j 3 " + arguments);
        EXPECT_NE(one.out, "") << command;
        // bench's times differ from run to run; its counts and figures do not.
        const auto steady = [&](const std::string& out) {
            return std::string(command).starts_with("bench") ? out.substr(out.find("mean tries")) : out;
        };
        EXPECT_EQ(steady(three.out), steady(one.out)) << command;
        EXPECT_EQ(three.err, one.err) << command;
        EXPECT_EQ(three.code, one.code) << command;
    }
    const CommandResult made = runCli("--seed 3 -j 1 generate --count 5");
    EXPECT_EQ(runCli("--seed 3 -j 3 generate --count 5").out, made.out);
    std::remove(path.c_str());
}

TEST(CliBatch, CountStopsAtItsCapOrTimeLimitAndSaysAtLeast)
{
    // A blank 4 x 4 grid has 288 solutions; a blank 9 x 9 grid more than any test can count.
    const std::string four = temporaryPath("count-four");
    const std::string nine = temporaryPath("count-nine");
    writeFile(four, std::string(16, '.') + "\n" + std::string(16, '.') + "\n");
    writeFile(nine, std::string(81, '.') + "\n");
    const CommandResult exact = runCli("count '" + four + "'");
    EXPECT_EQ(exact.code, 0) << exact.err;
    EXPECT_EQ(exact.out, "288\n288\n");
    const CommandResult capped = runCli("count --max 100 '" + four + "'");
    EXPECT_EQ(capped.code, 7);
    EXPECT_EQ(capped.out, "at least 100\nat least 100\n");
    EXPECT_EQ(runCli("count --max 288 '" + four + "'").out, "at least 288\nat least 288\n");
    EXPECT_EQ(runCli("count --max 289 '" + four + "'").out, "288\n288\n");

    // The cap stops the search itself: a blank 9x9 grid is never counted through.
    const CommandResult nineCapped = runCli("count --max 1000 --timeout 60 '" + nine + "'");
    EXPECT_EQ(nineCapped.code, 7);
    EXPECT_EQ(nineCapped.out, "at least 1000\n");
    EXPECT_EQ(nineCapped.err, "");

    const auto start = std::chrono::steady_clock::now();
    const CommandResult timed = runCli("count --timeout 0.3 '" + nine + "'");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << "the time limit stops it";
    EXPECT_EQ(timed.code, 7);
    long figure = 0;
    ASSERT_EQ(std::sscanf(timed.out.c_str(), "at least %ld", &figure), 1) << timed.out;
    EXPECT_GT(figure, 0);

    const CommandResult listed = runCli("list --max 5 --format line '" + four + "'");
    EXPECT_EQ(listed.code, 64) << "list takes one puzzle";
    writeFile(four, std::string(16, '.') + "\n");
    const CommandResult five = runCli("list --max 5 --format line '" + four + "'");
    EXPECT_EQ(five.code, 7);
    EXPECT_EQ(lineCount(five.out), 5);
    EXPECT_EQ(five.err, four + ": at least 5 solutions\n");

    // A listing long enough for the limit's clock to tick while it is written loses
    // no solution on the way.
    writeFile(four, "................12..3.45.........4.6....2.....7.18.........6.....4..35.7.........\n");
    // A slow reader at the end of a pipe makes the writes wait, and the ticks hit them.
    const CommandResult many = runCli("list --max 200000 '" + four + "' | grep -c '^Solution No '");
    EXPECT_EQ(many.out, "158482\n");
    EXPECT_EQ(many.err, four + ": 158482 solutions\n");
    std::remove(four.c_str());
    std::remove(nine.c_str());
}

// Runs gridlark-cli with args, sends it SIGINT once it is at work, and gives its exit
// status (-1 when it did not exit within a minute); its output goes to the two files.
int interruptedRun(const std::vector<std::string>& args, const std::string& out, const std::string& err)
{
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        std::freopen(out.c_str(), "w", stdout);
        std::freopen(err.c_str(), "w", stderr);
        std::vector<char*> argv{const_cast<char*>("gridlark-cli")};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(GRIDLARK_CLI, argv.data());
        std::_Exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    kill(pid, SIGINT);
    int status = 0;
    for (int wait = 0; wait < 1200 && waitpid(pid, &status, WNOHANG) == 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    if (!WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

int interruptedCount(const std::string& input, const std::string& out, const std::string& err)
{
    return interruptedRun({"count", input}, out, err);
}

// Ctrl+C reaches gridlark-cli as SIGINT; the count so far is printed, the exit is 130.
TEST(CliBatch, InterruptedCountPrintsItsPartialFigure)
{
    const std::string nine = temporaryPath("interrupt-nine");
    const std::string out = temporaryPath("interrupt-out");
    const std::string err = temporaryPath("interrupt-err");
    writeFile(nine, std::string(81, '.') + "\n");
    EXPECT_EQ(interruptedCount(nine, out, err), 130);
    long figure = 0;
    EXPECT_EQ(std::sscanf(readFile(out).c_str(), "at least %ld\n", &figure), 1) << readFile(out);
    EXPECT_GT(figure, 0);
    EXPECT_NE(readFile(err).find("interrupted after 0 of 1 puzzles"), std::string::npos) << readFile(err);
    for (const std::string& path : {nine, out, err})
        std::remove(path.c_str());
}

// Work that cannot stop half-way (here making 25x25 puzzles, seconds each) does not
// hold Ctrl+C up, whether this process or a worker has it.
TEST(CliBatch, InterruptEndsWorkThatCannotStopHalfWay)
{
    const std::string out = temporaryPath("interrupt-generate-out");
    const std::string err = temporaryPath("interrupt-generate-err");
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        EXPECT_EQ(interruptedRun({"-j", jobs, "--seed", "1", "generate", "--size", "5", "--level", "extreme", "--count",
                                  "3"},
                                 out, err),
                  130);
        EXPECT_EQ(readFile(out), "");
        EXPECT_EQ(readFile(err), "gridlark-cli: interrupted after 0 of 3 puzzles\n");
    }
    std::remove(out.c_str());
    std::remove(err.c_str());
}

// Above 9x9 the complete engine counts: a sparse 16x16 puzzle gets its exact figure, a
// blank one its cap, its time limit or Ctrl+C, as a 9x9 count does.
TEST(CliBatch, CountsLargeGridsWithTheCompleteEngine)
{
    const std::string sixteen = temporaryPath("count-sixteen");
    const std::string blank = temporaryPath("count-blank-sixteen");
    // The puzzle of sixteen.txt, and the same with its first blank given a value its
    // peers allow but the solution does not: no solution.
    const std::string puzzle = runCli("show --format line " + kData + "sixteen.txt").out;
    const std::string solution = runCli("solve --format line " + kData + "sixteen.txt").out;
    ASSERT_EQ(puzzle.size(), 257u) << puzzle;
    ASSERT_EQ(solution.size(), 257u) << solution;
    const auto allowed = [&](int cell, char value) {
        for (int other = 0; other < 256; ++other) {
            const bool peer = other / 16 == cell / 16 || other % 16 == cell % 16 ||
                (other / 64 == cell / 64 && other % 16 / 4 == cell % 16 / 4);
            if (peer && puzzle[static_cast<std::size_t>(other)] == value)
                return false;
        }
        return value != solution[static_cast<std::size_t>(cell)];
    };
    std::string wrong = puzzle;
    for (int cell = 0; cell < 256 && wrong == puzzle; ++cell)
        for (const char value : std::string("123456789ABCDEFG"))
            if (puzzle[static_cast<std::size_t>(cell)] == '.' && allowed(cell, value)) {
                wrong[static_cast<std::size_t>(cell)] = value;
                break;
            }
    ASSERT_NE(wrong, puzzle);
    writeFile(sixteen, puzzle + wrong);
    const CommandResult counted = runCli("count --format line '" + sixteen + "'");
    EXPECT_EQ(counted.out, "1\n0\n");
    EXPECT_EQ(counted.code, 4);
    EXPECT_EQ(counted.err, sixteen + ":2: no solution\n");

    writeFile(blank, std::string(256, '.') + "\n");
    const CommandResult capped = runCli("count --max 3 '" + blank + "'");
    EXPECT_EQ(capped.out, "at least 3\n");
    EXPECT_EQ(capped.code, 7);
    const CommandResult timed = runCli("count --timeout 0.3 '" + blank + "'");
    EXPECT_EQ(timed.code, 7);
    long figure = 0;
    EXPECT_EQ(std::sscanf(timed.out.c_str(), "at least %ld\n", &figure), 1) << timed.out;
    EXPECT_EQ(timed.err, blank + ": stopped after 0.3 s\n");

    const std::string out = temporaryPath("interrupt-sixteen-out");
    EXPECT_EQ(interruptedCount(blank, out, "/dev/null"), 130);
    EXPECT_EQ(std::sscanf(readFile(out).c_str(), "at least %ld\n", &figure), 1) << readFile(out);
    for (const std::string& path : {sixteen, blank, out})
        std::remove(path.c_str());
}

// Standard input, read as "-", and GNU parallel splitting it into blocks: the same
// solutions in the same order as one run over the whole file.
TEST(CliBatch, StandardInputAndGnuParallelMatchOneRun)
{
    const std::string path = puzzleFile();
    const std::string cli = GRIDLARK_CLI;
    const CommandResult whole = runCli("--seed 5 solve --format line '" + path + "'");
    ASSERT_EQ(whole.code, 0) << whole.err;
    const CommandResult piped = runCommand("'" + cli + "' --seed 5 solve --format line - < '" + path + "'");
    EXPECT_EQ(piped.out, whole.out);
    // Unique puzzles only: blocks are seeded apart, so solutions of open puzzles may differ.
    const std::string unique = temporaryPath("parallel-unique");
    std::string lines;
    for (const std::string& puzzle : uniquePuzzles())
        lines += puzzle + "\n";
    writeFile(unique, lines);
    const CommandResult expected = runCli("solve --format line '" + unique + "'");
    if (system("command -v parallel >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "GNU parallel is not installed (scripts/install-deps.sh test)";
    const CommandResult split = runCommand("parallel --will-cite --pipe -N 1 -j 2 -k -S 2/: '" + cli +
                                           "' solve --format line - < '" + unique + "'");
    EXPECT_EQ(split.code, 0) << split.err;
    EXPECT_EQ(split.out, expected.out);
    EXPECT_EQ(lineCount(split.out), 3);
    std::remove(path.c_str());
    std::remove(unique.c_str());
}

// The processes whose parent is pid, from /proc.
std::vector<pid_t> childrenOf(pid_t pid)
{
    std::vector<pid_t> children;
    DIR* proc = opendir("/proc");
    for (dirent* entry; proc && (entry = readdir(proc));) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
            continue;
        const std::string stat = readFile(std::string("/proc/") + entry->d_name + "/stat");
        const std::size_t end = stat.rfind(')');
        long parent = 0;
        if (end != std::string::npos && std::sscanf(stat.c_str() + end + 1, " %*c %ld", &parent) == 1 && parent == pid)
            children.push_back(static_cast<pid_t>(std::atol(entry->d_name)));
    }
    if (proc)
        closedir(proc);
    return children;
}

bool alive(pid_t pid)
{
    // A zombie has not run on; it only waits for its parent (here: init) to reap it.
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t end = stat.rfind(')');
    return end != std::string::npos && stat.size() > end + 2 && stat[end + 2] != 'Z';
}

// However the run ends (Ctrl+C, kill, a hang-up, or the parent killed outright), its
// worker processes end with it, also while they work on a long count and write nothing.
TEST(CliBatch, NoWorkerOutlivesItsParent)
{
    const std::string path = temporaryPath("orphans");
    const std::string blank = std::string(81, '.') + "\n";
    writeFile(path, blank + blank + blank);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(strsignal(signal));
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            // Three jobs: this process and two workers.
            execl(GRIDLARK_CLI, "gridlark-cli", "-j", "3", "count", path.c_str(), static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        std::vector<pid_t> workers;
        for (int wait = 0; wait < 400 && workers.size() < 2; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            workers = childrenOf(pid);
        }
        ASSERT_EQ(workers.size(), 2u) << "two workers at work";
        // Any process a worker started for its count must end too.
        for (const pid_t worker : std::vector<pid_t>(workers))
            for (const pid_t helper : childrenOf(worker))
                workers.push_back(helper);
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        if (signal == SIGINT)
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
        else
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        for (const pid_t worker : workers) {
            for (int wait = 0; wait < 400 && alive(worker); ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_FALSE(alive(worker)) << "worker " << worker << " outlived its parent";
        }
    }
    std::remove(path.c_str());
}

} // namespace
