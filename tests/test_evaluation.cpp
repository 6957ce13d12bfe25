// The square scan, the judgement of a square and the re-evaluation walks.
#include <gtest/gtest.h>

#include "board/evaluation.h"
#include "board/moves.h"
#include "board/reach.h"
#include "tests/board_builder.h"
#include "tests/board_surgery.h"
#include "threats/pattern_tables.h"

namespace vorek {
namespace {

using testing::boardFromRows;
using testing::evaluatedBoard;
using testing::itemsAt;
using testing::listOf;
using testing::unjudgedBoard;

constexpr int S = squareAt(10, 7);  // the square judged in the shape tests

Threat lineValue(const LineThreats& lines, Player player, int line) { return lines[lineThreatIndex(player, line)]; }

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
    const LineThreats lines = scanSquare(*board, 16);
    const Threat row = lineValue(lines, PLAYER1, ROW);
    EXPECT_EQ(row.pattern, 92);
    EXPECT_EQ(square(row), 16);
    EXPECT_EQ(directions(row), DIR_ROW);
    EXPECT_EQ(tn(row), 1);
    EXPECT_EQ(cn(row), 2);
    // For player 0 the x on column 15 closes the far side, the one on 17 the near side.
    EXPECT_EQ(lineValue(lines, PLAYER0, ROW).pattern, 3);
}

TEST(Scan, NeverWrapsIntoTheNextRow) {
    auto board = boardFromRows({"                xxxx"});
    EXPECT_EQ(lineValue(scanSquare(*board, 20), PLAYER1, ROW).pattern, 0b110000);  // s and the four empty squares right of it
    EXPECT_FALSE(BoardSurgery::evaluateSquare(*board, 20));
}

TEST(Evaluation, SideToMoveCompletingFiveStopsEverything) {
    auto board = unjudgedBoard({"", " xxxx", "", "", "   xxx"});
    EXPECT_TRUE(BoardSurgery::evaluateAll(*board));
    for (const Player p : PLAYERS)
        for (Threat t : listOf(*board, p)) EXPECT_LT(square(t), 20) << "judged after the stop";
}

TEST(Evaluation, FiveSquareOfTheMoverHoldsNoItem) {
    auto board = boardFromRows({"", " xxxx"}, PLAYER0);
    EXPECT_TRUE(board->listsWhole());
    ASSERT_EQ(itemsAt(*board, PLAYER1, 20).size(), 1u);  // player 0 must block there
    BoardSurgery::setSideToMove(*board, PLAYER1);
    EXPECT_TRUE(BoardSurgery::evaluateSquare(*board, 20));
    EXPECT_TRUE(itemsAt(*board, PLAYER1, 20).empty());
}

TEST(Evaluation, OpponentFiveIsOneMustBlockItem) {
    auto board = evaluatedBoard({"", " oooo"});
    for (int s : {20, 25}) {
        const auto items = itemsAt(*board, PLAYER0, s);
        ASSERT_EQ(items.size(), 1u) << s;
        EXPECT_EQ(cn(items[0]), 0);
        EXPECT_EQ(directions(items[0]), DIR_ROW);
        EXPECT_TRUE(board->flags(s) & SQ_SIDE);
    }
    EXPECT_EQ(cn(board->threats(PLAYER0).front()), 0);
}

TEST(Evaluation, TwoOpenThreesMakeOneDoubleThreat) {
    auto board = evaluatedBoard({"", "", "", "", "", "          x", "          x", "        xx"});
    const auto items = itemsAt(*board, PLAYER1, S);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].pattern, PATTERN_DOUBLE_THREAT);
    EXPECT_EQ(directions(items[0]), DIR_ROW | DIR_COLUMN);
    EXPECT_FALSE(board->flags(S) & SQ_DOUBLE1);
}

TEST(Evaluation, FourAndThreeMakeTwoItemsAndTheSecondFlag) {
    auto board = evaluatedBoard({"", "", "", "", "", "          x", "          x", "      oxxx"});
    const auto items = itemsAt(*board, PLAYER1, S);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(directions(items[0]), DIR_ROW);
    EXPECT_EQ(cn(items[0]), 1);
    EXPECT_EQ(tn(items[0]), 1);
    EXPECT_EQ(items[1].pattern, PATTERN_DOUBLE_THREAT);
    EXPECT_EQ(directions(items[1]), DIR_ROW | DIR_COLUMN);
    EXPECT_TRUE(board->flags(S) & SQ_DOUBLE1);
    EXPECT_FALSE(board->flags(S) & SQ_DOUBLE0);
}

