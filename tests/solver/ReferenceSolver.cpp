#include "ReferenceSolver.h"

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

Cell* ReferenceSolver::propagate(SudokuBoard* board)
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
                    board->placeValue(row, col, drawPossible(*cell));
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

void ReferenceSolver::run(const SudokuBoard& board, std::uint32_t maxSolutions, const std::vector<int>& abandonAfter)
{
    limit = maxSolutions;
    tries = 0;
    depth = 0;
    maxDepth = 0;
    deadEnds = 0;
    abandonedRuns = 0;
    abandonedDeadEnds = 0;
    abandonedSolutions = 0;
    for (std::size_t k = 0;; ++k) {
        solutionCount = 0;
        solutions[0].reset();
        solutions[1].reset();
        if (!board.isValid())
            return;
        branchingNodesLeft = k < abandonAfter.size() ? abandonAfter[k] : -1;
        abandoned = false;
        const std::int32_t deadEndsBefore = deadEnds;
        SudokuBoard copy(board);
        copy.recomputePossibles();
        search(&copy);
        if (!abandoned)
            return;
        ++abandonedRuns;
        abandonedDeadEnds += deadEnds - deadEndsBefore;
        abandonedSolutions += solutionCount;
    }
}

void ReferenceSolver::search(SudokuBoard* board)
{
    ++depth;
    ++tries;
    if (depth > maxDepth)
        maxDepth = depth;
    Cell* cell = propagate(board);
    if (!cell) {
        ++solutionCount;
        if (limit < 3)
            solutions[solutionCount - 1] = std::make_unique<SudokuBoard>(*board);
    } else if (cell->numPossibles() == 0) {
        ++deadEnds;
    } else {
        abandoned = abandoned || branchingNodesLeft == 0;
        if (branchingNodesLeft > 0)
            --branchingNodesLeft;
        while (!abandoned && cell->numPossibles() > 0 && (limit > 2 || solutionCount < limit)) {
            auto child = std::make_unique<SudokuBoard>(*board);
            const int v = drawPossible(*cell);
            cell->removePossible(v);
            child->placeValue(cell->getRow(), cell->getCol(), v);
            search(child.get());
        }
    }
    --depth;
}
