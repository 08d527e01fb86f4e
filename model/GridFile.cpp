#include "GridFile.h"

#include <climits>
#include <fcntl.h>
#include <unistd.h>

std::FILE* openGridFile(const char* path)
{
    // A plain open of a FIFO blocks until some process opens it for writing, which
    // would hang the Load command for ever. Without O_NONBLOCK afterwards, reads wait
    // for data as usual while a writer is there.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    const int flags = fcntl(fd, F_GETFL);
    std::FILE* in = flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0 ? nullptr : fdopen(fd, "r");
    if (!in)
        close(fd);
    return in;
}

bool readGridNumber(std::FILE* in, int& number)
{
    // " %d" keeps only the low 32 bits of a longer number (4294967299 would read as 3);
    // " %ld" reads the same text and saturates at the limits of long.
    long wide = 0;
    if (std::fscanf(in, " %ld", &wide) != 1)
        return false;
    number = wide > INT_MAX ? INT_MAX : wide < INT_MIN ? INT_MIN : static_cast<int>(wide);
    return true;
}

GridReadStatus readInnerSize(std::FILE* in, int& innerSize)
{
    if (!readGridNumber(in, innerSize))
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
    std::FILE* in = openGridFile(path);
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
    std::FILE* in = openGridFile(path);
    opened = in != nullptr;
    if (!in)
        return false;
    const bool read = readGridNumber(in, number);
    std::fclose(in);
    return read;
}
