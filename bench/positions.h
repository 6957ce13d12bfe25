// Positions the benchmarks run on.
#pragma once

#include <memory>
#include <string>

#include "board/v2board.h"
#include "search/stat_node.h"

namespace vorek::bench {

// A shipped example folder, read and evaluated.
std::unique_ptr<V2Board> examplePosition(const std::string& name);

// Sixty stones spread over the centre, no line longer than three: every square
// near the stones has something to judge.
std::unique_ptr<V2Board> sixtyStones();

// Three positions that the solver proves only after tens of thousands of nodes.
constexpr int HARD_POSITIONS = 3;
std::unique_ptr<V2Board> hardPosition(int i);

// The memory a tree holds: every node, its board, its children array and the
// items of its board's lists, each counted at its allocated size (the array
// with the general allocator's 16-byte header).
std::size_t treeBytes(const StatNode& root);
std::size_t treeNodes(const StatNode& root);

}  // namespace vorek::bench
