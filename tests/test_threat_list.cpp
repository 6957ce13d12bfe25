// Rank order and the list operations with the square flags they keep.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/board_builder.h"
#include "threats/pattern_tables.h"

namespace vorek {
namespace {

using testing::listOf;

constexpr int OPEN_FOUR = 94;     // .xxxx.   cn 1 tn 0
constexpr int PLAIN_FOUR = 47;    // .xxxx    cn 1 tn 1
constexpr int OPEN_THREE = 156;   // ..xxx..  cn 2 tn 1, weight 250048
constexpr int OPEN_THREE_B = 78;  // ..xxx.   cn 2 tn 1, weight 218792
constexpr int CLOSED_THREE = 39;  // ..xxx    cn 2 tn 2

TEST(RankOrder, ComparesCnThenTnThenWeight) {
    const Threat four = makeThreat(PLAIN_FOUR, 1, DIR_ROW);
    const Threat closedThree = makeThreat(CLOSED_THREE, 2, DIR_ROW);
    EXPECT_TRUE(precedes(closedThree, four));  // cn 1 before cn 2 whatever tn
    EXPECT_FALSE(precedes(four, closedThree));
    EXPECT_TRUE(precedes(makeThreat(OPEN_THREE, 3, DIR_ROW), makeThreat(PATTERN_DOUBLE_THREAT, 4, 12)));
    EXPECT_TRUE(precedes(makeThreat(OPEN_THREE_B, 3, DIR_ROW), makeThreat(OPEN_THREE, 4, DIR_ROW)));
    EXPECT_FALSE(precedes(makeThreat(OPEN_THREE, 3, DIR_ROW), makeThreat(OPEN_THREE, 4, DIR_COLUMN)));
    // A double four stands after an open four and before a plain four.
    const Threat doubleFour = makeThreat(PATTERN_DOUBLE_FOUR, 5, 12);
    EXPECT_FALSE(precedes(makeThreat(OPEN_FOUR, 6, DIR_ROW), doubleFour));
    EXPECT_TRUE(precedes(makeThreat(PLAIN_FOUR, 6, DIR_ROW), doubleFour));
}

TEST(ThreatList, InsertKeepsRankAndPutsEqualsLast) {
    V2Board board;
    insertThreat(board, 1, makeThreat(OPEN_THREE, 10, DIR_ROW));
    EXPECT_EQ(listOf(board, 1).size(), 1u);
    insertThreat(board, 1, makeThreat(PLAIN_FOUR, 11, DIR_ROW));  // new head
    insertThreat(board, 1, makeThreat(OPEN_THREE, 12, DIR_COLUMN));  // after the equal one
    insertThreat(board, 1, makeThreat(PATTERN_DOUBLE_THREAT, 13, 12));
    insertThreat(board, 1, makeThreat(CLOSED_THREE, 14, DIR_ROW));
    std::vector<int> squares;
    for (Threat t : listOf(board, 1)) squares.push_back(square(t));
    EXPECT_EQ(squares, (std::vector<int>{11, 13, 10, 12, 14}));
    for (int s : squares) EXPECT_TRUE(board.squares[s] & SQ_IN_LIST1);
    EXPECT_FALSE(board.squares[10] & SQ_IN_LIST0);
    EXPECT_TRUE(board.threats[0].empty());
}

TEST(ThreatList, RemovingBothItemsOfADoubledSquare) {
    V2Board board;
    insertThreat(board, 0, makeThreat(OPEN_THREE, 7, DIR_ROW));
    board.squares[20] |= SQ_DOUBLE0;
    insertThreat(board, 0, makeThreat(PLAIN_FOUR, 20, DIR_ROW));
    insertThreat(board, 0, makeThreat(PATTERN_DOUBLE_THREAT, 20, 12));
    removeSquareThreats(board, 0, 20);
    ASSERT_EQ(listOf(board, 0).size(), 1u);
    EXPECT_EQ(square(listOf(board, 0)[0]), 7);
    EXPECT_FALSE(board.squares[20] & SQ_DOUBLE0);
    EXPECT_TRUE(board.squares[20] & SQ_IN_LIST0);  // a hint, cleared by the next empty walk
    removeSquareThreats(board, 0, 20);
    EXPECT_FALSE(board.squares[20] & SQ_IN_LIST0);
    EXPECT_EQ(listOf(board, 0).size(), 1u);
}

TEST(ThreatList, RemovingWithoutSecondFlagTakesOnlyTheFirstItem) {
    V2Board board;
    insertThreat(board, 1, makeThreat(PLAIN_FOUR, 30, DIR_ROW));
    insertThreat(board, 1, makeThreat(OPEN_THREE, 30, DIR_COLUMN));
    removeSquareThreats(board, 1, 30);
    ASSERT_EQ(listOf(board, 1).size(), 1u);
    EXPECT_EQ(listOf(board, 1)[0].pattern, OPEN_THREE);
}

TEST(ThreatList, FindAndCopy) {
    V2Board board;
    EXPECT_EQ(findThreatAt(board.threats[1], 5), nullptr);
    insertThreat(board, 1, makeThreat(OPEN_THREE, 5, DIR_ROW));
    insertThreat(board, 1, makeThreat(PLAIN_FOUR, 5, DIR_COLUMN));
    ASSERT_NE(findThreatAt(board.threats[1], 5), nullptr);
    EXPECT_EQ(findThreatAt(board.threats[1], 5)->pattern, PLAIN_FOUR);  // best-ranked

    // A copy has its own items; a copy into a longer list drops the rest.
    ThreatList copy = board.threats[1];
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), board.threats[1].begin(), board.threats[1].end()));
    EXPECT_NE(copy.begin(), board.threats[1].begin());
    for (int s = 10; s < 50; ++s) copy.insert(makeThreat(CLOSED_THREE, s, DIR_ROW));
    copy = board.threats[1];
    EXPECT_EQ(copy.size(), 2u);
    copy.clear();
    EXPECT_EQ(listOf(board, 1).size(), 2u);
}

}  // namespace
}  // namespace vorek
