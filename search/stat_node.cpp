#include "search/stat_node.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>
#include <vector>

#include "board/candidates.h"
#include "board/moves.h"
#include "files/error_log.h"
#include "threats/slot_pool.h"

namespace vorek {

namespace {

void setProved(StatNode& node) {
    node.pn = 0;
    node.dn = INFINITE_NUMBER;
}

void setDisproved(StatNode& node) {
    node.pn = INFINITE_NUMBER;
    node.dn = 0;
}

constexpr const char* DELETION_FAILURE[] = {
    "",
    "chyba typu 1 pri v destruktoru StatNode",
    "chyba typu 2 pri v destruktoru StatNode",
    "chyba typu 3 pri v destruktoru StatNode",
};

}  // namespace

using NodePool = SlotPool<sizeof(StatNode), alignof(StatNode)>;

void* StatNode::operator new(std::size_t) { return NodePool::take(); }

void StatNode::operator delete(void* node) noexcept { NodePool::give(node); }

static_assert(sizeof(StatNode) <= 56, "a tree holds millions of nodes");

StatNode::StatNode(std::unique_ptr<V2Board> b) : nodesMade(1), board(b.release()) {
    assert(board != nullptr);
    if (board->sideToMove() == PLAYER1) flags |= NODE_OR;
}

StatNode::StatNode(StatNode* parent, int m, std::uint32_t s) : move(static_cast<std::int16_t>(m)), serial(s) {
    assert(parent != nullptr);
    assert(isSquare(m));
    parents.one = parent;
    parentCount = 1;
    creator = parent;
    // The parent's side to move plays, so the kinds alternate.
    if (!parent->isOr()) flags |= NODE_OR;
}

std::uint32_t StatNode::takeSerials(std::uint32_t count) {
    assert(count > 0);
    StatNode* root = this;
    while (root->creator != nullptr) root = root->creator;
    const std::uint32_t first = root->nodesMade;
    root->nodesMade += count;
    return first;
}

V2Board& StatNode::ensureBoard() {
    if (board != nullptr) return *board;
    std::vector<int> moves;
    StatNode* source = this;
    for (; source->board == nullptr; source = source->parent()) {
        if (source->parent() == nullptr) throw std::logic_error("a node without a board has no single parent");
        moves.push_back(source->move);
    }
    std::unique_ptr<V2Board> made = source->board->clone();
    for (auto m = moves.rbegin(); m != moves.rend(); ++m) made->play(*m);
    board = made.release();
    return *board;
}

StatNode::~StatNode() {
    // Each step is guarded on its own, so that one failure neither stops the
    // rest of the deletion nor escapes the destructor.
    auto guarded = [this](int step, auto&& release) {
        try {
            release();
            if (deletionStepHook) deletionStepHook(*this, step);
        } catch (...) {
            appendErrorLog(DELETION_FAILURE[step]);
        }
    };
    for (std::uint32_t i = 0; i < childCount; ++i) {
        StatNode* child = children[i];
        if (child == nullptr) continue;
        guarded(1, [&] {
            if (child->parentCount > 1)
                child->unlinkParent(this);
            else
                delete child;
        });
    }
    guarded(2, [this] { delete[] children; });
    guarded(3, [this] { delete board; });
    if (parentCount > 1) delete[] parents.many;
}

void StatNode::expand() { expand(ensureBoard()); }

void StatNode::expand(const V2Board& position) {
    assert(!isExpanded() && !isDecided());
    CandidateList candidates;
    const GenerateResult result = generateCandidates(position, candidates);
    if (result != GENERATE_OPEN) {
        // Win at an OR node or loss at an AND node proves it for player 1.
        if ((result == GENERATE_WIN) == isOr())
            setProved(*this);
        else
            setDisproved(*this);
        return;
    }
    if (candidates.empty()) {
        setDisproved(*this);  // a full board: a draw is no win for player 1
        return;
    }
    makeChildren(candidates);
    for (std::uint16_t i = 0; i < childCount; ++i) {
        StatNode* child = children[i];
        // The side then to move completes five at once.
        if (moveLeavesFive(position, child->move)) {
            if (child->isOr())
                setProved(*child);
            else
                setDisproved(*child);
        }
    }
    flags |= NODE_EXPANDED;
}

void StatNode::addParent(StatNode* parent) {
    assert(parent != nullptr && parent != this);
    if (parentCount == 0) {
        parents.one = parent;
    } else {
        StatNode** grown = new StatNode*[parentCount + 1];
        if (parentCount == 1)
            grown[0] = parents.one;
        else
            std::copy(parents.many, parents.many + parentCount, grown);
        grown[parentCount] = parent;
        if (parentCount > 1) delete[] parents.many;
        parents.many = grown;
    }
    ++parentCount;
}

void StatNode::unlinkParent(StatNode* parent) {
    assert(parentCount > 1);
    StatNode** links = parents.many;
    StatNode** end = links + parentCount;
    StatNode** found = std::find(links, end, parent);
    if (found == end) return;
    std::copy(found + 1, end, found);
    --parentCount;
    // The parent that made the node goes: another links it to its tree.
    if (creator == parent) creator = links[0];
    if (parentCount == 1) {
        StatNode* only = links[0];
        delete[] links;
        parents.one = only;
    }
}

std::vector<int> movesFromRoot(const StatNode& node) {
    std::vector<int> moves;
    for (const StatNode* at = &node; at->parent() != nullptr; at = at->parent()) moves.push_back(at->move);
    std::reverse(moves.begin(), moves.end());
    return moves;
}

}  // namespace vorek
