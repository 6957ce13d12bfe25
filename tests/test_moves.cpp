// The board record's copy and the two ways of playing a stone.
#include <gtest/gtest.h>

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
    EXPECT_EQ(empty.sideToMove, 1);
    EXPECT_EQ(empty.stoneCount, 0);
    for (auto flags : empty.squares) EXPECT_EQ(flags, EMPTY_LIVE_SQUARE);

    auto board = middleGame();
    ASSERT_FALSE(board->threats[1].empty());
    auto copy = board->clone();
    EXPECT_TRUE(samePosition(*board, *copy));
    EXPECT_NE(copy->threats[1].begin(), board->threats[1].begin());
    const auto before = listOf(*board, 1);
    copy.reset();
    EXPECT_EQ(listOf(*board, 1), before);
}

TEST(MakeMove, PlacesTheMoversStoneAndPassesTheMove) {
    auto board = evaluatedBoard({});
    makeMove(*board, 210);
    EXPECT_EQ(board->squares[210], PLAYER1_STONE);
    EXPECT_EQ(board->sideToMove, 0);
    EXPECT_EQ(board->stoneCount, 1);
    makeMove(*board, 211);
    EXPECT_EQ(board->squares[211] & (SQ_EMPTY | SQ_SIDE), PLAYER0_STONE);
    EXPECT_EQ(board->sideToMove, 1);
    EXPECT_EQ(board->stoneCount, 2);
}

TEST(MakeMove, RemovesBothItemsOfADoubledSquare) {
    auto board = evaluatedBoard({"", "", "", "", "", "          x", "          x", "      oxxx"});
    ASSERT_EQ(itemsAt(*board, 1, S).size(), 2u);
    makeMove(*board, S);
    EXPECT_TRUE(itemsAt(*board, 1, S).empty());
    EXPECT_TRUE(itemsAt(*board, 0, S).empty());
    EXPECT_FALSE(board->squares[S] & SQ_DOUBLE1);
    EXPECT_TRUE(board->squares[S] & SQ_IN_LIST1);  // a stale hint on a stone square
}

TEST(MakeMove, NoItemEverSitsOnAStone) {
    auto board = middleGame();
    for (int s : {squareAt(10, 7), squareAt(9, 8), squareAt(12, 4), squareAt(8, 9)}) {
        makeMove(*board, s);
        for (int p = 0; p < 2; ++p)
            for (Threat t : listOf(*board, p)) EXPECT_TRUE(isEmptySquare(board->squares[square(t)]));
    }
}

TEST(ChildAfterMove, LeavesTheSourceUntouched) {
    auto board = middleGame();
    auto before = board->clone();
    const ChildBoard child = childAfterMove(*board, S);
    EXPECT_TRUE(samePosition(*board, *before));
    EXPECT_EQ(child.board->squares[S], PLAYER1_STONE);
    EXPECT_EQ(child.board->stoneCount, board->stoneCount + 1);
    EXPECT_FALSE(child.win);
}

TEST(ChildAfterMove, ReportsAFiveForTheSideNowToMove) {
    auto board = evaluatedBoard({"", "", "", "", "", "oooo"});
    const ChildBoard child = childAfterMove(*board, squareAt(4, 9));  // (4, 5) is in reach
    EXPECT_TRUE(child.win);
    EXPECT_EQ(child.board->sideToMove, 0);
}

TEST(MoveLeavesFive, AgreesWithPlayingTheMoveOnEverySquare) {
    const std::unique_ptr<V2Board> boards[] = {
        middleGame(),
        evaluatedBoard({"", "", "", "", "", "oooo", "", " xxx"}),           // player 0 has a five square
        evaluatedBoard({"", "", "", "", "", " oooo", "", "o", "o", "o", "o"}),  // and two of them
    };
    for (const auto& board : boards) {
        for (int s = 0; s < BOARD_SQUARES; ++s) {
            if (!isEmptySquare(board->squares[s])) continue;
            EXPECT_EQ(moveLeavesFive(*board, s), childAfterMove(*board, s).win) << "square " << s;
        }
    }
}

}  // namespace
}  // namespace vorek
