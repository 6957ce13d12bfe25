// The board record: its making from stones, its copy and the two ways of
// playing a stone.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "board/invariants.h"
#include "board/moves.h"
#include "tests/board_builder.h"
#include "threats/pattern_tables.h"

namespace vorek {
namespace {

using testing::evaluatedBoard;
using testing::itemsAt;
using testing::listOf;

constexpr int S = squareAt(10, 7);

std::unique_ptr<V2Board> middleGame() {
    return evaluatedBoard({"", "", "", "", "", "          x  o", "        o x o", "      oxxx o",
                           "          o"});
}

TEST(Board, NewBoardIsEmptyAndCloneIsIndependent) {
    V2Board empty;
    EXPECT_EQ(empty.sideToMove(), PLAYER1);
    EXPECT_EQ(empty.stoneCount(), 0);
    for (auto flags : empty.squares()) EXPECT_EQ(flags, EMPTY_LIVE_SQUARE);

    auto board = middleGame();
    ASSERT_FALSE(board->threats(PLAYER1).empty());
    auto copy = board->clone();
    EXPECT_TRUE(samePosition(*board, *copy));
    EXPECT_NE(copy->threats(PLAYER1).begin(), board->threats(PLAYER1).begin());
    const auto before = listOf(*board, PLAYER1);
    copy.reset();
    EXPECT_EQ(listOf(*board, PLAYER1), before);
}

TEST(FromStones, GivesWhatPlayingTheStonesGivesUpToTheOrderOfEqualItems) {
    // The same stones played one by one from an empty board, alternately.
    const int moves[] = {squareAt(7, 7), squareAt(6, 7), squareAt(8, 7), squareAt(10, 5),
                         squareAt(9, 7), squareAt(8, 6), squareAt(10, 6), squareAt(13, 5)};
    auto played = V2Board::fromStones(Stones(), PLAYER1);
    Stones stones;
    for (int i = 0; i < 8; ++i) {
        stones.put(moves[i], played->sideToMove());
        played->play(moves[i]);
    }
    const auto made = V2Board::fromStones(stones, PLAYER1);
    EXPECT_EQ(made->stones(), stones);
    EXPECT_EQ(made->stoneCount(), 8);
    EXPECT_EQ(made->sideToMove(), played->sideToMove());
    EXPECT_EQ(made->lines(), played->lines());
    EXPECT_TRUE(made->listsWhole());
    for (const Player p : PLAYERS) {
        auto a = listOf(*made, p);
        auto b = listOf(*played, p);
        const auto byValue = [](Threat x, Threat y) { return std::tie(x.pattern, x.place) < std::tie(y.pattern, y.place); };
        std::sort(a.begin(), a.end(), byValue);
        std::sort(b.begin(), b.end(), byValue);
        EXPECT_EQ(a, b) << "player " << playerIndex(p);
    }
}

TEST(FromStones, ListsAreNotWholeAfterAFiveOfTheSideToMove) {
    const Stones four = testing::stonesFromRows({"", "oxxxx"});
    EXPECT_FALSE(V2Board::fromStones(four, PLAYER1)->listsWhole());  // x completes five
    auto board = V2Board::fromStones(four, PLAYER0);                   // o must block
    EXPECT_TRUE(board->listsWhole());
    EXPECT_FALSE(board->played(squareAt(5, 1)).win);
    // o does not block; the judging around its stone reaches x's five square.
    EXPECT_TRUE(board->play(squareAt(5, 3)));
    EXPECT_FALSE(board->listsWhole());
    EXPECT_FALSE(board->play(squareAt(11, 11)));
    EXPECT_FALSE(board->listsWhole()) << "a later move does not make the lists whole again";
}

TEST(Play, PlacesTheMoversStoneAndPassesTheMove) {
    auto board = evaluatedBoard({});
    board->play(210);
    EXPECT_EQ(board->flags(210), PLAYER1_STONE);
    EXPECT_EQ(board->stoneAt(210), PLAYER1);
    EXPECT_EQ(board->sideToMove(), PLAYER0);
    EXPECT_EQ(board->stoneCount(), 1);
    board->play(211);
    EXPECT_EQ(board->flags(211) & (SQ_EMPTY | SQ_SIDE), PLAYER0_STONE);
    EXPECT_EQ(board->sideToMove(), PLAYER1);
    EXPECT_EQ(board->stoneCount(), 2);
}

TEST(Play, RemovesBothItemsOfADoubledSquare) {
    auto board = evaluatedBoard({"", "", "", "", "", "          x", "          x", "      oxxx"});
    ASSERT_EQ(itemsAt(*board, PLAYER1, S).size(), 2u);
    board->play(S);
    EXPECT_TRUE(itemsAt(*board, PLAYER1, S).empty());
    EXPECT_TRUE(itemsAt(*board, PLAYER0, S).empty());
    EXPECT_FALSE(board->flags(S) & SQ_DOUBLE1);
    EXPECT_TRUE(board->flags(S) & SQ_IN_LIST1);  // a stale hint on a stone square
}

TEST(Play, NoItemEverSitsOnAStone) {
    auto board = middleGame();
    for (int s : {squareAt(10, 7), squareAt(9, 8), squareAt(12, 4), squareAt(8, 9)}) {
        board->play(s);
        for (const Player p : PLAYERS)
            for (Threat t : listOf(*board, p)) EXPECT_TRUE(board->isEmpty(square(t)));
    }
}

TEST(Played, LeavesTheSourceUntouched) {
    auto board = middleGame();
    auto before = board->clone();
    const ChildBoard child = board->played(S);
    EXPECT_TRUE(samePosition(*board, *before));
    EXPECT_EQ(child.board->flags(S), PLAYER1_STONE);
    EXPECT_EQ(child.board->stoneCount(), board->stoneCount() + 1);
    EXPECT_FALSE(child.win);
}

TEST(Played, ReportsAFiveForTheSideNowToMove) {
    auto board = evaluatedBoard({"", "", "", "", "", "oooo"});
    const ChildBoard child = board->played(squareAt(4, 9));  // (4, 5) is in reach
    EXPECT_TRUE(child.win);
    EXPECT_EQ(child.board->sideToMove(), PLAYER0);
}

TEST(MoveLeavesFive, AgreesWithPlayingTheMoveOnEverySquare) {
    const std::unique_ptr<V2Board> boards[] = {
        middleGame(),
        evaluatedBoard({"", "", "", "", "", "oooo", "", " xxx"}),           // player 0 has a five square
        evaluatedBoard({"", "", "", "", "", " oooo", "", "o", "o", "o", "o"}),  // and two of them
    };
    for (const auto& board : boards) {
        for (int s = 0; s < BOARD_SQUARES; ++s) {
            if (!board->isEmpty(s)) continue;
            EXPECT_EQ(moveLeavesFive(*board, s), board->played(s).win) << "square " << s;
        }
    }
}

}  // namespace
}  // namespace vorek
