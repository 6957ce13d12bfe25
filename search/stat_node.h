// A node of the proof-number tree: one position with its proof and disproof
// numbers, told from the side of player 1 (the player to move in the position
// read from the files).
#pragma once

#include <cassert>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "board/v2board.h"
#include "search/proof_numbers.h"

namespace vorek {

constexpr std::uint8_t NODE_OR = 0x02;        // player 1 is to move: one good move suffices
constexpr std::uint8_t NODE_EXPANDED = 0x08;  // the children have been made

class StatNode {
public:
    // A root over the board, which the node takes over: the first node of a
    // new tree, serial 0.
    explicit StatNode(std::unique_ptr<V2Board> board);
    // A child made by expansion, reached from parent by a move on the empty
    // square, with a serial its tree gave out (takeSerials). It has no board
    // of its own until one is asked for (ensureBoard): most leaves are never
    // expanded or shown.
    StatNode(StatNode* parent, int move, std::uint32_t serial);
    // Deletes the subtree, the children array and the board; each step is
    // guarded, and a failing step appends its line to "vorek-error.log".
    ~StatNode();
    StatNode(const StatNode&) = delete;
    StatNode& operator=(const StatNode&) = delete;

    // The node's position: its own board, made first (and kept) from the
    // nearest ancestor that has one by playing the moves on the way, when it
    // has none yet. Only a node with a single parent can lack a board.
    V2Board& ensureBoard();

    // Makes the children of an unexpanded, undecided node, one per generator
    // candidate, or decides the node at once (0/-1 proved, -1/0 disproved).
    // The caller brings the numbers up to date towards the root afterwards.
    void expand();
    // The same from the node's position given by the caller (a board equal to
    // the one ensureBoard would give); the node's own board is not made.
    void expand(const V2Board& position);

    // Gives a node without children one child per square, in order, with
    // serials from its tree. Neither decides the node nor marks it expanded.
    template <class Squares>
    void makeChildren(const Squares& squares);

    // Reserves `count` serials for nodes about to be made in this node's tree
    // and returns the first: the tree counts its nodes at its root.
    std::uint32_t takeSerials(std::uint32_t count);
    // The nodes made so far in the tree of which this node is the root.
    std::uint32_t treeNodes() const {
        assert(creator == nullptr);
        return nodesMade;
    }

    // Links a further parent; the node then lives until its last parent is deleted.
    void addParent(StatNode* parent);
    // Removes one of several parents (used by a parent's destructor).
    void unlinkParent(StatNode* parent);

    // The parent of a node with exactly one parent; null for the root.
    StatNode* parent() const { return parentCount == 1 ? parents.one : nullptr; }
    bool isOr() const { return (flags & NODE_OR) != 0; }
    bool isExpanded() const { return (flags & NODE_EXPANDED) != 0; }
    bool isDecided() const { return pn == 0 || dn == 0; }
    StatNode* child(std::uint32_t i) const {
        assert(i < childCount);
        return children[i];
    }

    // Small fields first, so that a node takes 56 bytes.
    std::uint8_t flags = 0;
    std::uint8_t parentCount = 0;
    std::uint16_t childCount = 0;
    std::uint16_t candidateCount = 0;  // childCount as made by expansion
    std::int16_t move = -1;            // square of the move from the parent; -1 for the root
    std::uint32_t serial = 0;
    std::int32_t pn = 1;
    std::int32_t dn = 1;
    std::uint32_t nodesMade = 0;  // at a root: the nodes made in its tree; the next takes this serial
    V2Board* board = nullptr;     // owned; null until the position is first needed
    union {
        StatNode* one;    // while parentCount is 0 or 1
        StatNode** many;  // while parentCount is above 1
    } parents{nullptr};
    StatNode** children = nullptr;  // childCount entries, owned; null until expanded
    StatNode* creator = nullptr;    // the parent given at creation

    // Nodes come from a pool of node-sized slots (threats/slot_pool.h).
    static void* operator new(std::size_t size);
    static void operator delete(void* node) noexcept;

    // Test hook, called by the destructor at the end of each guarded step (1:
    // one child released, 2: the children array, 3: the board); throwing from it
    // makes that step report a failure.
    static inline void (*deletionStepHook)(const StatNode& node, int step) = nullptr;
};

// The moves from the root of the node's tree down to the node, in order: what
// its position adds to the root's. The way up goes through single parents
// only; it ends at the root, or at a node that several parents share.
std::vector<int> movesFromRoot(const StatNode& node);

template <class Squares>
void StatNode::makeChildren(const Squares& squares) {
    assert(children == nullptr && childCount == 0);
    const auto n = static_cast<std::uint16_t>(std::end(squares) - std::begin(squares));
    if (n == 0) return;
    children = new StatNode*[n]();
    childCount = n;
    candidateCount = n;
    std::uint32_t serial = takeSerials(n);
    std::uint16_t i = 0;
    for (const int square : squares) children[i++] = new StatNode(this, square, serial++);
}

}  // namespace vorek
