#include "search/stat_node.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "board/candidates.h"
#include "board/moves.h"
#include "files/error_log.h"
#include "threats/slot_pool.h"

namespace vorek {

thread_local std::uint32_t NodeSerial = 0;

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

StatNode::StatNode(std::unique_ptr<V2Board> b) : board(b.release()) {
    serial = NodeSerial++;
    if (board->sideToMove) flags |= NODE_OR;
}

StatNode::StatNode(StatNode* parent, int m) : move(static_cast<std::int16_t>(m)) {
    parents.one = parent;
    parentCount = 1;
    serial = NodeSerial++;
    creator = parent;
    // The parent's side to move plays, so the kinds alternate.
    if (!parent->isOr()) flags |= NODE_OR;
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
    for (auto m = moves.rbegin(); m != moves.rend(); ++m) makeMove(*made, *m);
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

void StatNode::expand(V2Board& position) {
    const int result = generateCandidates(position);
    if (result != GENERATE_OPEN) {
        // Win at an OR node or loss at an AND node proves it for player 1.
        if ((result == GENERATE_WIN) == isOr())
            setProved(*this);
        else
            setDisproved(*this);
        return;
    }
    const std::uint16_t n = static_cast<std::uint16_t>(CandidateList.count);
    if (n == 0) {
        setDisproved(*this);  // a full board: a draw is no win for player 1
        return;
    }
    children = new StatNode*[n]();
    childCount = n;
    candidateCount = n;
    for (std::uint16_t i = 0; i < n; ++i) {
        const int s = CandidateList.squares[i];
        StatNode* child = new StatNode(this, s);
        children[i] = child;
        // The side then to move completes five at once.
        if (moveLeavesFive(position, s)) {
            if (child->isOr())
                setProved(*child);
            else
                setDisproved(*child);
        }
    }
    flags |= NODE_EXPANDED;
}

void StatNode::addParent(StatNode* parent) {
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
    StatNode** links = parents.many;
    StatNode** end = links + parentCount;
    StatNode** found = std::find(links, end, parent);
    if (found == end) return;
    std::copy(found + 1, end, found);
    --parentCount;
    if (parentCount == 1) {
        StatNode* only = links[0];
        delete[] links;
        parents.one = only;
    }
}

}  // namespace vorek
