#include "GridFile.h"

GridReadStatus readInnerSize(std::FILE* in, int& innerSize)
{
    if (std::fscanf(in, " %d", &innerSize) != 1)
        return GridReadStatus::noInnerSize;
    if (innerSize < 0 || innerSize > SudokuBoard::kMaxInnerSize)
        return GridReadStatus::innerSizeOutOfRange;
    return GridReadStatus::ok;
}

std::unique_ptr<SudokuBoard> readGrid(std::FILE* in, GridReadStatus& status)
{
    int n = 0;
    status = readInnerSize(in, n);
    if (status != GridReadStatus::ok)
        return nullptr;
    auto board = std::make_unique<SudokuBoard>(n);
    board->readCells(in);
    return board;
}

std::unique_ptr<SudokuBoard> readGridFile(const char* path, GridReadStatus& status)
{
    std::FILE* in = std::fopen(path, "r");
    if (!in) {
        status = GridReadStatus::cannotOpen;
        return nullptr;
    }
    auto board = readGrid(in, status);
    std::fclose(in);
    return board;
}

bool readLeadingNumber(const char* path, bool& opened, int& number)
{
    std::FILE* in = std::fopen(path, "r");
    opened = in != nullptr;
    if (!in)
        return false;
    const bool read = std::fscanf(in, " %d", &number) == 1;
    std::fclose(in);
    return read;
}
