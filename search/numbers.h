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

// A sum of numbers, saturated instead of overflowing; infinite when one is.
std::int32_t addNumbers(std::int32_t a, std::int32_t b);

// Recomputes by numbersOf the start node (or, when its numbers are final, its
// parent) and each ancestor in turn while the numbers keep changing; returns
// the last node recomputed.
template <class NumbersOf>
StatNode* propagateNumbersBy(StatNode& start, bool startFinal, NumbersOf numbersOf) {
    StatNode* current = &start;
    if (startFinal) {
        if (start.parent() == nullptr) return &start;
        current = start.parent();
    }
    StatNode* last = current;
    while (current != nullptr) {
        const NodeNumbers numbers = numbersOf(*current);
        last = current;
        if (numbers.pn == current->pn && numbers.dn == current->dn) break;
        current->pn = numbers.pn;
        current->dn = numbers.dn;
        current = current->parent();
    }
    return last;
}

// The same by updatedNumbers, from a node whose numbers are final when it is decided.
StatNode* propagateNumbers(StatNode* start);

// The expansion command: nothing when the node is expanded, proved or
// disproved (returns false); otherwise expand, then propagateNumbers.
bool expandAndPropagate(StatNode& node);

}  // namespace vorek
