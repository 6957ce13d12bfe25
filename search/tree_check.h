// Consistency check of a grown tree, for tests and fuzzing.
#pragma once

#include <string>

#include "search/stat_node.h"

namespace vorek {

// Walks the subtree: every expanded, undecided node holds the numbers its
// children give it, node kinds alternate, each child points back to its parent
// and its move was an empty square on the parent's board. Returns a description
// of the first violation, or an empty string.
std::string checkTree(const StatNode& root);

}  // namespace vorek
