#pragma once

#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

// What one task printed and its exit code.
struct TaskResult {
    std::string out;
    std::string err;
    int code = 0;
};

// Runs numbered tasks on forked worker processes and hands their results back in
// task order. Each worker has its own copy of the process-wide random generator,
// and the task seeds it before it starts, so a result does not depend on which
// worker ran the task. Ctrl+C (SIGINT) asks the workers to stop with SIGUSR1; what
// they finished is still handed back in order.
class WorkerPool {
public:
    using Task = std::function<TaskResult(std::size_t index)>;
    using Emit = std::function<void(std::size_t index, const TaskResult& result)>;

    // With finishTask, a worker asked to stop finishes its task first (which can
    // stop early and report a partial result); without it, it ends at once.
    WorkerPool(int jobs, bool finishTask) : jobs(jobs < 1 ? 1 : jobs), finishTask(finishTask) {}

    // Returns the number of leading tasks whose results were emitted; fewer than
    // count after an interruption or a worker's crash.
    std::size_t run(std::size_t count, const Task& task, const Emit& emit);

    bool wasInterrupted() const { return interrupted; }

    // Installs the SIGINT handler that run watches; the first Ctrl+C is taken.
    static void catchInterrupt();
    static bool interruptRequested();
    // In a worker that finishes its task: the child process that SIGUSR1 is passed
    // on to, or 0 for none.
    static void setStopTarget(pid_t pid);

private:
    int jobs;
    bool finishTask;
    bool interrupted = false;
};
