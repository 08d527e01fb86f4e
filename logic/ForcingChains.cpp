// Forcing chains: assume a candidate true (or false) and follow what it implies. An
// assumption that implies a candidate both true and false is wrong; what both truth
// values of a candidate, every candidate of a cell or every place of a value in a unit
// imply is true. The rules that may be used on the way make the technique: strong links
// alone (forcing chain, cell and unit forcing chains), one value's singles (Nishio),
// every single (dynamic), also locked candidates (dynamic +), and at last, inside a
// branch, whole forcing chains (nested). Every step is a printable chain of these rules,
// and a step weighs its base plus the length modifier of the nodes behind it.
#include "Techniques.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <memory>

namespace techniques {

namespace {

using Mask = CandidateGrid::Mask;

int lowestValue(Mask mask) { return std::countr_zero(mask) + 1; }

enum class Rules { Strong, OneValue, Singles, SinglesAndLocked };

// Inner chains of a nested step prove candidates false inside a branch: a branch runs
// at most this many rounds of them, and one search for a nested step at most
// kInnerChains of them in all, after which it keeps what it found (the puzzle is
// "beyond" the scale when nothing lighter is left).
constexpr int kNestedRounds = 4;
constexpr long kInnerChains = 40000;

// What one premise implies. A state is 2 * node + (1 if true), node = cell * size +
// value - 1; each state keeps the states it follows from, so that a chain can be read
// back and measured.
class Implications {
public:
    Implications(const CandidateGrid& grid, Rules rules, Rules innerRules, bool nested)
        : grid(grid), layout(grid.getLayout()), size(grid.getSize()), rules(rules), innerRules(innerRules),
          nested(nested), stateCount(2 * grid.getCellCount() * size),
          order(static_cast<std::size_t>(stateCount), -1), parentStart(static_cast<std::size_t>(stateCount), 0),
          parentCount(static_cast<std::size_t>(stateCount), 0), proofOf(static_cast<std::size_t>(stateCount), -1),
          depth(static_cast<std::size_t>(stateCount), 0), mark(static_cast<std::size_t>(stateCount), 0)
    {
        // Candidates per cell and places per unit and value that are not yet false; a
        // branch counts them down so that a last one is seen without a scan.
        for (int cell = 0; cell < grid.getCellCount(); ++cell)
            cellOpen.push_back(std::popcount(grid.getCandidates(cell)));
        // Per unit and value its first two places: with exactly two, a strong link.
        unitOpen.assign(static_cast<std::size_t>(layout.unitCount * size), 0);
        places.resize(2 * unitOpen.size());
        for (int unit = 0; unit < layout.unitCount; ++unit) {
            const int* cells = layout.cellsOf(unit);
            for (int i = 0; i < size; ++i)
                for (Mask m = grid.getCandidates(cells[i]); m; m &= m - 1) {
                    const std::size_t index = static_cast<std::size_t>(unit * size + std::countr_zero(m));
                    if (unitOpen[index] < 2)
                        places[2 * index + static_cast<std::size_t>(unitOpen[index])] = cells[i];
                    ++unitOpen[index];
                }
        }
        cellLeft = cellOpen;
        unitLeft = unitOpen;
        lockSeen.assign(unitOpen.size(), -1);
    }

    static int stateOf(Candidate c, bool on, int size) { return 2 * (c.cell * size + c.value - 1) + on; }
    Candidate candidateOf(int state) const { return {state / 2 / size, state / 2 % size + 1}; }

    // Follows the premise as far as the rules go; true when it ends in a contradiction.
    bool follow(int premise)
    {
        if (rules == Rules::SinglesAndLocked)
            std::fill(lockSeen.begin(), lockSeen.end(), -1);
        for (const int state : queue) {
            order[static_cast<std::size_t>(state)] = -1;
            if (!(state & 1))
                restore(state);
        }
        queue.clear();
        parents.clear();
        proofs.clear();
        conflict.clear();
        add(premise, {});
        int rounds = 0;
        for (std::size_t head = 0;;) {
            for (; head < queue.size() && conflict.empty(); ++head)
                imply(queue[head]);
            if (!conflict.empty())
                return true;
            if (rules == Rules::SinglesAndLocked && lockedCandidates())
                continue;
            if (!nested || rounds++ == kNestedRounds || innerLeft <= 0 || !innerContradictions())
                return false;
        }
    }

