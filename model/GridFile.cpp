#include "GridFile.h"

#include "UserTexts.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
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

// printf into a text of whatever length the arguments need.
template <typename... Args>
std::string formatted(const char* format, Args... args)
{
    const int length = std::snprintf(nullptr, 0, format, args...);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
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

GridRead readGrid(std::FILE* in)
{
    GridRead read;
    int n = 0;
    if (!readGridNumber(in, n, &read.innerSizeText)) {
        read.status = GridReadStatus::noInnerSize;
        return read;
    }
    if (n < 0 || n > SudokuBoard::kMaxInnerSize) {
        read.status = GridReadStatus::innerSizeOutOfRange;
        return read;
    }
    read.board = std::make_unique<SudokuBoard>(n);
    const int size = read.board->getSize();
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            // A failed read leaves the text that stopped it unread, so every later
            // read would fail too: the remaining cells stay blank.
            int v = 0;
            if (!readGridNumber(in, v))
                return read;
            if (v != 0)
                read.board->cellAt(r, c)->setValue(v);
        }
    }
    return read;
}

GridRead readGridFile(const char* path)
{
    std::FILE* in = openGridFile(path);
    if (!in) {
        GridRead read;
        read.status = GridReadStatus::cannotOpen;
        return read;
    }
    GridRead read = readGrid(in);
    std::fclose(in);
    return read;
}

std::string GridRead::message(const char* path) const
{
    switch (status) {
    case GridReadStatus::ok:
        return {};
    case GridReadStatus::cannotOpen:
        return formatted(UserTexts::cannotOpenFile, path);
    case GridReadStatus::noInnerSize:
        return formatted(UserTexts::noInnerSize, path);
    case GridReadStatus::innerSizeOutOfRange:
        return formatted(UserTexts::innerSizeOutOfRange, innerSizeText.c_str(), path, SudokuBoard::kMaxInnerSize);
    }
    return {};
}

int GridRead::exitCode() const
{
    switch (status) {
    case GridReadStatus::ok:
        return 0;
    case GridReadStatus::cannotOpen:
        return SudokuBoard::kExitCannotOpen;
    case GridReadStatus::noInnerSize:
        return SudokuBoard::kExitNoInnerSize;
    case GridReadStatus::innerSizeOutOfRange:
        return SudokuBoard::kExitInnerSizeOutOfRange;
    }
    return SudokuBoard::kExitCannotOpen;
}

// The fatal form of readGridFile: the error on standard error ends the process.
SudokuBoard::SudokuBoard(const char* path)
{
    GridRead read = readGridFile(path);
    if (!read.board) {
        std::fputs(read.message(path).c_str(), stderr);
        std::exit(read.exitCode());
    }
    *this = std::move(*read.board);
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
