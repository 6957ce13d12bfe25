// The move generator: opening cases, the forced steps in order, the defences
// and the scored fill.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "tests/board_builder.h"
#include "tests/board_surgery.h"
#include "threats/pattern_tables.h"

namespace vorek {
namespace {

using testing::boardFromRows;
using testing::evaluatedBoard;
using testing::itemsAt;

struct Generated {
    GenerateResult result;
    std::vector<int> squares;
};

std::vector<int> listed(const CandidateList& list) { return {list.begin(), list.end()}; }

// Each listed square once, and the list's own marks agreeing with its entries.
void expectConsistent(const CandidateList& list) {
    std::vector<int> sorted = listed(list);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a square listed twice";
    for (int s = 0; s < BOARD_SQUARES; ++s)
        EXPECT_EQ(list.contains(s), std::binary_search(sorted.begin(), sorted.end(), s)) << s;
}

Generated generate(const V2Board& board) {
    CandidateList list;
    const GenerateResult result = generateCandidates(board, list);
    expectConsistent(list);
    return {result, listed(list)};
}

// The position of the stones of a few rows far down.
std::unique_ptr<V2Board> withRows(std::initializer_list<std::pair<int, std::string_view>> rows) {
    Stones stones;
    for (auto [y, row] : rows)
        for (int x = 0; x < static_cast<int>(row.size()); ++x)
            if (row[x] == 'x' || row[x] == 'o') stones.put(squareAt(x, y), row[x] == 'x' ? PLAYER1 : PLAYER0);
    return V2Board::fromStones(stones, PLAYER1);
}

// Player 0's open three on row 10, columns 8..10: open-four squares 207 and 211.
constexpr std::pair<int, std::string_view> OPEN_THREE_ROW_10{10, "        ooo"};
constexpr std::pair<int, std::string_view> OPEN_THREE_ROW_15{15, "        ooo"};

// Player 1's four-three square (10, 7): a four closed on the left in the row,
// an open three in the column.
constexpr int FOUR_THREE = squareAt(10, 7);
const std::initializer_list<std::pair<int, std::string_view>> FOUR_THREE_ROWS = {
    {5, "          x"}, {6, "          x"}, {7, "      oxxx"}};

TEST(Opening, FirstStonesFollowTheTable) {
    auto expectSingle = [](std::unique_ptr<V2Board> board, int square) {
        const Generated g = generate(*board);
        EXPECT_EQ(g.result, GENERATE_OPEN);
        EXPECT_EQ(g.squares, std::vector<int>{square});
    };
    expectSingle(boardFromRows({}), 210);
    expectSingle(withRows({{15, "x"}}), squareAt(1, 14));
    expectSingle(withRows({{10, "          x"}}), squareAt(9, 11));
    expectSingle(withRows({{3, "        o"}}), squareAt(7, 4));
    expectSingle(withRows({{10, "          x"}, {11, "          o"}}), 229);
    expectSingle(withRows({{10, "         x"}, {11, "         o"}}), 189);  // 209 comes first
}

TEST(Opening, TakenTableSquareFallsBackToTheGeneralCase) {
    auto board = withRows({{9, "         o"}, {10, "         x"}});  // 209 answers 189: taken
    const Generated g = generate(*board);
    EXPECT_EQ(g.result, GENERATE_OPEN);
    ASSERT_FALSE(g.squares.empty());
    for (int s : g.squares) EXPECT_TRUE(isEmptySquare(board->flags(s))) << s;
}

TEST(ForcedSteps, OwnFiveWinsEvenAgainstAFive) {
    auto board = boardFromRows({"", " xxxx"}, PLAYER0);  // player 1's fives are recorded as must-blocks
    BoardSurgery::setSideToMove(*board, PLAYER1);
    BoardSurgery::insertThreat(*board, PLAYER0, makeThreat(63, 100, DIR_ROW));
    const Generated g = generate(*board);
    EXPECT_EQ(g.result, GENERATE_WIN);
    EXPECT_EQ(g.squares, std::vector<int>{20});
}

TEST(ForcedSteps, OpponentFiveIsBlockedOrLost) {
    auto one = evaluatedBoard({"", "oooo", "", "x       x"});
    Generated g = generate(*one);
    EXPECT_EQ(g.result, GENERATE_OPEN);
    EXPECT_EQ(g.squares, std::vector<int>{24});

    auto two = evaluatedBoard({"", " oooo", "", "x       x"});
    g = generate(*two);
    EXPECT_EQ(g.result, GENERATE_LOSS);
    EXPECT_EQ(g.squares, std::vector<int>{20});
}

TEST(ForcedSteps, OwnOpenFourWinsUnlessTheOpponentHasAFive) {
    auto board = withRows({{5, "      xxx"}, {12, "o  o"}});
    Generated g = generate(*board);
    EXPECT_EQ(g.result, GENERATE_WIN);
    EXPECT_EQ(g.squares, std::vector<int>{squareAt(5, 5)});

    auto blocked = withRows({{0, "oooo"}, {5, "      xxx"}});
    g = generate(*blocked);
    EXPECT_EQ(g.result, GENERATE_OPEN);
    EXPECT_EQ(g.squares, std::vector<int>{4});
}

TEST(ForcedSteps, DoubleThreatWinsOnlyAgainstSlowerThreats) {
    // Player 1 makes two open threes on (11, 10).
    const std::pair<int, std::string_view> doubleThreat[] = {
        {8, "           x"}, {9, "           x"}, {10, "         xx"}};
    auto quiet = withRows({doubleThreat[0], doubleThreat[1], doubleThreat[2], {17, "o   o"}});
    Generated g = generate(*quiet);
    EXPECT_EQ(g.result, GENERATE_WIN);
    EXPECT_EQ(g.squares, std::vector<int>{squareAt(11, 10)});

    // The opponent's head is an open-three square (cn 2, tn 1): still a win.
    auto three = withRows({doubleThreat[0], doubleThreat[1], doubleThreat[2], {17, "  oo"}});
    g = generate(*three);
    EXPECT_EQ(g.result, GENERATE_WIN);

    // The opponent can make a four (cn 1): the square is only listed, first.
    auto four = withRows({doubleThreat[0], doubleThreat[1], doubleThreat[2], {17, "xooo"}});
    g = generate(*four);
    EXPECT_EQ(g.result, GENERATE_OPEN);
    ASSERT_FALSE(g.squares.empty());
    EXPECT_EQ(g.squares[0], squareAt(11, 10));
}

TEST(UnstoppableLine, OneOpenThreeIsAnsweredAtBothEnds) {
    auto board = withRows({OPEN_THREE_ROW_10});
    const Generated g = generate(*board);
    EXPECT_EQ(g.result, GENERATE_OPEN);
    EXPECT_EQ(g.squares, (std::vector<int>{207, 211}));  // 211 is covered, no double threat
}

TEST(UnstoppableLine, TwoIndependentLinesLoseWithoutACounter) {
    auto board = withRows({OPEN_THREE_ROW_10, OPEN_THREE_ROW_15});
    const Generated g = generate(*board);
    EXPECT_EQ(g.result, GENERATE_LOSS);
    EXPECT_EQ(g.squares, std::vector<int>{207});

    // Fours of the side to move are the only answers left.
    auto counter = withRows({{0, "oxxx"}, OPEN_THREE_ROW_10, OPEN_THREE_ROW_15});
    const Generated c = generate(*counter);
    EXPECT_EQ(c.result, GENERATE_OPEN);
    std::vector<int> sorted = c.squares;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int>{4, 5}));
}

