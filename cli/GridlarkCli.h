#pragma once

#include "SudokuBoard.h"
#include "SudokuSolver.h"

#include <memory>
#include <string>
#include <vector>

// The commands of gridlark-cli. Each returns the process exit code; results go to
// standard output, every error message to standard error with the file's name.
class GridlarkCli {
public:
    enum ExitCode {
        exitOk = 0,
        exitCannotOpen = SudokuBoard::kExitCannotOpen,
        exitNoInnerSize = SudokuBoard::kExitNoInnerSize,
        exitInvalidGrid = 3,
        exitNoSolution = 4,
        exitSeveralSolutions = 5,
        exitInnerSizeOutOfRange = SudokuBoard::kExitInnerSizeOutOfRange,
        exitUsage = 64,
    };

    // With several files, each is handled in turn; the result is the code of the
    // first file that failed.
    int solve(const std::vector<std::string>& files, bool unique);
    int list(const std::string& file, bool sparse);
    int show(const std::string& file);
    int format(const std::string& file, const std::string& outPath);
    // limit < 0: every puzzle of the file.
    int bench(const std::string& file, long limit, bool unique);

private:
    // Reads a grid file as the board's file constructor does, with its messages,
    // but returns instead of ending the process.
    std::unique_ptr<SudokuBoard> readBoard(const std::string& file, int& exitCode);
    // As readBoard, and refuses a grid with repeated values (exit code 3).
    std::unique_ptr<SudokuBoard> readValidBoard(const std::string& file, int& exitCode);
    int solveOne(const std::string& file, bool unique);
    void printSolution(const SudokuBoard& board);
    void printFigures();

    SudokuSolver solver;
};
