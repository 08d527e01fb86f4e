#include "CountProcess.h"

#include "SudokuSolver.h"
#include "WorkerPool.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Report {
    std::uint64_t count;
    std::int32_t stop;
};

// The child's state, read by its signal handlers.
const SudokuSolver* childSolver = nullptr;
int reportFd = -1;
std::uint64_t childMax = 0;
timespec childDeadline{};
bool childTimed = false;

[[noreturn]] void report(CountProcess::Stop stop)
{
    const Report r{childSolver->getSolutionCount(), static_cast<std::int32_t>(stop)};
    [[maybe_unused]] const ssize_t written = write(reportFd, &r, sizeof r);
    _exit(0);
}

void onStop(int)
{
    report(CountProcess::Stop::interrupted);
}

void onTick(int)
{
    if (childMax != 0 && childSolver->getSolutionCount() >= childMax)
        report(CountProcess::Stop::atMax);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (childTimed && (now.tv_sec > childDeadline.tv_sec ||
                       (now.tv_sec == childDeadline.tv_sec && now.tv_nsec >= childDeadline.tv_nsec)))
        report(CountProcess::Stop::timedOut);
}

[[noreturn]] void childMain(const SudokuBoard& board, bool sparse, int outFd)
{
    std::signal(SIGINT, SIG_IGN);
    dup2(outFd, STDOUT_FILENO);
    close(outFd);
    SudokuSolver solver;
    childSolver = &solver;
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = onStop;
    sigaction(SIGUSR1, &action, nullptr);
    // The tick must not break the solver's writes to the pipe: stdio drops what a
    // write interrupted before it wrote anything would have written.
    action.sa_handler = onTick;
    action.sa_flags = SA_RESTART;
    sigaction(SIGALRM, &action, nullptr);
    if (childMax != 0 || childTimed) {
        const itimerval tick{{0, 10000}, {0, 10000}};
        setitimer(ITIMER_REAL, &tick, nullptr);
    }
    SudokuBoard copy(board);
    solver.solve(&copy, true, sparse);
    std::fflush(stdout);
    report(childMax != 0 && solver.getSolutionCount() >= childMax ? CountProcess::Stop::atMax
                                                                  : CountProcess::Stop::complete);
}

} // namespace

CountProcess::Result CountProcess::count(const SudokuBoard& board, bool sparse, std::uint64_t max,
                                               double timeoutSeconds, const Output& output)
{
    Result result;
    int reportPipe[2];
    int outPipe[2] = {-1, -1};
    if (pipe(reportPipe) != 0)
        return result;
    if (output && pipe(outPipe) != 0) {
        close(reportPipe[0]);
        close(reportPipe[1]);
        return result;
    }
    childMax = max;
    childTimed = timeoutSeconds > 0;
    clock_gettime(CLOCK_MONOTONIC, &childDeadline);
    const double whole = static_cast<double>(static_cast<long>(timeoutSeconds));
    childDeadline.tv_sec += static_cast<long>(timeoutSeconds);
    childDeadline.tv_nsec += static_cast<long>((timeoutSeconds - whole) * 1e9);
    if (childDeadline.tv_nsec >= 1000000000L) {
        childDeadline.tv_nsec -= 1000000000L;
        ++childDeadline.tv_sec;
    }
    const pid_t pid = WorkerPool::forkBound();
    if (pid == 0) {
        close(reportPipe[0]);
        reportFd = reportPipe[1];
        if (output)
            close(outPipe[0]);
        childMain(board, sparse, output ? outPipe[1] : open("/dev/null", O_WRONLY));
    }
    close(reportPipe[1]);
    if (output)
        close(outPipe[1]);
    if (pid < 0) {
        close(reportPipe[0]);
        if (output)
            close(outPipe[0]);
        return result;
    }
    WorkerPool::setStopTarget(pid);
    bool cut = false;
    if (output) {
        char chunk[65536];
        for (;;) {
            if (WorkerPool::interruptRequested() && !cut) {
                kill(pid, SIGUSR1);
                cut = true;
            }
            const ssize_t got = read(outPipe[0], chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            if (!cut && !output(std::string(chunk, static_cast<std::size_t>(got)))) {
                kill(pid, SIGKILL);
                cut = true;
            }
        }
        close(outPipe[0]);
    }
    Report r{};
    ssize_t got = 0;
    do {
        got = read(reportPipe[0], &r, sizeof r);
    } while (got < 0 && errno == EINTR);
    close(reportPipe[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    WorkerPool::setStopTarget(0);
    if (got == static_cast<ssize_t>(sizeof r)) {
        result.count = r.count;
        result.stop = static_cast<Stop>(r.stop);
    } else if (cut) {
        result.stop = WorkerPool::interruptRequested() ? Stop::interrupted : Stop::atMax;
    }
    return result;
}