    // States deeper than depth are left out (strong links only, where the queue runs in order
    // of depth, so what is left is followed as before); a contradiction beyond it is missed.
    void setDepthLimit(int depth) { depthLimit = depth; }

    bool holds(int state) const { return order[static_cast<std::size_t>(state)] >= 0; }
    // The inner chains' budget ran out: what follow found since may fall short.
    bool isSpent() const { return innerLeft < 0; }
    // Nodes on the longest path from the premise to the state: no more than lengthOf.
    int depthOf(int state) const { return depth[static_cast<std::size_t>(state)]; }
    const std::vector<int>& getReached() const { return queue; }
    const std::vector<int>& getConflict() const { return conflict; }

    // Distinct nodes behind the states, themselves included; a candidate an inner chain
    // proved false counts that chain's nodes.
    int lengthOf(const std::vector<int>& states)
    {
        ++epoch;
        int length = 0;
        stack.assign(states.begin(), states.end());
        while (!stack.empty()) {
            const int state = stack.back();
            stack.pop_back();
            if (mark[static_cast<std::size_t>(state)] == epoch)
                continue;
            mark[static_cast<std::size_t>(state)] = epoch;
            ++length;
            if (const int proof = proofOf[static_cast<std::size_t>(state)]; proof >= 0)
                length += proofs[static_cast<std::size_t>(proof)].length;
            for (int i = 0; i < parentCount[static_cast<std::size_t>(state)]; ++i)
                stack.push_back(parents[static_cast<std::size_t>(parentStart[static_cast<std::size_t>(state)] + i)]);
        }
        return length;
    }

    // The premise's path to the state, through the latest of each state's parents.
    ChainBranch branchTo(int state) const
    {
        ChainBranch branch;
        for (int at = state;;) {
            ChainNode node{candidateOf(at), (at & 1) != 0, {}};
            if (const int proof = proofOf[static_cast<std::size_t>(at)]; proof >= 0)
                node.nested = proofs[static_cast<std::size_t>(proof)].branches;
            branch.nodes.push_back(std::move(node));
            const int count = parentCount[static_cast<std::size_t>(at)];
            if (count == 0)
                break;
            const int* first = parents.data() + parentStart[static_cast<std::size_t>(at)];
            at = *std::max_element(first, first + count, [&](int a, int b) {
                return order[static_cast<std::size_t>(a)] < order[static_cast<std::size_t>(b)];
            });
        }
        std::reverse(branch.nodes.begin(), branch.nodes.end());
        return branch;
    }

    // The branches to the states of the contradiction.
    std::vector<ChainBranch> conflictBranches() const
    {
        std::vector<ChainBranch> branches;
        for (const int state : conflict)
            branches.push_back(branchTo(state));
        return branches;
    }

private:
    struct InnerProof {
        std::vector<ChainBranch> branches;
        int length = 0;
    };

    int cellOf(int state) const { return state / 2 / size; }
    int valueOf(int state) const { return state / 2 % size + 1; }
    int off(int cell, int value) const { return 2 * (cell * size + value - 1); }

    void add(int state, std::initializer_list<int> from) { add(state, from.begin(), from.end()); }

    template <typename It>
    void add(int state, It first, It last, int proof = -1)
    {
        if (holds(state))
            return;
        int deepest = 0;
        for (It it = first; it != last; ++it)
            deepest = std::max(deepest, depth[static_cast<std::size_t>(*it)]);
        if (deepest >= depthLimit)
            return;
        order[static_cast<std::size_t>(state)] = static_cast<int>(queue.size());
        parentStart[static_cast<std::size_t>(state)] = static_cast<int>(parents.size());
        parentCount[static_cast<std::size_t>(state)] = static_cast<int>(last - first);
        proofOf[static_cast<std::size_t>(state)] = proof;
        depth[static_cast<std::size_t>(state)] =
            deepest + 1 + (proof >= 0 ? proofs[static_cast<std::size_t>(proof)].length : 0);
        parents.insert(parents.end(), first, last);
        queue.push_back(state);
        if (!(state & 1)) {
            const int cell = cellOf(state);
            --cellLeft[static_cast<std::size_t>(cell)];
            for (int kind = 0; kind < 3; ++kind)
                --unitLeft[static_cast<std::size_t>(layout.unitOf(cell, kind) * size + valueOf(state) - 1)];
        }
        if (holds(state ^ 1) && conflict.empty())
            conflict = {state ^ 1, state};
    }

