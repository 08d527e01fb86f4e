#include "WorkerPool.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t interruptFlag = 0;

volatile pid_t stopTarget = 0;

char exitMessage[256];
std::size_t exitLength = 0;
int exitCode = 0;
volatile std::sig_atomic_t exitArmed = 0;

void onInterrupt(int)
{
    interruptFlag = 1;
    if (exitArmed) {
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, exitMessage, exitLength);
        _exit(exitCode);
    }
}

void onStop(int)
{
    interruptFlag = 1;
    if (stopTarget > 0)
        kill(stopTarget, SIGUSR1);
}

} // namespace

WorkerPool::~WorkerPool()
{
    reap(true);
}

bool WorkerPool::spawn(const Main& main, bool finishTask)
{
    int tasks[2];
    int results[2];
    if (pipe(tasks) != 0)
        return false;
    if (pipe(results) != 0) {
        close(tasks[0]);
        close(tasks[1]);
        return false;
    }
    const pid_t pid = forkBound();
    if (pid == 0) {
        std::signal(SIGINT, SIG_IGN);
        std::signal(SIGPIPE, SIG_DFL);
        if (finishTask) {
            struct sigaction action {};
            action.sa_handler = onStop;
            sigemptyset(&action.sa_mask);
            sigaction(SIGUSR1, &action, nullptr);
        } else {
            std::signal(SIGUSR1, SIG_DFL);
        }
        // The other workers' pipes stay theirs: a task pipe held open here would never
        // tell its worker that the tasks are done.
        for (const Worker& other : workers) {
            close(other.taskFd);
            close(other.resultFd);
        }
        close(tasks[1]);
        close(results[0]);
        main(tasks[0], results[1]);
        std::_Exit(0);
    }
    close(tasks[0]);
    close(results[1]);
    if (pid < 0) {
        close(tasks[1]);
        close(results[0]);
        return false;
    }
    fcntl(tasks[1], F_SETFL, fcntl(tasks[1], F_GETFL) | O_NONBLOCK);
    workers.push_back({pid, tasks[1], results[0]});
    return true;
}

void WorkerPool::stop()
{
    for (const Worker& worker : workers)
        kill(worker.pid, SIGUSR1);
}

void WorkerPool::finish()
{
    reap(false);
}

void WorkerPool::reap(bool killFirst)
{
    for (Worker& worker : workers) {
        if (killFirst)
            kill(worker.pid, SIGKILL);
        if (worker.taskFd >= 0)
            close(worker.taskFd);
        if (worker.resultFd >= 0)
            close(worker.resultFd);
        int status = 0;
        while (waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    workers.clear();
}

pid_t WorkerPool::forkBound()
{
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // A parent killed by a signal it cannot catch takes the child with it; one that
        // died before this line is seen by the changed parent id.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            std::_Exit(0);
    }
    return pid;
}

void WorkerPool::catchInterrupt()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void WorkerPool::setStopTarget(pid_t pid)
{
    stopTarget = pid;
}

void WorkerPool::exitOnInterrupt(const char* message, std::size_t length, int code)
{
    exitArmed = 0;
    if (!message)
        return;
    exitLength = std::min(length, sizeof exitMessage);
    std::memcpy(exitMessage, message, exitLength);
    exitCode = code;
    exitArmed = 1;
}

bool WorkerPool::interruptRequested()
{
    return interruptFlag != 0;
}
