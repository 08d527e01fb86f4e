#pragma once

#include "SudokuBoard.h"

#include <cstdint>
#include <functional>
#include <string>

// Counts the solutions of a board with the solver's list-all mode in a child
// process, so that a count can be stopped (at a cap, a time limit or Ctrl+C)
// without leaving the solver half-way through a search.
class CountProcess {
public:
    enum class Stop {
        complete,
        atMax,
        timedOut,
        interrupted,
        failed, // the child could not be started or ended without a report
    };

    struct Result {
        std::uint64_t count = 0;
        Stop stop = Stop::failed;
    };

    // What the child prints (list-all mode's text), chunk by chunk; return false
    // to stop the count there.
    using Output = std::function<bool(const std::string& chunk)>;

    // max 0: no cap; timeoutSeconds 0: no limit. Without output the solutions are
    // counted, not printed (sparse is then irrelevant).
    static Result count(const SudokuBoard& board, bool sparse, std::uint64_t max, double timeoutSeconds,
                        const Output& output);
};
