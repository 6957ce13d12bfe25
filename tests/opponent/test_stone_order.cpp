// The order of the stones after BOARD: alternating, the other side's last,
// and a surplus spread so that no side comes three times in a row when the
// counts allow it.
#include <gtest/gtest.h>

#include <string>

#include "opponent/ask_through_pipes.h"
#include "opponent/stone_order.h"
#include "tests/board_builder.h"

namespace vorek {
namespace {

std::string fields(int own, int other) {
    std::string text;
    for (const int field : stoneFieldOrder(own, other)) text += std::to_string(field);
    return text;
}

TEST(StoneOrder, FieldsAlternateAndEndWithTheOtherSide) {
    const struct {
        int own, other;
        const char* order;
    } cases[] = {
        {0, 0, ""},
        {0, 1, "2"},
        {1, 1, "12"},          // equal counts: the side to move began
        {3, 3, "121212"},
        {2, 3, "21212"},       // one more of the other side: it began
        {1, 0, "1"},           // set-up positions from here on
        {3, 2, "11212"},
        {1, 4, "22122"},       // three more of the other side
        {4, 1, "11112"},       // three more own stones: only the end can be kept
        {5, 2, "1112112"},
        {2, 5, "2212212"},
        {0, 3, "222"},
        {3, 0, "111"},
        {4, 12, "2221222122122122"},
    };
    for (const auto& c : cases) EXPECT_EQ(fields(c.own, c.other), c.order) << c.own << " " << c.other;
}

TEST(StoneOrder, PositionLinesNameTheSideToMovesStonesOne) {
    EXPECT_EQ(positionLines(*testing::boardFromRows({})), std::vector<std::string>{"BEGIN"});
    // x: player 1 at 0,0 and 2,0; o: player 0 at 1,0 and 0,1 and 1,1.
    const auto xToMove = testing::boardFromRows({"xox", "oo"}, PLAYER1);
    EXPECT_EQ(positionLines(*xToMove),
              (std::vector<std::string>{"BOARD", "1,0,2", "0,0,1", "0,1,2", "2,0,1", "1,1,2", "DONE"}));
    const auto oToMove = testing::boardFromRows({"xox", "oo"}, PLAYER0);
    EXPECT_EQ(positionLines(*oToMove),
              (std::vector<std::string>{"BOARD", "1,0,1", "0,1,1", "0,0,2", "1,1,1", "2,0,2", "DONE"}));
}

}  // namespace
}  // namespace vorek
