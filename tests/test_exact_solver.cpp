// The exact solver: its verdicts against trying every move on crowded boards,
// the window's estimates it corrects, and the facts it reads from a board.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <random>
#include <sstream>

#include "board/threat_facts.h"
#include "search/exact_rules.h"
#include "search/root_build.h"
#include "search/solver.h"
#include "search/tree_check.h"
#include "tests/board_builder.h"
#include "tests/exhaustive_game.h"

namespace vorek {
namespace {

using testing::Cells;
using testing::ExhaustiveGame;
using testing::Outcome;

// The position with "x" (player 1) to move.
std::unique_ptr<V2Board> boardOf(const Cells& cells) {
    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (cells[s] != '.') stones.put(s, cells[s] == 'x' ? PLAYER1 : PLAYER0);
    return V2Board::fromStones(stones, PLAYER1);
}

SolveBudget nodes(std::uint64_t n) {
    SolveBudget budget;
    budget.maxNodes = n;
    return budget;
}

SolveReport solveExactly(const Cells& cells) {
    const std::unique_ptr<StatNode> root = exactRoot(*boardOf(cells));
    const SolveReport report = solve(*root, nodes(200000), exactTreeRules());
    EXPECT_EQ(checkTree(*root, exactTreeRules()), "");
    return report;
}

SolveResult solveByTheWindowsRules(const Cells& cells) {
    const RootBuild build = buildRootNode(boardOf(cells));
    return solve(*build.root, nodes(200000)).result;
}

// A board full but for a hole near the centre: outside it every line holds
// at most two stones of a colour in a row; in it, random stones and twelve
// empty squares. Nullopt when a five is on the board or either side can
// complete one at once, which would tell little.
std::optional<Cells> crowdedPosition(std::mt19937& random) {
    constexpr int HOLE = 6;
    constexpr std::size_t EMPTY = 12;
    Cells cells;
    for (int s = 0; s < BOARD_SQUARES; ++s) cells[s] = (columnOf(s) + 2 * rowOf(s)) % 4 < 2 ? 'x' : 'o';
    std::vector<int> hole;
    for (int y = 7; y < 7 + HOLE; ++y)
        for (int x = 7; x < 7 + HOLE; ++x) hole.push_back(squareAt(x, y));
    std::shuffle(hole.begin(), hole.end(), random);
    for (std::size_t i = 0; i < hole.size(); ++i) cells[hole[i]] = i < EMPTY ? '.' : random() % 2 ? 'x' : 'o';
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (cells[s] != '.') {
            if (ExhaustiveGame::fiveThrough(cells, s)) return std::nullopt;
            continue;
        }
        for (const char stone : {'x', 'o'}) {
            cells[s] = stone;
            const bool five = ExhaustiveGame::fiveThrough(cells, s);
            cells[s] = '.';
            if (five) return std::nullopt;
        }
    }
    return cells;
}

// After x's proving move, o to move: lost for o, or over at once.
bool movesToAWin(Cells cells, int move) {
    cells[move] = 'x';
    return ExhaustiveGame::fiveThrough(cells, move) || ExhaustiveGame(cells).valueFor('o') == Outcome::LOSS;
}

TEST(ExactSolver, VerdictsAndProvingMovesAgreeWithTryingEveryMove) {
    std::mt19937 random(2026);
    int positions = 0;
    int decided = 0;
    while (positions < 200) {
        const std::optional<Cells> cells = crowdedPosition(random);
        if (!cells) continue;
        ++positions;
        const SolveReport report = solveExactly(*cells);
        const Outcome outcome = ExhaustiveGame(*cells).valueFor('x');
        if (report.result == SolveResult::Proved) {
            ++decided;
            EXPECT_EQ(outcome, Outcome::WIN) << "position " << positions;
            EXPECT_TRUE(movesToAWin(*cells, report.move)) << "position " << positions;
        } else if (report.result == SolveResult::Disproved) {
            ++decided;
            EXPECT_EQ(outcome, Outcome::LOSS) << "position " << positions;
        } else {
            EXPECT_EQ(outcome, Outcome::DRAW) << "position " << positions;  // forced either way: found
        }
    }
    EXPECT_GT(decided, 100);  // not a test of draws alone
}

// Positions on which the window's rules prove a win that does not exist.
std::vector<Cells> estimateErrors() {
    std::ifstream file(std::string(VOREK_TESTS_DIR) + "/data/estimate_errors.txt");
    std::vector<Cells> positions;
    std::vector<std::string> rows;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with('#') || line.empty()) continue;
        rows.push_back(line);
        if (rows.size() < 20) continue;
        positions.push_back(testing::cellsFromRows({rows.begin(), rows.end()}));
        rows.clear();
    }
    return positions;
}

TEST(ExactSolver, DoesNotProveWhatTheWindowsEstimatesCallWon) {
    const std::vector<Cells> positions = estimateErrors();
    ASSERT_GE(positions.size(), 4u);
    for (const Cells& cells : positions) {
        const Outcome outcome = ExhaustiveGame(cells).valueFor('x');
        EXPECT_NE(outcome, Outcome::WIN);
        EXPECT_EQ(solveByTheWindowsRules(cells), SolveResult::Proved);
        const SolveResult exact = solveExactly(cells).result;
        EXPECT_NE(exact, SolveResult::Proved);
        if (exact == SolveResult::Disproved) {
            EXPECT_EQ(outcome, Outcome::LOSS);
        }
    }
}

// x's four-three at 10,10: the window's rules count it won at once, but o's
// forced block at 10,11 makes a four of o's, x must block that at 9,11, and
// o's open three on row 4 is then a move ahead.
TEST(ExactSolver, FourThreeWhoseBlockMakesAFourOfTheDefenderIsNotProved) {
    const Cells cells = testing::cellsFromRows({"", "", "", "", "     ooo", "", "          o", "          x",
                                                "          x", "          x", "        xx", "           ooox"});
    EXPECT_EQ(solveByTheWindowsRules(cells), SolveResult::Proved);
    EXPECT_NE(solveExactly(cells).result, SolveResult::Proved);
}

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
        const auto board = boardOf(testing::cellsFromRows(c.rows));
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
