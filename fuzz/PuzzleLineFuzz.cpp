// Feeds arbitrary bytes to the bench command's one-line puzzle reader, compares what
// it reads with a plain reading of the same lines, and solves each puzzle as bench does.
#include "PuzzleReader.h"
#include "SudokuSolver.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// An unsolvable sparse grid is searched to exhaustion, which under the fuzzer's
// instrumentation can take minutes; with this many givens it stays quick.
constexpr int kMaxBlanksToSolve = 45;

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "puzzle line fuzz: %s\n", what);
        std::abort();
    }
}

bool isPuzzleChar(char ch)
{
    return ch == '.' || (ch >= '0' && ch <= '9');
}

struct Expected {
    long lineNumber;
    bool puzzle;
    std::string cells;
};

// The lines that begin like a puzzle, in order: a puzzle when their first 81
// characters are all digits or '.', otherwise malformed.
std::vector<Expected> expectedLines(const std::string& text)
{
    std::vector<Expected> expected;
    long lineNumber = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || !isPuzzleChar(line[0]))
            continue;
        bool puzzle = line.size() >= PuzzleReader::kCells;
        for (int i = 0; puzzle && i < PuzzleReader::kCells; ++i)
            puzzle = isPuzzleChar(line[i]);
        expected.push_back({lineNumber, puzzle, puzzle ? line.substr(0, PuzzleReader::kCells) : ""});
    }
    return expected;
}

// The reader opens a path, so each input goes through this one file.
char inputPath[] = "/tmp/gridlark-fuzz-puzzle-XXXXXX";

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const int fd = mkstemp(inputPath);
    check(fd >= 0, "mkstemp failed");
    close(fd);
    std::atexit([] { std::remove(inputPath); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::FILE* out = std::fopen(inputPath, "wb");
    check(out != nullptr, "cannot write the input file");
    check(std::fwrite(text.data(), 1, text.size(), out) == text.size(), "short write");
    std::fclose(out);

    static SudokuSolver solver;
    PuzzleReader reader(inputPath);
    check(reader.isOpen(), "the reader cannot open its input");
    const std::vector<Expected> expected = expectedLines(text);
    std::array<int, PuzzleReader::kCells> values{};
    std::size_t index = 0;
    for (;;) {
        const PuzzleReader::Result result = reader.next(values);
        if (result == PuzzleReader::Result::end)
            break;
        check(index < expected.size(), "the reader found more puzzle lines than there are");
        const Expected& line = expected[index++];
        check(reader.getLineNumber() == line.lineNumber, "wrong line number");
        check((result == PuzzleReader::Result::puzzle) == line.puzzle, "puzzle and malformed confused");
        if (result == PuzzleReader::Result::malformed) {
            const std::string prefix = "line " + std::to_string(line.lineNumber) + ": ";
            check(reader.getError().compare(0, prefix.size(), prefix) == 0, "the error does not name the line");
            continue;
        }
        SudokuBoard puzzle(3);
        int blanks = 0;
        for (int i = 0; i < PuzzleReader::kCells; ++i) {
            const char ch = line.cells[i];
            check(values[i] == (ch == '.' ? 0 : ch - '0'), "a cell was read wrongly");
            puzzle.cellAt(i / 9, i % 9)->setValue(values[i]);
            blanks += values[i] == 0;
        }
        if (blanks > kMaxBlanksToSolve)
            continue;
        if (const SudokuBoard* solution = solver.solve(&puzzle, false, false)) {
            check(solution->isValid(), "solution breaks the rules");
            for (int i = 0; i < PuzzleReader::kCells; ++i) {
                const int v = solution->valueAt(i / 9, i % 9);
                check(v != 0 && (values[i] == 0 || values[i] == v), "solution is incomplete or lost a given");
            }
        }
    }
    check(index == expected.size(), "the reader missed puzzle lines");
    return 0;
}
