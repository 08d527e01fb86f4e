#pragma once

#include "SudokuBoard.h"

#include <memory>
#include <string>
#include <vector>

// The common one-line puzzle form (81 characters, '.' or '0' blank), read here on its
// own so that the oracle tests do not rest on the code they check.
std::unique_ptr<SudokuBoard> boardFromLine(const std::string& line);

// The lines of a puzzle list in the tests' data folder.
std::vector<std::string> readPuzzleLines(const std::string& path);

// True when solution is complete, keeps the rules and keeps every given of puzzle.
bool solves(const SudokuBoard& puzzle, const SudokuBoard& solution);

// Runs a shell command; returns its standard output and sets its exit status.
std::string runCommand(const std::string& command, int& status);

// A file name in the temporary folder that no other test uses.
std::string temporaryPath(const std::string& stem);
