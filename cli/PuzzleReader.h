#pragma once

#include <array>
#include <cstdio>
#include <string>

// Reads puzzles in the common one-line format: 81 characters, '1'-'9' for a given
// and '0' or '.' for a blank. Lines that do not start like a puzzle are skipped;
// whatever follows the 81 characters is ignored.
class PuzzleReader {
public:
    static constexpr int kCells = 81;

    enum class Result {
        puzzle,
        end,
        malformed,
    };

    explicit PuzzleReader(const std::string& path);
    ~PuzzleReader();
    PuzzleReader(const PuzzleReader&) = delete;
    PuzzleReader& operator=(const PuzzleReader&) = delete;

    bool isOpen() const { return in != nullptr; }

    // Reads the next puzzle into values (0 for a blank). On malformed, getError
    // names the line and says what is wrong with it.
    Result next(std::array<int, kCells>& values);

    long getLineNumber() const { return lineNumber; }
    const std::string& getError() const { return error; }

private:
    std::FILE* in;
    char* lineBuffer = nullptr;
    std::size_t lineCapacity = 0;
    std::string line;
    std::string error;
    long lineNumber = 0;
};
