#include "SudokuSolver.h"

#include <chrono>
#include <cstdio>

SudokuSolver::SudokuSolver()
    : solutions{nullptr, nullptr}
    , solutionCount(0)
    , tries(0)
    , depth(0)
    , maxDepth(0)
    , deadEnds(0)
    , maxSolutions(1)
    , sparsePrint(false)
    , timeLimited(false)
    , timeLimit(0)
    , startClock(0)
    , timedOut(false)
    , clockFunction(&SudokuSolver::monotonicMilliseconds)
{
}

SudokuSolver::~SudokuSolver()
{
    clearSolutions();
}

std::int32_t SudokuSolver::monotonicMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

void SudokuSolver::clearSolutions()
{
    for (SudokuBoard*& slot : solutions) {
        delete slot;
        slot = nullptr;
    }
}

SudokuBoard* SudokuSolver::solve(SudokuBoard* board, bool listAll, bool sparse)
{
    if (listAll)
        maxSolutions = 3;
    sparsePrint = sparse;
    run(board);
    return solutions[0];
}

std::uint32_t SudokuSolver::solveUnique(SudokuBoard* board)
{
    const std::uint32_t mode = maxSolutions;
    maxSolutions = 2;
    run(board);
    maxSolutions = mode;
    return solutionCount;
}

const SudokuBoard* SudokuSolver::getSolution(int index) const
{
    return index == 0 || index == 1 ? solutions[index] : nullptr;
}

void SudokuSolver::run(SudokuBoard* board)
{
    clearSolutions();
    solutionCount = 0;
    tries = 0;
    depth = 0;
    maxDepth = 0;
    deadEnds = 0;
    timedOut = false;
    if (!board->isValid())
        return;
    if (maxSolutions > 2) {
        timeLimited = false;
        timeLimit = 4294967295u;
    } else {
        timeLimited = true;
        timeLimit = 1;
        const int n = board->getInnerSize();
        if (n > 3)
            timeLimit = timeLimit * static_cast<std::uint32_t>(n - 3) * 2;
        startClock = clockFunction();
    }
    SudokuBoard* copy = new SudokuBoard(*board);
    copy->recomputePossibles();
    search(copy);
    delete copy;
    if (!timedOut)
        return;
    for (;;) {
        if (solutionCount >= maxSolutions)
            return;
        copy = new SudokuBoard(*board);
        copy->recomputePossibles();
        clearSolutions();
        solutionCount = 0;
        timeLimit *= 2;
        timedOut = false;
        startClock = clockFunction();
        search(copy);
        delete copy;
        if (!timedOut)
            return;
    }
}

bool SudokuSolver::isTimeUp()
{
    const std::int32_t elapsedMs =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(clockFunction()) - static_cast<std::uint32_t>(startClock));
    return static_cast<double>(elapsedMs) / 1000.0 > static_cast<double>(timeLimit);
}

void SudokuSolver::search(SudokuBoard* board)
{
    ++depth;
    ++tries;
    if (depth > maxDepth)
        maxDepth = depth;
    Cell* cell = propagate(board);
    if (!cell) {
        ++solutionCount;
        if (maxSolutions < 3) {
            solutions[solutionCount - 1] = new SudokuBoard(*board);
        } else if (!sparsePrint || solutionCount == 1 || solutionCount % 10000000 == 0) {
            std::printf("Solution No %lu:\n", static_cast<unsigned long>(solutionCount));
            printBoard(board);
            std::printf("crc: %04X\n", static_cast<unsigned>(board->crc16()));
            std::fflush(stdout);
        }
    } else if (cell->numPossibles() == 0) {
        ++deadEnds;
    } else {
        if (timeLimited && isTimeUp())
            timedOut = true;
        while (cell->numPossibles() > 0) {
            if (timedOut)
                break;
            if (maxSolutions <= 2 && solutionCount >= maxSolutions)
                break;
            SudokuBoard* child = new SudokuBoard(*board);
            const int v = cell->randomPossible();
            cell->removePossible(v);
            child->placeValue(cell->getRow(), cell->getCol(), v);
            search(child);
            delete child;
        }
    }
    --depth;
}

void SudokuSolver::printBoard(const SudokuBoard* board) const
{
    if (!board) {
        std::printf("<Null Board Pointer>\n");
        return;
    }
    std::printf("%s", board->toText());
}

namespace {

bool onlyPlaceInRow(SudokuBoard* board, int row, int col, int v)
{
    for (int j = 0; j < board->getSize(); ++j) {
        const Cell* peer = board->cellAt(row, j);
        if (j != col && peer->getValue() == 0 && peer->isPossible(v))
            return false;
    }
    return true;
}

bool onlyPlaceInColumn(SudokuBoard* board, int row, int col, int v)
{
    for (int i = 0; i < board->getSize(); ++i) {
        const Cell* peer = board->cellAt(i, col);
        if (i != row && peer->getValue() == 0 && peer->isPossible(v))
            return false;
    }
    return true;
}

bool onlyPlaceInSubSquare(SudokuBoard* board, int row, int col, int v)
{
    const int n = board->getInnerSize();
    const int r0 = (row / n) * n;
    const int c0 = (col / n) * n;
    for (int bi = 0; bi < n; ++bi) {
        for (int bj = 0; bj < n; ++bj) {
            if (r0 + bi == row && c0 + bj == col)
                continue;
            const Cell* peer = board->cellAt(r0 + bi, c0 + bj);
            if (peer->getValue() == 0 && peer->isPossible(v))
                return false;
        }
    }
    return true;
}

} // namespace

Cell* SudokuSolver::propagate(SudokuBoard* board)
{
    const int size = board->getSize();
    for (;;) {
        bool changed = false;
        Cell* best = nullptr;
        if (size < 1)
            return nullptr;
        for (int col = 0; col < size; ++col) {
            for (int row = 0; row < size; ++row) {
                Cell* cell = board->cellAt(row, col);
                if (cell->getValue() != 0)
                    continue;
                if (cell->numPossibles() == 0)
                    return cell;
                if (cell->numPossibles() == 1) {
                    board->placeValue(row, col, cell->randomPossible());
                    changed = true;
                    continue;
                }
                bool placed = false;
                for (int k = 0; k < cell->numPossibles(); ++k) {
                    const int v = cell->nthPossible(k);
                    if (onlyPlaceInRow(board, row, col, v) || onlyPlaceInColumn(board, row, col, v)
                        || onlyPlaceInSubSquare(board, row, col, v)) {
                        board->placeValue(row, col, v);
                        changed = true;
                        placed = true;
                        break;
                    }
                }
                if (!placed && (!best || cell->numPossibles() < best->numPossibles()))
                    best = cell;
            }
        }
        if (!changed)
            return best;
    }
}
