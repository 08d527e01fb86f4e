#include "WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <map>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t interruptFlag = 0;

volatile pid_t stopTarget = 0;

void onInterrupt(int)
{
    interruptFlag = 1;
}

void onStop(int)
{
    interruptFlag = 1;
    if (stopTarget > 0)
        kill(stopTarget, SIGUSR1);
}

struct RecordHeader {
    std::uint64_t index;
    std::int32_t code;
    std::uint32_t outLength;
    std::uint32_t errLength;
};

constexpr std::size_t kBatchBytes = 32768;
constexpr std::chrono::milliseconds kBatchDelay{20};

bool writeAll(int fd, const char* data, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = write(fd, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

[[noreturn]] void workerMain(int fd, std::atomic<std::uint64_t>* next, std::size_t count, bool finishTask,
                             const WorkerPool::Task& task)
{
    std::signal(SIGINT, SIG_IGN);
    if (finishTask) {
        struct sigaction action {};
        action.sa_handler = onStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGUSR1, &action, nullptr);
    }
    // Records go out in batches: on a run of quick puzzles one write per puzzle costs more
    // than the puzzles. A batch waits at most kBatchDelay, so that a slow puzzle after
    // quick ones does not hold their results back.
    std::string batch;
    auto lastWrite = std::chrono::steady_clock::now();
    bool written = true;
    for (;;) {
        const std::uint64_t index = next->fetch_add(1);
        if (index >= count)
            break;
        const TaskResult result = task(static_cast<std::size_t>(index));
        const RecordHeader header{index, result.code, static_cast<std::uint32_t>(result.out.size()),
                                  static_cast<std::uint32_t>(result.err.size())};
        batch.append(reinterpret_cast<const char*>(&header), sizeof header);
        batch += result.out;
        batch += result.err;
        const auto now = std::chrono::steady_clock::now();
        if (batch.size() >= kBatchBytes || now - lastWrite >= kBatchDelay) {
            written = writeAll(fd, batch.data(), batch.size());
            batch.clear();
            lastWrite = now;
            if (!written)
                break;
        }
        // A task asked to stop (SIGUSR1) has reported its partial result.
        if (WorkerPool::interruptRequested())
            break;
    }
    if (written && !batch.empty())
        writeAll(fd, batch.data(), batch.size());
    close(fd);
    std::_Exit(0);
}

} // namespace

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

bool WorkerPool::interruptRequested()
{
    return interruptFlag != 0;
}

std::size_t WorkerPool::run(std::size_t count, const Task& task, const Emit& emit)
{
    interrupted = false;
    if (count == 0)
        return 0;
    // The next task number, shared by the workers so that none sits idle while
    // another has a long queue.
    void* shared = mmap(nullptr, sizeof(std::atomic<std::uint64_t>), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED)
        return 0;
    auto* next = new (shared) std::atomic<std::uint64_t>(0);

    const int workers = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(jobs), count));
    std::vector<pid_t> pids;
    std::vector<int> fds;
    std::vector<std::string> buffers(static_cast<std::size_t>(workers));
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t parent = getpid();
    for (int w = 0; w < workers; ++w) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            break;
        const pid_t pid = fork();
        if (pid == 0) {
            // A parent killed by a signal it cannot catch takes its workers with it; one
            // that died before this line is seen by the changed parent id.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                std::_Exit(0);
            close(pipeFds[0]);
            for (const int fd : fds)
                close(fd);
            workerMain(pipeFds[1], next, count, finishTask, task);
        }
        close(pipeFds[1]);
        if (pid < 0) {
            close(pipeFds[0]);
            break;
        }
        pids.push_back(pid);
        fds.push_back(pipeFds[0]);
    }

    std::map<std::size_t, TaskResult> waiting;
    std::size_t emitted = 0;
    bool stopping = false;
    std::size_t open = fds.size();
    std::vector<pollfd> polls;
    char chunk[65536];
    while (open > 0) {
        if (interruptFlag && !stopping) {
            stopping = true;
            interrupted = true;
            for (const pid_t pid : pids)
                kill(pid, SIGUSR1);
        }
        polls.clear();
        for (const int fd : fds)
            polls.push_back({fd, POLLIN, 0});
        if (poll(polls.data(), polls.size(), -1) < 0)
            continue;
        for (std::size_t w = 0; w < polls.size(); ++w) {
            if (fds[w] < 0 || !(polls[w].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t got = read(fds[w], chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                close(fds[w]);
                fds[w] = -1;
                --open;
                continue;
            }
            std::string& buffer = buffers[w];
            buffer.append(chunk, static_cast<std::size_t>(got));
            std::size_t at = 0;
            while (buffer.size() - at >= sizeof(RecordHeader)) {
                RecordHeader header;
                std::memcpy(&header, buffer.data() + at, sizeof header);
                const std::size_t length = sizeof header + header.outLength + header.errLength;
                if (buffer.size() - at < length)
                    break;
                const char* body = buffer.data() + at + sizeof header;
                waiting[header.index] = {std::string(body, header.outLength),
                                         std::string(body + header.outLength, header.errLength), header.code};
                at += length;
            }
            buffer.erase(0, at);
            for (auto first = waiting.begin(); first != waiting.end() && first->first == emitted;
                 first = waiting.begin()) {
                emit(emitted, first->second);
                waiting.erase(first);
                ++emitted;
            }
        }
    }
    for (const pid_t pid : pids) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    munmap(shared, sizeof(std::atomic<std::uint64_t>));
    interrupted = interrupted || interruptFlag;
    return emitted;
}