    bool isOff(int cell, int value) const { return holds(off(cell, value)); }

    void restore(int offState)
    {
        const int cell = cellOf(offState);
        cellLeft[static_cast<std::size_t>(cell)] = cellOpen[static_cast<std::size_t>(cell)];
        for (int kind = 0; kind < 3; ++kind) {
            const std::size_t index = static_cast<std::size_t>(layout.unitOf(cell, kind) * size + valueOf(offState) - 1);
            unitLeft[index] = unitOpen[index];
        }
    }

    void imply(int state)
    {
        const int cell = cellOf(state);
        const int value = valueOf(state);
        if (state & 1) {
            if (rules != Rules::OneValue)
                for (Mask m = grid.getCandidates(cell) & ~CandidateGrid::bit(value); m; m &= m - 1)
                    add(off(cell, lowestValue(m)), {state});
            const int* peers = layout.peersOf(cell);
            for (int i = 0; i < layout.peerCount; ++i)
                if (grid.hasCandidate(peers[i], value))
                    add(off(peers[i], value), {state});
            return;
        }
        if (rules != Rules::OneValue)
            impliedByCell(cell, state);
        for (int kind = 0; kind < 3; ++kind)
            impliedByUnit(layout.unitOf(cell, kind), value, state);
    }

    // The cell's last candidate left is true; none left is a contradiction.
    void impliedByCell(int cell, int state)
    {
        const Mask mask = grid.getCandidates(cell);
        if (rules == Rules::Strong) {
            if (cellOpen[static_cast<std::size_t>(cell)] == 2)
                add(2 * (cell * size + lowestValue(mask & ~CandidateGrid::bit(valueOf(state))) - 1) + 1, {state});
            return;
        }
        if (cellLeft[static_cast<std::size_t>(cell)] > 1)
            return;
        scratch.clear();
        int left = 0;
        for (Mask m = mask; m; m &= m - 1) {
            if (isOff(cell, lowestValue(m)))
                scratch.push_back(off(cell, lowestValue(m)));
            else if (left == 0)
                left = lowestValue(m);
            else
                return;
        }
        if (left == 0)
            contradict();
        else
            add(off(cell, left) + 1, scratch.begin(), scratch.end());
    }

    // The value's last place left in the unit is true; none left is a contradiction.
    void impliedByUnit(int unit, int value, int state)
    {
        const std::size_t index = static_cast<std::size_t>(unit * size + value - 1);
        if (rules == Rules::Strong) {
            // The state's cell is one of the two places; the other is true.
            if (unitOpen[index] == 2) {
                const int other = places[2 * index] == cellOf(state) ? places[2 * index + 1] : places[2 * index];
                add(off(other, value) + 1, {state});
            }
            return;
        }
        if (unitLeft[index] > 1)
            return;
        const int* cells = layout.cellsOf(unit);
        scratch.clear();
        int left = -1, placeCount = 0;
        for (int i = 0; i < size; ++i) {
            if (!grid.hasCandidate(cells[i], value))
                continue;
            ++placeCount;
            if (isOff(cells[i], value))
                scratch.push_back(off(cells[i], value));
            else if (left < 0)
                left = cells[i];
            else
                return;
        }
        if (placeCount == 0)
            return;
        if (left < 0)
            contradict();
        else
            add(off(left, value) + 1, scratch.begin(), scratch.end());
    }

    void contradict()
    {
        if (conflict.empty())
            conflict = scratch;
    }

