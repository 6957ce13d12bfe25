// Tree nodes: creation, expansion, deletion with its guarded steps, and the
// root build shared by every front end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <stdexcept>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "board/invariants.h"
#include "files/position_files.h"
#include "search/numbers.h"
#include "search/root_build.h"
#include "tests/board_builder.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

using testing::boardFile;
using testing::boardFromRows;
using testing::TempDir;

std::unique_ptr<StatNode> rootOver(std::initializer_list<std::string_view> rows) {
    auto board = boardFromRows(rows);
    evaluateAll(*board);
    auto root = std::make_unique<StatNode>(std::move(board));
    updateNumbers(*root);
    return root;
}

const std::initializer_list<std::string_view> MIDDLE = {
    "", "", "", "", "", "", "", "         x", "     o  o  x", "      xo  o",
    "     xoxxxxoo", "    xxoxxoo", "   oo  x o", "      oox x", "       xo"};

TEST(StatNode, RootIsAnUnexpandedOrNode) {
    const std::uint32_t serial = NodeSerial;
    auto root = rootOver(MIDDLE);
    EXPECT_TRUE(root->isOr());
    EXPECT_FALSE(root->isExpanded());
    EXPECT_EQ(root->move, -1);
    EXPECT_EQ(root->pn, 1);
    EXPECT_EQ(root->dn, 1);
    EXPECT_EQ(root->parentCount, 0);
    EXPECT_EQ(root->parent(), nullptr);
    EXPECT_EQ(root->serial, serial);
    EXPECT_EQ(NodeSerial, serial + 1);
}

TEST(StatNode, ExpansionMakesOneChildPerCandidateInOrder) {
    auto root = rootOver(MIDDLE);
    const auto before = root->board->clone();
    ASSERT_EQ(generateCandidates(*root->board), GENERATE_OPEN);
    const std::vector<int> candidates(CandidateList.squares.begin(),
                                      CandidateList.squares.begin() + CandidateList.count);
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
        EXPECT_FALSE(isEmptySquare(root->child(i)->ensureBoard().squares[candidates[i]]));
        EXPECT_EQ(child->pn, 1);
        EXPECT_EQ(child->dn, 1);
    }
    // One level further the kinds alternate back.
    StatNode* child = root->child(0);
    ASSERT_TRUE(expandAndPropagate(*child));
    ASSERT_GT(child->childCount, 0u);
    EXPECT_TRUE(child->child(0)->isOr());
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
    auto board = boardFromRows({"", "", "", "", "", "      ooo", "", "", "", "", "", "", "x  x"}, 0);
    evaluateAll(*board);
    StatNode andNode(std::move(board));
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
    evaluateAll(*board);
    board->stoneCount = 1;
    StatNode root(std::move(board));
    root.expand();
    ASSERT_EQ(root.childCount, 1u);
    EXPECT_EQ(root.child(0)->move, squareAt(9, 4));
    EXPECT_EQ(root.child(0)->pn, INFINITE_NUMBER);  // an AND child: player 0 wins at once
    EXPECT_EQ(root.child(0)->dn, 0);
}

TEST(StatNode, FullBoardIsADrawAndSoDisproved) {
    auto board = std::make_unique<V2Board>();
    for (int s = 0; s < BOARD_SQUARES; ++s)
        board->squares[s] = ((s / 3 + s / 20) % 2) ? PLAYER1_STONE : PLAYER0_STONE;
    board->stoneCount = 400;
    syncLines(*board);
    StatNode node(std::move(board));
    EXPECT_TRUE(expandAndPropagate(node));
    EXPECT_EQ(node.pn, INFINITE_NUMBER);
    EXPECT_EQ(node.dn, 0);
    EXPECT_EQ(node.childCount, 0u);
    EXPECT_FALSE(expandAndPropagate(node));
}

TEST(StatNode, SharedChildLivesUntilItsLastParentGoes) {
    auto first = std::make_unique<StatNode>(std::make_unique<V2Board>());
    auto second = std::make_unique<StatNode>(std::make_unique<V2Board>());
    auto* shared = new StatNode(first.get(), 5);
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

TEST(RootBuild, ReadsEvaluatesAndProvesAnImmediateFive) {
    TempDir dir;
    dir.write("plocha.dat", boardFile({"", "", " xxxx"}));
    dir.write("tah.dat", "x");
    RootBuild five = buildRootNode(dir.path());
    EXPECT_TRUE(five.read);
    EXPECT_TRUE(five.fiveAtOnce);
    EXPECT_EQ(five.root->pn, 0);
    EXPECT_EQ(five.root->dn, INFINITE_NUMBER);
    EXPECT_FALSE(expandAndPropagate(*five.root));

    dir.write("tah.dat", "o");  // the o stones are to move: nothing is won yet
    RootBuild other = buildRootNode(dir.path());
    EXPECT_FALSE(other.fiveAtOnce);
    EXPECT_EQ(other.root->pn, 1);
    EXPECT_EQ(other.root->dn, 1);

    std::filesystem::remove(dir / "tah.dat");
    RootBuild missing = buildRootNode(dir.path());
    EXPECT_FALSE(missing.read);
    EXPECT_EQ(missing.root->board->stoneCount, 0);
    EXPECT_TRUE(missing.root->isOr());
}

}  // namespace
}  // namespace vorek
