// The solver on positions with known answers, and its budgets. (That it grows
// the tree a user would grow by hand is checked with the command-line tool's tests.)
#include <gtest/gtest.h>

#include <thread>

#include "search/numbers.h"
#include "search/root_build.h"
#include "search/solver.h"
#include "search/tree_check.h"
#include "tests/board_builder.h"

namespace vorek {
namespace {

using testing::boardFromRows;

std::unique_ptr<StatNode> rootOver(std::initializer_list<std::string_view> rows) {
    return buildRootNode(boardFromRows(rows)).root;
}

SolveBudget nodes(std::uint64_t n) {
    SolveBudget budget;
    budget.maxNodes = n;
    return budget;
}

// Player 1 wins only by fours: every reply of player 0 is forced.
const std::initializer_list<std::string_view> CHAIN_OF_FOURS = {
    "", "", "", "", "",
    "        o",
    "         x",
    "          xoo",
    "           x o",
    "          x x x",
    "       o xxxooxoo",
    "        xoo",
    "       o",
    "       x",
};

// Player 0 threatens five at (9, 5); after the block it plays a double four at (15, 10).
const std::initializer_list<std::string_view> DOUBLE_FOUR_LOSS = {
    "", "", "", "", "",
    "    xoooo",
    "               x",
    "               o",
    "               o",
    "               o",
    "           xooo",
};

TEST(Solver, OpenFourIsProvedAtOnce) {
    auto made = rootOver({"", "", " xxxx", "", "o  o   o"});
    SolveReport r = solve(*made, nodes(1000));
    EXPECT_EQ(r.result, SolveResult::Proved);
    EXPECT_EQ(r.nodes, 0u);
    EXPECT_EQ(r.move, squareAt(0, 2));  // the first square completing five

    auto toMake = rootOver({"", "", "  xxx", "", "o  o   o"});
    r = solve(*toMake, nodes(1000));
    EXPECT_EQ(r.result, SolveResult::Proved);
    EXPECT_EQ(r.nodes, 0u);  // the generator decides the root without children
    EXPECT_TRUE(r.move == squareAt(1, 2) || r.move == squareAt(5, 2)) << r.move;
}

TEST(Solver, FourThreeIsProvedWithItsSquare) {
    auto root = rootOver({"", "", "", "", "", "          x", "          x", "      oxxx", "",
                          "", "", "", "", "", "", "  o   o"});
    const SolveReport r = solve(*root, nodes(1000));
    EXPECT_EQ(r.result, SolveResult::Proved);
    EXPECT_EQ(r.move, squareAt(10, 7));
}

TEST(Solver, ChainOfFoursWins) {
    auto root = rootOver(CHAIN_OF_FOURS);
    const SolveReport r = solve(*root, nodes(100000));
    ASSERT_EQ(r.result, SolveResult::Proved);
    EXPECT_EQ(r.pn, 0);
    EXPECT_EQ(r.dn, INFINITE_NUMBER);
    EXPECT_EQ(r.move, squareAt(10, 6));
    ASSERT_GE(r.line.size(), 8u);
    EXPECT_EQ(r.line[0], r.move);
    // Along the main line every reply of player 0 is forced, and every node of
    // player 1 is proved.
    const StatNode* node = root.get();
    for (int move : r.line) {
        const StatNode* next = nullptr;
        for (std::uint32_t i = 0; i < node->childCount; ++i)
            if (node->child(i)->move == move) next = node->child(i);
        ASSERT_NE(next, nullptr);
        if (!next->isOr()) {
            EXPECT_EQ(next->childCount, 1u) << "reply to " << move << " not forced";
        }
        EXPECT_EQ(next->pn, 0);
        node = next;
    }
    EXPECT_EQ(checkTree(*root), "");
}

TEST(Solver, DoubleFourAfterTheForcedBlockLoses) {
    auto root = rootOver(DOUBLE_FOUR_LOSS);
    const SolveReport r = solve(*root, nodes(1000));
    EXPECT_EQ(r.result, SolveResult::Disproved);
    EXPECT_EQ(r.pn, INFINITE_NUMBER);
    EXPECT_EQ(r.dn, 0);
    EXPECT_EQ(r.move, -1);
    EXPECT_EQ(r.line, std::vector<int>{squareAt(9, 5)});
    EXPECT_EQ(r.nodes, 1u);
}

TEST(Solver, QuietPositionStaysUnknownWithinTheBudget) {
    auto root = rootOver({"", "", "", "", "", "", "", "", "", "          o", "         xx",
                          "          o"});
    const SolveReport r = solve(*root, nodes(2000));
    EXPECT_EQ(r.result, SolveResult::Unknown);
    EXPECT_GE(r.nodes, 2000u);
    EXPECT_LT(r.nodes, 2000u + 400u);  // stops at the first check past the budget
    EXPECT_GT(r.pn, 0);
    EXPECT_GT(r.dn, 0);
    EXPECT_FALSE(r.line.empty());
    EXPECT_EQ(checkTree(*root), "");
}

TEST(Solver, CancelFlagMemoryLimitAndSlices) {
    auto root = rootOver(CHAIN_OF_FOURS);
    std::atomic<bool> cancel{true};
    SolveBudget budget = nodes(100000);
    budget.cancel = &cancel;
    Solver cancelled(*root, budget);
    EXPECT_TRUE(cancelled.runSlice(std::chrono::seconds(10)));
    EXPECT_EQ(cancelled.report().nodes, 0u);

    SolveBudget small = nodes(100000);
    small.maxMemoryBytes = 1;  // already past: stops before the first expansion
    EXPECT_EQ(solve(*root, small).nodes, 0u);

    cancel = false;
    Solver sliced(*root, budget);
    int slices = 1;
    while (!sliced.runSlice(std::chrono::nanoseconds(1))) ++slices;
    EXPECT_GT(slices, 1);
    EXPECT_EQ(sliced.report().result, SolveResult::Proved);
}

// Every node in preorder: move, kind, numbers and child count.
std::string treeSignature(const StatNode& root) {
    std::string text;
    std::vector<const StatNode*> pending{&root};
    while (!pending.empty()) {
        const StatNode& node = *pending.back();
        pending.pop_back();
        text += std::to_string(node.move) + (node.isOr() ? "|" : "&") + std::to_string(node.pn) + "/" +
                std::to_string(node.dn) + ":" + std::to_string(node.childCount) + " ";
        for (std::uint32_t i = node.childCount; i-- > 0;) pending.push_back(node.child(i));
    }
    return text;
}

// A solve made on this thread and run on another, as the window runs it,
// grows the same tree as one run here.
TEST(Solver, ASolveOnAnotherThreadGrowsTheSameTree) {
    auto here = rootOver(CHAIN_OF_FOURS);
    auto there = rootOver(CHAIN_OF_FOURS);
    const SolveReport local = solve(*here, nodes(3000));
    Solver solver(*there, nodes(3000));
    std::thread([&solver] {
        while (!solver.runSlice(std::chrono::milliseconds(1))) {
        }
    }).join();
    const SolveReport remote = solver.report();
    EXPECT_EQ(remote.nodes, local.nodes);
    EXPECT_EQ(remote.line, local.line);
    EXPECT_EQ(solver.progress().nodes, local.nodes);
    EXPECT_EQ(treeSignature(*there), treeSignature(*here));
    EXPECT_EQ(checkTree(*there, handTreeRules()), "");
}

TEST(MostProvingChild, FollowsTheNumbersOfTheSideToMove) {
    auto root = rootOver(CHAIN_OF_FOURS);
    expandAndPropagate(*root);
    ASSERT_GT(root->childCount, 2u);
    root->child(0)->pn = 3;
    root->child(1)->pn = 2;
    root->child(2)->pn = 2;
    for (std::uint32_t i = 3; i < root->childCount; ++i) root->child(i)->pn = INFINITE_NUMBER;
    EXPECT_EQ(mostProvingChild(*root), root->child(1));  // the first of the smallest
    for (std::uint32_t i = 0; i < root->childCount; ++i) root->child(i)->pn = INFINITE_NUMBER;
    EXPECT_EQ(mostProvingChild(*root), nullptr);
}

}  // namespace
}  // namespace vorek
