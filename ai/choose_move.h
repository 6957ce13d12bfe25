// The move vorek-ai plays in a position.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "search/stat_node.h"

namespace vorek {

struct SolvingLimits {
    std::uint64_t nodes;                // nodes the solver may make
    std::chrono::duration<double> time; // time it may take; zero: no solving
};

// Solves from the root (a tree of one node over the position, built as the
// window builds it) within the limits. When the root is proved, the proving
// move: the five, or the first move of a forced win. Otherwise the move
// generator's first listed square (the forced block or the best candidate);
// should the generator list no empty square, the empty square nearest the
// centre. Nullopt when no square is empty.
std::optional<int> chooseMove(StatNode& root, const SolvingLimits& limits);

}  // namespace vorek
