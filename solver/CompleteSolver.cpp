#include "CompleteSolver.h"

#include <cadical.hpp>

#include <algorithm>
#include <cstddef>

namespace {

// The grid with a candidate flag per cell and value, and the singles that the
// givens force. Naked and hidden singles shrink the SAT problem to the cells that
// are really open, which on the puzzles people make is most of the work.
class SinglesGrid {
public:
    explicit SinglesGrid(int innerSize)
        : n(innerSize)
        , size(n * n)
        , cells(size * size)
        , values(static_cast<std::size_t>(cells), 0)
        , candidates(static_cast<std::size_t>(cells) * static_cast<std::size_t>(size), 1)
        , counts(static_cast<std::size_t>(cells), size)
        , unitCells(static_cast<std::size_t>(3 * size * size))
    {
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c) {
                const int box = (r / n) * n + c / n;
                const int inBox = (r % n) * n + c % n;
                unitCells[static_cast<std::size_t>(r * size + c)] = r * size + c;
                unitCells[static_cast<std::size_t>((size + c) * size + r)] = r * size + c;
                unitCells[static_cast<std::size_t>((2 * size + box) * size + inBox)] = r * size + c;
            }
    }

    int getSize() const { return size; }
    int getCells() const { return cells; }
    int valueAt(int cell) const { return values[static_cast<std::size_t>(cell)]; }
    bool has(int cell, int v) const { return candidates[flag(cell, v)] != 0; }
    // The cells of unit u: rows 0..N-1, columns N..2N-1, sub-squares 2N..3N-1.
    const int* unit(int u) const { return &unitCells[static_cast<std::size_t>(u * size)]; }

    // Fills the cell with v and takes v from its peers; false on a contradiction.
    bool place(int cell, int v)
    {
        if (v < 1 || v > size || !has(cell, v) || valueAt(cell) != 0)
            return false;
        values[static_cast<std::size_t>(cell)] = v;
        const int r = cell / size;
        const int c = cell % size;
        for (const int u : {r, size + c, 2 * size + (r / n) * n + c / n}) {
            const int* members = unit(u);
            for (int k = 0; k < size; ++k) {
                const int peer = members[k];
                if (peer == cell)
                    continue;
                if (valueAt(peer) == v)
                    return false;
                if (valueAt(peer) == 0 && has(peer, v)) {
                    candidates[flag(peer, v)] = 0;
                    if (--counts[static_cast<std::size_t>(peer)] == 0)
                        return false;
                }
            }
        }
        return true;
    }

    // Places naked and hidden singles until none is left; false on a contradiction.
    bool placeSingles()
    {
        for (bool placed = true; placed;) {
            placed = false;
            for (int cell = 0; cell < cells; ++cell) {
                if (valueAt(cell) != 0 || counts[static_cast<std::size_t>(cell)] != 1)
                    continue;
                int v = 1;
                while (!has(cell, v))
                    ++v;
                if (!place(cell, v))
                    return false;
                placed = true;
            }
            for (int u = 0; u < 3 * size; ++u) {
                const int* members = unit(u);
                for (int v = 1; v <= size; ++v) {
                    int where = -1;
                    int places = 0;
                    for (int k = 0; k < size && places < 2; ++k) {
                        const int cell = members[k];
                        if (valueAt(cell) == v) {
                            places = 2;
                        } else if (valueAt(cell) == 0 && has(cell, v)) {
                            where = cell;
                            ++places;
                        }
                    }
                    if (places == 0)
                        return false;
                    if (places == 1) {
                        if (!place(where, v))
                            return false;
                        placed = true;
                    }
                }
            }
        }
        return true;
    }

    const std::vector<int>& getValues() const { return values; }

private:
    std::size_t flag(int cell, int v) const
    {
        return static_cast<std::size_t>(cell) * static_cast<std::size_t>(size) + static_cast<std::size_t>(v - 1);
    }

    int n;
    int size;
    int cells;
    std::vector<int> values;
    std::vector<unsigned char> candidates;
    std::vector<int> counts;
    std::vector<int> unitCells;
};

class StopTerminator : public CaDiCaL::Terminator {
public:
    explicit StopTerminator(const CompleteSolver::StopCheck& check) : check(check) {}
    bool terminate() override { return check && check(); }

private:
    const CompleteSolver::StopCheck& check;
};

// Exactly one of the literals: one clause for at least one, and a binary clause
// per pair for at most one.
void exactlyOne(CaDiCaL::Solver& sat, const std::vector<int>& literals)
{
    for (const int literal : literals)
        sat.add(literal);
    sat.add(0);
    for (std::size_t i = 0; i < literals.size(); ++i)
        for (std::size_t j = i + 1; j < literals.size(); ++j) {
            sat.add(-literals[i]);
            sat.add(-literals[j]);
            sat.add(0);
        }
}

} // namespace

