// The exact facts of one player's moves that the board's lists point at.
#include <gtest/gtest.h>

#include "board/evaluation.h"
#include "board/threat_facts.h"
#include "tests/board_builder.h"
#include "tests/exhaustive_game.h"
#include "tests/threat_search_support.h"

namespace vorek {
namespace {

TEST(MoveFacts, ReadEveryLineOfTheSquare) {
    struct Case {
        const char* name;
        std::vector<std::string_view> rows;  // x's move at 10,10 in each
        MoveFacts facts;
    };
    const Case cases[] = {
        {"five", {"", "", "", "", "", "", "", "", "", "", "      xxxx"}, {true, false, false, false}},
        {"open four", {"", "", "", "", "", "", "", "", "", "", "       xxx"}, {false, true, true, true}},
        {"plain four", {"", "", "", "", "", "", "", "", "", "", "      oxxx"}, {false, false, true, true}},
        // A row four and a column four: two five squares, though each line has one.
        {"two fours",
         {"", "", "", "", "", "", "         o", "          x", "          x", "          x", "      oxxx"},
         {false, true, true, true}},
        {"open three", {"", "", "", "", "", "", "", "", "", "", "        xx"}, {false, false, false, true}},
        {"nothing", {"", "", "", "", "", "", "", "", "", "", "         x"}, {false, false, false, false}},
    };
    for (const Case& c : cases) {
        const auto board = testing::boardOfCells(testing::cellsFromRows(c.rows));
        const MoveFacts facts = moveFacts(scanCodes(*board, squareAt(10, 10)), PLAYER1);
        EXPECT_EQ(facts.five, c.facts.five) << c.name;
        EXPECT_EQ(facts.twoFives, c.facts.twoFives) << c.name;
        EXPECT_EQ(facts.four, c.facts.four) << c.name;
        EXPECT_EQ(facts.nearWin, c.facts.nearWin) << c.name;
    }
}

TEST(AnswersToTwoFives, AreTheSquaresThatSpoilEveryWinningMove) {
    // o's open three 8..10 on row 10 wins with 7,10 or 11,10 (open fours);
    // 6,10 and 12,10 leave one of them open, so only those two answer.
    auto board = testing::evaluatedBoard({"", "", "", "", "", "", "", "", "", "x", "        ooo", "", "", "x"});
    const PlayerMoves moves = playerMoves(*board, PLAYER0);
    ASSERT_EQ(std::vector<int>(moves.twoFives.begin(), moves.twoFives.end()),
              (std::vector<int>{squareAt(7, 10), squareAt(11, 10)}));
    const SquareList answers = answersToTwoFives(*board, PLAYER0, moves.twoFives);
    EXPECT_EQ(std::vector<int>(answers.begin(), answers.end()), (std::vector<int>{squareAt(7, 10), squareAt(11, 10)}));
}

}  // namespace
}  // namespace vorek