TEST(UnstoppableLine, FourThreeCounterAttackWins) {
    std::vector<std::pair<int, std::string_view>> rows(FOUR_THREE_ROWS);
    auto board = withRows({rows[0], rows[1], rows[2], OPEN_THREE_ROW_15});
    ASSERT_TRUE(board->flags(FOUR_THREE) & SQ_DOUBLE1);
    const Generated g = generate(*board);
    EXPECT_EQ(g.result, GENERATE_WIN);
    EXPECT_EQ(g.squares, std::vector<int>{FOUR_THREE});
}

TEST(Defences, LineThreatWithTnAboveZeroDefendsOnlyItsSquareNextToAStone) {
    auto board = withRows({{0, "oxxx"}, {5, " xx"}});
    const auto four = itemsAt(*board, PLAYER1, 4);
    ASSERT_EQ(four.size(), 1u);
    CandidateList list;
    EXPECT_EQ(addDefences(*board, four[0], PLAYER0, list), 1);
    EXPECT_EQ(listed(list), std::vector<int>{4});

    const auto distant = itemsAt(*board, PLAYER1, squareAt(4, 5));  // .xx.s: touches no stone
    ASSERT_EQ(distant.size(), 1u);
    list.clear();
    EXPECT_EQ(addDefences(*board, distant[0], PLAYER0, list), 0);
    EXPECT_TRUE(list.empty());
}

