#include "PuzzleReader.h"

#include "GridFile.h"

#include <cstdlib>

namespace {

bool isPuzzleChar(char ch)
{
    return ch == '.' || (ch >= '0' && ch <= '9');
}

} // namespace

// Opened like a grid file, so that a FIFO without writer reads as empty instead of
// blocking.
PuzzleReader::PuzzleReader(const std::string& path)
    : in(openGridFile(path.c_str()))
{
}

PuzzleReader::~PuzzleReader()
{
    if (in)
        std::fclose(in);
    std::free(lineBuffer);
}

PuzzleReader::Result PuzzleReader::next(std::array<int, kCells>& values)
{
    while (in) {
        const ssize_t length = getline(&lineBuffer, &lineCapacity, in);
        if (length < 0)
            break;
        line.assign(lineBuffer, static_cast<std::size_t>(length));
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || !isPuzzleChar(line[0]))
            continue;
        for (int i = 0; i < kCells; ++i) {
            if (i >= static_cast<int>(line.size())) {
                error = "line " + std::to_string(lineNumber) + ": a puzzle needs 81 cells, found "
                    + std::to_string(line.size());
                return Result::malformed;
            }
            const char ch = line[i];
            if (!isPuzzleChar(ch)) {
                error = "line " + std::to_string(lineNumber) + ": character '" + std::string(1, ch)
                    + "' at position " + std::to_string(i + 1) + " is not a digit or '.'";
                return Result::malformed;
            }
            values[i] = ch == '.' ? 0 : ch - '0';
        }
        return Result::puzzle;
    }
    return Result::end;
}
