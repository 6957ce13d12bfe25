// Tree growth from a start position (an example, or a board read from the
// input; see startFolder), built as the window builds its root, by the
// window's rules. Each step
// walks down from the root, the next byte choosing the child at every expanded
// node, and expands the leaf it reaches as the window does (nothing when the
// leaf is decided). After every expansion the whole tree must be consistent
// (checkTree also makes every node's position by playing its moves and holds
// the children decided at once to what the moves leave), every new position
// too, and the lists of one of them, chosen by the next byte, equal to those
// of a full evaluation when it is undecided; the tree is deleted at the end,
// so that a leak shows.
#include <cstdint>

#include "board/invariants.h"
#include "board/moves.h"
#include "fuzz/fuzz_support.h"
#include "search/numbers.h"
#include "search/root_build.h"
#include "search/tree_check.h"

namespace {

using namespace vorek;

constexpr int MAX_EXPANSIONS = 32;
constexpr std::uint32_t MAX_NODES = 2000;

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteStream in(data, size);
    const std::uint32_t firstSerial = NodeSerial;
    RootBuild build = buildRootNode(fuzz::startFolder(in));
    const TreeRules& rules = handTreeRules();
    StatNode& root = *build.root;
    fuzz::require(checkInvariants(*root.board));
    fuzz::require(checkTree(root, rules));

    for (int expansions = 0; expansions < MAX_EXPANSIONS && NodeSerial - firstSerial < MAX_NODES;) {
        if (root.isDecided() && !root.isExpanded()) break;  // nothing will ever grow
        if (in.empty()) break;
        StatNode* leaf = chooseLeaf(in, root);
        if (!expandByRules(*leaf, rules)) continue;  // a decided leaf: the window refuses too
        ++expansions;
        // Children keep no board: their positions are made here from the leaf's.
        const std::uint32_t sample = leaf->childCount > 0 ? in.next() % leaf->childCount : 0;
        for (std::uint32_t i = 0; i < leaf->childCount; ++i) {
            const StatNode& child = *leaf->child(i);
            const ChildBoard made = childAfterMove(leaf->ensureBoard(), child.move);
            fuzz::require(checkInvariants(*made.board));
            // A full evaluation costs as much as the expansion: one child is compared.
            if (i == sample && !child.isDecided())
                fuzz::require(fuzz::differenceFromFullEvaluation(*made.board));
        }
        fuzz::require(checkTree(root, rules));
    }
    return 0;
}