TEST(Defences, UnstoppableLineIsAnsweredWhereItTouchesStones) {
    auto board = withRows({OPEN_THREE_ROW_10});
    ASSERT_EQ(square(board->threats(PLAYER0).front()), 207);
    CandidateList list;
    EXPECT_EQ(addDefences(*board, board->threats(PLAYER0).front(), PLAYER1, list), 2);
    EXPECT_EQ(listed(list), (std::vector<int>{207, 211}));  // 206 defends too but touches nothing
}

TEST(Defences, CombinedThreatIsAnsweredOnEveryLine) {
    std::vector<std::pair<int, std::string_view>> rows(FOUR_THREE_ROWS);
    auto board = withRows({rows[0], rows[1], rows[2]});
    const auto items = itemsAt(*board, PLAYER1, FOUR_THREE);
    ASSERT_EQ(items.size(), 2u);
    CandidateList list;
    list.push(151);  // already listed: still counted
    EXPECT_EQ(addDefences(*board, items[1], PLAYER0, list), 4);
    EXPECT_EQ(listed(list), (std::vector<int>{151, FOUR_THREE, 90, 170}));
    expectConsistent(list);
}

// The fill, worked out independently: every eligible square's score, ranked by
// score and then by visiting order, the top n kept if they reach 1% of the best.
std::vector<int> expectedScoredFill(const V2Board& board, const CandidateList& listedBefore, int n) {
    struct Scored {
        std::int64_t score;
        int order;
        int square;
    };
    std::vector<Scored> all;
    const Player mover = board.sideToMove();
    for (int i = 0; i < BOARD_SQUARES; ++i) {
        const int q = (i + 200) % 400;
        if (!board.isEmpty(q) || listedBefore.contains(q)) continue;
        const LineThreats lines = scanSquare(board, q);
        std::int64_t score = 0;
        for (int line = 0; line < 4; ++line)
            score += 5 * weight(lines[lineThreatIndex(mover, line)]) +
                     weight(lines[lineThreatIndex(opponent(mover), line)]);
        all.push_back({score, i, q});
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const Scored& a, const Scored& b) { return a.score > b.score; });
    std::vector<int> kept;
    for (const Scored& s : all)
        if (static_cast<int>(kept.size()) < n && s.score >= scoreThreshold(all[0].score))
            kept.push_back(s.square);
    return kept;
}

TEST(ScoredFill, KeepsTheBestEightInScoreThenVisitingOrder) {
    // Symmetric above and below the middle: mirrored squares score the same,
    // and the lower half is visited first.
    auto symmetric = withRows({{9, "   x            o"}, {10, "   x            o"}});
    auto middle = withRows({{5, "    o   x"}, {6, "     xo  x"}, {8, "   x  o"}, {14, "x o"}});
    for (const V2Board* board : {symmetric.get(), middle.get()}) {
        CandidateList list;
        const std::vector<int> expected = expectedScoredFill(*board, list, 8);
        addScoredCandidates(*board, 8, list);
        EXPECT_EQ(listed(list), expected);
        expectConsistent(list);
    }
}

TEST(ScoredFill, TakesOnlyEligibleSquares) {
    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (s != 0 && s != 200 && s != 399) stones.put(s, ((s / 3) % 2) ? PLAYER1 : PLAYER0);
    const auto board = BoardSurgery::unjudged(stones, PLAYER1);
    CandidateList list;
    list.push(200);  // listed squares are not scored again
    addScoredCandidates(*board, 8, list);
    const std::vector<int> got = listed(list);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], 200);
    EXPECT_LE(got.size(), 3u);
    for (int s : got) EXPECT_TRUE(s == 0 || s == 200 || s == 399);
}

static_assert(scoreThreshold(100) == 0);
static_assert(scoreThreshold(101) == 1);
static_assert(scoreThreshold(200) == 1);
static_assert(scoreThreshold(1000) == 9);

TEST(Generator, NeverLeavesAnEmptyListWhileAMoveExists) {
    // An unstoppable opponent line whose answers touch no stone of its owner
    // (only a damaged list gives one): the scored fill still offers moves.
    auto stale = withRows({{0, "x"}, {19, "x  o"}});
    BoardSurgery::insertThreat(*stale, PLAYER0, makeThreat(94, 210, DIR_ROW));
    const Generated open = generate(*stale);
    EXPECT_EQ(open.result, GENERATE_OPEN);
    EXPECT_FALSE(open.squares.empty());

    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s) stones.put(s, ((s / 3 + s / 20) % 2) ? PLAYER1 : PLAYER0);
    const Generated g = generate(*V2Board::fromStones(stones, PLAYER1));
    EXPECT_EQ(g.result, GENERATE_OPEN);
    EXPECT_TRUE(g.squares.empty());  // only a full board gives no candidate
}

}  // namespace
}  // namespace vorek
