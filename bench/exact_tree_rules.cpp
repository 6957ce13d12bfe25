#include "bench/exact_tree_rules.h"

#include <cassert>

#include "board/evaluation.h"
#include "board/threat_facts.h"

namespace vorek {

namespace {

bool isInfinite(std::int32_t number) { return number < 0; }

// Player 1 is the mover at an OR node: a win for the side to move proves an
// OR node and disproves an AND node.
void decideForMover(StatNode& node, bool moverWins) {
    if (moverWins == node.isOr()) {
        node.pn = 0;
        node.dn = INFINITE_NUMBER;
    } else {
        node.pn = INFINITE_NUMBER;
        node.dn = 0;
    }
}

// Smallest of the numbers; infinite when every one is.
std::int32_t least(std::int32_t a, std::int32_t b) {
    if (isInfinite(a)) return b;
    if (isInfinite(b)) return a;
    return a < b ? a : b;
}

// The moves worth children at a position, and whether they are every move
// that does not lose at once.
struct Moves {
    SquareList squares;
    bool complete = false;
};

// The side to move has no five and the other side at most one five square.
Moves movesOf(const V2Board& position, const PlayerMoves& own, const PlayerMoves& theirs, Player other) {
    Moves moves;
    if (theirs.fives.count == 1) {
        // Anything but blocking it loses at once.
        moves.squares.add(theirs.fives.squares[0]);
        moves.complete = true;
    } else if (!theirs.twoFives.empty()) {
        // Anything but a four of one's own, which must be answered first, or
        // a move that takes every such move from them loses: they make two
        // five squares and only one can be blocked.
        for (const int s : own.fours) moves.squares.add(s);
        for (const int s : answersToTwoFives(position, other, theirs.twoFives))
            if (!own.fours.contains(s)) moves.squares.add(s);
        moves.complete = true;
    } else {
        // Nothing is forced: only one's own threats are looked at.
        moves.squares = own.threats;
    }
    return moves;
}

class ExactTreeRules final : public TreeRules {
public:
    void expand(StatNode& node, const V2Board& position) const override {
        assert(!node.isExpanded() && !exactSettled(node));
        const Player mover = position.sideToMove();
        const PlayerMoves own = playerMoves(position, mover);
        if (!own.fives.empty()) return decideForMover(node, true);
        const PlayerMoves theirs = playerMoves(position, opponent(mover));
        if (theirs.fives.count >= 2) return decideForMover(node, false);

        const Moves moves = movesOf(position, own, theirs, opponent(mover));
        if (!moves.complete) node.flags |= NODE_PARTIAL;
        node.flags |= NODE_EXPANDED;
        const auto n = static_cast<std::uint16_t>(moves.squares.count);
        if (n == 0) {
            // Every move loses, or nothing can be forced either way.
            if (moves.complete) return decideForMover(node, false);
            node.pn = INFINITE_NUMBER;
            node.dn = INFINITE_NUMBER;
            return;
        }
        // No child is decided at once: the other side's one five square, if
        // any, is the only child's move, and no move completes five.
        node.makeChildren(moves.squares);
    }

    NodeNumbers numbersOf(const StatNode& node) const override {
        if (node.isDecided() || !node.isExpanded()) return {node.pn, node.dn};
        const bool partial = (node.flags & NODE_PARTIAL) != 0;
        if (node.childCount == 0) return {node.pn, node.dn};  // settled by its expansion
        // The side to move picks the least of its own numbers; the other
        // number adds up, unless moves are left out, which keep it open.
        std::int32_t own = INFINITE_NUMBER;
        std::int32_t other = 0;
        for (std::uint32_t i = 0; i < node.childCount; ++i) {
            const StatNode& child = *node.child(i);
            own = least(own, node.isOr() ? child.pn : child.dn);
            other = addNumbers(other, node.isOr() ? child.dn : child.pn);
        }
        if (partial) other = INFINITE_NUMBER;
        return node.isOr() ? NodeNumbers{own, other} : NodeNumbers{other, own};
    }

    StatNode* propagate(StatNode& node) const override {
        // Decided or settled by its expansion, a node without children has final numbers.
        const bool final = !node.isExpanded() || node.childCount == 0;
        return propagateNumbersBy(node, final, [this](const StatNode& n) { return numbersOf(n); });
    }

    // Towards proof where the node can still be proved, else towards disproof.
    StatNode* mostProvingChild(const StatNode& node) const override {
        const bool byPn = node.isOr() ? node.pn > 0 : node.dn <= 0;
        StatNode* best = nullptr;
        std::int32_t bestValue = 0;
        for (std::uint32_t i = 0; i < node.childCount; ++i) {
            StatNode* child = node.child(i);
            const std::int32_t value = byPn ? child->pn : child->dn;
            if (value > 0 && (best == nullptr || value < bestValue)) {
                best = child;
                bestValue = value;
            }
        }
        return best;
    }

    bool settled(const StatNode& node) const override { return exactSettled(node); }
};

}  // namespace

const TreeRules& exactTreeRules() {
    static const ExactTreeRules rules;
    return rules;
}

bool exactSettled(const StatNode& node) {
    return node.isDecided() || (isInfinite(node.pn) && isInfinite(node.dn));
}

std::unique_ptr<StatNode> exactRoot(const V2Board& position) {
    return exactRoot(V2Board::fromStones(position.stones(), position.sideToMove()));
}

std::unique_ptr<StatNode> exactRoot(std::unique_ptr<V2Board> fresh) {
    assert(fresh != nullptr);
    const bool five = !fresh->listsWhole();
    auto root = std::make_unique<StatNode>(std::move(fresh));
    if (five) decideForMover(*root, true);
    return root;
}

}  // namespace vorek
