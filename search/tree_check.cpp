#include "search/tree_check.h"

#include <memory>
#include <vector>

#include "board/invariants.h"
#include "board/moves.h"
#include "search/numbers.h"

namespace vorek {

namespace {

bool numbersAreCurrent(const StatNode& node, const TreeRules& rules) {
    const NodeNumbers numbers = rules.numbersOf(node);
    return numbers.pn == node.pn && numbers.dn == node.dn;
}

std::string describe(const std::string& what, const StatNode& node) {
    return what + " at the node reached by " + std::to_string(node.move) + " (serial " +
           std::to_string(node.serial) + ")";
}

std::string checkChild(const StatNode& parent, const V2Board& position, const StatNode& child) {
    if (child.parent() != &parent) return describe("child not linked to its parent", child);
    if (child.isOr() == parent.isOr()) return describe("node kinds do not alternate", child);
    if (!isSquare(child.move)) return describe("move off the board", child);
    if (!position.isEmpty(child.move))
        return describe("move on a square taken on the parent's board", child);
    return {};
}

// A node walked with its position, made from the root's by playing the moves.
struct Visit {
    const StatNode* node;
    std::shared_ptr<const V2Board> position;
};

}  // namespace

std::string checkTree(const StatNode& root, const TreeRules& rules) {
    if (root.board == nullptr) return describe("start of the walk without a board", root);
    std::vector<Visit> pending{{&root, root.board->clone()}};
    while (!pending.empty()) {
        const Visit visit = std::move(pending.back());
        pending.pop_back();
        const StatNode& node = *visit.node;
        const V2Board& position = *visit.position;
        if (node.board != nullptr && !samePosition(*node.board, position))
            return describe("board kept by the node differs from its moves' position", node);
        if (node.isExpanded() && !node.isDecided() && !numbersAreCurrent(node, rules))
            return describe("numbers out of step with the children", node);
        for (std::uint32_t i = 0; i < node.childCount; ++i) {
            const StatNode& child = *node.child(i);
            if (std::string fault = checkChild(node, position, child); !fault.empty()) return fault;
            ChildBoard made = position.played(child.move);
            if (std::string fault = checkAfterMove(*made.board, child.move); !fault.empty())
                return describe("position inconsistent after its move: " + fault, child);
            if (made.win && (!child.isDecided() || child.isExpanded()))
                return describe("five left by the move but the child not decided at once", child);
            pending.push_back({&child, std::move(made.board)});
        }
    }
    return {};
}

}  // namespace vorek
