#include "BatchPipeline.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

// The exit codes of the run's own ends (the commands list them all).
constexpr int kExitOutputFailed = 1;
constexpr int kExitWorkerLost = 4;
constexpr int kExitInterrupted = 130;

// Results printed only when all before them are done wait here up to this much; then
// no more tasks go out until the slow one is done.
constexpr std::size_t kMaxHeldBytes = 8u << 20;
constexpr std::size_t kOutputBytes = 65536;
// A chunk of tasks is about this much work, so that workers write back a few hundred
// times a second whatever the puzzles, and a slow puzzle holds few others back.
constexpr double kChunkNanoseconds = 2e6;
constexpr std::size_t kMaxChunk = 64;
// Chunks a worker may have at once once tasks are known to be short: enough to outlast
// one of this process's own.
constexpr std::size_t kWorkerChunks = 4;
constexpr std::size_t kTasksToKnow = 8;
// Tasks longer than this on average are left to the workers, so that this process stays
// free to feed them and to print.
constexpr double kLongTaskNanoseconds = 10e6;
// A worker's results go back when a chunk is done, or sooner when they pass this size
// or have waited this long.
constexpr std::size_t kBatchBytes = 32768;
constexpr std::chrono::milliseconds kBatchDelay{20};

struct TaskHeader {
    std::uint64_t sequence;
    std::uint64_t ordinal;
    std::int64_t line;
    std::int32_t innerSize;
    std::uint32_t valueCount;
    std::uint32_t labelLength;
    std::uint32_t reserved;
};

struct ResultHeader {
    std::uint64_t sequence;
    std::int64_t nanoseconds;
    std::int64_t figures[6];
    std::int32_t code;
    std::uint32_t outLength;
    std::uint32_t errLength;
    std::uint32_t reserved;
};

std::size_t taskLength(const TaskHeader& header)
{
    return sizeof header + header.valueCount * sizeof(std::uint16_t) + header.labelLength;
}

// Reads the task at data (its whole length there) into item.
TaskHeader decodeTask(const char* data, BatchItem& item)
{
    TaskHeader header;
    std::memcpy(&header, data, sizeof header);
    const char* body = data + sizeof header;
    item.puzzle.innerSize = header.innerSize;
    item.puzzle.line = header.line;
    item.puzzle.values.resize(header.valueCount);
    if (header.valueCount > 0)
        std::memcpy(item.puzzle.values.data(), body, header.valueCount * sizeof(std::uint16_t));
    item.ordinal = header.ordinal;
    item.label.assign(body + header.valueCount * sizeof(std::uint16_t), header.labelLength);
    return header;
}

void clearResult(TaskResult& result)
{
    result.out.clear();
    result.err.clear();
    result.code = 0;
    result.figures = {};
}

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

[[noreturn]] void workerMain(int taskFd, int resultFd, const BatchPipeline::Work& work)
{
    std::string in;
    std::size_t at = 0;
    // Waits until n more bytes of tasks are there; false at the end of the tasks.
    const auto need = [&](std::size_t n) {
        while (in.size() - at < n) {
            if (at > 0) {
                in.erase(0, at);
                at = 0;
            }
            // Read on the stack and appended: growing the string first would clear
            // 64 KiB for every few tasks that come.
            char chunk[65536];
            const ssize_t got = read(taskFd, chunk, sizeof chunk);
            in.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
            // Asked to stop while waiting for tasks: there is no task to finish.
            if (got < 0 && errno == EINTR && !WorkerPool::interruptRequested())
                continue;
            if (got <= 0)
                return false;
        }
        return true;
    };
    BatchItem item;
    item.isPuzzle = true;
    TaskResult result;
    std::string batch;
    bool written = true;
    auto lastWrite = std::chrono::steady_clock::now();
    const auto flush = [&] {
        if (written && !batch.empty())
            written = writeAll(resultFd, batch.data(), batch.size());
        batch.clear();
        lastWrite = std::chrono::steady_clock::now();
    };
    bool more = true;
    while (more && written && !WorkerPool::interruptRequested() && need(sizeof(std::uint32_t))) {
        std::uint32_t count = 0;
        std::memcpy(&count, in.data() + at, sizeof count);
        at += sizeof count;
        for (std::uint32_t k = 0; k < count && written; ++k) {
            TaskHeader header;
            if (!need(sizeof header)) {
                more = false;
                break;
            }
            std::memcpy(&header, in.data() + at, sizeof header);
            if (!need(taskLength(header))) {
                more = false;
                break;
            }
            decodeTask(in.data() + at, item);
            at += taskLength(header);
            clearResult(result);
            const auto started = std::chrono::steady_clock::now();
            work(item, result);
            const auto now = std::chrono::steady_clock::now();
            ResultHeader back{header.sequence,
                              std::chrono::duration_cast<std::chrono::nanoseconds>(now - started).count(),
                              {},
                              result.code,
                              static_cast<std::uint32_t>(result.out.size()),
                              static_cast<std::uint32_t>(result.err.size()),
                              0};
            std::copy(result.figures.begin(), result.figures.end(), back.figures);
            batch.append(reinterpret_cast<const char*>(&back), sizeof back);
            batch += result.out;
            batch += result.err;
            if (batch.size() >= kBatchBytes || now - lastWrite >= kBatchDelay)
                flush();
            // A task asked to stop (SIGUSR1) has reported its partial result.
            if (WorkerPool::interruptRequested()) {
                more = false;
                break;
            }
        }
        flush();
    }
    flush();
    close(resultFd);
    close(taskFd);
    std::_Exit(0);
}

} // namespace

