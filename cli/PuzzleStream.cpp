#include "PuzzleStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
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
    repeated = 0;
    faultPending = false;
    lastPuzzle.clear();
    probed = 0;
    skipped = 0;
    field = 0;
    separator = 0;
    atEnd = false;
    error = Error::none;
    if (name == "-") {
        fd = STDIN_FILENO;
        ownFd = false;
        pollFirst = true;
        return true;
    }
    // A plain open, so that a FIFO waits for its writer; then reads that wait for
    // nobody, so that a writer that has not written yet is polled, not blocked on.
    fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    const int failure = fstat(fd, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
    if (failure != 0) {
        ::close(fd);
        fd = -1;
        errno = failure;
        return false;
    }
    ownFd = true;
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
    repeated = lastPuzzle.empty() ? 0 : 1;
    piece.assign(lastPuzzle);
    piece.append(buffer, start, length);
    drop(length);
    return keepField(reader.read(piece, as, 1, field, separator), reader);
}

void PuzzleStream::drop(std::size_t length)
{
    pieceLine = line - static_cast<long>(repeated);
    // Line ends found by memchr, a line at a time: far fewer steps than a byte at a time.
    const char* at = buffer.data() + start;
    const char* const end = at + length;
    while ((at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)))) != nullptr) {
        ++line;
        ++at;
    }
    start += length;
}

bool PuzzleStream::keepField(bool ok, const PuzzleText& reader)
{
    // A CSV column found at the start holds for every later piece.
    if (ok && field == 0 && separator == 0) {
        field = reader.getField();
        separator = reader.getSeparator();
    }
    return ok;
}

bool PuzzleStream::splitAtFault(PuzzleText& reader, PuzzleFormat as)
{
    const long fault = reader.getError().line;
    faultPiece = piece;
    faultLine = pieceLine;
    // Without a notation given, the fault is told as a reading of the whole text tells it.
    faultFormat = format;
    if (fault > static_cast<long>(repeated) + 1) {
        std::size_t at = 0;
        for (long n = 1; n < fault && at != std::string::npos; ++n)
            at = piece.find('\n', at) + 1;
        piece.resize(at == std::string::npos ? piece.size() : at);
        faultPending = reader.read(piece, as, 1, field, separator) && reader.getFormat() == PuzzleFormat::line;
        if (faultPending)
            return true;
    }
    piece.swap(faultPiece);
    readFault(reader);
    return false;
}

void PuzzleStream::readFault(PuzzleText& reader)
{
    // A reading in another notation that succeeds is no reading of this input, whose
    // start was one puzzle per line.
    if (faultFormat == PuzzleFormat::line || reader.read(piece, faultFormat))
        reader.read(piece, PuzzleFormat::line, 1, field, separator);
}

void PuzzleStream::keepLastPuzzle(const PuzzleText& reader)
{
    if (reader.getPuzzles().empty())
        return;
    const long wanted = reader.getPuzzles().back().line;
    std::size_t at = 0;
    for (long n = 1; n < wanted && at != std::string::npos; ++n)
        at = piece.find('\n', at) + 1;
    const std::size_t end = piece.find('\n', at);
    lastPuzzle.assign(piece, at, end == std::string::npos ? std::string::npos : end - at);
    lastPuzzle += '\n';
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
    if (faultPending) {
        faultPending = false;
        piece.swap(faultPiece);
        pieceLine = faultLine;
        readFault(reader);
        ok = false;
        return Status::piece;
    }
    for (;;) {
        if (mode == Mode::done)
            return Status::end;
        const std::size_t complete = completeLines();
        if (mode == Mode::probe) {
            if (format != PuzzleFormat::automatic && format != PuzzleFormat::line) {
                mode = Mode::whole;
                continue;
            }
            const bool all = atEnd && complete == available();
            const bool full = available() >= kBlock;
            // Tried again as the start grows, but only once it has doubled: a start that
            // trickles in is not read over and over.
            if (all || (complete > 0 && (complete >= 2 * probed || full))) {
                probed = complete;
                const char* first = buffer.data() + start;
                const bool blank = std::all_of(first, first + complete, [](char ch) {
                    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
                });
                piece.assign(buffer, start, complete);
                const bool read = !blank && reader.read(piece, format);
                if (all || (read && reader.getFormat() == PuzzleFormat::line) ||
                    (full && format == PuzzleFormat::line)) {
                    // The piece is what was just read, as take would read it: nothing
                    // came before it to repeat, and no column is known yet.
                    if (blank) {
                        ok = take(complete, format, reader);
                    } else {
                        repeated = 0;
                        drop(complete);
                        ok = keepField(read, reader);
                    }
                    pieceWhole = all;
                    mode = all ? Mode::done : Mode::lines;
                    if (ok && !all)
                        keepLastPuzzle(reader);
                    if (!ok)
                        ok = splitAtFault(reader, format);
                    return Status::piece;
                }
                if (blank || (!read && reader.getFailure() == PuzzleText::Failure::empty)) {
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
            if (full && format == PuzzleFormat::automatic) {
                mode = Mode::whole;
                // Room for all of it at once: growing by doubling would copy it and
                // touch twice the memory.
                buffer.reserve(kMaxWhole + 2 * kBlock);
                continue;
            }
            if (available() > kMaxLine && complete == 0)
                return fail(Error::lineTooLong, line);
        } else if (mode == Mode::lines) {
            if (complete > 0) {
                ok = take(complete, PuzzleFormat::line, reader);
                pieceWhole = false;
                if (ok)
                    keepLastPuzzle(reader);
                if (!ok)
                    ok = splitAtFault(reader, PuzzleFormat::line);
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
