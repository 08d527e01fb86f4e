#include "PuzzleStream.h"

#include "GridFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

bool PuzzleStream::open(const std::string& name, PuzzleFormat inputFormat, bool whole)
{
    close();
    format = inputFormat;
    mode = whole ? Mode::whole : Mode::probe;
    buffer.clear();
    start = 0;
    line = 1;
    pieceLine = 1;
    pieceWhole = false;
    probed = 0;
    skipped = 0;
    atEnd = false;
    error = Error::none;
    if (name == "-") {
        fd = STDIN_FILENO;
        ownFd = false;
        pollFirst = true;
        return true;
    }
    std::FILE* in = openGridFile(name.c_str());
    if (!in)
        return false;
    fd = dup(fileno(in));
    std::fclose(in);
    if (fd < 0)
        return false;
    ownFd = true;
    // Its own descriptor waits for nobody: a FIFO without a writer reads as empty, one
    // with a writer that has not written yet says so.
    pollFirst = fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) != 0;
    return true;
}

void PuzzleStream::close()
{
    if (ownFd && fd >= 0)
        ::close(fd);
    fd = -1;
    ownFd = false;
}

PuzzleStream::Status PuzzleStream::fill()
{
    if (pollFirst) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 0) <= 0)
            return Status::wait;
    }
    if (start > 0 && start * 2 >= buffer.size()) {
        buffer.erase(0, start);
        start = 0;
    }
    const std::size_t old = buffer.size();
    buffer.resize(old + kBlock);
    const ssize_t got = read(fd, buffer.data() + old, kBlock);
    buffer.resize(old + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    if (got < 0) {
        if (errno == EINTR || errno == EAGAIN)
            return Status::wait;
        // A folder reads as empty.
        if (errno != EISDIR) {
            readErrno = errno;
            return fail(Error::unreadable, line);
        }
    }
    if (got <= 0) {
        atEnd = true;
        return Status::piece;
    }
    // No notation holds a NUL byte; reading ends there, so that /dev/zero ends.
    const char* nul = static_cast<const char*>(std::memchr(buffer.data() + old, '\0', static_cast<std::size_t>(got)));
    if (nul) {
        buffer.resize(static_cast<std::size_t>(nul - buffer.data()) + 1);
        atEnd = true;
    }
    return Status::piece;
}

std::size_t PuzzleStream::completeLines() const
{
    if (atEnd)
        return available();
    const char* first = buffer.data() + start;
    for (const char* at = buffer.data() + buffer.size(); at > first; --at)
        if (at[-1] == '\n')
            return static_cast<std::size_t>(at - first);
    return 0;
}

bool PuzzleStream::take(std::size_t length, PuzzleFormat as, PuzzleText& reader)
{
    piece.assign(buffer, start, length);
    pieceLine = line;
    line += static_cast<long>(std::count(piece.begin(), piece.end(), '\n'));
    start += length;
    return reader.read(piece, as);
}

PuzzleStream::Status PuzzleStream::fail(Error what, long where)
{
    error = what;
    errorLine = where;
    mode = Mode::done;
    return Status::failed;
}

PuzzleStream::Status PuzzleStream::next(PuzzleText& reader, bool& ok)
{
    for (;;) {
        if (mode == Mode::done)
            return Status::end;
        const std::size_t complete = completeLines();
        if (mode == Mode::probe) {
            if (format != PuzzleFormat::automatic) {
                mode = format == PuzzleFormat::line ? Mode::lines : Mode::whole;
                continue;
            }
            const bool all = atEnd && complete == available();
            // Tried again as the start grows, but only once it has doubled: a start that
            // trickles in is not read over and over.
            if (all || (complete > 0 && (complete >= 2 * probed || available() >= kBlock))) {
                probed = complete;
                piece.assign(buffer, start, complete);
                const PuzzleText::Failure failure = reader.read(piece, PuzzleFormat::automatic)
                    ? PuzzleText::Failure::none
                    : reader.getFailure();
                if (all || (failure == PuzzleText::Failure::none && reader.getFormat() == PuzzleFormat::line)) {
                    ok = take(complete, PuzzleFormat::automatic, reader);
                    pieceWhole = all;
                    mode = all ? Mode::done : Mode::lines;
                    return Status::piece;
                }
                if (failure == PuzzleText::Failure::empty) {
                    // Blank lines before the first puzzle are counted, not kept.
                    line += static_cast<long>(std::count(piece.begin(), piece.end(), '\n'));
                    start += complete;
                    skipped += complete;
                    probed = 0;
                    if (skipped > kMaxWhole)
                        return fail(Error::noPuzzle, line);
                    continue;
                }
            }
            // A start of a block that is not one puzzle per line is read whole.
            if (available() >= kBlock) {
                mode = Mode::whole;
                // Room for all of it at once: growing by doubling would copy it and
                // touch twice the memory.
                buffer.reserve(kMaxWhole + 2 * kBlock);
                continue;
            }
        } else if (mode == Mode::lines) {
            if (complete > 0) {
                ok = take(complete, PuzzleFormat::line, reader);
                pieceWhole = false;
                // Blank lines and comments alone hold no puzzle and are no fault.
                if (!ok && reader.getFailure() == PuzzleText::Failure::empty)
                    continue;
                return Status::piece;
            }
            if (atEnd) {
                mode = Mode::done;
                continue;
            }
            if (available() > kMaxLine)
                return fail(Error::lineTooLong, line);
        } else if (atEnd) {
            ok = take(available(), format, reader);
            pieceWhole = true;
            mode = Mode::done;
            return Status::piece;
        } else if (available() > kMaxWhole) {
            const char* first = buffer.data() + start;
            return fail(Error::tooLarge, line + static_cast<long>(std::count(first, first + kMaxWhole, '\n')));
        }
        const Status filled = fill();
        if (filled != Status::piece)
            return filled;
    }
}
