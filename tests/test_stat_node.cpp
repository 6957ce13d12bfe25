// Tree nodes: creation, expansion, deletion with its guarded steps, and the
// root build shared by every front end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <stdexcept>

#include "board/candidates.h"
#include "board/invariants.h"
#include "files/position_source.h"
#include "search/numbers.h"
#include "search/root_build.h"
#include "tests/board_builder.h"
#include "tests/board_surgery.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

using testing::boardFile;
using testing::boardFromRows;
using testing::TempDir;

std::unique_ptr<StatNode> rootOver(std::initializer_list<std::string_view> rows) {
    return buildRootNode(boardFromRows(rows)).root;
}

const std::initializer_list<std::string_view> MIDDLE = {
    "", "", "", "", "", "", "", "         x", "     o  o  x", "      xo  o",
    "     xoxxxxoo", "    xxoxxoo", "   oo  x o", "      oox x", "       xo"};

TEST(StatNode, RootIsAnUnexpandedOrNode) {
    auto root = rootOver(MIDDLE);
    EXPECT_TRUE(root->isOr());
    EXPECT_FALSE(root->isExpanded());
    EXPECT_EQ(root->move, -1);
    EXPECT_EQ(root->pn, 1);
    EXPECT_EQ(root->dn, 1);
    EXPECT_EQ(root->parentCount, 0);
    EXPECT_EQ(root->parent(), nullptr);
    EXPECT_EQ(root->serial, 0u);
    EXPECT_EQ(root->treeNodes(), 1u);
}

// Each tree numbers its own nodes in the order they are made, whatever other
// trees make meanwhile.
TEST(StatNode, SerialsCountTheNodesOfEachTreeApart) {
    auto first = rootOver(MIDDLE);
    auto second = rootOver(MIDDLE);
    expandAndPropagate(*first);
    expandAndPropagate(*second);
    StatNode& grandchild = *first->child(1);
    expandAndPropagate(grandchild);
    const std::uint32_t firstLevel = first->childCount;
    ASSERT_GT(grandchild.childCount, 0u);
    for (std::uint32_t i = 0; i < first->childCount; ++i) EXPECT_EQ(first->child(i)->serial, 1 + i);
    for (std::uint32_t i = 0; i < grandchild.childCount; ++i)
        EXPECT_EQ(grandchild.child(i)->serial, 1 + firstLevel + i);
    EXPECT_EQ(first->treeNodes(), 1 + firstLevel + grandchild.childCount);
    EXPECT_EQ(second->treeNodes(), 1u + second->childCount);
    EXPECT_EQ(second->child(0)->serial, 1u);
}

TEST(StatNode, ExpansionMakesOneChildPerCandidateInOrder) {
    auto root = rootOver(MIDDLE);
    const auto before = root->board->clone();
    CandidateList list;
    ASSERT_EQ(generateCandidates(*root->board, list), GENERATE_OPEN);
    const std::vector<int> candidates(list.begin(), list.end());
    ASSERT_GT(candidates.size(), 1u);

    root->expand();
    ASSERT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount, candidates.size());
    EXPECT_EQ(root->candidateCount, candidates.size());
    EXPECT_TRUE(samePosition(*root->board, *before));
    for (std::uint32_t i = 0; i < root->childCount; ++i) {
        const StatNode* child = root->child(i);
        EXPECT_EQ(child->move, candidates[i]);
        EXPECT_FALSE(child->isOr());
        EXPECT_EQ(child->parent(), root.get());
        EXPECT_EQ(child->creator, root.get());
        EXPECT_EQ(child->parentCount, 1);
        EXPECT_FALSE(root->child(i)->ensureBoard().isEmpty(candidates[i]));
        EXPECT_EQ(child->pn, 1);
        EXPECT_EQ(child->dn, 1);
    }
    // One level further the kinds alternate back.
    StatNode* child = root->child(0);
    ASSERT_TRUE(expandAndPropagate(*child));
    ASSERT_GT(child->childCount, 0u);
    EXPECT_TRUE(child->child(0)->isOr());
}

// The moves from the root are what a node's position adds to the root's:
// played on the root's board they give the node's.
TEST(StatNode, MovesFromTheRootLeadToTheNodesPosition) {
    auto root = rootOver(MIDDLE);
    EXPECT_TRUE(movesFromRoot(*root).empty());
    ASSERT_TRUE(expandAndPropagate(*root));
    StatNode& child = *root->child(1);
    ASSERT_TRUE(expandAndPropagate(child));
    StatNode& grandchild = *child.child(0);
    EXPECT_EQ(movesFromRoot(grandchild), (std::vector<int>{child.move, grandchild.move}));
    auto board = root->board->clone();
    for (const int move : movesFromRoot(grandchild)) board->play(move);
    EXPECT_TRUE(samePosition(*board, grandchild.ensureBoard()));
}

TEST(StatNode, GeneratorDecisionDecidesTheNodeWithoutChildren) {
    // Player 1 to move with an open four to make: won at an OR node.
    auto orNode = rootOver({"", "", "", "", "", "      xxx", "", "", "", "", "", "", "o  o"});
    orNode->expand();
    EXPECT_EQ(orNode->pn, 0);
    EXPECT_EQ(orNode->dn, INFINITE_NUMBER);
    EXPECT_EQ(orNode->childCount, 0u);
    EXPECT_FALSE(orNode->isExpanded());

    // The same for player 0 to move: the AND node is disproved.
    StatNode andNode(boardFromRows({"", "", "", "", "", "      ooo", "", "", "", "", "", "", "x  x"}, PLAYER0));
    EXPECT_FALSE(andNode.isOr());
    andNode.expand();
    EXPECT_EQ(andNode.pn, INFINITE_NUMBER);
    EXPECT_EQ(andNode.dn, 0);
    EXPECT_FALSE(andNode.isExpanded());
}

