// Consistency check of a grown tree, for tests and fuzzing.
#pragma once

#include <string>

#include "search/stat_node.h"
#include "search/tree_rules.h"

namespace vorek {

// Walks the subtree from a node that has its board, making each node's
// position from it by playing the moves: every expanded, undecided node holds
// the numbers its children give it, node kinds alternate, each child points
// back to its parent, its move was an empty square of the parent's position,
// each position is consistent after its move (checkAfterMove), a move that
// leaves the side then to move a five made a child decided at once, and a
// board a node keeps equals its position. Returns a description of
// the first violation, or an empty string.
std::string checkTree(const StatNode& root, const TreeRules& rules = handTreeRules());

}  // namespace vorek
