// The complete engine on puzzle files, one core: for each file the puzzles read, how
// many have none, one or several solutions, and the median and greatest time to find a
// solution and to count to two, in the thread's processor time (the machine is shared,
// so wall time would count other people's work).
//
//   complete_bench FILE...

#include "CompleteSolver.h"
#include "PuzzleText.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    return n == 0 ? 0 : n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: complete_bench FILE...\n");
        return 2;
    }
    CompleteSolver complete;
    for (int a = 1; a < argc; ++a) {
        std::ifstream in(argv[a]);
        std::stringstream text;
        text << in.rdbuf();
        PuzzleText puzzles;
        if (!in || !puzzles.read(text.str(), PuzzleFormat::automatic)) {
            std::fprintf(stderr, "complete_bench: cannot read %s\n", argv[a]);
            return 1;
        }
        std::vector<double> solveTimes;
        std::vector<double> countTimes;
        long verdicts[3] = {0, 0, 0};
        for (const PuzzleValues& puzzle : puzzles.getPuzzles()) {
            const std::vector<int> values(puzzle.values.begin(), puzzle.values.end());
            double start = cpuMilliseconds();
            complete.solve(puzzle.innerSize, values, 1);
            solveTimes.push_back(cpuMilliseconds() - start);
            start = cpuMilliseconds();
            ++verdicts[complete.solve(puzzle.innerSize, values, 2)];
            countTimes.push_back(cpuMilliseconds() - start);
        }
        std::printf("%s: %zu puzzles (none %ld, one %ld, several %ld); solve median %.2f ms, max %.2f ms; "
                    "count to 2 median %.2f ms, max %.2f ms\n",
                    argv[a], solveTimes.size(), verdicts[0], verdicts[1], verdicts[2], median(solveTimes),
                    *std::max_element(solveTimes.begin(), solveTimes.end()), median(countTimes),
                    *std::max_element(countTimes.begin(), countTimes.end()));
    }
    return 0;
}
