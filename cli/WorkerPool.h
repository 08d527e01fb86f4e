#pragma once

#include <csignal>
#include <functional>
#include <sys/types.h>
#include <vector>

// The worker processes of a batch: each is forked with a pipe for its tasks and one for
// its results, and ends with the run however the run ends. Ctrl+C (SIGINT) reaches
// the parent, which asks the workers to stop with SIGUSR1; SIGTERM and SIGHUP end the
// parent, and a parent that is gone takes its workers with it (PR_SET_PDEATHSIG).
// Processes rather than threads: each worker has its own copy of the process-wide
// random generator that every task seeds, and of the solver's shared text buffer.
class WorkerPool {
public:
    struct Worker {
        pid_t pid = -1;
        int taskFd = -1;   // the parent writes tasks here (non-blocking)
        int resultFd = -1; // and reads results here
    };
    // Runs in the child with its two ends of the pipes; never returns.
    using Main = std::function<void(int taskFd, int resultFd)>;

    WorkerPool() = default;
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    // Ends the workers that are left and waits for them.
    ~WorkerPool();

    // Starts one more worker; false when it cannot be started.
    bool spawn(const Main& main, bool finishTask);
    std::vector<Worker>& getWorkers() { return workers; }
    // Asks every worker to stop (SIGUSR1): one that finishes its task reports it first.
    void stop();
    // Closes the task pipes, so that each worker ends once it has done its tasks, and
    // waits for the workers.
    void finish();

    // Installs the SIGINT handler that the batch watches; the first Ctrl+C is taken.
    // fork(2) for a child that ends with this process, however this one ends; the
    // output buffers are flushed first so that the child does not write them again.
    static pid_t forkBound();
    static void catchInterrupt();
    static bool interruptRequested();
    // In a worker that finishes its task: the child process that SIGUSR1 is passed
    // on to, or 0 for none.
    static void setStopTarget(pid_t pid);
    // While message is set, Ctrl+C writes it to standard error and ends the process
    // with code: for work in this process that cannot stop half-way. nullptr: off.
    static void exitOnInterrupt(const char* message, std::size_t length, int code);

private:
    void reap(bool killFirst);

    std::vector<Worker> workers;
};
