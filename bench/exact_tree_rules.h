// The solver before threat-space search, kept for the benchmarks' figures
// before and after: the rules of a tree whose verdicts are exact. "Proved"
// means player 1 has a forced win under the rules of the game, "disproved"
// that player 0 has one, so player 1 has none.
//
// A node's children are either every move that does not lose at once (the
// side to move faces a five, or two five squares next move: only blocking
// or forcing moves can matter) or, where nothing is forced, only the side to
// move's own threats: then the node can be won by them but not lost, so
// player 1 can prove only a win and player 0 only a defence by winning. A
// leaf is decided by facts alone: a five at once for the side to move, or
// two five squares of the other side against none of its own.
#pragma once

#include <memory>

#include "search/tree_rules.h"

namespace vorek {

// Set on an expanded node whose children are only the side to move's threats.
constexpr std::uint8_t NODE_PARTIAL = 0x10;

const TreeRules& exactTreeRules();

// A root for the exact rules over the position: the same stones and side to
// move, evaluated afresh, so that its lists are whole whatever the board
// went through. Decided at once when the side to move completes five.
std::unique_ptr<StatNode> exactRoot(const V2Board& position);
// The same over a board just made by V2Board::fromStones (or a copy of one),
// which it takes over as it is.
std::unique_ptr<StatNode> exactRoot(std::unique_ptr<V2Board> fresh);

// Whether there is nothing left to search at the node under the exact rules:
// it is decided, or neither side can force anything from it.
bool exactSettled(const StatNode& node);

}  // namespace vorek