    // A value of a box confined to one line (or of a line to one box) by what is false
    // is false in the rest of that line (box); true when it found anything.
    bool lockedCandidates()
    {
        const std::size_t before = queue.size();
        for (int unit = 0; unit < layout.unitCount && conflict.empty(); ++unit)
            for (int value = 1; value <= size; ++value) {
                // Nothing false yet, fewer than two places left, or the same places as
                // when last looked at in this premise (all it implies holds already).
                const std::size_t index = static_cast<std::size_t>(unit * size + value - 1);
                const int left = unitLeft[index];
                if (left == unitOpen[index] || left < 2 || left == lockSeen[index])
                    continue;
                lockSeen[index] = left;
                const int* cells = layout.cellsOf(unit);
                scratch.clear();
                remaining.clear();
                for (int i = 0; i < size; ++i)
                    if (grid.hasCandidate(cells[i], value))
                        (isOff(cells[i], value) ? scratch : remaining).push_back(cells[i]);
                if (scratch.empty() || remaining.size() < 2)
                    continue;
                // Boxes lock into a row or a column, lines into a box.
                int target = -1;
                for (int kind = unit >= 2 * size ? 0 : 2; kind < (unit >= 2 * size ? 2 : 3) && target < 0; ++kind) {
                    const int other = layout.unitOf(remaining.front(), kind);
                    if (std::all_of(remaining.begin(), remaining.end(), [&](int c) { return layout.unitOf(c, kind) == other; }))
                        target = other;
                }
                if (target < 0)
                    continue;
                for (int& cell : scratch)
                    cell = off(cell, value);
                const int* targetCells = layout.cellsOf(target);
                for (int i = 0; i < size; ++i)
                    if (grid.hasCandidate(targetCells[i], value) && layout.unitOf(targetCells[i], unit / size) != unit)
                        add(off(targetCells[i], value), scratch.begin(), scratch.end());
            }
        for (std::size_t head = before; head < queue.size() && conflict.empty(); ++head)
            imply(queue[head]);
        return queue.size() > before || !conflict.empty();
    }

    // Candidates of the branch's grid that a whole forcing chain of the inner rules
    // proves false; true when it found any.
    bool innerContradictions()
    {
        CandidateGrid branch = grid;
        for (const int state : queue)
            if (state & 1) {
                if (branch.getValue(cellOf(state)) == 0)
                    branch.place(cellOf(state), valueOf(state));
            } else {
                branch.eliminate(cellOf(state), valueOf(state));
            }
        Implications inner(branch, innerRules, innerRules, false);
        const int premise = queue.front();
        const std::size_t before = queue.size();
        for (int cell = 0; cell < branch.getCellCount(); ++cell)
            for (Mask m = branch.getCandidates(cell); m; m &= m - 1) {
                const int state = stateOf({cell, lowestValue(m)}, true, size);
                if (--innerLeft < 0 || !inner.follow(state))
                    continue;
                InnerProof proof{inner.conflictBranches(), inner.lengthOf(inner.getConflict())};
                proofs.push_back(std::move(proof));
                const int from[] = {premise};
                add(state ^ 1, std::begin(from), std::end(from), static_cast<int>(proofs.size()) - 1);
            }
        for (std::size_t head = before; head < queue.size() && conflict.empty(); ++head)
            imply(queue[head]);
        return queue.size() > before;
    }

