// The rules of the search of threats that need a search of fours, against
// plain play on crowded boards: every answer the defender's list leaves out
// lets the threat's line of fours (or its move that makes two five squares)
// win all the same; every move of the attacker outside the squares that
// could spoil the defender's own line of fours loses to that line; and the
// pass they rest on changes nothing but the side to move.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bench/corpus_file.h"
#include "search/threat_space/line_spoilers.h"
#include "search/threat_space/proof_reach.h"
#include "search/threat_space/proof_search.h"
#include "search/threat_space/threat_moves.h"
#include "search/threat_space/threat_board_check.h"
#include "tests/crowded_boards.h"
#include "tests/proof_checker.h"
#include "tests/sanitized.h"
#include "tests/threat_search_support.h"

namespace vorek {
namespace {

using testing::Cells;
using testing::ExhaustiveGame;
using testing::fiveSquares;
using testing::ProofChecker;

char otherStone(char stone) { return stone == 'x' ? 'o' : 'x'; }

constexpr int SLOWER = testing::SANITIZED_SHARE;

// Empty when the winner, to move, wins along the line read from the cells
// alone: each of his moves is the block of the loser's five square when he
// has one, each of the loser's is the block of the winner's only five
// square, and the line ends with the winner's five or with two five squares
// of his while the loser has none.
std::string lineFault(Cells cells, char winner, const std::vector<int>& line) {
    const char loser = otherStone(winner);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const int move = line[i];
        if (cells[move] != '.') return "move " + std::to_string(i) + " on a stone";
        if (i % 2 == 0) {
            const std::vector<int> theirs = fiveSquares(cells, loser);
            if (!theirs.empty() && (theirs.size() > 1 || theirs[0] != move))
                return "move " + std::to_string(i) + " leaves the loser's five square";
            cells[move] = winner;
            if (ExhaustiveGame::fiveThrough(cells, move)) return {};
        } else {
            if (!fiveSquares(cells, loser).empty()) return "move " + std::to_string(i) + ": the loser has a five square";
            const std::vector<int> own = fiveSquares(cells, winner);
            if (own.size() >= 2) return {};
            if (own.size() != 1 || own[0] != move) return "move " + std::to_string(i) + " is no forced block";
            cells[move] = loser;
        }
    }
    if (!fiveSquares(cells, loser).empty()) return "the loser has a five square at the end";
    return fiveSquares(cells, winner).size() >= 2 ? "" : "no five at the end";
}

struct Node {
    ThreatBoard board;
    TranspositionTable table{std::size_t{4} << 20};
    SearchControl control{SolveBudget{.maxNodes = 10'000'000}};
    ThreatMoves rules{board, table, control, ThreatReach{}};