void BatchPipeline::addText(const std::string& out, const std::string& err, int code)
{
    Slot& slot = slots[tail++ % kWindow];
    slot.ready = true;
    slot.isPuzzle = false;
    slot.soleOpen = false;
    slot.result.out = out;
    slot.result.err = err;
    slot.result.code = code;
    slot.result.figures = {};
    heldBytes += out.size() + err.size();
}

void BatchPipeline::addPuzzle(const PuzzleValues& puzzle, long line, std::size_t ordinal, std::string_view name,
                              bool withLine, std::size_t group, bool soleOpen)
{
    const std::size_t sequence = tail++;
    Slot& slot = slots[sequence % kWindow];
    slot.ready = false;
    slot.isPuzzle = true;
    slot.soleOpen = soleOpen;
    // The label is written straight into the task: a string of its own per puzzle
    // would cost more than reading the puzzle.
    char digits[24];
    std::size_t digitCount = 0;
    if (withLine) {
        digits[0] = ':';
        digitCount = static_cast<std::size_t>(std::to_chars(digits + 1, digits + sizeof digits, line).ptr - digits);
    }
    if (soleOpen) {
        slot.label.assign(name);
        slot.label.append(digits, digitCount);
        slot.group = group;
        slot.prefixLength = name.size();
    }
    const TaskHeader header{sequence,
                            ordinal,
                            line,
                            puzzle.innerSize,
                            static_cast<std::uint32_t>(puzzle.values.size()),
                            static_cast<std::uint32_t>(name.size() + digitCount),
                            0};
    queued.append(reinterpret_cast<const char*>(&header), sizeof header);
    if (!puzzle.values.empty())
        queued.append(reinterpret_cast<const char*>(puzzle.values.data()),
                      puzzle.values.size() * sizeof(std::uint16_t));
    queued.append(name);
    queued.append(digits, digitCount);
    ++queuedCount;
    ++puzzlesAdded;
}

bool BatchPipeline::worksHere() const
{
    if (queuedCount == 0 || heldBytes >= kMaxHeldBytes)
        return false;
    return jobs == 1 ||
        (meanTaskNanoseconds < kLongTaskNanoseconds && channels.size() < static_cast<std::size_t>(jobs));
}

std::size_t BatchPipeline::chunkSize() const
{
    return std::clamp<std::size_t>(static_cast<std::size_t>(kChunkNanoseconds / std::max(meanTaskNanoseconds, 1.0)),
                                   1, kMaxChunk);
}

bool BatchPipeline::sendTasks(WorkerPool::Worker& worker, Channel& channel)
{
    while (channel.sent < channel.outgoing.size()) {
        const ssize_t written =
            write(worker.taskFd, channel.outgoing.data() + channel.sent, channel.outgoing.size() - channel.sent);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EAGAIN)
            return true;
        // A worker that is gone shows in its results.
        if (written <= 0)
            return false;
        channel.sent += static_cast<std::size_t>(written);
    }
    channel.outgoing.clear();
    channel.sent = 0;
    return true;
}

