// The threat solver: its verdicts against trying every move on crowded
// boards (wins by fours, by threes, losses and draws), its proofs against the
// independent checker, the shapes that test each rule, and the root verdict's
// options and reasons.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <optional>
#include <random>

#include "bench/corpus_file.h"
#include "board/square_flags.h"
#include "search/root_build.h"
#include "search/threat_space/threat_solver.h"
#include "tests/board_builder.h"
#include "tests/crowded_boards.h"
#include "tests/exhaustive_game.h"
#include "tests/proof_checker.h"
#include "tests/sanitized.h"
#include "tests/threat_search_support.h"

namespace vorek {
namespace {

using testing::Cells;
using testing::ExhaustiveGame;
using testing::Outcome;
using testing::ProofChecker;
using testing::crossingLinesPosition;
using testing::solveCells;
using testing::squareHolePosition;

constexpr std::uint64_t NODES = 200'000;

// What trying every move says of a position, and what the solver says.
struct Judged {
    Outcome outcome;
    SolveReport report;
};

// Checks the solver's verdict on x to move against trying every move, and a
// proof against the checker; returns both.
Judged judge(const Cells& cells, ProofChecker& checker, const std::string& name) {
    const SolveReport report = solveCells(cells, 'x', NODES);
    const Outcome outcome = ExhaustiveGame(cells).valueFor('x');
    switch (report.result) {
        case SolveResult::Proved:
            EXPECT_EQ(outcome, Outcome::WIN) << name;
            EXPECT_EQ(report.move, report.line.front()) << name;
            EXPECT_EQ(checker.check(cells, 'x'), "") << name;
            break;
        case SolveResult::Disproved: EXPECT_EQ(outcome, Outcome::LOSS) << name; break;
        case SolveResult::Unknown: EXPECT_EQ(report.stopped, SolveStop::Settled) << name; break;
    }
    return {outcome, report};
}

TEST(ThreatSolver, VerdictsAgreeWithTryingEveryMoveOnCrowdedBoards) {
    std::mt19937 random(2026);
    ProofChecker checker(testing::solverStrategy());
    int positions = 0;
    int decided = 0;
    while (positions < 200 / testing::SANITIZED_SHARE) {
        const std::optional<Cells> cells = squareHolePosition(random);
        if (!cells) continue;
        ++positions;
        const Judged judged = judge(*cells, checker, "position " + std::to_string(positions));
        if (judged.report.result != SolveResult::Unknown) ++decided;
        // On boards this crowded every forced win found by trying every move
        // is one by threats.
        if (judged.report.result == SolveResult::Unknown) {
            EXPECT_EQ(judged.outcome, Outcome::DRAW) << "position " << positions;
        }
    }
    EXPECT_GT(decided, 100 / testing::SANITIZED_SHARE);
}

TEST(ThreatSolver, WinsThatNeedThreesAgreeWithTryingEveryMove) {
    std::mt19937 random(14);
    ProofChecker checker(testing::solverStrategy());
    int positions = 0;
    int needThrees = 0;
    while (positions < 300) {
        const std::optional<Cells> cells = crossingLinesPosition(random);
        if (!cells) continue;
        ++positions;
        const std::string name = "position " + std::to_string(positions);
        const Judged judged = judge(*cells, checker, name);
        if (judged.report.result != SolveResult::Proved) continue;
        if (solveCells(*cells, 'x', NODES, ThreatKind::Fours).result == SolveResult::Proved) continue;
        ++needThrees;
        EXPECT_FALSE(judged.report.foursOnly) << name;
        // No shorter win exists, by any moves.
        EXPECT_FALSE(ExhaustiveGame(*cells).winsWithin('x', judged.report.winnerMoves - 1)) << name;
    }
    EXPECT_GT(needThrees, 10);
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

SolveResult solveByTheWindowsRules(const Cells& cells) {
    const RootBuild build = buildRootNode(testing::boardOfCells(cells));
    SolveBudget budget;
    budget.maxNodes = NODES;
    return solve(*build.root, budget).result;
}

TEST(ThreatSolver, DoesNotProveWhatTheWindowsEstimatesCallWon) {
    const std::vector<Cells> positions = estimateErrors();
    ASSERT_GE(positions.size(), 4u);
    for (const Cells& cells : positions) {
        const Outcome outcome = ExhaustiveGame(cells).valueFor('x');
        EXPECT_NE(outcome, Outcome::WIN);
        EXPECT_EQ(solveByTheWindowsRules(cells), SolveResult::Proved);
        const SolveResult exact = solveCells(cells, 'x', NODES).result;
        EXPECT_NE(exact, SolveResult::Proved);
        if (exact == SolveResult::Disproved) {
            EXPECT_EQ(outcome, Outcome::LOSS);
        }
    }
}

// x's four-three at 10,10: the window's rules count it won at once, but o's
// forced block at 10,11 makes a four of o's, x must block that at 9,11, and
// o's open three on row 4 is then a move ahead.
TEST(ThreatSolver, FourThreeWhoseBlockMakesAFourOfTheDefenderIsNotProved) {
    const Cells cells = testing::cellsFromRows({"", "", "", "", "     ooo", "", "          o", "          x",
                                                "          x", "          x", "        xx", "           ooox"});
    EXPECT_EQ(solveByTheWindowsRules(cells), SolveResult::Proved);
    EXPECT_NE(solveCells(cells, 'x', NODES).result, SolveResult::Proved);
}

Cells exampleCells(const std::string& name) {
    std::ifstream file(std::string(VOREK_TESTS_DIR) + "/../examples/" + name + "/plocha.dat");
    std::vector<std::string> rows;
    for (std::string row; std::getline(file, row);) rows.push_back(row);
    return testing::cellsFromRows({rows.begin(), rows.end()});
}

// The shipped examples: x wins by threats in the middle game and the forced
// win (checked), nobody can force anything in the opening, and the position
// the window's estimates call won is not won by threats (the searches that
// show neither side has a win by threats there take over a million nodes).
TEST(ThreatSolver, ShippedExamples) {
    ProofChecker checker(testing::solverStrategy());
    for (const char* name : {"middlegame", "forced-win"}) {
        const Cells cells = exampleCells(name);
        const SolveReport report = solveCells(cells, 'x', NODES);
        EXPECT_EQ(report.result, SolveResult::Proved) << name;
        EXPECT_EQ(checker.check(cells, 'x'), "") << name;
    }
    const SolveReport opening = solveCells(exampleCells("opening"), 'x', NODES);
    EXPECT_EQ(opening.result, SolveResult::Unknown);
    EXPECT_EQ(opening.stopped, SolveStop::Settled);  // exhausted
    EXPECT_EQ(opening.pn, INFINITE_NUMBER);
    EXPECT_EQ(opening.dn, INFINITE_NUMBER);
    EXPECT_NE(solveCells(exampleCells("model-estimate"), 'x', NODES).result, SolveResult::Proved);
}

// x at 8,10 9,10 10,8 10,9: 10,10 makes two open threes, o can stop one, x
// makes an open four of the other and then five: three moves, none a four.
const std::vector<std::string_view> DOUBLE_THREE = {"", "", "", "", "", "", "", "", "          x", "          x",
                                                    "        xx"};

TEST(ThreatSolver, KindAndDepthLimitTheWinsLookedFor) {
    const Cells cells = testing::cellsFromRows(DOUBLE_THREE);
    struct Case {
        ThreatKind kind;
        int depth;
        SolveResult result;
    };
    const Case cases[] = {
        {ThreatKind::Threats, UNLIMITED_DEPTH, SolveResult::Proved},
        {ThreatKind::Threats, 3, SolveResult::Proved},
        {ThreatKind::Threats, 2, SolveResult::Unknown},
        {ThreatKind::Fours, UNLIMITED_DEPTH, SolveResult::Unknown},
    };
    for (const Case& c : cases) {
        SolveBudget budget;
        budget.maxNodes = NODES;
        const SolveReport report =
            solveByThreats(testing::threatBoardOfCells(cells, 'x'), budget, {.kind = c.kind, .depth = c.depth});
        EXPECT_EQ(report.result, c.result) << c.depth;
        if (report.result == SolveResult::Proved) {
            EXPECT_EQ(report.move, squareAt(10, 10));
            EXPECT_EQ(report.winnerMoves, 3);
            EXPECT_FALSE(report.foursOnly);
        } else {
            EXPECT_EQ(report.stopped, SolveStop::Settled);
        }
    }
}

// A win whose first move, x's 11,7, is no three: it leaves x a four on row 8
// at 10,8 that makes a three on the antidiagonal too, a win by fours were o
// to pass. The threats of the shortest wins alone find no win here. (The
// corpus tests check the win with the checker.)
TEST(ThreatSolver, TheThreatDepthSaysWhichThreatsAreLookedFor) {
    const std::vector<bench::CorpusPosition> corpus =
        bench::readCorpusFile(std::string(VOREK_CORPUS_DIR) + "/vct_wide.txt");
    const auto found =
        std::find_if(corpus.begin(), corpus.end(), [](const auto& p) { return p.name == "self-play 16 move 11"; });
    ASSERT_NE(found, corpus.end());
    ThreatBoard board = found->board;
    TranspositionTable table(std::size_t{4} << 20);
    SearchControl control(SolveBudget{.maxNodes = NODES});
    EXPECT_TRUE(ProofSearch(board, table, control, {.threatDepth = 2}).prove(ThreatKind::Threats).disproved());
    const SolveReport wide = solveByThreats(found->board, SolveBudget{.maxNodes = NODES});
    ASSERT_EQ(wide.result, SolveResult::Proved);
    EXPECT_EQ(wide.move, squareAt(11, 7));
    EXPECT_FALSE(found->board.moveClass(wide.move, PLAYER1) & (MOVE_FOUR | MOVE_THREE));
}

// x has two open threes far apart: o cannot spoil both, and x wins with an
// open four and then five, two moves of his. Looking for wins of one move
// only, o is not lost: nothing x has makes five at once.
TEST(ThreatSolver, AWinThatTakesMoreMovesThanTheDepthIsNoLoss) {
    Cells cells;
    cells.fill('.');
    for (const int x : {4, 5, 6}) cells[squareAt(x, 4)] = 'x';
    for (const int y : {12, 13, 14}) cells[squareAt(14, y)] = 'x';
    const ThreatBoard board = testing::threatBoardOfCells(cells, 'o');
    const SolveBudget budget{.maxNodes = NODES};
    EXPECT_EQ(solveByThreats(board, budget, {.depth = 2}).result, SolveResult::Proved);  // x's, whatever o plays
    const SolveReport oneMove = solveByThreats(board, budget, {.depth = 1});
    EXPECT_EQ(oneMove.result, SolveResult::Unknown);
    EXPECT_EQ(oneMove.stopped, SolveStop::Settled);
}

// With o to move in the double three, every move of o's still loses to a
// win by threats of x (the checker tries them all): player 1 has won, though
// not to move, and there is no proving move to give.
TEST(ThreatSolver, ReportsArePlayerOnesWhoeverIsToMove) {
    const Cells cells = testing::cellsFromRows(DOUBLE_THREE);
    const SolveReport report = solveCells(cells, 'o', NODES);
    EXPECT_EQ(report.result, SolveResult::Proved);
    EXPECT_EQ(report.move, -1);
    EXPECT_EQ(report.pn, 0);
    EXPECT_EQ(report.dn, INFINITE_NUMBER);
    ASSERT_GE(report.line.size(), 2u);  // o's toughest try, then x's win
    ProofChecker checker(testing::solverStrategy());
    EXPECT_EQ(checker.checkEveryMoveLoses(cells, 'o'), "");
}

// x has two squares that each make two open threes, far apart: o cannot
// spoil both. o's four on row 18 only puts the loss off: x blocks it, and o
// is to move again with both squares still standing. Every move of o loses,
// the four included, which the checker confirms (blocking a five square
// before anything else, as the solver does there).
TEST(ThreatSolver, AFourOfTheLoserOnlyPutsOffTheLoss) {
    Cells cells;
    cells.fill('.');
    for (const auto& [x, y] : {std::pair{3, 5}, {4, 5}, {5, 3}, {5, 4}, {12, 14}, {13, 14}, {14, 12}, {14, 13}, {0, 18}})
        cells[squareAt(x, y)] = 'x';
    for (const auto& [x, y] : {std::pair{1, 18}, {2, 18}, {3, 18}}) cells[squareAt(x, y)] = 'o';
    const SolveReport report = solveCells(cells, 'o', NODES);
    EXPECT_EQ(report.result, SolveResult::Proved);  // player 1, x, wins whatever o plays
    const ProofChecker::Strategy solver = testing::solverStrategy();
    ProofChecker checker([solver](const Cells& position, char attacker) {
        const std::vector<int> theirs = testing::fiveSquares(position, attacker == 'x' ? 'o' : 'x');
        return theirs.size() == 1 ? theirs.front() : solver(position, attacker);
    });
    Cells four = cells;
    four[squareAt(4, 18)] = 'o';
    EXPECT_EQ(checker.check(four, 'x'), "");
}

TEST(ThreatSolver, BudgetsStopItWithTheirReason) {
    const ThreatBoard opening = testing::threatBoardOfCells(exampleCells("model-estimate"), 'x');
    SolveBudget budget;
    budget.maxNodes = 500;
    SolveReport report = solveByThreats(opening, budget);
    EXPECT_EQ(report.result, SolveResult::Unknown);
    EXPECT_EQ(report.stopped, SolveStop::Nodes);
    EXPECT_EQ(report.nodes, 500u);
    std::atomic<bool> cancel{true};
    budget.maxNodes = 0;
    budget.cancel = &cancel;
    report = solveByThreats(opening, budget);
    EXPECT_EQ(report.stopped, SolveStop::Interrupted);
    EXPECT_LE(report.nodes, 1024u);
}

// Wins whose first move is a three, from the corpus: one the defender can
// answer in seven ways, four of them fours of his own, each met; one whose
// every answer leaves a win by fours, though there is none before the three.
// And a double three that does not win, because the defender's open three
// is a move ahead of it.
TEST(ThreatSolver, ThreesWithManyAnswersAndWinsByFoursAfterAThree) {
    struct Case {
        const char* name;
        int replies;
        int counterFours;
        bool foursAfterEveryReply;
    };
    const Case cases[] = {
        {"self-play 6 move 22", 7, 4, false},
        {"self-play 145 move 25", 3, 0, true},
    };
    const std::vector<bench::CorpusPosition> corpus = bench::readCorpusFile(std::string(VOREK_CORPUS_DIR) + "/vct.txt");
    ProofChecker checker(testing::solverStrategy());
    for (const Case& c : cases) {
        const auto found = std::find_if(corpus.begin(), corpus.end(), [&](const auto& p) { return p.name == c.name; });
        ASSERT_NE(found, corpus.end()) << c.name;
        ThreatBoard board = found->board;
        const Player attacker = board.sideToMove();
        const SolveReport report = solveByThreats(board, SolveBudget{.maxNodes = NODES});
        ASSERT_EQ(report.result, attacker == PLAYER1 ? SolveResult::Proved : SolveResult::Disproved) << c.name;
        EXPECT_EQ(solveByThreats(board, SolveBudget{.maxNodes = NODES}, {.kind = ThreatKind::Fours}).result,
                  SolveResult::Unknown)
            << c.name;
        const int three = report.line.front();
        EXPECT_FALSE(board.moveClass(three, attacker) & MOVE_FOUR) << c.name;
        board.makeMove(three);
        MoveList replies;
        ASSERT_EQ(defenderNode(board, ThreatKind::Threats, replies).outcome, NodeVerdict::Open) << c.name;
        EXPECT_EQ(replies.count, c.replies) << c.name;
        int counterFours = 0;
        bool foursAfterEveryReply = true;
        for (const int reply : replies) {
            counterFours += (board.moveClass(reply, opponent(attacker)) & MOVE_FOUR) != 0;
            board.makeMove(reply);
            const SolveResult byFours =
                solveByThreats(board, SolveBudget{.maxNodes = NODES}, {.kind = ThreatKind::Fours}).result;
            foursAfterEveryReply = foursAfterEveryReply && byFours == (attacker == PLAYER1 ? SolveResult::Proved
                                                                                      : SolveResult::Disproved);
            board.unmakeMove();
        }
        EXPECT_EQ(counterFours, c.counterFours) << c.name;
        EXPECT_EQ(foursAfterEveryReply, c.foursAfterEveryReply) << c.name;
        board.unmakeMove();
        EXPECT_EQ(checker.check(testing::cellsOfBoard(board), testing::stoneOf(attacker)), "") << c.name;
    }
    std::vector<std::string_view> rows = DOUBLE_THREE;
    rows.push_back("");
    rows.push_back("     o");
    rows.push_back("    ooo");
    const SolveReport held = solveCells(testing::cellsFromRows(rows), 'x', NODES);
    EXPECT_NE(held.result, SolveResult::Proved);
}

// Keys whose bits that choose the bucket are the same: one bucket of four.
std::uint64_t sameBucket(std::uint64_t n) { return n << 40; }

TEST(TranspositionTable, KeepsDecidedEntriesOverOpenOnesAndForgetsOnClear) {
    TranspositionTable table(TranspositionTable::BUCKET_BYTES);  // one bucket of four, all it may have
    table.store(sameBucket(1), PROVED, 5, 3, 1);
    table.store(sameBucket(2), {4, 7}, 7, 3, 1000);
    table.store(sameBucket(3), {4, 7}, 7, 3, 10);
    table.store(sameBucket(4), DISPROVED, 9, 3, 50);
    ASSERT_TRUE(table.find(sameBucket(2)).has_value());
    EXPECT_EQ(table.find(sameBucket(2))->numbers, (ProofNumbers{4, 7}));
    EXPECT_EQ(table.find(sameBucket(2))->best, 7);
    EXPECT_EQ(table.find(sameBucket(2))->work, 512u);  // the work's highest bit
    // The bucket is full: the open entry with the least work goes.
    table.store(sameBucket(5), {2, 2}, 8, 3, 100);
    EXPECT_FALSE(table.find(sameBucket(3)));
    table.store(sameBucket(6), {2, 2}, 8, 3, 1);
    EXPECT_FALSE(table.find(sameBucket(5)));
    // Decided entries stay, however little work they hold.
    table.store(sameBucket(7), {1, 1}, 9, 3, 1);
    table.store(sameBucket(8), {1, 1}, 9, 3, 1);
    EXPECT_FALSE(table.find(sameBucket(6)));
    EXPECT_FALSE(table.find(sameBucket(7)));
    EXPECT_TRUE(table.find(sameBucket(1)));
    EXPECT_TRUE(table.find(sameBucket(2)));
    EXPECT_TRUE(table.find(sameBucket(4)));
    table.store(sameBucket(8), PROVED, 9, 3, 1);  // the same key: in place
    EXPECT_TRUE(table.find(sameBucket(8))->numbers.proved());
    // Numbers past what an entry holds stay finite; infinity stays infinite.
    table.store(sameBucket(8), {INFINITE_PROOF, 100'000'000}, 9, 3, 1);
    EXPECT_EQ(table.find(sameBucket(8))->numbers.pn, INFINITE_PROOF);
    EXPECT_NE(table.find(sameBucket(8))->numbers.dn, INFINITE_PROOF);
    EXPECT_GT(table.find(sameBucket(8))->numbers.dn, 10'000'000u);
    table.clear();
    for (std::uint64_t n = 1; n <= 8; ++n) EXPECT_FALSE(table.find(sameBucket(n)));
}

TEST(TranspositionTable, GrowsKeepingEveryEntryUpToItsLargestSize) {
    TranspositionTable table(std::size_t{16} << 20);
    EXPECT_EQ(table.bytes(), std::size_t{1} << 20);
    EXPECT_EQ(table.largestBytes(), std::size_t{16} << 20);
    constexpr std::uint64_t KEYS = 100000;
    const auto key = [](std::uint64_t n) { return n * 0x9E3779B97F4A7C15ull; };
    for (std::uint64_t n = 1; n <= KEYS; ++n) table.store(key(n), {1, static_cast<ProofNumber>(n)}, 0, 3, 1);
    EXPECT_GT(table.bytes(), std::size_t{1} << 20);
    for (std::uint64_t n = 1; n <= KEYS; ++n) {
        const std::optional<TableHit> hit = table.find(key(n));
        ASSERT_TRUE(hit.has_value()) << n;
        EXPECT_EQ(hit->numbers.dn, n);
    }
    for (std::uint64_t n = KEYS + 1; n <= 20 * KEYS; ++n) table.store(key(n), {1, 1}, 0, 3, 1);
    EXPECT_EQ(table.bytes(), table.largestBytes());
}

}  // namespace
}  // namespace vorek
