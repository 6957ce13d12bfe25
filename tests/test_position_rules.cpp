// What a position keeps to: the checks catch a board broken by hand, and the
// engine's calls stop at once on a broken precondition where asserts are on.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "board/invariants.h"
#include "search/stat_node.h"
#include "tests/board_builder.h"
#include "tests/board_surgery.h"
#include "threats/pattern_tables.h"

namespace vorek {
namespace {

using testing::evaluatedBoard;

// A middle game with items in both lists, one square holding two.
constexpr int DOUBLED = squareAt(10, 7);
std::unique_ptr<V2Board> middleGame() {
    return evaluatedBoard({"", "", "", "", "", "          x", "          x", "      oxxx", "", "   o  o"});
}

TEST(CheckInvariants, CatchesEachKindOfDamageDoneByHand) {
    struct Case {
        const char* name;
        std::function<void(V2Board&)> damage;
        const char* fault;  // words of the description
    };
    const Case cases[] = {
        {"a stone not counted", [](V2Board& b) { BoardSurgery::setStoneCount(b, b.stoneCount() - 1); },
         "stoneCount"},
        {"a stone missing from its line words",
         [](V2Board& b) { BoardSurgery::lines(b)[LINE_PLACES[squareAt(7, 7)][0].word] = 0; }, "line words"},
        {"a stone put on a square with items",
         [](V2Board& b) {
             BoardSurgery::squares(b)[DOUBLED] &= static_cast<std::uint8_t>(~SQ_EMPTY);
             BoardSurgery::setStoneCount(b, b.stoneCount() + 1);
             placeInLines(BoardSurgery::lines(b), DOUBLED, cellOfFlags(b.flags(DOUBLED)));
         },
         "item on a stone"},
        {"an in-list flag cleared",
         [](V2Board& b) { BoardSurgery::squares(b)[DOUBLED] &= static_cast<std::uint8_t>(~SQ_IN_LIST1); },
         "without its in-list flag"},
        {"a second-item flag cleared",
         [](V2Board& b) { BoardSurgery::squares(b)[DOUBLED] &= static_cast<std::uint8_t>(~SQ_DOUBLE1); },
         "second item without its flag"},
        {"a second-item flag without a second item",
         [](V2Board& b) { BoardSurgery::squares(b)[squareAt(0, 0)] |= SQ_DOUBLE0; }, "second-item flag without"},
        {"a third item on a square",
         [](V2Board& b) { BoardSurgery::insertThreat(b, PLAYER1, makeThreat(PATTERN_DOUBLE_THREAT, DOUBLED, 12)); },
         "more than two items"},
        {"a candidate mark left on the board",
         [](V2Board& b) { BoardSurgery::squares(b)[squareAt(3, 3)] |= SQ_CANDIDATE; }, "candidate mark"},
        {"the unused top bit set", [](V2Board& b) { BoardSurgery::squares(b)[squareAt(3, 3)] |= 0x80; }, "0x80"},
    };
    ASSERT_EQ(checkInvariants(*middleGame()), "");
    ASSERT_EQ(testing::itemsAt(*middleGame(), PLAYER1, DOUBLED).size(), 2u);
    for (const Case& c : cases) {
        auto board = middleGame();
        c.damage(*board);
        const std::string fault = checkInvariants(*board);
        EXPECT_NE(fault.find(c.fault), std::string::npos) << c.name << ": " << fault;
    }
}

TEST(CheckAfterMove, LooksAtTheMoveAndEveryFewStonesAtTheWholeBoard) {
    auto board = middleGame();
    int last = -1;
    for (int column = 0; board->stoneCount() % FULL_CHECK_EVERY != 1; ++column) {
        last = squareAt(column, 15 + column % 2);
        board->play(last);
    }
    EXPECT_EQ(checkAfterMove(*board, last), "");
    // The move's own square is looked at after every move.
    const LinePlace place = LINE_PLACES[last][COLUMN];
    BoardSurgery::lines(*board)[place.word] &= ~(std::uint64_t{3} << place.bit);
    EXPECT_NE(checkAfterMove(*board, last).find("line words"), std::string::npos);

    // Damage elsewhere is seen once the stones reach a full check.
    auto other = middleGame();
    while (other->stoneCount() % FULL_CHECK_EVERY != 0) other->play(last = squareAt(other->stoneCount() % 20, 18));
    BoardSurgery::squares(*other)[squareAt(0, 19)] |= 0x80;
    EXPECT_NE(checkAfterMove(*other, last).find("0x80"), std::string::npos);
}

// Where asserts are on (debug and sanitizer builds), a call against the
// engine's rules stops the program at once instead of corrupting a board.
class Preconditions : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef NDEBUG
        GTEST_SKIP() << "asserts are off in this build";
#endif
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_F(Preconditions, PlayingAStoneWhereItCannotGo) {
    auto board = middleGame();
    EXPECT_DEATH(board->play(squareAt(7, 7)), "isEmpty");      // on a stone
    EXPECT_DEATH(board->play(BOARD_SQUARES), "isSquare");      // off the board
    EXPECT_DEATH(board->played(squareAt(8, 7)), "isEmpty");    // a copy made for it too
    EXPECT_DEATH((void)board->stoneAt(squareAt(0, 0)), "isEmpty");
}

TEST_F(Preconditions, AMoveOnABrokenBoardIsCaughtByTheCheckAfterIt) {
    auto board = middleGame();
    // A count that is wrong: the move brings it to a full check, which sees it.
    ASSERT_LT(board->stoneCount(), FULL_CHECK_EVERY - 1);
    BoardSurgery::setStoneCount(*board, FULL_CHECK_EVERY - 1);
    EXPECT_DEATH(board->play(squareAt(15, 15)), "checkAfterMove");
}

TEST_F(Preconditions, ValuesOutsideTheirRange) {
    Stones stones;
    stones.put(5, PLAYER1);
    EXPECT_DEATH(stones.put(5, PLAYER0), "isEmpty");
    EXPECT_DEATH((void)makeThreat(94, BOARD_SQUARES, DIR_ROW), "isSquare");
    EXPECT_DEATH((void)makeThreat(PATTERN_CODES, 0, DIR_ROW), "code");
    EXPECT_DEATH((void)playerOf(2), "index");
    EXPECT_DEATH((void)squareAt(20, 0), "onBoard");
    EXPECT_DEATH((void)columnOf(-1), "isSquare");
    EXPECT_DEATH((void)defence(94, DEFENCE_ENTRIES), "DEFENCE_ENTRIES");
}

TEST_F(Preconditions, ListsReadOnlyWhatTheyHold) {
    ThreatList empty;
    EXPECT_DEATH((void)empty.front(), "size_");
    EXPECT_DEATH((void)empty[0], "size_");
    CandidateList candidates;
    candidates.push(7);
    EXPECT_DEATH((void)candidates[1], "count_");
    EXPECT_DEATH(candidates.truncate(2), "count_");
    volatile int offBoard = -1;  // not known to the compiler, which would warn of the index
    EXPECT_DEATH(candidates.push(offBoard), "isSquare");
}

TEST_F(Preconditions, NodesExpandOnceAndOnlyUndecided) {
    auto root = std::make_unique<StatNode>(evaluatedBoard({"", "", "", "", "", "", "", "", "", "         xo", "         ox"}));
    root->expand();
    ASSERT_TRUE(root->isExpanded());
    EXPECT_DEATH(root->expand(), "isExpanded");
    EXPECT_DEATH((void)root->child(root->childCount), "childCount");
    StatNode& decided = *root->child(0);
    decided.pn = 0;
    EXPECT_DEATH(decided.expand(), "isDecided");
}

}  // namespace
}  // namespace vorek