void BatchPipeline::dispatch(WorkerPool& pool, const Work& work)
{
    while (queuedCount > 0 && heldBytes < kMaxHeldBytes) {
        // An idle worker first, a new one next, then the one with the fewest chunks to
        // go: each has chunks at hand while this process works on one of its own.
        std::size_t chosen = channels.size();
        for (std::size_t w = 0; w < channels.size() && chosen == channels.size(); ++w)
            if (channels[w].open && channels[w].chunks.empty())
                chosen = w;
        // While this process works on tasks too it is one of the jobs, so it forks one
        // fewer, and only once there is more than a chunk to do: a short input is done
        // with no fork at all.
        const bool shortTasks = meanTaskNanoseconds < kLongTaskNanoseconds;
        const std::size_t workerLimit = static_cast<std::size_t>(shortTasks || jobs == 1 ? jobs - 1 : jobs);
        if (chosen == channels.size() && channels.size() < workerLimit && (queuedCount > chunkSize() || !shortTasks)) {
            if (!pool.spawn([&work](int taskFd, int resultFd) { workerMain(taskFd, resultFd, work); }, finishTask))
                return;
            channels.emplace_back();
            chosen = channels.size() - 1;
        }
        // Until tasks are known to be short, a worker gets one chunk at a time, so that a
        // few long tasks are shared out.
        const std::size_t depth = shortTasks && tasksTimed >= kTasksToKnow ? kWorkerChunks : 1;
        for (std::size_t w = 0; w < channels.size(); ++w)
            if (channels[w].open && channels[w].chunks.size() < depth &&
                (chosen == channels.size() || channels[w].chunks.size() < channels[chosen].chunks.size()))
                chosen = w;
        if (chosen == channels.size())
            return;
        Channel& channel = channels[chosen];
        const auto count = static_cast<std::uint32_t>(std::min(queuedCount, chunkSize()));
        std::size_t end = queuedStart;
        for (std::uint32_t k = 0; k < count; ++k) {
            TaskHeader header;
            std::memcpy(&header, queued.data() + end, sizeof header);
            end += taskLength(header);
        }
        channel.outgoing.append(reinterpret_cast<const char*>(&count), sizeof count);
        channel.outgoing.append(queued, queuedStart, end - queuedStart);
        channel.chunks.push_back(count);
        dropQueued(end, count);
        sendTasks(pool.getWorkers()[chosen], channel);
    }
}

void BatchPipeline::dropQueued(std::size_t end, std::size_t count)
{
    queuedCount -= count;
    queuedStart = end;
    if (queuedCount == 0) {
        queued.clear();
        queuedStart = 0;
    } else if (queuedStart >= kOutputBytes && queuedStart * 2 >= queued.size()) {
        // Dropped once they are half of it, so that each task is moved at most once.
        queued.erase(0, queuedStart);
        queuedStart = 0;
    }
}

void BatchPipeline::workHere(const Work& work)
{
    if (!finishTask) {
        // A task that cannot stop half-way would hold Ctrl+C up for as long as it runs:
        // the process ends at once instead, with what is printed so far.
        flushOut();
        // Written for every chunk of tasks: to_chars costs a tenth of snprintf.
        static constexpr std::string_view kStart = "gridlark-cli: interrupted after ";
        static constexpr std::string_view kOf = " of ";
        static constexpr std::string_view kEnd = " puzzles\n";
        // Room for the longest counts, bounded so that the compiler sees it too.
        constexpr std::size_t kDigits = 20;
        char message[kStart.size() + kOf.size() + kEnd.size() + 2 * kDigits];
        char* at = std::copy(kStart.begin(), kStart.end(), message);
        at = std::to_chars(at, at + kDigits, puzzlesPrinted).ptr;
        at = std::copy(kOf.begin(), kOf.end(), at);
        at = std::to_chars(at, at + kDigits, puzzlesAdded).ptr;
        at = std::copy(kEnd.begin(), kEnd.end(), at);
        WorkerPool::exitOnInterrupt(message, static_cast<std::size_t>(at - message), kExitInterrupted);
    }
    const std::size_t count = std::min(queuedCount, chunkSize());
    std::size_t end = queuedStart;
    std::size_t done = 0;
    while (done < count && !WorkerPool::interruptRequested()) {
        const TaskHeader header = decodeTask(queued.data() + end, local);
        end += taskLength(header);
        ++done;
        Slot& slot = slots[header.sequence % kWindow];
        clearResult(slot.result);
        const auto started = std::chrono::steady_clock::now();
        work(local, slot.result);
        const auto nanoseconds =
            std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - started).count();
        slot.ready = true;
        heldBytes += slot.result.out.size() + slot.result.err.size();
        meanTaskNanoseconds = meanTaskNanoseconds * 0.875 + static_cast<double>(nanoseconds) * 0.125;
        ++tasksTimed;
    }
    WorkerPool::exitOnInterrupt(nullptr, 0, 0);
    dropQueued(end, done);
}

