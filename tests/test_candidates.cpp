// The move generator: opening cases, the forced steps in order, the defences
// and the scored fill.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "tests/board_builder.h"
#include "threats/pattern_tables.h"

namespace vorek {
namespace {

using testing::boardFromRows;
using testing::evaluatedBoard;
using testing::itemsAt;

struct Generated {
    int result;
    std::vector<int> squares;
};

std::vector<int> listed() {
    return {CandidateList.squares.begin(), CandidateList.squares.begin() + CandidateList.count};
}

bool anyMarked(const V2Board& board) {
    return std::any_of(board.squares.begin(), board.squares.end(),
                       [](std::uint8_t f) { return (f & SQ_CANDIDATE) != 0; });
}

Generated generate(V2Board& board) {
    const int result = generateCandidates(board);
    EXPECT_FALSE(anyMarked(board)) << "a candidate mark outlived the run";
    return {result, listed()};
}

// Rows 0..19 of a board whose picture only needs a few rows far down.
std::unique_ptr<V2Board> withRows(std::initializer_list<std::pair<int, std::string_view>> rows) {
    auto board = std::make_unique<V2Board>();
    for (auto [y, row] : rows) {
        for (int x = 0; x < static_cast<int>(row.size()); ++x) {
            if (row[x] != 'x' && row[x] != 'o') continue;
            board->squares[squareAt(x, y)] = row[x] == 'x' ? PLAYER1_STONE : PLAYER0_STONE;
            ++board->stoneCount;
        }
    }
    evaluateAll(*board);
    return board;
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
    for (int s : g.squares) EXPECT_TRUE(isEmptySquare(board->squares[s])) << s;
}

TEST(ForcedSteps, OwnFiveWinsEvenAgainstAFive) {
    auto board = boardFromRows({"", " xxxx"}, /*sideToMove=*/0);
    ASSERT_FALSE(evaluateAll(*board));  // player 1's fives are recorded as must-blocks
    board->sideToMove = 1;
    insertThreat(*board, 0, makeThreat(63, 100, DIR_ROW));
    EXPECT_EQ(generate(*board).result, GENERATE_WIN);
    EXPECT_EQ(listed(), std::vector<int>{20});
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
    ASSERT_TRUE(board->squares[FOUR_THREE] & SQ_DOUBLE1);
    const Generated g = generate(*board);
    EXPECT_EQ(g.result, GENERATE_WIN);
    EXPECT_EQ(g.squares, std::vector<int>{FOUR_THREE});
}

TEST(Defences, LineThreatWithTnAboveZeroDefendsOnlyItsSquareNextToAStone) {
    auto board = withRows({{0, "oxxx"}, {5, " xx"}});
    const auto four = itemsAt(*board, 1, 4);
    ASSERT_EQ(four.size(), 1u);
    CandidateList.count = 0;
    EXPECT_EQ(addDefences(*board, four[0], 0), 1);
    EXPECT_EQ(listed(), std::vector<int>{4});
    clearCandidateMarks(*board, 0);

    const auto distant = itemsAt(*board, 1, squareAt(4, 5));  // .xx.s: touches no stone
    ASSERT_EQ(distant.size(), 1u);
    CandidateList.count = 0;
    EXPECT_EQ(addDefences(*board, distant[0], 0), 0);
    EXPECT_EQ(CandidateList.count, 0);
}

TEST(Defences, UnstoppableLineIsAnsweredWhereItTouchesStones) {
    auto board = withRows({OPEN_THREE_ROW_10});
    ASSERT_EQ(square(board->threats[0].front()), 207);
    CandidateList.count = 0;
    EXPECT_EQ(addDefences(*board, board->threats[0].front(), 1), 2);
    EXPECT_EQ(listed(), (std::vector<int>{207, 211}));  // 206 defends too but touches nothing
    clearCandidateMarks(*board, 0);
}

TEST(Defences, CombinedThreatIsAnsweredOnEveryLine) {
    std::vector<std::pair<int, std::string_view>> rows(FOUR_THREE_ROWS);
    auto board = withRows({rows[0], rows[1], rows[2]});
    const auto items = itemsAt(*board, 1, FOUR_THREE);
    ASSERT_EQ(items.size(), 2u);
    CandidateList.count = 0;
    pushCandidate(*board, 151);  // already listed: still counted
    EXPECT_EQ(addDefences(*board, items[1], 0), 4);
    EXPECT_EQ(listed(), (std::vector<int>{151, FOUR_THREE, 90, 170}));
    clearCandidateMarks(*board, 0);
    EXPECT_FALSE(anyMarked(*board));
}

// The fill, worked out independently: every eligible square's score, ranked by
// score and then by visiting order, the top n kept if they reach 1% of the best.
std::vector<int> expectedScoredFill(V2Board& board, int n) {
    struct Scored {
        std::int64_t score;
        int order;
        int square;
    };
    std::vector<Scored> all;
    const int mover = board.sideToMove;
    for (int i = 0; i < BOARD_SQUARES; ++i) {
        const int q = (i + 200) % 400;
        if (!isEmptySquare(board.squares[q]) || (board.squares[q] & SQ_CANDIDATE)) continue;
        scanSquare(board, q);
        std::int64_t score = 0;
        for (int line = 0; line < 4; ++line)
            score += 5 * weight(lineThreats[lineThreatIndex(mover, line)]) +
                     weight(lineThreats[lineThreatIndex(1 - mover, line)]);
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
    for (V2Board* board : {symmetric.get(), middle.get()}) {
        const std::vector<int> expected = expectedScoredFill(*board, 8);
        CandidateList.count = 0;
        addScoredCandidates(*board, 8);
        EXPECT_EQ(listed(), expected);
        clearCandidateMarks(*board, 0);
    }
}

TEST(ScoredFill, TakesOnlyEligibleSquares) {
    auto board = std::make_unique<V2Board>();
    for (int s = 0; s < BOARD_SQUARES; ++s)
        board->squares[s] = ((s / 3) % 2) ? PLAYER1_STONE : PLAYER0_STONE;
    for (int s : {0, 200, 399}) board->squares[s] = EMPTY_LIVE_SQUARE;
    board->stoneCount = 397;
    syncLines(*board);
    CandidateList.count = 0;
    pushCandidate(*board, 200);  // listed squares are not scored again
    addScoredCandidates(*board, 8);
    const std::vector<int> got = listed();
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], 200);
    EXPECT_LE(got.size(), 3u);
    for (int s : got) EXPECT_TRUE(s == 0 || s == 200 || s == 399);
    clearCandidateMarks(*board, 0);
}

static_assert(scoreThreshold(100) == 0);
static_assert(scoreThreshold(101) == 1);
static_assert(scoreThreshold(200) == 1);
static_assert(scoreThreshold(1000) == 9);

TEST(Generator, NeverLeavesAnEmptyListWhileAMoveExists) {
    // An unstoppable opponent line whose answers touch no stone of its owner
    // (only a damaged list gives one): the scored fill still offers moves.
    auto stale = withRows({{0, "x"}, {19, "x  o"}});
    insertThreat(*stale, 0, makeThreat(94, 210, DIR_ROW));
    const Generated open = generate(*stale);
    EXPECT_EQ(open.result, GENERATE_OPEN);
    EXPECT_FALSE(open.squares.empty());

    auto full = std::make_unique<V2Board>();
    for (int s = 0; s < BOARD_SQUARES; ++s)
        full->squares[s] = ((s / 3 + s / 20) % 2) ? PLAYER1_STONE : PLAYER0_STONE;
    full->stoneCount = 400;
    syncLines(*full);
    const Generated g = generate(*full);
    EXPECT_EQ(g.result, GENERATE_OPEN);
    EXPECT_TRUE(g.squares.empty());  // only a full board gives no candidate
}

}  // namespace
}  // namespace vorek
