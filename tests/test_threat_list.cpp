// Rank order and the list operations with the square flags they keep.
#include <gtest/gtest.h>

#include <algorithm>

#include "threats/pattern_tables.h"
#include "threats/threat_list.h"

namespace vorek {
namespace {

// Both players' lists with the square flags they keep, as a board holds them.
struct Lists {
    ThreatList of[2];
    SquareBytes squares{};

    void insert(Player p, Threat t) { insertThreat(of[playerIndex(p)], squares, p, t); }
    void remove(Player p, int square) { removeSquareThreats(of[playerIndex(p)], squares, p, square); }
    std::vector<Threat> items(Player p) const { return {of[playerIndex(p)].begin(), of[playerIndex(p)].end()}; }
};

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
    Lists lists;
    lists.insert(PLAYER1, makeThreat(OPEN_THREE, 10, DIR_ROW));
    EXPECT_EQ(lists.items(PLAYER1).size(), 1u);
    lists.insert(PLAYER1, makeThreat(PLAIN_FOUR, 11, DIR_ROW));  // new head
    lists.insert(PLAYER1, makeThreat(OPEN_THREE, 12, DIR_COLUMN));  // after the equal one
    lists.insert(PLAYER1, makeThreat(PATTERN_DOUBLE_THREAT, 13, 12));
    lists.insert(PLAYER1, makeThreat(CLOSED_THREE, 14, DIR_ROW));
    std::vector<int> squares;
    for (Threat t : lists.items(PLAYER1)) squares.push_back(square(t));
    EXPECT_EQ(squares, (std::vector<int>{11, 13, 10, 12, 14}));
    for (int s : squares) EXPECT_TRUE(lists.squares[s] & SQ_IN_LIST1);
    EXPECT_FALSE(lists.squares[10] & SQ_IN_LIST0);
    EXPECT_TRUE(lists.of[0].empty());
}

TEST(ThreatList, RemovingBothItemsOfADoubledSquare) {
    Lists lists;
    lists.insert(PLAYER0, makeThreat(OPEN_THREE, 7, DIR_ROW));
    lists.squares[20] |= SQ_DOUBLE0;
    lists.insert(PLAYER0, makeThreat(PLAIN_FOUR, 20, DIR_ROW));
    lists.insert(PLAYER0, makeThreat(PATTERN_DOUBLE_THREAT, 20, 12));
    lists.remove(PLAYER0, 20);
    ASSERT_EQ(lists.items(PLAYER0).size(), 1u);
    EXPECT_EQ(square(lists.items(PLAYER0)[0]), 7);
    EXPECT_FALSE(lists.squares[20] & SQ_DOUBLE0);
    EXPECT_TRUE(lists.squares[20] & SQ_IN_LIST0);  // a hint, cleared by the next empty walk
    lists.remove(PLAYER0, 20);
    EXPECT_FALSE(lists.squares[20] & SQ_IN_LIST0);
    EXPECT_EQ(lists.items(PLAYER0).size(), 1u);
}

TEST(ThreatList, RemovingWithoutSecondFlagTakesOnlyTheFirstItem) {
    Lists lists;
    lists.insert(PLAYER1, makeThreat(PLAIN_FOUR, 30, DIR_ROW));
    lists.insert(PLAYER1, makeThreat(OPEN_THREE, 30, DIR_COLUMN));
    lists.remove(PLAYER1, 30);
    ASSERT_EQ(lists.items(PLAYER1).size(), 1u);
    EXPECT_EQ(lists.items(PLAYER1)[0].pattern, OPEN_THREE);
}

TEST(ThreatList, FindAndCopy) {
    Lists lists;
    EXPECT_EQ(findThreatAt(lists.of[1], 5), nullptr);
    lists.insert(PLAYER1, makeThreat(OPEN_THREE, 5, DIR_ROW));
    lists.insert(PLAYER1, makeThreat(PLAIN_FOUR, 5, DIR_COLUMN));
    ASSERT_NE(findThreatAt(lists.of[1], 5), nullptr);
    EXPECT_EQ(findThreatAt(lists.of[1], 5)->pattern, PLAIN_FOUR);  // best-ranked

    // A copy has its own items; a copy into a longer list drops the rest.
    ThreatList copy = lists.of[1];
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), lists.of[1].begin(), lists.of[1].end()));
    EXPECT_NE(copy.begin(), lists.of[1].begin());
    for (int s = 10; s < 50; ++s) copy.insert(makeThreat(CLOSED_THREE, s, DIR_ROW));
    copy = lists.of[1];
    EXPECT_EQ(copy.size(), 2u);
    copy.clear();
    EXPECT_EQ(lists.items(PLAYER1).size(), 2u);
}

}  // namespace
}  // namespace vorek
