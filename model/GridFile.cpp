#include "GridFile.h"

#include <algorithm>
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

namespace {

bool isGridSpace(int ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

bool isDigit(int ch)
{
    return ch >= '0' && ch <= '9';
}

} // namespace

bool readGridNumber(std::FILE* in, int& number, std::string* text)
{
    int ch = std::getc(in);
    while (isGridSpace(ch))
        ch = std::getc(in);
    std::string written;
    const bool negative = ch == '-';
    if (ch == '-' || ch == '+') {
        written.push_back(static_cast<char>(ch));
        ch = std::getc(in);
    }
    if (!isDigit(ch)) {
        if (ch != EOF)
            std::ungetc(ch, in);
        return false;
    }
    // The magnitude stops growing one past INT_MAX, so that a number of any length
    // ends at INT_MAX or INT_MIN and never wraps around.
    constexpr long long kCap = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; isDigit(ch); ch = std::getc(in)) {
        magnitude = std::min(magnitude * 10 + (ch - '0'), kCap);
        if (written.size() < kMaxQuotedNumber)
            written.push_back(static_cast<char>(ch));
        else if (written.size() == kMaxQuotedNumber)
            written += "...";
    }
    if (ch != EOF)
        std::ungetc(ch, in);
    number = negative ? static_cast<int>(-magnitude) : static_cast<int>(std::min(magnitude, kCap - 1));
    if (text)
        *text = std::move(written);
    return true;
}

GridReadStatus readInnerSize(std::FILE* in, int& innerSize, std::string* text)
{
    if (!readGridNumber(in, innerSize, text))
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