    const CandidateGrid& grid;
    const GridLayout& layout;
    const int size;
    const Rules rules;
    const Rules innerRules;
    const bool nested;
    long innerLeft = kInnerChains;
    int depthLimit = std::numeric_limits<int>::max();
    const int stateCount;
    // order[state]: its place in the queue, -1 when it does not hold.
    std::vector<int> order;
    std::vector<int> parentStart;
    std::vector<int> parentCount;
    std::vector<int> parents;
    std::vector<int> proofOf;
    std::vector<int> depth;
    std::vector<InnerProof> proofs;
    std::vector<int> queue;
    std::vector<int> conflict;
    std::vector<int> scratch;
    std::vector<int> remaining;
    std::vector<int> cellOpen, unitOpen, cellLeft, unitLeft;
    std::vector<int> places;
    // Per unit and value, its places left when locked candidates last looked at it.
    std::vector<int> lockSeen;
    std::vector<int> stack;
    std::vector<int> mark;
    int epoch = 0;
};

// The lightest step of one technique: every premise and group of premises is followed,
// and the shortest conclusion wins.
class StepSearch {
public:
    StepSearch(const CandidateGrid& grid, Technique kind, Rules rules, Rules innerRules, bool nested,
               const WeightCap& cap)
        : grid(grid), size(grid.getSize()), kind(kind), firstWins(nested), chains(grid, rules, innerRules, nested),
          stateCount(2 * grid.getCellCount() * size), words(static_cast<std::size_t>((stateCount + 63) / 64)),
          maxLength(firstWins ? stateCount : cap.maxNodes(kind, stateCount))
    {
        // No node of a chain that fits lies deeper than its length; take() measures in full.
        if (rules == Rules::Strong)
            chains.setDepthLimit(maxLength);
        // Cells with fewest candidates first: their chains are the likeliest short ones,
        // and come first when a budget cuts a search short.
        for (int cell = 0; cell < grid.getCellCount(); ++cell)
            if (grid.getValue(cell) == 0)
                cells.push_back(cell);
        std::stable_sort(cells.begin(), cells.end(), [&](int a, int b) {
            return std::popcount(grid.getCandidates(a)) < std::popcount(grid.getCandidates(b));
        });
        // What each premise reaches is kept while the table stays small (9x9).
        if (static_cast<std::size_t>(stateCount) * words.size() <= kMaxCacheWords) {
            // Not cleared: a premise's row is written before it is read.
            cache.reset(new std::uint64_t[static_cast<std::size_t>(stateCount) * words.size()]);
            depths.reset(new std::uint8_t[static_cast<std::size_t>(stateCount) * static_cast<std::size_t>(stateCount)]);
            cached.assign(static_cast<std::size_t>(stateCount), Unknown);
        }
    }

    // Each premise alone: a contradiction proves it wrong.
    void contradictions(bool alsoFalse)
    {
        for (const int cell : cells)
            for (Mask m = grid.getCandidates(cell); m && !done(); m &= m - 1)
                for (const bool on : {true, false}) {
                    if (!on && !alsoFalse)
                        continue;
                    const Candidate candidate{cell, lowestValue(m)};
                    if (reachedBy(Implications::stateOf(candidate, on, size)))
                        continue;
                    if (!chains.follow(Implications::stateOf(candidate, on, size)))
                        continue;
                    const int length = chains.lengthOf(chains.getConflict());
                    if (length > maxLength || (best && length >= bestLength))
                        continue;
                    Step step = stepOf({candidate});
                    (on ? step.eliminations : step.placements).push_back(candidate);
                    step.branches = chains.conflictBranches();
                    keep(std::move(step), length);
                }
    }

    // What every premise of a group implies: both truth values of a candidate, every
    // candidate of a cell, every place of a value in a unit.
    void groups(bool cellGroups, bool units, bool bothValues)
    {
        const GridLayout& layout = grid.getLayout();
        std::vector<int> premises;
        if (bothValues)
            for (const int cell : cells)
                for (Mask m = grid.getCandidates(cell); m && !done(); m &= m - 1) {
                    const int state = Implications::stateOf({cell, lowestValue(m)}, true, size);
                    premises = {state, state ^ 1};
                    group(premises, -1);
                }
        if (cellGroups)
            for (const int cell : cells) {
                if (done())
                    return;
                premises.clear();
                for (Mask m = grid.getCandidates(cell); m; m &= m - 1)
                    premises.push_back(Implications::stateOf({cell, lowestValue(m)}, true, size));
                if (premises.size() >= 2)
                    group(premises, -1);
            }
        if (units)
            for (int unit = 0; unit < layout.unitCount && !done(); ++unit)
                for (int value = 1; value <= size; ++value) {
                    premises.clear();
                    const int* cells = layout.cellsOf(unit);
                    for (int i = 0; i < size; ++i)
                        if (grid.hasCandidate(cells[i], value))
                            premises.push_back(Implications::stateOf({cells[i], value}, true, size));
                    // Two places are also a cell's two candidates or a strong link.
                    if (premises.size() >= 3 || (premises.size() == 2 && !bothValues))
                        group(premises, unit);
                }
    }

