// The tree a solve leaves behind, as vorek-cli solve and vorek-ai use it: it
// is consistent, and it is the tree the window's expansion gives when a user
// expands the same nodes by hand.
#include <gtest/gtest.h>

#include "board/invariants.h"
#include "files/position_source.h"
#include "search/numbers.h"
#include "search/root_build.h"
#include "search/solver.h"
#include "search/tree_check.h"
#include "tests/board_builder.h"
#include "tests/cli/cli_run.h"
#include "tests/temp_dir.h"

namespace vorek::testing {
namespace {

// The node a user expands next: from the start, at an OR node the first child
// with the smallest positive pn, at an AND node the first with the smallest
// positive dn, down to a node that is not expanded. Null when none is open.
StatNode* nextByHand(StatNode& start) {
    StatNode* node = &start;
    while (node->isExpanded()) {
        StatNode* next = nullptr;
        for (std::uint32_t i = 0; i < node->childCount; ++i) {
            StatNode* child = node->child(i);
            const std::int32_t value = node->isOr() ? child->pn : child->dn;
            const std::int32_t best = next ? (node->isOr() ? next->pn : next->dn) : 0;
            if (value > 0 && (next == nullptr || value < best)) next = child;
        }
        if (next == nullptr) return nullptr;
        node = next;
    }
    return node;
}

// Expands by hand until the start is decided or maxNodes nodes are made (as
// the solver, the count is looked at before each expansion).
void growByHand(StatNode& start, std::uint32_t maxNodes) {
    const std::uint32_t madeBefore = start.treeNodes();
    while (!start.isDecided() && start.treeNodes() - madeBefore < maxNodes) {
        StatNode* leaf = nextByHand(start);
        if (leaf == nullptr) return;
        ASSERT_TRUE(expandAndPropagate(*leaf));
    }
}

// Every node alike: move, kind, numbers, flags, children and board.
void expectSameTree(const StatNode& a, const StatNode& b) {
    std::vector<std::pair<const StatNode*, const StatNode*>> pending{{&a, &b}};
    std::size_t compared = 0;
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        ++compared;
        ASSERT_EQ(x->move, y->move);
        ASSERT_EQ(x->flags, y->flags) << "move " << x->move;
        ASSERT_EQ(x->pn, y->pn) << "move " << x->move;
        ASSERT_EQ(x->dn, y->dn) << "move " << x->move;
        ASSERT_EQ(x->childCount, y->childCount) << "move " << x->move;
        if (x->board && y->board) {
            ASSERT_TRUE(samePosition(*x->board, *y->board)) << "move " << x->move;
        }
        for (std::uint32_t i = 0; i < x->childCount; ++i)
            pending.emplace_back(x->child(i), y->child(i));
    }
    EXPECT_GT(compared, 1u);
}

struct Case {
    std::string name;
    std::filesystem::path dir;
    std::uint32_t maxNodes;
    SolveResult result;
};

// The chain of fours of the command's tests: x wins by four fours in a row.
void writeChainOfFours(const TempDir& dir) {
    dir.write("plocha.dat", boardFile({"", "", "", "", "", "", "", "      o     o", "       x  ox",
                                       "        x x", "      o xxxo", "         o", "        o"}));
    dir.write("tah.dat", "x");
}

TEST(SolveTree, SolvedTreeIsConsistentAndTheSameAsByHand) {
    const TempDir chain;
    writeChainOfFours(chain);
    for (const Case& c : {Case{"middlegame", example("middlegame"), 0, SolveResult::Proved},
                          Case{"opening", example("opening"), 3000, SolveResult::Unknown},
                          Case{"chain of fours", chain.path(), 0, SolveResult::Proved}}) {
        SCOPED_TRACE(c.name);
        const RootBuild solved = buildRootNode(folderPosition(c.dir).board);
        const SolveReport report = solve(*solved.root, SolveBudget{.maxNodes = c.maxNodes});
        EXPECT_EQ(report.result, c.result);
        EXPECT_EQ(checkTree(*solved.root), "");

        const RootBuild byHand = buildRootNode(folderPosition(c.dir).board);
        growByHand(*byHand.root, c.maxNodes ? c.maxNodes : UINT32_MAX);
        expectSameTree(*solved.root, *byHand.root);
    }
}

// The window solves in slices between repaints; cutting the work into slices
// must not change what is grown.
TEST(SolveTree, SlicesGrowTheSameTreeAsOneRun) {
    const RootBuild whole = buildRootNode(folderPosition(example("opening")).board);
    solve(*whole.root, SolveBudget{.maxNodes = 2000});
    const RootBuild sliced = buildRootNode(folderPosition(example("opening")).board);
    Solver solver(*sliced.root, SolveBudget{.maxNodes = 2000});
    int slices = 1;
    while (!solver.runSlice(std::chrono::nanoseconds(0))) ++slices;
    EXPECT_GT(slices, 2);
    expectSameTree(*whole.root, *sliced.root);
    EXPECT_EQ(checkTree(*sliced.root), "");
}

// Solving from a node below the root, reached by expansion alone, also brings
// the numbers of its ancestors up to date.
TEST(SolveTree, SolveFromAChildKeepsTheWholeTreeConsistent) {
    const RootBuild build = buildRootNode(folderPosition(example("middlegame")).board);
    ASSERT_TRUE(expandAndPropagate(*build.root));
    StatNode& winning = *build.root->child(5);
    ASSERT_EQ(winning.move, 246);
    const SolveReport report = solve(winning, SolveBudget{});
    EXPECT_EQ(report.result, SolveResult::Proved);
    EXPECT_EQ(report.move, -1);  // player 0 is to move there
    EXPECT_EQ(build.root->pn, 0);
    EXPECT_EQ(checkTree(*build.root), "");
}

}  // namespace
}  // namespace vorek::testing
