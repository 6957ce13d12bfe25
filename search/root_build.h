// Making the root of a new tree from the position files.
#pragma once

#include <filesystem>
#include <memory>

#include "search/stat_node.h"

namespace vorek {

struct RootBuild {
    std::unique_ptr<StatNode> root;
    bool read = false;        // readPosition succeeded
    bool fiveAtOnce = false;  // evaluateAll found a five for player 1; the root is proved
};

// Reads the position in dir (empty: the working directory), evaluates it in
// full, makes the root node over it and brings its numbers up to date. A
// position in which player 1, to move, completes five at once gives a root
// proved at once (0/-1).
RootBuild buildRootNode(const std::filesystem::path& dir = {});

// The same for a position given as a board whose squares, side to move and
// stone count are set and whose lists are empty (a game record's position, an
// engine's own board); read is true.
RootBuild buildRootNode(std::unique_ptr<V2Board> board);

}  // namespace vorek