    // The lightest step: the conclusions in order of their least possible length, each
    // measured until none left can be shorter than the best.
    std::optional<Step> take()
    {
        std::stable_sort(found.begin(), found.end(),
                  [](const Conclusion& a, const Conclusion& b) { return a.bound < b.bound; });
        // A premise that ends in a contradiction past the limit has its groups' conclusions
        // here; followed in full, it leaves them out.
        chains.setDepthLimit(std::numeric_limits<int>::max());
        for (const Conclusion& conclusion : found) {
            if (conclusion.bound > maxLength || (best && conclusion.bound >= bestLength))
                break;
            measure(conclusion);
        }
        return std::move(best);
    }

private:
    enum Cached : std::uint8_t { Unknown, Reached, Contradiction };
    static constexpr std::size_t kMaxCacheWords = std::size_t{1} << 16;

    struct Conclusion {
        int bound;
        int state;
        int unit;
        std::size_t firstPremise;
        std::size_t premiseCount;
    };

    // The states the premise implies as a bit set, or null when it ends in a contradiction.
    const std::uint64_t* reachedBy(int premise)
    {
        std::uint64_t* bits = !cache ? own.data() : cache.get() + static_cast<std::size_t>(premise) * words.size();
        if (cache && cached[static_cast<std::size_t>(premise)] != Unknown)
            return cached[static_cast<std::size_t>(premise)] == Reached ? bits : nullptr;
        own.resize(words.size());
        bits = !cache ? own.data() : bits;
        const bool contradiction = chains.follow(premise);
        std::fill(bits, bits + words.size(), 0);
        for (const int state : chains.getReached())
            bits[state / 64] |= std::uint64_t{1} << (state % 64);
        if (cache) {
            cached[static_cast<std::size_t>(premise)] = contradiction ? Contradiction : Reached;
            std::uint8_t* depth = depths.get() + static_cast<std::size_t>(premise) * static_cast<std::size_t>(stateCount);
            for (const int state : chains.getReached())
                depth[state] = static_cast<std::uint8_t>(std::min(255, chains.depthOf(state)));
        }
        return contradiction ? nullptr : bits;
    }

    Step stepOf(const std::vector<Candidate>& premises) const
    {
        Step step;
        step.technique = kind;
        step.proof = premises;
        step.digits = {premises.front().value};
        return step;
    }

    // A nested search, the costliest by far, stops at its first step (the cells with
    // fewest candidates first), or when its budget is spent.
    bool done() const { return chains.isSpent() || (firstWins && (best || !found.empty())); }

    void keep(Step step, int length)
    {
        step.weight = chainWeight(kind, length);
        bestLength = length;
        best = std::move(step);
    }

    // A state that changes the grid: a blank cell's value, or a candidate it still has.
    bool news(int state) const
    {
        const Candidate c = chains.candidateOf(state);
        return state & 1 ? grid.getValue(c.cell) == 0 : grid.hasCandidate(c.cell, c.value);
    }

    void group(const std::vector<int>& premises, int unit)
    {
        std::fill(words.begin(), words.end(), ~std::uint64_t{0});
        for (const int premise : premises) {
            // A premise that leads to a contradiction is a lighter step of its own kind.
            const std::uint64_t* reached = reachedBy(premise);
            if (!reached)
                return;
            bool any = false;
            for (std::size_t w = 0; w < words.size(); ++w)
                any |= (words[w] &= reached[w]) != 0;
            if (!any)
                return;
        }
        const std::size_t first = premisePool.size();
        bool any = false;
        for (std::size_t w = 0; w < words.size(); ++w)
            for (std::uint64_t bits = words[w]; bits; bits &= bits - 1) {
                const int state = static_cast<int>(w * 64) + std::countr_zero(bits);
                if (!news(state))
                    continue;
                // The premises count as one node: they are the one cell or unit. A
                // branch's longest path is no longer than the nodes behind it.
                int bound = 1 - static_cast<int>(premises.size());
                for (const int premise : premises)
                    bound += !cache ? 1
                                           : depths[static_cast<std::size_t>(premise) * static_cast<std::size_t>(stateCount) +
                                                    static_cast<std::size_t>(state)];
                found.push_back({bound, state, unit, first, premises.size()});
                any = true;
            }
        if (any)
            premisePool.insert(premisePool.end(), premises.begin(), premises.end());
    }

