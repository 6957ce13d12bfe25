// The square scan, the judgement of a square and the re-evaluation walks.
#include <gtest/gtest.h>

#include "board/evaluation.h"
#include "board/moves.h"
#include "board/reach.h"
#include "tests/board_builder.h"
#include "threats/pattern_tables.h"

namespace vorek {
namespace {

using testing::boardFromRows;
using testing::evaluatedBoard;
using testing::itemsAt;
using testing::listOf;

constexpr int S = squareAt(10, 7);  // the square judged in the shape tests

Threat lineValue(int player, int line) { return lineThreats[lineThreatIndex(player, line)]; }

TEST(Reach, StaysOnTheBoardAndInItsLine) {
    EXPECT_EQ(reachTable[LEFT][0], 0);
    EXPECT_EQ(reachTable[UP][0], 0);
    EXPECT_EQ(reachTable[UP_LEFT][0], 0);
    EXPECT_EQ(reachTable[DOWN_LEFT][0], 0);
    EXPECT_EQ(reachTable[UP_RIGHT][0], 0);
    EXPECT_EQ(reachTable[RIGHT][0], 4);
    EXPECT_EQ(reachTable[DOWN][0], 80);
    EXPECT_EQ(reachTable[DOWN_RIGHT][0], 84);
    EXPECT_EQ(reachTable[DOWN_LEFT][19], squareAt(15, 4));
    EXPECT_EQ(reachTable[RIGHT][squareAt(17, 3)], squareAt(19, 3));
    EXPECT_EQ(reachTable[DOWN_RIGHT][399], 399);
    EXPECT_EQ(reachTable[UP_LEFT][399], squareAt(15, 15));
}

TEST(Scan, BuildsTheSegmentCode) {
    // Columns 12..19 of row 0: empty, opponent, empty, own, s, own, empty, empty.
    auto board = boardFromRows({"             o x x  "});
    scanSquare(*board, 16);
    const Threat row = lineValue(1, ROW);
    EXPECT_EQ(row.pattern, 92);
    EXPECT_EQ(square(row), 16);
    EXPECT_EQ(directions(row), DIR_ROW);
    EXPECT_EQ(tn(row), 1);
    EXPECT_EQ(cn(row), 2);
    // For player 0 the x on column 15 closes the far side, the one on 17 the near side.
    EXPECT_EQ(lineValue(0, ROW).pattern, 3);
}

TEST(Scan, NeverWrapsIntoTheNextRow) {
    auto board = boardFromRows({"                xxxx"});
    scanSquare(*board, 20);
    EXPECT_EQ(lineValue(1, ROW).pattern, 0b110000);  // s and the four empty squares right of it
    EXPECT_FALSE(evaluateSquare(*board, 20));
}

TEST(Evaluation, SideToMoveCompletingFiveStopsEverything) {
    auto board = boardFromRows({"", " xxxx", "", "", "   xxx"});
    EXPECT_TRUE(evaluateAll(*board));
    for (int p = 0; p < 2; ++p)
        for (Threat t : listOf(*board, p)) EXPECT_LT(square(t), 20) << "judged after the stop";
}

TEST(Evaluation, FiveSquareOfTheMoverHoldsNoItem) {
    auto board = boardFromRows({"", " xxxx"}, /*sideToMove=*/0);
    EXPECT_FALSE(evaluateAll(*board));
    ASSERT_EQ(itemsAt(*board, 1, 20).size(), 1u);  // player 0 must block there
    board->sideToMove = 1;
    EXPECT_TRUE(evaluateSquare(*board, 20));
    EXPECT_TRUE(itemsAt(*board, 1, 20).empty());
}

TEST(Evaluation, OpponentFiveIsOneMustBlockItem) {
    auto board = evaluatedBoard({"", " oooo"});
    for (int s : {20, 25}) {
        const auto items = itemsAt(*board, 0, s);
        ASSERT_EQ(items.size(), 1u) << s;
        EXPECT_EQ(cn(items[0]), 0);
        EXPECT_EQ(directions(items[0]), DIR_ROW);
        EXPECT_TRUE(board->squares[s] & SQ_SIDE);
    }
    EXPECT_EQ(cn(board->threats[0].front()), 0);
}

TEST(Evaluation, TwoOpenThreesMakeOneDoubleThreat) {
    auto board = evaluatedBoard({"", "", "", "", "", "          x", "          x", "        xx"});
    const auto items = itemsAt(*board, 1, S);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].pattern, PATTERN_DOUBLE_THREAT);
    EXPECT_EQ(directions(items[0]), DIR_ROW | DIR_COLUMN);
    EXPECT_FALSE(board->squares[S] & SQ_DOUBLE1);
}

