#pragma once

#include "PuzzleText.h"
#include "WorkerPool.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One entry of a command's output: a puzzle to work on, text to print as is, or an
// input still to be read (in pieces, when the run reaches it).
struct BatchItem {
    bool isPuzzle = false;
    PuzzleValues puzzle;
    std::size_t ordinal = 0; // the puzzle's number in the run, which its seed comes from
    std::string label;       // the input's name, with the puzzle's line when it holds several
    std::string out;
    std::string err;
    int code = 0;
    std::string input; // not empty: the input to read here
};

// What a worker sends back for one puzzle: what it prints, its exit code, and figures
// for the command to add up (bench).
struct TaskResult {
    std::string out;
    std::string err;
    int code = 0;
    std::array<std::int64_t, 6> figures{};
};

// Runs a batch: entries come from a source as they are read, puzzles are worked on in
// chunks by this process and, with more than one job, by up to jobs - 1 worker
// processes (jobs of them, this one only feeding, when tasks take long), and results
// are printed in input order as soon as they and all before them are done. At most
// kWindow entries are between reading and printing, so memory does not grow with the
// length of the batch.
class BatchPipeline {
public:
    static constexpr std::size_t kWindow = 1024;

    using Work = std::function<void(const BatchItem& item, TaskResult& result)>;
    // Each entry's result in order, as it is printed; isPuzzle false for text entries.
    using Done = std::function<void(bool isPuzzle, const TaskResult& result)>;

    struct Source {
        // Adds the entries that are there without waiting, at most getRoom(); false
        // once no more will come.
        std::function<bool(BatchPipeline& pipeline)> read;
        // What to wait on when read added nothing: a descriptor, or -1.
        std::function<int()> waitFd;
        // For the first puzzle of a group of which it is not yet known whether it holds
        // more: 1 when it turned out the only one, 0 when not, -1 while not known.
        std::function<int(std::size_t group)> sole;
    };

    BatchPipeline(int jobs, bool finishTask) : jobs(jobs < 1 ? 1 : jobs), finishTask(finishTask) {}

    std::size_t getRoom() const { return kWindow - (tail - head); }
    void addText(const std::string& out, const std::string& err, int code);
    // name: the puzzle's label, to which withLine adds ":" and the line (its group holds
    // several puzzles, or may); soleOpen: the first of its group, whose label loses the
    // line if it stays alone.
    void addPuzzle(const PuzzleValues& puzzle, long line, std::size_t ordinal, std::string_view name, bool withLine,
                   std::size_t group, bool soleOpen);

    // Returns the exit code: that of the first entry that failed, or of the run's end
    // (interrupted, a worker lost, the output closed).
    int run(const Source& source, const Work& work, const Done& done = {});
    // The output was closed by its reader (a pipe into head): the run ended quietly.
    bool wasOutputClosed() const { return outputClosed; }
    bool wasInterrupted() const { return interrupted; }

private:
    struct Slot {
        bool ready = false;
        bool isPuzzle = false;
        TaskResult result;
        std::string label;
        std::size_t group = 0;
        bool soleOpen = false;
        std::size_t prefixLength = 0;
    };
    // A worker's side as the parent sees it: tasks on their way, results coming back.
    struct Channel {
        std::string outgoing;
        std::size_t sent = 0;
        std::string incoming;
        std::vector<std::uint32_t> chunks; // tasks still out in each chunk, oldest first
        bool open = true;
    };

    void dispatch(WorkerPool& pool, const Work& work);
    // Whether this process takes the next chunk itself: with one job always; with more
    // while tasks are short and it is one of the jobs.
    bool worksHere() const;
    // Does the next chunk of tasks in this process, up to a Ctrl+C.
    void workHere(const Work& work);
    // The queued tasks before end, count of them, have gone out.
    void dropQueued(std::size_t end, std::size_t count);
    bool sendTasks(WorkerPool::Worker& worker, Channel& channel);
    // Reads what a worker sent; false when it has closed its end.
    bool receive(WorkerPool::Worker& worker, Channel& channel);
    void print(const Source& source, const Done& done);
    void writeOut(const char* data, std::size_t length);
    void flushOut();
    std::size_t chunkSize() const;

    int jobs;
    bool finishTask;
    std::vector<Slot> slots = std::vector<Slot>(kWindow);
    std::size_t head = 0; // the next entry to print
    std::size_t tail = 0; // the next entry to add
    std::string queued;   // tasks not yet sent, in order
    std::size_t queuedStart = 0;
    std::size_t queuedCount = 0;
    std::vector<Channel> channels;
    BatchItem local; // the task this process works on
    std::size_t heldBytes = 0; // results waiting to be printed
    double meanTaskNanoseconds = 2e6;
    std::size_t tasksTimed = 0;
    std::string output;
    int result = 0;
    bool outputClosed = false;
    bool outputFailed = false;
    bool interrupted = false;
    bool partial = false;
    std::size_t puzzlesAdded = 0;
    std::size_t puzzlesPrinted = 0;
};