    explicit Node(const ThreatBoard& position) : board(position) {}
};

// Open positions with x to move: no five square for either side and no move
// of x that makes two.
std::vector<ThreatBoard> openPositions(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::vector<ThreatBoard> positions;
    while (static_cast<int>(positions.size()) < count) {
        const std::optional<Cells> cells = testing::squareHolePosition(random, 8, 24);
        if (!cells) continue;
        const ThreatBoard board = testing::threatBoardOfCells(*cells, 'x');
        if (!board.moves(PLAYER1).fives.empty() || !board.moves(PLAYER0).fives.empty() ||
            !board.moves(PLAYER1).wins.empty())
            continue;
        positions.push_back(board);
    }
    return positions;
}

// The attacker's threats that are no fours, those that need no search of
// fours and the others.
std::vector<int> threatsThatAreNoFours(Node& node) {
    MoveList moves;
    node.rules.attacker(ThreatKind::Threats, UNLIMITED_DEPTH, moves);
    MoveList wider;
    node.rules.widerThreats(UNLIMITED_DEPTH, wider);
    std::vector<int> threats;
    const SquareSet& fours = node.board.moves(node.board.sideToMove()).fours;
    for (const MoveList* list : {&moves, &wider})
        for (const int move : *list)
            if (!fours.contains(move)) threats.push_back(move);
    return threats;
}

TEST(ThreatMoves, AnswersLeftOutOfTheDefendersListLoseToTheThreat) {
    int widerThreats = 0;
    int answersLeftOut = 0;
    for (const ThreatBoard& position : openPositions(31, 40 / SLOWER)) {
        Node node(position);
        for (const int threat : threatsThatAreNoFours(node)) {
            node.board.makeMove(threat);
            MoveList answers;
            const NodeVerdict verdict = node.rules.defender(ThreatKind::Threats, UNLIMITED_DEPTH, answers);
            // Won: nothing the defender has answers it; every answer is left out.
            ASSERT_NE(verdict.outcome, NodeVerdict::Lost) << "threat " << threat;
            const bool makesTwoFiveSquares = !node.board.moves(PLAYER1).wins.empty();
            // The line the answers were chosen against: the table gives the
            // same one again.
            const std::vector<int> line = node.rules.lineAfterPass(ThreatReach{}.threatDepth);
            widerThreats += !makesTwoFiveSquares;
            if (!makesTwoFiveSquares) {
                ASSERT_FALSE(line.empty()) << "threat " << threat;
            }
            Cells cells = testing::cellsOfBoard(node.board);
            node.board.empties().forEach([&](int answer) {
                if (std::find(answers.begin(), answers.end(), answer) != answers.end()) return;
                ++answersLeftOut;
                cells[answer] = 'o';
                if (makesTwoFiveSquares) {
                    EXPECT_TRUE(ExhaustiveGame(cells).winsWithin('x', 2)) << "threat " << threat << " answer " << answer;
                } else {
                    EXPECT_EQ(lineFault(cells, 'x', line), "") << "threat " << threat << " answer " << answer;
                }
                cells[answer] = '.';
            });
            node.board.unmakeMove();
        }
    }
    EXPECT_GE(widerThreats, 3);
    EXPECT_GE(answersLeftOut, 100);
}

TEST(ThreatMoves, AttackerMovesThatCannotSpoilTheDefendersLineLoseToIt) {
    int defenderLines = 0;
    int movesLeftOut = 0;
    for (const ThreatBoard& position : openPositions(47, 60 / SLOWER)) {
        Node node(position);
        const std::vector<int> theirs = node.rules.lineAfterPass(UNLIMITED_DEPTH);
        if (theirs.empty()) continue;
        ++defenderLines;
        node.board.makePass();
        const SquareSet spoilers = lineSpoilers(node.board, theirs);
        node.board.unmakeMove();
        // The threats listed keep to the squares that could spoil it.
        for (const int threat : threatsThatAreNoFours(node)) EXPECT_TRUE(spoilers.contains(threat)) << threat;
        // Any other move that is no four leaves o's line winning.
        Cells cells = testing::cellsOfBoard(node.board);
        (node.board.empties() - spoilers - node.board.moves(PLAYER1).fours).forEach([&](int move) {
            ++movesLeftOut;
            cells[move] = 'x';
            EXPECT_EQ(lineFault(cells, 'o', theirs), "") << "move " << move;
            cells[move] = '.';
        });
    }
    EXPECT_GE(defenderLines, 2);
    EXPECT_GE(movesLeftOut, 100);
}

// Where the side to move wins by threats, each move of the other side that
// the proof's squares leave out, were he to move, still loses: the solver
// proves the win after it again, and the checker meets every defence after
// some of them. Wins from the corpus, with room around them.
TEST(ProofReach, MovesThatCannotTouchAProofLoseToIt) {
    const std::vector<bench::CorpusPosition> corpus = bench::readCorpusFile(std::string(VOREK_CORPUS_DIR) + "/vct.txt");
    int proofs = 0;
    int movesLeftOut = 0;
    ProofChecker checker(testing::solverStrategy());
    for (std::size_t p = 0; p < corpus.size() && proofs < 5 / SLOWER + 1; p += 9) {
        ThreatBoard board = corpus[p].board;
        const char winner = testing::stoneOf(board.sideToMove());
        TranspositionTable table(std::size_t{4} << 20);
        SearchControl control(SolveBudget{.maxNodes = 1'000'000});
        ProofSearch search(board, table, control);
        ASSERT_TRUE(search.prove(ThreatKind::Threats).proved()) << corpus[p].name;
        const std::optional<SquareSet> proof = search.proofSquares(ThreatKind::Threats);
        if (!proof) continue;
        ++proofs;
        board.makePass();
        std::vector<int> all;
        board.empties().forEach([&](int s) { all.push_back(s); });
        const std::vector<int> kept = movesThatMayMatter(board, all, *proof);
        int checked = 0;
        for (std::size_t i = 0; i < all.size(); i += 11) {
            const int move = all[i];
            if (std::find(kept.begin(), kept.end(), move) != kept.end()) continue;
            ++movesLeftOut;
            board.makeMove(move);
            const Cells cells = testing::cellsOfBoard(board);
            const SolveReport report = testing::solveCells(cells, winner, 1'000'000);
            EXPECT_EQ(report.result, winner == 'x' ? SolveResult::Proved : SolveResult::Disproved)
                << corpus[p].name << " move " << move;
            if (checked++ < 2) {
                EXPECT_EQ(checker.check(cells, winner), "") << corpus[p].name << " move " << move;
            }
            board.unmakeMove();
        }
    }
    EXPECT_GE(proofs, 5 / SLOWER + 1);
    EXPECT_GE(movesLeftOut, 50 / SLOWER);
}

TEST(ThreatBoard, APassChangesTheSideToMoveAlone) {
    for (const ThreatBoard& position : openPositions(5, 3)) {
        ThreatBoard board = position;
        const std::uint64_t key = board.key();
        const MoveSets x = board.moves(PLAYER1);
        board.makeMove(board.empties().first());
        board.makePass();
        EXPECT_EQ(board.sideToMove(), PLAYER1);
        EXPECT_EQ(board.lastMove(), -1);
        EXPECT_EQ(checkThreatBoard(board), "");
        board.unmakeMove();
        EXPECT_EQ(board.sideToMove(), PLAYER0);
        board.unmakeMove();
        EXPECT_EQ(board.key(), key);
        EXPECT_EQ(board.moves(PLAYER1), x);
        EXPECT_EQ(board.ply(), 0);
    }
}

}  // namespace
}  // namespace vorek