TEST(Evaluation, FourAndThreeMakeTwoItemsAndTheSecondFlag) {
    auto board = evaluatedBoard({"", "", "", "", "", "          x", "          x", "      oxxx"});
    const auto items = itemsAt(*board, 1, S);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(directions(items[0]), DIR_ROW);
    EXPECT_EQ(cn(items[0]), 1);
    EXPECT_EQ(tn(items[0]), 1);
    EXPECT_EQ(items[1].pattern, PATTERN_DOUBLE_THREAT);
    EXPECT_EQ(directions(items[1]), DIR_ROW | DIR_COLUMN);
    EXPECT_TRUE(board->squares[S] & SQ_DOUBLE1);
    EXPECT_FALSE(board->squares[S] & SQ_DOUBLE0);
}

TEST(Evaluation, TwoFoursMakeOneDoubleFour) {
    auto board =
        evaluatedBoard({"", "", "", "          o", "          x", "          x", "          x", "      oxxx"});
    const auto items = itemsAt(*board, 1, S);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].pattern, PATTERN_DOUBLE_FOUR);
    EXPECT_EQ(directions(items[0]), DIR_ROW | DIR_COLUMN);
}

TEST(Evaluation, RecordedLineIsTheBestCnLineEvenWithAnOpenFourElsewhere) {
    // An open four in the column, a plain four in the row: the row's item (tn 1) is kept.
    auto board =
        evaluatedBoard({"", "", "", "", "          x", "          x", "          x", "      oxxx"});
    const auto items = itemsAt(*board, 1, S);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(directions(items[0]), DIR_ROW);
    EXPECT_EQ(tn(items[0]), 1);
}

TEST(Evaluation, BestTnTwoRecordsNothingButStaysLive) {
    auto board = evaluatedBoard({"", "", "", "", "", "", "", "         x"});
    EXPECT_TRUE(itemsAt(*board, 1, S).empty());
    EXPECT_TRUE(itemsAt(*board, 0, S).empty());
    EXPECT_TRUE(board->squares[S] & SQ_SIDE);
}

TEST(Evaluation, QuietSquaresWakeBeforeTheyAreJudged) {
    auto board = evaluatedBoard({});
    for (int s = 0; s < BOARD_SQUARES; ++s) ASSERT_EQ(board->squares[s], SQ_EMPTY) << s;
    EXPECT_FALSE(makeMove(*board, 210));
    EXPECT_TRUE(board->squares[212] & SQ_SIDE);  // on a half-line of the move
    EXPECT_TRUE(board->squares[210 - 4 * 21] & SQ_SIDE);
    EXPECT_FALSE(board->squares[215] & SQ_SIDE);  // five steps away
    EXPECT_FALSE(board->squares[0] & SQ_SIDE);
    EXPECT_TRUE(board->threats[0].empty());
    EXPECT_TRUE(board->threats[1].empty());
}

TEST(Evaluation, StonesAreNeverJudged) {
    auto board = boardFromRows({"x"});
    EXPECT_FALSE(evaluateSquare(*board, 0));
    EXPECT_EQ(board->squares[0], PLAYER1_STONE);
}

// Makes every empty square quiet, so that a judged square shows as live.
void quietAll(V2Board& board) {
    for (auto& flags : board.squares)
        if (isEmptySquare(flags)) flags = SQ_EMPTY;
}

TEST(Reevaluation, HalfLineEndsAtTheSecondColour) {
    auto board = boardFromRows({"", "", "", "", "", "      o x"});
    quietAll(*board);
    makeMove(*board, squareAt(5, 5));
    EXPECT_TRUE(board->squares[squareAt(7, 5)] & SQ_SIDE);
    EXPECT_FALSE(board->squares[squareAt(9, 5)] & SQ_SIDE);
    EXPECT_TRUE(board->squares[squareAt(4, 5)] & SQ_SIDE);  // the other half-lines go on
}

TEST(Reevaluation, StonesOfOneColourDoNotEndIt) {
    auto board = boardFromRows({"", "", "", "", "", "      x x"});
    quietAll(*board);
    makeMove(*board, squareAt(5, 5));
    EXPECT_TRUE(board->squares[squareAt(7, 5)] & SQ_SIDE);
    EXPECT_TRUE(board->squares[squareAt(9, 5)] & SQ_SIDE);
}

TEST(Reevaluation, ReportsTheOpponentsFiveAfterAMove) {
    auto board = evaluatedBoard({"", " oooo"});
    EXPECT_TRUE(makeMove(*board, squareAt(5, 5)));  // (5, 1) lies on the half-line upwards
}

}  // namespace
}  // namespace vorek
