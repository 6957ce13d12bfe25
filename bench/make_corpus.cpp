// Makes the benchmark corpus from self-play: games between two players that
// choose among the moves that look best by their line kinds, from varied
// openings, keeping positions where the side to move wins by fours (a VCF
// puzzle) or wins by threats but not by fours (a VCT puzzle). Each puzzle
// gets the length of its shortest win, found by solving with a growing depth.
//
//   vorek_make_corpus SEED GAMES VCF_FILE VCT_FILE
//   vorek_make_corpus --longer SEED IN_FILE OUT_FILE
//
// The first appends the positions of the games to the files in the corpus
// format (bench/corpus_file.h). The second makes the wins by fours of a file
// longer, as puzzle composers do: it takes back a stone of the winner that
// made a four and the block of its five square, so that the win starts with
// that four, and keeps the position when no shorter win appears; again and
// again, writing each step. The tests check every position of the shipped
// corpus with the independent checker.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/corpus_file.h"
#include "board/square_flags.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::bench {
namespace {

constexpr std::uint64_t PUZZLE_NODES = 200'000;
constexpr int LONGEST_GAME = 120;

// How much a square is worth to the side to move: its own line kinds and
// those of the other side (blocking), nearness to the stones.
int squareValue(const ThreatBoard& board, int square) {
    // Lines that will make fours later count for much: positions full of
    // them make long wins by fours.
    constexpr int OWN_VALUE[6] = {0, 40, 28, 40, 120, 2000};
    constexpr int THEIR_VALUE[6] = {0, 2, 14, 20, 60, 1000};
    const int mover = board.sideToMove();
    int value = 0;
    for (int line = 0; line < 4; ++line) {
        value += OWN_VALUE[board.lineKind(square, mover, line)];
        value += THEIR_VALUE[board.lineKind(square, 1 - mover, line)];
    }
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (onBoard(columnOf(square) + dx, rowOf(square) + dy) &&
                !board.isEmpty(squareAt(columnOf(square) + dx, rowOf(square) + dy)))
                value += 3;
    return value;
}

SolveResult solveWithin(const ThreatBoard& board, ThreatKind kind, int depth, int* move = nullptr);
int shortestWin(const ThreatBoard& board, ThreatKind kind);

// One of the best few moves after which the other side has no win by fours,
// the better the likelier; where every move tried leaves him one, the move
// that leaves him the longest. The forced block when the other side has a
// five square.
int chooseMove(ThreatBoard& board, std::mt19937& random, int choices) {
    constexpr std::size_t TRIED = 12;
    const MoveSets& theirs = board.moves(1 - board.sideToMove());
    if (!theirs.fives.empty()) return theirs.fives.first();
    std::vector<std::pair<int, int>> scored;
    board.empties().forEach([&](int s) { scored.emplace_back(-squareValue(board, s), s); });
    std::sort(scored.begin(), scored.end());
    std::vector<int> safe;
    int longest = -1;
    int longestMove = scored.front().second;
    for (std::size_t i = 0; i < scored.size() && i < TRIED && safe.size() < static_cast<std::size_t>(choices); ++i) {
        const int move = scored[i].second;
        board.makeMove(move);
        const bool theyWin = solveWithin(board, ThreatKind::Fours, UNLIMITED_DEPTH) == SolveResult::Proved;
        const int length = theyWin && i < TRIED / 2 ? shortestWin(board, ThreatKind::Fours) : 0;
        board.unmakeMove();
        if (!theyWin) safe.push_back(move);
        if (length > longest) {
            longest = length;
            longestMove = move;
        }
    }
    if (safe.empty()) return longestMove;
    const auto last = static_cast<int>(safe.size());
    return safe[static_cast<std::size_t>(std::min<int>(static_cast<int>(random() % last), static_cast<int>(random() % last)))];
}

SolveResult solveWithin(const ThreatBoard& board, ThreatKind kind, int depth, int* move) {
    SolveBudget budget;
    budget.maxNodes = PUZZLE_NODES;
    const SolveReport report = solveByThreats(board, budget, {.kind = kind, .depth = depth});
    if (move) *move = report.line.empty() ? -1 : report.line.front();
    // Reports are player 1's.
    if (board.sideToMove() == 0 && report.result != SolveResult::Unknown)
        return report.result == SolveResult::Proved ? SolveResult::Disproved : SolveResult::Proved;
    return report.result;
}

// The fewest moves of the side to move to his five, or 0 when none is found.
int shortestWin(const ThreatBoard& board, ThreatKind kind) {
    for (int depth = 2; depth <= 40; ++depth)
        if (solveWithin(board, kind, depth) == SolveResult::Proved) return depth;
    return 0;
}

// Plays on whatever the positions hold: the players do not look for wins
// by threats, so a game passes through many. Keeps the first position of
// each kind and length in the game whose shortest win has three moves or more.
void playGame(std::mt19937& random, int game, std::ofstream& vcf, std::ofstream& vct) {
    ThreatBoard board;
    // A varied opening: a few stones on random squares near the centre.
    const int opening = 2 + static_cast<int>(random() % 5);
    for (int i = 0; i < opening; ++i) {
        int s;
        do {
            s = squareAt(7 + static_cast<int>(random() % 6), 7 + static_cast<int>(random() % 6));
        } while (!board.isEmpty(s));
        board.makeMove(s);
    }
    const int choices = 2 + static_cast<int>(random() % 4);
    std::vector<std::pair<ThreatKind, int>> kept;
    for (int move = opening; move < LONGEST_GAME; ++move) {
        if (playerWithFive(board) >= 0 || board.empties().empty()) return;
        const bool fiveNow = !board.moves(board.sideToMove()).fives.empty();
        const bool byFours = !fiveNow && solveWithin(board, ThreatKind::Fours, UNLIMITED_DEPTH) == SolveResult::Proved;
        int threatMove = -1;
        const bool byThreats = !fiveNow && !byFours &&
                               solveWithin(board, ThreatKind::Threats, UNLIMITED_DEPTH, &threatMove) == SolveResult::Proved;
        if (byFours || byThreats) {
            const ThreatKind kind = byFours ? ThreatKind::Fours : ThreatKind::Threats;
            const int length = shortestWin(board, kind);
            const std::pair<ThreatKind, int> found{kind, length};
            if (length >= 3 && std::find(kept.begin(), kept.end(), found) == kept.end()) {
                kept.push_back(found);
                CorpusPosition position{board, kind, length,
                                        "self-play " + std::to_string(game) + " move " + std::to_string(move + 1)};
                writeCorpusPosition(byFours ? vcf : vct, position);
                std::cerr << (byFours ? "vcf " : "vct ") << length << '\n';
            }
        }
        // Half the time a player who has a win by threats plays it.
        board.makeMove(byThreats && threatMove >= 0 && random() % 2 ? threatMove : chooseMove(board, random, choices));
    }
}

// A position one four longer: the winner's stone and the block of the four
// it made taken back, where the win by fours does not get shorter; nullopt
// when no pair of stones does.
std::optional<ThreatBoard> longerByOneFour(const ThreatBoard& board, int length, std::mt19937& random) {
    const int winner = board.sideToMove();
    std::vector<int> own;
    std::vector<int> theirs;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (board.cell(s) == cellOfPlayer(winner)) own.push_back(s);
        if (board.cell(s) == cellOfPlayer(1 - winner)) theirs.push_back(s);
    }
    std::shuffle(own.begin(), own.end(), random);
    for (const int four : own) {
        for (const int block : theirs) {
            ThreatBoard before;
            for (int s = 0; s < BOARD_SQUARES; ++s)
                if (s != four && s != block && !board.isEmpty(s)) before.place(s, board.cell(s) == CELL_PLAYER1 ? 1 : 0);
            before.setSideToMove(winner);
            const MoveSets& mine = before.moves(winner);
            if (!mine.fives.empty() || !before.moves(1 - winner).fives.empty() || !mine.wins.empty()) continue;
            if (!mine.fours.contains(four)) continue;
            before.makeMove(four);
            const bool forced = before.moves(winner).fives.count() == 1 && before.moves(winner).fives.first() == block;
            before.unmakeMove();
            if (!forced) continue;
            if (solveWithin(before, ThreatKind::Fours, length) == SolveResult::Proved) continue;  // no shorter
            if (solveWithin(before, ThreatKind::Fours, length + 1) != SolveResult::Proved) continue;
            return before;
        }
    }
    return std::nullopt;
}