bool BatchPipeline::receive(WorkerPool::Worker& worker, Channel& channel)
{
    char chunk[65536];
    const ssize_t got = read(worker.resultFd, chunk, sizeof chunk);
    if (got < 0)
        return errno == EINTR || errno == EAGAIN;
    if (got == 0)
        return false;
    channel.incoming.append(chunk, static_cast<std::size_t>(got));
    std::size_t at = 0;
    while (channel.incoming.size() - at >= sizeof(ResultHeader)) {
        ResultHeader header;
        std::memcpy(&header, channel.incoming.data() + at, sizeof header);
        const std::size_t length = sizeof header + header.outLength + header.errLength;
        if (channel.incoming.size() - at < length)
            break;
        const char* body = channel.incoming.data() + at + sizeof header;
        Slot& slot = slots[header.sequence % kWindow];
        slot.result.out.assign(body, header.outLength);
        slot.result.err.assign(body + header.outLength, header.errLength);
        slot.result.code = header.code;
        std::copy(std::begin(header.figures), std::end(header.figures), slot.result.figures.begin());
        slot.ready = true;
        heldBytes += header.outLength + header.errLength;
        meanTaskNanoseconds = meanTaskNanoseconds * 0.875 + static_cast<double>(header.nanoseconds) * 0.125;
        ++tasksTimed;
        if (!channel.chunks.empty() && --channel.chunks.front() == 0)
            channel.chunks.erase(channel.chunks.begin());
        at += length;
    }
    channel.incoming.erase(0, at);
    return true;
}

void BatchPipeline::writeOut(const char* data, std::size_t length)
{
    output.append(data, length);
    if (output.size() >= kOutputBytes)
        flushOut();
}

void BatchPipeline::flushOut()
{
    std::size_t at = 0;
    while (at < output.size() && !outputFailed) {
        const ssize_t written = write(STDOUT_FILENO, output.data() + at, output.size() - at);
        if (written >= 0) {
            at += static_cast<std::size_t>(written);
        } else if (errno == EAGAIN) {
            pollfd ready{STDOUT_FILENO, POLLOUT, 0};
            poll(&ready, 1, -1);
        } else if (errno != EINTR) {
            // A reader that has gone (a pipe into head) ends the run without a word.
            outputClosed = errno == EPIPE;
            if (!outputClosed)
                std::fprintf(stderr, "gridlark-cli: cannot write the output: %s\n", std::strerror(errno));
            outputFailed = true;
        }
    }
    output.clear();
}

void BatchPipeline::print(const Source& source, const Done& done)
{
    while (head < tail && !outputFailed) {
        Slot& slot = slots[head % kWindow];
        if (!slot.ready)
            return;
        TaskResult& printed = slot.result;
        if (slot.soleOpen && (printed.err.find(slot.label) != std::string::npos ||
                              printed.out.find(slot.label) != std::string::npos)) {
            // The first puzzle of an input that may hold no other: its label says so
            // once the input has told.
            const int sole = source.sole(slot.group);
            if (sole < 0)
                return;
            if (sole == 1) {
                const std::string from = slot.label + ":";
                const std::string to = slot.label.substr(0, slot.prefixLength) + ":";
                for (std::string* text : {&printed.out, &printed.err})
                    for (std::size_t at = 0; (at = text->find(from, at)) != std::string::npos; at += to.size())
                        text->replace(at, from.size(), to);
            }
        }
        writeOut(printed.out.data(), printed.out.size());
        if (!printed.err.empty()) {
            flushOut();
            std::fwrite(printed.err.data(), 1, printed.err.size(), stderr);
        }
        if (result == 0)
            result = printed.code;
        if (slot.isPuzzle) {
            ++puzzlesPrinted;
            partial = printed.code == kExitInterrupted;
        }
        if (done)
            done(slot.isPuzzle, printed);
        heldBytes -= std::min(heldBytes, printed.out.size() + printed.err.size());
        slot.ready = false;
        ++head;
    }
}