std::uint64_t CompleteSolver::solve(const SudokuBoard& board, std::uint64_t maxSolutions)
{
    const int size = board.getSize();
    std::vector<int> values(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            values[static_cast<std::size_t>(r * size + c)] = board.valueAt(r, c);
    return solve(board.getInnerSize(), values, maxSolutions);
}

namespace {

// The grid after its givens and singles, and the SAT problem of what is left: one
// variable per remaining candidate and exactly-one clauses for every cell and for every
// value of every row, column and sub-square.
class Encoding {
public:
    Encoding(int innerSize, const std::vector<int>& values) : grid(std::max(innerSize, 0))
    {
        if (innerSize < 0 || static_cast<int>(values.size()) != grid.getCells())
            return;
        const int size = grid.getSize();
        const int cells = grid.getCells();
        for (int cell = 0; cell < cells; ++cell) {
            const int v = values[static_cast<std::size_t>(cell)];
            if (v != 0 && !grid.place(cell, v))
                return;
        }
        if (!grid.placeSingles())
            return;
        valid = true;
        variable.assign(static_cast<std::size_t>(cells) * static_cast<std::size_t>(size), 0);
        int variables = 0;
        for (int cell = 0; cell < cells; ++cell) {
            if (grid.valueAt(cell) != 0)
                continue;
            open.push_back(cell);
            for (int v = 1; v <= size; ++v)
                if (grid.has(cell, v))
                    variable[static_cast<std::size_t>(cell * size + v - 1)] = ++variables;
        }
        sat.set("quiet", 1);
        sat.reserve(variables);
        std::vector<int> literals;
        for (const int cell : open) {
            literals.clear();
            for (int v = 1; v <= size; ++v)
                if (const int x = literal(cell, v))
                    literals.push_back(x);
            exactlyOne(sat, literals);
        }
        for (int u = 0; u < 3 * size; ++u) {
            const int* members = grid.unit(u);
            for (int v = 1; v <= size; ++v) {
                literals.clear();
                bool placed = false;
                for (int k = 0; k < size; ++k) {
                    placed = placed || grid.valueAt(members[k]) == v;
                    if (const int x = literal(members[k], v))
                        literals.push_back(x);
                }
                if (!placed)
                    exactlyOne(sat, literals);
            }
        }
    }

    // 0 for a candidate the givens and singles have ruled out or settled.
    int literal(int cell, int v) const
    {
        return variable[static_cast<std::size_t>(cell * grid.getSize() + v - 1)];
    }

    SinglesGrid grid;
    // False for a grid without solution, with a repeated value or a value out of range.
    bool valid = false;
    std::vector<int> variable;
    std::vector<int> open;
    CaDiCaL::Solver sat;
};

} // namespace

std::uint64_t CompleteSolver::solve(int innerSize, const std::vector<int>& values, std::uint64_t maxSolutions)
{
    stopped = false;
    solutions[0].clear();
    solutions[1].clear();
    Encoding encoding(innerSize, values);
    if (!encoding.valid)
        return 0;
    const int size = encoding.grid.getSize();
    const std::vector<int>& open = encoding.open;
    CaDiCaL::Solver& sat = encoding.sat;
    const auto literal = [&](int cell, int v) { return encoding.literal(cell, v); };
    StopTerminator terminator(stopCheck);
    sat.connect_terminator(&terminator);

    std::uint64_t found = 0;
    std::vector<int> solution;
    for (;;) {
        if (stopCheck && stopCheck()) {
            stopped = true;
            break;
        }
        const int result = open.empty() ? 10 : sat.solve();
        if (result == 20)
            break;
        if (result != 10) {
            stopped = true;
            break;
        }
        solution = encoding.grid.getValues();
        for (const int cell : open)
            for (int v = 1; v <= size; ++v)
                if (const int x = literal(cell, v); x != 0 && sat.val(x) > 0)
                    solution[static_cast<std::size_t>(cell)] = v;
        if (found < 2)
            solutions[found] = solution;
        ++found;
        if (open.empty() || found == maxSolutions)
            break;
        // Any other solution differs in at least one open cell.
        for (const int cell : open)
            sat.add(-literal(cell, solution[static_cast<std::size_t>(cell)]));
        sat.add(0);
    }
    sat.disconnect_terminator();
    return found;
}

bool CompleteSolver::hasOtherSolution(int innerSize, const std::vector<int>& values, const std::vector<int>& known,
                                      const std::vector<int>& cells)
{
    Encoding encoding(innerSize, values);
    if (!encoding.valid)
        return false;
    // A cell the singles settled holds the known value in every solution.
    bool open = false;
    for (const int cell : cells)
        if (const int x = encoding.literal(cell, known[static_cast<std::size_t>(cell)])) {
            encoding.sat.add(-x);
            open = true;
        }
    if (!open)
        return false;
    encoding.sat.add(0);
    return encoding.sat.solve() == 10;
}
