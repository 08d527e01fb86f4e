#pragma once

#include "SolutionCheck.h"
#include "SudokuBoard.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The common one-line puzzle form (81 characters, '.' or '0' blank), read here on its
// own so that the oracle tests do not rest on the code they check.
inline std::unique_ptr<SudokuBoard> boardFromLine(const std::string& line)
{
    auto board = std::make_unique<SudokuBoard>(3);
    for (std::size_t i = 0; i < 81; ++i) {
        if (i >= line.size() || (line[i] != '.' && (line[i] < '0' || line[i] > '9')))
            return nullptr;
        board->cellAt(static_cast<int>(i) / 9, static_cast<int>(i) % 9)->setValue(line[i] == '.' ? 0 : line[i] - '0');
    }
    return board;
}

// A file name in the temporary folder that no other test process uses.
inline std::string temporaryPath(const std::string& stem)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/gridlark-" + stem + "-" + std::to_string(getpid());
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct CommandResult {
    int code; // -1 when the command did not exit
    std::string out;
    std::string err;
};

// Runs a shell command with no input.
inline CommandResult runCommand(const std::string& command)
{
    const std::string out = temporaryPath("stdout");
    const std::string err = temporaryPath("stderr");
    const int status = std::system(("(" + command + ") >'" + out + "' 2>'" + err + "' </dev/null").c_str());
    CommandResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
    std::remove(out.c_str());
    std::remove(err.c_str());
    return result;
}

// Runs gridlark-cli (after prefix, which may change the user) with a time limit that
// only a hang reaches; a hang exits with 124.
inline CommandResult runCli(const std::string& arguments, const std::string& prefix = "")
{
    return runCommand(prefix + "timeout 60 '" GRIDLARK_CLI "' " + arguments);
}

// The lines of a text, without their line ends.
inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

// The 9x9 one-line puzzles of a file, comments left out.
inline std::vector<std::string> puzzleLinesOf(const std::string& path)
{
    std::vector<std::string> puzzles;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (line.size() >= 81 && line[0] != '#')
            puzzles.push_back(line.substr(0, 81));
    return puzzles;
}
