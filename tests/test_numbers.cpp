// Proof and disproof numbers of one node, and their walk towards the root.
#include <gtest/gtest.h>

#include <vector>

#include "search/numbers.h"

namespace vorek {
namespace {

struct Pair {
    std::int32_t pn;
    std::int32_t dn;
};

std::unique_ptr<StatNode> node(bool orNode) {
    return std::make_unique<StatNode>(V2Board::fromStones(Stones(), orNode ? PLAYER1 : PLAYER0));
}

// An expanded node of the given kind with children holding the given numbers.
std::unique_ptr<StatNode> expandedWith(bool orNode, const std::vector<Pair>& numbers) {
    auto parent = node(orNode);
    std::vector<int> moves(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) moves[i] = static_cast<int>(i);
    parent->makeChildren(moves);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        parent->children[i]->pn = numbers[i].pn;
        parent->children[i]->dn = numbers[i].dn;
    }
    parent->flags |= NODE_EXPANDED;
    return parent;
}

Pair numbersOf(const StatNode& n) { return {n.pn, n.dn}; }

bool operator==(Pair a, Pair b) { return a.pn == b.pn && a.dn == b.dn; }
std::ostream& operator<<(std::ostream& out, Pair p) { return out << p.pn << '/' << p.dn; }

TEST(UpdateNumbers, WorkedExamples) {
    struct Example {
        bool orNode;
        std::vector<Pair> children;
        Pair result;
    };
    const Example examples[] = {
        {true, {{3, 2}, {1, 5}, {-1, 0}}, {1, 7}},
        {true, {{-1, 0}, {4, 1}, {2, 3}}, {2, 4}},
        {true, {{1, 1}, {0, -1}, {5, 5}}, {0, -1}},
        {true, {{-1, 0}, {-1, 0}}, {-1, 0}},
        {false, {{1, 1}, {1, 1}, {1, 1}}, {3, 1}},
        {false, {{2, 1}, {0, -1}, {3, 2}}, {5, 1}},
        {false, {{0, -1}, {3, 2}}, {3, 2}},
        {false, {{0, -1}, {0, -1}}, {0, -1}},
        {false, {{1, 1}, {-1, 0}}, {-1, 0}},
        // Not from the table: the first child's kind of value and ties.
        {true, {{0, -1}, {-1, 0}}, {0, -1}},
        {true, {{2, 3}, {2, 4}}, {2, 7}},
        {true, {{4, 1}}, {4, 1}},
    };
    for (const Example& e : examples) {
        auto parent = expandedWith(e.orNode, e.children);
        updateNumbers(*parent);
        EXPECT_EQ(numbersOf(*parent), e.result) << (e.orNode ? "OR" : "AND") << " example";
    }
}

TEST(UpdateNumbers, UnexpandedIsOneOneAndDecidedNeverChanges) {
    auto leaf = node(true);
    leaf->pn = 7;
    updateNumbers(*leaf);
    EXPECT_EQ(numbersOf(*leaf), (Pair{1, 1}));

    auto decided = expandedWith(true, {{1, 1}, {1, 1}});
    decided->pn = -1;
    decided->dn = 0;
    updateNumbers(*decided);
    EXPECT_EQ(numbersOf(*decided), (Pair{-1, 0}));
}

TEST(UpdateNumbers, SumsSaturateInsteadOfOverflowing) {
    auto orNode = expandedWith(true, {{5, 2000000000}, {6, 2000000000}});
    updateNumbers(*orNode);
    EXPECT_EQ(numbersOf(*orNode), (Pair{5, 2147483647}));
    auto andNode = expandedWith(false, {{2147483000, 3}, {1000, 4}});
    updateNumbers(*andNode);
    EXPECT_EQ(numbersOf(*andNode), (Pair{2147483647, 3}));
}

TEST(PropagateNumbers, StopsAtTheFirstUnchangedAncestor) {
    // root (OR) -> a (AND) -> leaf (OR) with two children of its own.
    auto root = expandedWith(true, {{1, 1}, {1, 1}});
    StatNode* a = root->children[0];
    a->makeChildren(std::vector<int>{0});
    a->flags |= NODE_EXPANDED;
    StatNode* leaf = a->children[0];
    updateNumbers(*a);
    updateNumbers(*root);
    ASSERT_EQ(numbersOf(*root), (Pair{1, 2}));

    // The leaf gets one 1/1 child: it stays 1/1, so the walk stops there.
    leaf->makeChildren(std::vector<int>{1});
    leaf->flags |= NODE_EXPANDED;
    root->pn = 99;  // a marker: the root must not be recomputed
    EXPECT_EQ(propagateNumbers(leaf), leaf);
    EXPECT_EQ(root->pn, 99);
    root->pn = 1;

    // A proved leaf starts the walk at its parent, which changes, and so on up.
    leaf->pn = 0;
    leaf->dn = -1;
    EXPECT_EQ(propagateNumbers(leaf), root.get());
    EXPECT_EQ(numbersOf(*a), (Pair{0, -1}));
    EXPECT_EQ(numbersOf(*root), (Pair{0, -1}));
}

TEST(PropagateNumbers, DecidedRootReturnsAtOnce) {
    auto root = node(true);
    root->pn = 0;
    root->dn = -1;
    EXPECT_EQ(propagateNumbers(root.get()), root.get());
    auto open = expandedWith(true, {{2, 1}, {3, 1}});
    EXPECT_EQ(propagateNumbers(open.get()), open.get());
    EXPECT_EQ(numbersOf(*open), (Pair{2, 2}));
}

}  // namespace
}  // namespace vorek