int makeLonger(std::mt19937& random, const std::string& in, const std::string& out) {
    std::ofstream file(out, std::ios::app);
    for (const CorpusPosition& position : readCorpusFile(in)) {
        if (position.kind != ThreatKind::Fours) continue;
        ThreatBoard board = position.board;
        for (int length = position.length; length < 24; ++length) {
            const std::optional<ThreatBoard> longer = longerByOneFour(board, length, random);
            if (!longer) break;
            board = *longer;
            const int takenBack = length + 1 - position.length;
            writeCorpusPosition(file, {board, ThreatKind::Fours, length + 1,
                                       position.name + ", " + std::to_string(takenBack) +
                                           (takenBack == 1 ? " four taken back" : " fours taken back")});
            file.flush();
            std::cerr << "vcf " << length + 1 << '\n';
        }
    }
    return 0;
}

}  // namespace
}  // namespace vorek::bench

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--longer") {
        std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)));
        return vorek::bench::makeLonger(random, argv[3], argv[4]);
    }
    if (argc != 5) {
        std::cerr << "usage: vorek_make_corpus SEED GAMES VCF_FILE VCT_FILE\n"
                     "       vorek_make_corpus --longer SEED IN_FILE OUT_FILE\n";
        return 2;
    }
    std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    const int games = std::atoi(argv[2]);
    std::ofstream vcf(argv[3], std::ios::app);
    std::ofstream vct(argv[4], std::ios::app);
    for (int game = 0; game < games; ++game) vorek::bench::playGame(random, game, vcf, vct);
    return 0;
}
