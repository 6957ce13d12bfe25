#include "search/tree_check.h"

#include <vector>

#include "search/numbers.h"

namespace vorek {

namespace {

bool numbersAreCurrent(const StatNode& node) {
    const NodeNumbers numbers = updatedNumbers(node);
    return numbers.pn == node.pn && numbers.dn == node.dn;
}

std::string describe(const char* what, const StatNode& node) {
    return std::string(what) + " at the node reached by " + std::to_string(node.move) + " (serial " +
           std::to_string(node.serial) + ")";
}

std::string checkChild(const StatNode& parent, const StatNode& child) {
    if (child.parent() != &parent) return describe("child not linked to its parent", child);
    if (child.isOr() == parent.isOr()) return describe("node kinds do not alternate", child);
    if (child.move < 0 || child.move >= BOARD_SQUARES) return describe("move off the board", child);
    if (!isEmptySquare(parent.board->squares[child.move]))
        return describe("move on a square taken on the parent's board", child);
    return {};
}

}  // namespace

std::string checkTree(const StatNode& root) {
    std::vector<const StatNode*> pending{&root};
    while (!pending.empty()) {
        const StatNode& node = *pending.back();
        pending.pop_back();
        if (node.isExpanded() && !node.isDecided() && !numbersAreCurrent(node))
            return describe("numbers out of step with the children", node);
        for (std::uint32_t i = 0; i < node.childCount; ++i) {
            const StatNode& child = *node.child(i);
            if (std::string fault = checkChild(node, child); !fault.empty()) return fault;
            pending.push_back(&child);
        }
    }
    return {};
}

}  // namespace vorek
