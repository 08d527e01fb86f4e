#pragma once

#include "PuzzleText.h"

#include <cstddef>
#include <string>

// One input read in pieces, so that a batch of any length is worked on as it arrives,
// in memory that does not grow with its length. The start of the input decides: when
// it reads as one puzzle per line, the rest is read block by block in that notation;
// any other notation is read whole, up to kMaxWhole bytes. Nothing here waits: a piece
// is handed out when it is there.
class PuzzleStream {
public:
    static constexpr std::size_t kBlock = 65536;
    // A one-line puzzle has at most 625 characters; this leaves room for any note after it.
    static constexpr std::size_t kMaxLine = 65536;
    static constexpr std::size_t kMaxWhole = 16u << 20;

    enum class Status {
        piece,  // the reader holds the reading of the next piece (which may have failed)
        wait,   // nothing new before getFd() is readable
        end,    // the input is done
        failed, // the input cannot go on; getError() says why and where
    };
    enum class Error {
        none,
        unreadable,  // a read failed: errno in getErrno()
        lineTooLong, // a line of the line notation passed kMaxLine
        tooLarge,    // a notation read whole passed kMaxWhole
        noPuzzle,    // kMaxWhole bytes of white space and no puzzle
    };

    PuzzleStream() = default;
    PuzzleStream(const PuzzleStream&) = delete;
    PuzzleStream& operator=(const PuzzleStream&) = delete;
    ~PuzzleStream() { close(); }

    // name "-" is standard input. With whole, the input is always read whole (for the
    // commands that need all of it at once). False, with errno set, when it does not open.
    bool open(const std::string& name, PuzzleFormat format, bool whole);
    void close();
    int getFd() const { return fd; }

    Status next(PuzzleText& reader, bool& ok);
    // The line the last piece starts on, 1-based; its readings count lines from 1.
    long getFirstLine() const { return pieceLine; }
    // The last piece was all of the input (after any blank start), so its puzzles are all.
    bool isWhole() const { return pieceWhole; }
    // Puzzles at the start of the last reading that were read before (0 or 1): a piece of
    // the line notation starts with the last puzzle line before it, so that a piece of
    // blank lines and comments alone reads as the whole text would.
    std::size_t getRepeated() const { return repeated; }
    Error getError() const { return error; }
    long getErrorLine() const { return errorLine; }
    int getErrno() const { return readErrno; }

private:
    enum class Mode { probe, lines, whole, done };

    // One read of what is there; wait when nothing is, and at the end of the input.
    Status fill();
    // Hands the next length bytes to the reader as a piece and drops them.
    bool take(std::size_t length, PuzzleFormat as, PuzzleText& reader);
    // Drops the next length bytes, the piece just read.
    void drop(std::size_t length);
    // The reading's result, with the CSV column of the first one kept.
    bool keepField(bool ok, const PuzzleText& reader);
    // After a failed reading of the piece: when the lines before the fault read as one
    // puzzle per line, the reader holds them and the fault comes next; true then.
    bool splitAtFault(PuzzleText& reader, PuzzleFormat as);
    // Reads the faulty piece again for its failure.
    void readFault(PuzzleText& reader);
    // Keeps the line of the reading's last puzzle, to lead the next piece.
    void keepLastPuzzle(const PuzzleText& reader);
    std::size_t available() const { return buffer.size() - start; }
    // The length of the complete lines at the start; all of it at the end of the input.
    std::size_t completeLines() const;
    Status fail(Error what, long line);

    int fd = -1;
    bool ownFd = false;
    bool pollFirst = false; // standard input stays blocking: other processes share it
    bool atEnd = false;
    PuzzleFormat format = PuzzleFormat::automatic;
    Mode mode = Mode::probe;
    std::string buffer;
    std::size_t start = 0;
    std::string piece;
    long line = 1; // the line at start
    long pieceLine = 1;
    bool pieceWhole = false;
    std::size_t repeated = 0;
    // A piece that failed past its first lines is handed out twice: first its lines
    // before the fault, then whole with the fault, so that where the input is cut
    // into pieces changes nothing.
    bool faultPending = false;
    std::string faultPiece;
    long faultLine = 0;
    PuzzleFormat faultFormat = PuzzleFormat::line;
    std::string lastPuzzle; // with its line end
    std::size_t probed = 0;  // the length last tried for its notation
    std::size_t skipped = 0; // white space dropped before the first puzzle
    int field = 0;           // the CSV column of the puzzles, as the reader found it
    char separator = 0;
    Error error = Error::none;
    long errorLine = 0;
    int readErrno = 0;
};