TEST(Evaluation, TwoFoursMakeOneDoubleFour) {
    auto board =
        evaluatedBoard({"", "", "", "          o", "          x", "          x", "          x", "      oxxx"});
    const auto items = itemsAt(*board, PLAYER1, S);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].pattern, PATTERN_DOUBLE_FOUR);
    EXPECT_EQ(directions(items[0]), DIR_ROW | DIR_COLUMN);
}

TEST(Evaluation, RecordedLineIsTheBestCnLineEvenWithAnOpenFourElsewhere) {
    // An open four in the column, a plain four in the row: the row's item (tn 1) is kept.
    auto board =
        evaluatedBoard({"", "", "", "", "          x", "          x", "          x", "      oxxx"});
    const auto items = itemsAt(*board, PLAYER1, S);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(directions(items[0]), DIR_ROW);
    EXPECT_EQ(tn(items[0]), 1);
}

TEST(Evaluation, BestTnTwoRecordsNothingButStaysLive) {
    auto board = evaluatedBoard({"", "", "", "", "", "", "", "         x"});
    EXPECT_TRUE(itemsAt(*board, PLAYER1, S).empty());
    EXPECT_TRUE(itemsAt(*board, PLAYER0, S).empty());
    EXPECT_TRUE(board->flags(S) & SQ_SIDE);
}

TEST(Evaluation, QuietSquaresWakeBeforeTheyAreJudged) {
    auto board = evaluatedBoard({});
    for (int s = 0; s < BOARD_SQUARES; ++s) ASSERT_EQ(board->flags(s), SQ_EMPTY) << s;
    EXPECT_FALSE(board->play(210));
    EXPECT_TRUE(board->flags(212) & SQ_SIDE);  // on a half-line of the move
    EXPECT_TRUE(board->flags(210 - 4 * 21) & SQ_SIDE);
    EXPECT_FALSE(board->flags(215) & SQ_SIDE);  // five steps away
    EXPECT_FALSE(board->flags(0) & SQ_SIDE);
    EXPECT_TRUE(board->threats(PLAYER0).empty());
    EXPECT_TRUE(board->threats(PLAYER1).empty());
}

TEST(Evaluation, StonesAreNeverJudged) {
    auto board = boardFromRows({"x"});
    EXPECT_FALSE(BoardSurgery::evaluateSquare(*board, 0));
    EXPECT_EQ(board->flags(0), PLAYER1_STONE);
}

// Makes every empty square quiet, so that a judged square shows as live.
void quietAll(V2Board& board) {
    for (auto& flags : BoardSurgery::squares(board))
        if (isEmptySquare(flags)) flags &= static_cast<std::uint8_t>(~SQ_SIDE);
}

TEST(Reevaluation, HalfLineEndsAtTheSecondColour) {
    auto board = boardFromRows({"", "", "", "", "", "      o x"});
    quietAll(*board);
    board->play(squareAt(5, 5));
    EXPECT_TRUE(board->flags(squareAt(7, 5)) & SQ_SIDE);
    EXPECT_FALSE(board->flags(squareAt(9, 5)) & SQ_SIDE);
    EXPECT_TRUE(board->flags(squareAt(4, 5)) & SQ_SIDE);  // the other half-lines go on
}

TEST(Reevaluation, StonesOfOneColourDoNotEndIt) {
    auto board = boardFromRows({"", "", "", "", "", "      x x"});
    quietAll(*board);
    board->play(squareAt(5, 5));
    EXPECT_TRUE(board->flags(squareAt(7, 5)) & SQ_SIDE);
    EXPECT_TRUE(board->flags(squareAt(9, 5)) & SQ_SIDE);
}

TEST(Reevaluation, ReportsTheOpponentsFiveAfterAMove) {
    auto board = evaluatedBoard({"", " oooo"});
    EXPECT_TRUE(board->play(squareAt(5, 5)));  // (5, 1) lies on the half-line upwards
}

}  // namespace
}  // namespace vorek
