// Making the root of a new tree over a position.
#pragma once

#include <memory>

#include "search/stat_node.h"

namespace vorek {

struct RootBuild {
    std::unique_ptr<StatNode> root;
    bool fiveAtOnce = false;  // player 1, to move, completes five; the root is proved
};

// The root over a position just made by V2Board::fromStones (which it takes
// over), with its numbers up to date. A position in which player 1, to move,
// completes five at once gives a root proved at once (0/-1).
RootBuild buildRootNode(std::unique_ptr<V2Board> position);

}  // namespace vorek
