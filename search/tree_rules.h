// The rules a solver grows a tree by: how a node is expanded from its
// position, how a change of numbers travels towards the root, and which child
// leads to the most-proving node. The hand tree's rules are one kind; a
// solver with rules of its own plugs in here.
#pragma once

#include "board/v2board.h"
#include "search/numbers.h"
#include "search/stat_node.h"

namespace vorek {

class TreeRules {
public:
    virtual ~TreeRules() = default;

    // Makes the children of an unexpanded node that is not settled, from its
    // position (the board ensureBoard would give), or decides the node.
    virtual void expand(StatNode& node, const V2Board& position) const = 0;

    // Brings the numbers up to date from a node just expanded towards the
    // root. Returns the last node recomputed: the walk stops at the first
    // node whose numbers come out unchanged, or at the root, so nothing above
    // the returned node has changed.
    virtual StatNode* propagate(StatNode& node) const = 0;

    // The numbers the node holds by these rules: its own when it is decided
    // or not expanded, otherwise those its children give it.
    virtual NodeNumbers numbersOf(const StatNode& node) const = 0;

    // The child of an expanded node on the way to its most-proving node;
    // null when there is none.
    virtual StatNode* mostProvingChild(const StatNode& node) const = 0;

    // Whether there is nothing more to search at the node.
    virtual bool settled(const StatNode& node) const = 0;
};

// The hand tree's rules: expansion by the move generator, the numbers of the
// tree view, the most-proving child by the smallest positive number.
const TreeRules& handTreeRules();

}  // namespace vorek
