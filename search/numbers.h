// Proof and disproof numbers: recomputing one node from its children, and
// carrying a change towards the root.
#pragma once

#include "search/stat_node.h"

namespace vorek {

struct NodeNumbers {
    std::int32_t pn;
    std::int32_t dn;
};

// The numbers updateNumbers would give the node: a decided node keeps its own,
// an unexpanded one reads 1/1, an expanded one follows from its children.
NodeNumbers updatedNumbers(const StatNode& node);

// Recomputes pn and dn of one node in place.
void updateNumbers(StatNode& node);

// Recomputes the node (or, if it is decided, its parent) and each ancestor in
// turn while the numbers keep changing; returns the last node recomputed.
StatNode* propagateNumbers(StatNode* start);

// The expansion command: nothing when the node is expanded, proved or
// disproved (returns false); otherwise expand, then propagateNumbers.
bool expandAndPropagate(StatNode& node);

}  // namespace vorek
