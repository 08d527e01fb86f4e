#include "OneLinePuzzle.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

std::unique_ptr<SudokuBoard> boardFromLine(const std::string& line)
{
    if (line.size() < 81)
        return nullptr;
    auto board = std::make_unique<SudokuBoard>(3);
    for (int i = 0; i < 81; ++i) {
        const char ch = line[i];
        if (ch >= '1' && ch <= '9')
            board->cellAt(i / 9, i % 9)->setValue(ch - '0');
        else if (ch != '.' && ch != '0')
            return nullptr;
    }
    return board;
}

std::vector<std::string> readPuzzleLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

bool solves(const SudokuBoard& puzzle, const SudokuBoard& solution)
{
    const int size = puzzle.getSize();
    if (solution.getSize() != size)
        return false;
    for (int r = 0; r < size; ++r) {
        std::set<int> row, column, square;
        for (int i = 0; i < size; ++i) {
            row.insert(solution.valueAt(r, i));
            column.insert(solution.valueAt(i, r));
            const int n = puzzle.getInnerSize();
            square.insert(solution.valueAt((r / n) * n + i / n, (r % n) * n + i % n));
        }
        for (const std::set<int>* unit : {&row, &column, &square})
            if (static_cast<int>(unit->size()) != size || *unit->begin() != 1 || *unit->rbegin() != size)
                return false;
        for (int c = 0; c < size; ++c)
            if (puzzle.valueAt(r, c) != 0 && puzzle.valueAt(r, c) != solution.valueAt(r, c))
                return false;
    }
    return true;
}

std::string runCommand(const std::string& command, int& status)
{
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, got);
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

std::string temporaryPath(const std::string& stem)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/gridlark-" + stem + "-" + std::to_string(getpid());
}
