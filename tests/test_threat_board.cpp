// The threat search's position: its line kinds and move sets against the
// square scan and the exact facts of the evaluated board, move by move and
// back, and the kinds of named shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "board/evaluation.h"
#include "board/moves.h"
#include "board/threat_facts.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_board_check.h"
#include "search/threat_space/threat_rules.h"
#include "search/threat_space/zobrist.h"
#include "tests/board_builder.h"
#include "tests/board_surgery.h"
#include "tests/threat_search_support.h"

namespace vorek {
namespace {

std::vector<int> squaresOf(const SquareSet& set) {
    std::vector<int> squares;
    set.forEach([&](int s) { squares.push_back(s); });
    return squares;
}

std::vector<int> squaresOf(const SquareList& list) {
    std::vector<int> squares(list.begin(), list.end());
    std::sort(squares.begin(), squares.end());
    squares.erase(std::unique(squares.begin(), squares.end()), squares.end());
    return squares;
}

// Empty when the set and the list hold the same squares, else both.
std::string setDifference(const SquareSet& set, const SquareList& list) {
    if (squaresOf(set) == squaresOf(list)) return {};
    std::ostringstream text;
    text << ":";
    for (const int s : squaresOf(set)) text << ' ' << s;
    text << " against";
    for (const int s : squaresOf(list)) text << ' ' << s;
    return text.str();
}

// The first difference between the position and the board it should mirror,
// judged afresh by the square scan and the exact facts of its lists.
std::string differenceFromBoard(const ThreatBoard& position, const V2Board& board) {
    auto judged = board.clone();
    SquareBytes& judgedSquares = BoardSurgery::squares(*judged);
    for (std::uint8_t& flags : judgedSquares) flags |= isEmptySquare(flags) ? SQ_SIDE : 0;
    if (BoardSurgery::evaluateAll(*judged)) return {};  // a five for the side to move stops the lists short
    std::uint64_t key = 0;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const bool empty = board.isEmpty(s);
        if (position.isEmpty(s) != empty) return "square " + std::to_string(s) + " empty or not";
        if (!empty) key ^= stoneKey(board.stoneAt(s), s);
        if (!empty) continue;
        const SquareCodes codes = scanCodes(board, s);
        for (const Player player : PLAYERS)
            for (int line = 0; line < 4; ++line)
                if (position.lineKind(s, player, line) != LINE_KIND_OF_CODE[codes.codes[playerIndex(player)][line]])
                    return "square " + std::to_string(s) + " player " + std::to_string(playerIndex(player)) +
                           " line " + std::to_string(line);
    }
    if (key != position.key()) return "key";
    for (const Player player : PLAYERS) {
        const PlayerMoves facts = playerMoves(*judged, player);
        const MoveSets& sets = position.moves(player);
        const std::string of = " of player " + std::to_string(playerIndex(player));
        if (const std::string d = setDifference(sets.fives, facts.fives); !d.empty()) return "fives" + of + d;
        if (const std::string d = setDifference(sets.wins, facts.twoFives); !d.empty()) return "wins" + of + d;
        if (const std::string d = setDifference(sets.fours, facts.fours); !d.empty()) return "fours" + of + d;
    }
    return {};
}

// Random games near the centre: after every move the kept values agree with
// the board judged afresh, and unmaking every move gives back each position.
TEST(ThreatBoard, KeepsWhatTheSquareScanFindsMoveByMoveAndBack) {
    std::mt19937 random(20);
    for (int game = 0; game < 6; ++game) {
        ThreatBoard position;
        V2Board board;
        std::vector<MoveSets> before[2];
        std::vector<std::uint64_t> keys;
        for (int move = 0; move < 120; ++move) {
            int s;
            do {
                s = squareAt(4 + static_cast<int>(random() % 12), 4 + static_cast<int>(random() % 12));
            } while (!position.isEmpty(s));
            before[0].push_back(position.moves(PLAYER0));
            before[1].push_back(position.moves(PLAYER1));
            keys.push_back(position.key());
            // As a search does: a move tried and taken back first, which
            // must leave every kept value as it was.
            const int tried = squareAt(4 + static_cast<int>(random() % 12), 4 + static_cast<int>(random() % 12));
            if (position.isEmpty(tried) && tried != s) {
                position.makeMove(tried);
                position.unmakeMove();
                ASSERT_EQ(checkThreatBoard(position), "") << "game " << game << " move " << move;
            }
            position.makeMove(s);
            board.play(s);
            ASSERT_EQ(differenceFromBoard(position, board), "") << "game " << game << " move " << move;
            ASSERT_EQ(position.lastMove(), s);
            if (playerWithFive(position)) break;
        }
        while (position.ply() > 0) {
            position.unmakeMove();
            ASSERT_EQ(checkThreatBoard(position), "") << "back to ply " << position.ply();
            EXPECT_EQ(position.key(), keys.back());
            EXPECT_EQ(position.moves(PLAYER0), before[0].back());
            EXPECT_EQ(position.moves(PLAYER1), before[1].back());
            keys.pop_back();
            before[0].pop_back();
            before[1].pop_back();
        }
        EXPECT_EQ(position.empties().count(), BOARD_SQUARES);
        EXPECT_EQ(position.sideToMove(), PLAYER1);
    }
}

// The pairs of kinds the board reads, for every four cells before and after
// a square (walls, stones, empty squares in any order), are the kinds of the
// pattern codes of the same cells.
TEST(ThreatBoard, KindPairsAreTheKindsOfTheLineCodes) {
    for (unsigned before = 0; before < 256; ++before) {
        for (unsigned after = 0; after < 256; ++after) {
            const std::uint32_t codes = LINE_CODES[before << 8 | after];
            const unsigned pair = LINE_KIND_PAIRS[before | after << 8];
            ASSERT_EQ(pair & LINE_KIND_MASK, LINE_KIND_OF_CODE[codes & 0xFFFFu]) << before << ' ' << after;
            ASSERT_EQ(pair >> LINE_KIND_BITS, LINE_KIND_OF_CODE[codes >> 16]) << before << ' ' << after;
        }
    }
}

TEST(ThreatBoard, NamedShapesAreTheirKindOfMove) {
    struct Case {
        const char* name;
        std::vector<std::string_view> rows;  // x's move at 10,10 in each
        std::uint8_t flags;
    };
    const Case cases[] = {
        {"five", {"      xxxx"}, MOVE_FIVE},
        {"five of six", {"      xxxx x"}, MOVE_FIVE},
        {"open four", {"       xxx"}, MOVE_WIN | MOVE_FOUR},
        {"four with a five square on each side", {"       x x x x"}, MOVE_WIN | MOVE_FOUR},
        {"plain four", {"      oxxx"}, MOVE_FOUR},
        {"broken four", {"      x xx"}, MOVE_FOUR},
        {"open three", {"        xx"}, MOVE_THREE},
        {"broken three", {"       x x"}, MOVE_THREE},
        {"closed three", {"       oxx"}, MOVE_CLOSED_THREE},
        {"nothing", {"         x"}, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string_view> rows(10, "");
        rows.insert(rows.end(), c.rows.begin(), c.rows.end());
        const ThreatBoard position = testing::threatBoardOfCells(testing::cellsFromRows(rows), 'x');
        EXPECT_EQ(position.moveClass(squareAt(10, 10), PLAYER1), c.flags) << c.name;
    }
    // Two fours on different lines: two five squares, though each line has one.
    const ThreatBoard twoLines = threatBoardOf(*testing::boardFromRows(
        {"", "", "", "", "", "", "         o", "          x", "          x", "          x", "      oxxx"}));
    EXPECT_EQ(twoLines.moveClass(squareAt(10, 10), PLAYER1), MOVE_WIN | MOVE_FOUR);
}

TEST(ThreatBoard, FindsAFiveOnTheBoardOnEveryKindOfLine) {
    const std::vector<std::pair<std::vector<std::string_view>, std::optional<Player>>> cases{
        {{"", "   ooooo"}, PLAYER0},
        {{"", "   xxxxxx"}, PLAYER1},
        {{"x", "x", "x", "x", "x"}, PLAYER1},
        {{"", "", "", "", "", "               o", "              o", "             o", "            o", "           o"},
         PLAYER0},
        {{"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "               x",
          "                x", "                 x", "                  x", "                   x"},
         PLAYER1},
        {{"   xxxx.x", " oooo x"}, std::nullopt},
    };
    for (const auto& [rows, owner] : cases) {
        EXPECT_EQ(playerWithFive(testing::threatBoardOfCells(testing::cellsFromRows(rows), 'x')), owner) << rows[1];
    }
}

TEST(DoubleFourSetups, AreTheMovesThatLeaveASquareWithTwoFours) {
    // x's row 10 makes a four at 10,10 (a five square at 9,10 after it); the
    // column through 10,10 holds 10,12 and 10,13. After 10,9 or 10,14 (each a
    // closed three) x's 10,10 makes a column four too. 10,11 does as well, but
    // it is an open three, a threat already.
    auto board = std::make_unique<V2Board>();
    for (const int s : {squareAt(6, 10), squareAt(7, 10), squareAt(8, 10), squareAt(10, 12), squareAt(10, 13)})
        BoardSurgery::squares(*board)[s] = PLAYER1_STONE;
    for (const int s : {squareAt(5, 10), squareAt(10, 15), squareAt(10, 7)})
        BoardSurgery::squares(*board)[s] = PLAYER0_STONE;
    const ThreatBoard position = threatBoardOf(*board);
    ASSERT_TRUE(position.moves(PLAYER1).fours.contains(squareAt(10, 10)));
    EXPECT_EQ(squaresOf(doubleFourSetups(position, PLAYER1)),
              (std::vector<int>{squareAt(10, 9), squareAt(10, 14)}));
}

}  // namespace
}  // namespace vorek