int BatchPipeline::run(const Source& source, const Work& work, const Done& done)
{
    struct sigaction ignore {};
    struct sigaction saved {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &saved);
    std::fflush(stdout);

    WorkerPool pool;
    bool reading = true;
    bool lost = false;
    std::vector<pollfd> polls;
    for (;;) {
        if (WorkerPool::interruptRequested() && !interrupted) {
            interrupted = true;
            reading = false;
            pool.stop();
            queuedCount = 0;
        }
        bool waitInput = false;
        while (reading && getRoom() > 0) {
            const std::size_t before = tail;
            reading = source.read(*this);
            if (tail == before) {
                waitInput = reading;
                break;
            }
        }
        if (!interrupted && !lost)
            dispatch(pool, work);
        print(source, done);
        // What no worker has taken is done here, a chunk at a time, between rounds of
        // reading, feeding and printing.
        const bool canWork = !interrupted && !lost && !outputFailed && worksHere();
        if (canWork) {
            workHere(work);
            print(source, done);
            // Stopped by Ctrl+C: the run ends as one that was waiting would.
            if (WorkerPool::interruptRequested())
                continue;
        }
        bool working = false;
        for (const Channel& channel : channels)
            working = working || channel.open;
        // A lost worker ends the run at once; the others are stopped on the way out.
        if (outputFailed || lost || (!reading && head == tail) || (interrupted && !working))
            break;
        flushOut();
        if (outputFailed)
            break;
        // Work of its own, or room that printing made and the source has not been asked
        // to fill yet: the workers are served without waiting, then the loop goes on.
        const bool busy = (!interrupted && worksHere()) || (reading && !waitInput && getRoom() > 0);

        polls.clear();
        if (waitInput && source.waitFd() >= 0)
            polls.push_back({source.waitFd(), POLLIN, 0});
        std::vector<WorkerPool::Worker>& workers = pool.getWorkers();
        for (std::size_t w = 0; w < channels.size(); ++w) {
            if (!channels[w].open)
                continue;
            polls.push_back({workers[w].resultFd, POLLIN, 0});
            if (channels[w].sent < channels[w].outgoing.size())
                polls.push_back({workers[w].taskFd, POLLOUT, 0});
        }
        // Nothing to wait for and nothing that can move: a result that never comes.
        if (polls.empty()) {
            lost = !waitInput && !busy;
            if (lost)
                break;
            continue;
        }
        if (poll(polls.data(), polls.size(), busy ? 0 : -1) <= 0)
            continue;
        for (const pollfd& ready : polls) {
            if (!ready.revents)
                continue;
            for (std::size_t w = 0; w < channels.size(); ++w) {
                if (ready.fd == workers[w].taskFd && channels[w].open) {
                    sendTasks(workers[w], channels[w]);
                } else if (ready.fd == workers[w].resultFd && channels[w].open && !receive(workers[w], channels[w])) {
                    channels[w].open = false;
                    lost = lost || (!channels[w].chunks.empty() && !interrupted);
                }
            }
        }
    }
    print(source, done);
    flushOut();
    sigaction(SIGPIPE, &saved, nullptr);
    if (outputFailed)
        return kExitOutputFailed;
    if (interrupted) {
        // A puzzle stopped half-way has printed its partial figure but is not done.
        std::fprintf(stderr, "gridlark-cli: interrupted after %zu of %zu puzzles\n",
                     puzzlesPrinted - (partial ? 1 : 0), puzzlesAdded);
        return kExitInterrupted;
    }
    if (lost) {
        std::fprintf(stderr, "gridlark-cli: a worker process ended before puzzle %zu\n", puzzlesPrinted + 1);
        return kExitWorkerLost;
    }
    pool.finish();
    return result;
}
