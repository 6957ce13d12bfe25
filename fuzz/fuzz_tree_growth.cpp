// Tree growth from a start position (an example, or a board read from the
// input; see startPosition), built as the window builds its root, by the
// window's rules. Each step walks down from the root, the next byte choosing
// the child at every expanded node, and expands the leaf it reaches as the
// window does (nothing when the leaf is decided). After every expansion what
// it changed must be consistent (checkExpansion: a sample of it, and every few
// expansions all of it); the tree is deleted at the end, so that a leak shows.
#include <cstdint>

#include "board/invariants.h"
#include "board/moves.h"
#include "files/position_source.h"
#include "fuzz/fuzz_support.h"
#include "search/numbers.h"
#include "search/root_build.h"
#include "search/tree_check.h"

namespace {

using namespace vorek;

constexpr int MAX_EXPANSIONS = 32;
constexpr std::uint32_t MAX_NODES = 2000;
constexpr int WHOLE_CHECK_EVERY = 8;
constexpr int FULL_EVALUATION_EVERY = 16;

StatNode* chooseLeaf(fuzz::ByteStream& in, StatNode& root) {
    StatNode* node = &root;
    while (node->isExpanded() && node->childCount > 0) node = node->child(in.next() % node->childCount);
    return node;
}

// Expands the leaf by the rules and brings the numbers up to date, as the
// solver does; false when there is nothing to expand.
bool expandByRules(StatNode& leaf, const TreeRules& rules) {
    if (leaf.isExpanded() || rules.settled(leaf)) return false;
    rules.expand(leaf, leaf.ensureBoard());
    rules.propagate(leaf);
    return true;
}

// The numbers of the nodes above the leaf, which its expansion may change.
void checkNumbersAbove(const StatNode& leaf, const TreeRules& rules) {
    for (const StatNode* node = leaf.parent(); node != nullptr; node = node->parent()) {
        const NodeNumbers numbers = rules.numbersOf(*node);
        if (!node->isDecided() && (numbers.pn != node->pn || numbers.dn != node->dn))
            fuzz::fail("numbers out of step with the children above an expansion, at serial " +
                       std::to_string(node->serial));
    }
}

// One child: linked to the leaf, of the other kind, on an empty square; its
// position consistent after its move, and decided at once when the move
// leaves the side then to move a five.
void checkChild(const StatNode& leaf, const StatNode& child) {
    if (child.parent() != &leaf || child.isOr() == leaf.isOr()) fuzz::fail("a child not linked or of the same kind");
    if (!isSquare(child.move) || !leaf.board->isEmpty(child.move)) fuzz::fail("a child's move on a stone");
    const ChildBoard made = leaf.board->played(child.move);
    fuzz::require(checkAfterMove(*made.board, child.move));
    if (made.win && (!child.isDecided() || child.isExpanded()))
        fuzz::fail("five left by the move but the child not decided at once");
}

// What an expansion changed: the numbers up to the root, and one child chosen
// by the next byte. Every WHOLE_CHECK_EVERY-th expansion, every child
// (checkTree of the leaf) and the leaf's board against its parent's with the
// leaf's move played; every FULL_EVALUATION_EVERY-th, the chosen child's
// lists against a full evaluation when it is undecided.
void checkExpansion(fuzz::ByteStream& in, StatNode& leaf, const TreeRules& rules, int expansion) {
    checkNumbersAbove(leaf, rules);
    if (leaf.childCount == 0) return;
    const StatNode& chosen = *leaf.child(in.next() % leaf.childCount);
    if (expansion % WHOLE_CHECK_EVERY != WHOLE_CHECK_EVERY / 2) return checkChild(leaf, chosen);
    if (const StatNode* parent = leaf.parent(); parent != nullptr && parent->board != nullptr)
        if (!samePosition(*leaf.board, *parent->board->played(leaf.move).board))
            fuzz::fail("a node's board differs from its parent's with its move played");
    fuzz::require(checkTree(leaf, rules));
    if (expansion % FULL_EVALUATION_EVERY == FULL_EVALUATION_EVERY / 2 && !chosen.isDecided())
        fuzz::require(fuzz::differenceFromFullEvaluation(*leaf.board->played(chosen.move).board));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteStream in(data, size);
    RootBuild build = buildRootNode(fuzz::startPosition(in));
    const TreeRules& rules = handTreeRules();
    StatNode& root = *build.root;
    fuzz::require(checkInvariants(*root.board));
    fuzz::require(checkTree(root, rules));

    for (int expansions = 0; expansions < MAX_EXPANSIONS && root.treeNodes() < MAX_NODES;) {
        if (rules.settled(root) || in.empty()) break;  // nothing left to grow, or to choose by
        StatNode* leaf = chooseLeaf(in, root);
        if (!expandByRules(*leaf, rules)) continue;  // a decided leaf: the window refuses too
        checkExpansion(in, *leaf, rules, expansions++);
    }
    return 0;
}