TEST(StatNode, ChildLeavingAFiveIsDecidedAtCreation) {
    // Player 0 completes five at (9, 5). A stone count of 1 (a board set up
    // by hand) makes the generator offer only (9, 4), beside the first stone,
    // which does not block it.
    auto board = boardFromRows({"", "", "", "          x", "", "     oooo"});
    BoardSurgery::setStoneCount(*board, 1);
    StatNode root(std::move(board));
    root.expand();
    ASSERT_EQ(root.childCount, 1u);
    EXPECT_EQ(root.child(0)->move, squareAt(9, 4));
    EXPECT_EQ(root.child(0)->pn, INFINITE_NUMBER);  // an AND child: player 0 wins at once
    EXPECT_EQ(root.child(0)->dn, 0);
}

TEST(StatNode, FullBoardIsADrawAndSoDisproved) {
    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s) stones.put(s, ((s / 3 + s / 20) % 2) ? PLAYER1 : PLAYER0);
    StatNode node(V2Board::fromStones(stones, PLAYER1));
    EXPECT_TRUE(expandAndPropagate(node));
    EXPECT_EQ(node.pn, INFINITE_NUMBER);
    EXPECT_EQ(node.dn, 0);
    EXPECT_EQ(node.childCount, 0u);
    EXPECT_FALSE(expandAndPropagate(node));
}

TEST(StatNode, SharedChildLivesUntilItsLastParentGoes) {
    auto first = std::make_unique<StatNode>(std::make_unique<V2Board>());
    auto second = std::make_unique<StatNode>(std::make_unique<V2Board>());
    auto* shared = new StatNode(first.get(), 5, first->takeSerials(1));
    shared->addParent(second.get());
    for (StatNode* parent : {first.get(), second.get()}) {
        parent->children = new StatNode*[1]{shared};
        parent->childCount = 1;
        parent->flags |= NODE_EXPANDED;
    }
    EXPECT_EQ(shared->parentCount, 2);
    EXPECT_EQ(shared->parent(), nullptr);
    first.reset();
    EXPECT_EQ(shared->parentCount, 1);
    EXPECT_EQ(shared->parent(), second.get());
    EXPECT_EQ(shared->creator, second.get()) << "the node is in the tree of the parent left";
    EXPECT_EQ(shared->takeSerials(1), 1u);  // the second tree's next serial
    EXPECT_EQ(second->treeNodes(), 2u);
    second.reset();  // deletes the shared child; the sanitizers see a leak otherwise
}

class Deletion : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
    }
    void TearDown() override {
        StatNode::deletionStepHook = nullptr;
        std::filesystem::current_path(previous_);
    }
    TempDir dir_;
    std::filesystem::path previous_;
};

// A grown tree of a few levels.
std::unique_ptr<StatNode> grownTree() {
    auto root = rootOver(MIDDLE);
    expandAndPropagate(*root);
    for (std::uint32_t i = 0; i < root->childCount && i < 3; ++i) {
        expandAndPropagate(*root->child(i));
        if (root->child(i)->childCount > 0) expandAndPropagate(*root->child(i)->child(0));
    }
    return root;
}

TEST_F(Deletion, CleanDeletionWritesNoLog) {
    grownTree().reset();
    EXPECT_FALSE(dir_.exists("vorek-error.log"));
}

TEST_F(Deletion, EachFailingStepAppendsItsLineAndTheRestIsReleased) {
    dir_.write("vorek-error.log", "earlier line\n");
    static const StatNode* victim = nullptr;
    auto root = grownTree();
    victim = root->child(0);
    StatNode::deletionStepHook = [](const StatNode& node, int step) {
        if (&node == victim) throw std::runtime_error("step " + std::to_string(step));
    };
    root.reset();  // the victim fails in all three steps; the sanitizers check that nothing leaks
    EXPECT_EQ(dir_.read("vorek-error.log"),
              "earlier line\n"
              "chyba typu 1 pri v destruktoru StatNode\n"
              "chyba typu 2 pri v destruktoru StatNode\n"
              "chyba typu 3 pri v destruktoru StatNode\n");
}

TEST(RootBuild, ProvesAnImmediateFiveOfTheFolderPosition) {
    TempDir dir;
    dir.write("plocha.dat", boardFile({"", "", " xxxx"}));
    dir.write("tah.dat", "x");
    PositionSource position = folderPosition(dir.path());
    EXPECT_TRUE(position.read);
    RootBuild five = buildRootNode(std::move(position.board));
    EXPECT_TRUE(five.fiveAtOnce);
    EXPECT_EQ(five.root->pn, 0);
    EXPECT_EQ(five.root->dn, INFINITE_NUMBER);
    EXPECT_FALSE(expandAndPropagate(*five.root));

    dir.write("tah.dat", "o");  // the o stones are to move: nothing is won yet
    RootBuild other = buildRootNode(folderPosition(dir.path()).board);
    EXPECT_FALSE(other.fiveAtOnce);
    EXPECT_EQ(other.root->pn, 1);
    EXPECT_EQ(other.root->dn, 1);

    std::filesystem::remove(dir / "tah.dat");
    PositionSource unread = folderPosition(dir.path());
    EXPECT_FALSE(unread.read);
    RootBuild missing = buildRootNode(std::move(unread.board));
    EXPECT_EQ(missing.root->board->stoneCount(), 0);
    EXPECT_TRUE(missing.root->isOr());
}

}  // namespace
}  // namespace vorek
