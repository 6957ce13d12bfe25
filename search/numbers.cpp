#include "search/numbers.h"

#include <cassert>
#include <limits>
#include <utility>

namespace vorek {

namespace {

constexpr std::int32_t MAX_NUMBER = std::numeric_limits<std::int32_t>::max();

// The minimum is taken over `own` numbers of the children and the sum over
// `other` ones: (pn, dn) at an OR node, (dn, pn) at an AND node.
template <std::int32_t StatNode::*Own, std::int32_t StatNode::*Other>
std::pair<std::int32_t, std::int32_t> combineChildren(const StatNode& node) {
    const StatNode* first = node.children[0];
    std::int32_t least = first->*Own;
    std::int32_t sum = first->*Other;
    if (least == 0) return {least, sum};
    for (std::uint32_t i = 1; i < node.childCount; ++i) {
        const StatNode* c = node.children[i];
        const std::int32_t q = c->*Own;
        if (q == 0) return {0, INFINITE_NUMBER};
        if (q < 0) continue;  // decided against: contributes nothing
        if (least < 0 || q < least) least = q;
        sum = addNumbers(sum, c->*Other);
    }
    return {least, sum};
}

}  // namespace

std::int32_t addNumbers(std::int32_t a, std::int32_t b) {
    assert(a >= INFINITE_NUMBER && b >= INFINITE_NUMBER);
    if (a < 0 || b < 0) return INFINITE_NUMBER;
    return a > MAX_NUMBER - b ? MAX_NUMBER : a + b;
}

NodeNumbers updatedNumbers(const StatNode& node) {
    assert(!node.isExpanded() || node.childCount == 0 || node.children != nullptr);
    if (node.isDecided()) return {node.pn, node.dn};
    if (!node.isExpanded()) return {1, 1};
    if (node.childCount == 0) return {node.pn, node.dn};  // expansion never leaves this state
    if (node.isOr()) {
        const auto [pn, dn] = combineChildren<&StatNode::pn, &StatNode::dn>(node);
        return {pn, dn};
    }
    const auto [dn, pn] = combineChildren<&StatNode::dn, &StatNode::pn>(node);
    return {pn, dn};
}

void updateNumbers(StatNode& node) {
    const NodeNumbers numbers = updatedNumbers(node);
    node.pn = numbers.pn;
    node.dn = numbers.dn;
}

StatNode* propagateNumbers(StatNode* start) {
    assert(start != nullptr);
    return propagateNumbersBy(*start, start->isDecided(), updatedNumbers);
}

bool expandAndPropagate(StatNode& node) {
    if (node.isExpanded() || node.isDecided()) return false;
    node.expand();
    propagateNumbers(&node);
    return true;
}

}  // namespace vorek