    void measure(const Conclusion& conclusion)
    {
        const auto begin = premisePool.begin() + static_cast<std::ptrdiff_t>(conclusion.firstPremise);
        const std::vector<int> premises(begin, begin + static_cast<std::ptrdiff_t>(conclusion.premiseCount));
        int length = 1 - static_cast<int>(premises.size());
        std::vector<ChainBranch> branches;
        for (const int premise : premises) {
            // A follow cut short by the spent budget may not reach it again.
            if (chains.follow(premise) || !chains.holds(conclusion.state))
                return;
            length += chains.lengthOf({conclusion.state});
            branches.push_back(chains.branchTo(conclusion.state));
        }
        if (length > maxLength || (best && length >= bestLength))
            return;
        std::vector<Candidate> premiseCandidates;
        for (const int premise : premises)
            premiseCandidates.push_back(chains.candidateOf(premise));
        // Both truth values of one candidate: the premise is the candidate, once.
        if (premises.size() == 2 && (premises[0] ^ 1) == premises[1])
            premiseCandidates.resize(1);
        Step step = stepOf(premiseCandidates);
        if (conclusion.unit >= 0)
            step.units = {conclusion.unit};
        const Candidate result = chains.candidateOf(conclusion.state);
        (conclusion.state & 1 ? step.placements : step.eliminations).push_back(result);
        step.branches = std::move(branches);
        keep(std::move(step), length);
    }

    const CandidateGrid& grid;
    const int size;
    const Technique kind;
    const bool firstWins;
    Implications chains;
    const int stateCount;
    std::vector<int> cells;
    std::vector<std::uint64_t> words;
    std::unique_ptr<std::uint64_t[]> cache;
    std::unique_ptr<std::uint8_t[]> depths;
    std::vector<Cached> cached;
    std::vector<std::uint64_t> own;
    std::vector<Conclusion> found;
    std::vector<int> premisePool;
    // Longer steps weigh more than the caller can use.
    const int maxLength;
    std::optional<Step> best;
    int bestLength = 0;
};

}  // namespace

std::optional<Step> findForcingChain(const CandidateGrid& grid, Technique kind, const WeightCap& cap)
{
    switch (kind) {
    case Technique::ContradictionChain: {
        StepSearch search(grid, kind, Rules::Strong, Rules::Strong, false, cap);
        search.contradictions(true);
        search.groups(false, false, true);
        return search.take();
    }
    case Technique::Nishio: {
        StepSearch search(grid, kind, Rules::OneValue, Rules::OneValue, false, cap);
        search.contradictions(false);
        return search.take();
    }
    case Technique::CellForcingChain:
    case Technique::UnitForcingChain: {
        StepSearch search(grid, kind, Rules::Strong, Rules::Strong, false, cap);
        search.groups(kind == Technique::CellForcingChain, kind == Technique::UnitForcingChain, false);
        return search.take();
    }
    default: {
        const bool nested = kind >= Technique::NestedForcingChain;
        const Rules rules = kind == Technique::DynamicForcingChain ? Rules::Singles : Rules::SinglesAndLocked;
        const Rules inner = kind == Technique::NestedForcingChain           ? Rules::Strong
                            : kind == Technique::NestedMultipleForcingChain ? Rules::Singles
                                                                            : Rules::SinglesAndLocked;
        StepSearch search(grid, kind, rules, inner, nested, cap);
        search.contradictions(true);
        search.groups(true, true, true);
        return search.take();
    }
    }
}

}  // namespace techniques
