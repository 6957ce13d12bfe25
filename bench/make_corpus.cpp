// Makes the benchmark corpus from self-play: games between two players that
// choose among the moves that look best by their line kinds, from varied
// openings, keeping positions where the side to move wins by fours (a VCF
// puzzle) or wins by threats but not by fours (a VCT puzzle). Each puzzle
// gets the length of its shortest win, found by solving with a growing depth.
//
//   vorek_make_corpus SEED GAMES VCF_FILE VCT_FILE
//   vorek_make_corpus --wide SEED GAMES FILE
//   vorek_make_corpus --longer SEED IN_FILE OUT_FILE
//   vorek_make_corpus --harder SEED IN_FILE OUT_FILE
//   vorek_make_corpus --stats FILE
//
// The first appends the positions of the games to the files in the corpus
// format (bench/corpus_file.h). The second does the same with the wins by
// threats that need a threat that is neither a four nor a three, and whose
// first move is one (bench/corpus_solves.h, isWidePuzzle). The third makes
// the wins by fours of a file longer, as puzzle composers do: it takes back a stone of the winner that
// made a four and the block of its five square, so that the win starts with
// that four, and keeps the position when no shorter win appears; again and
// again, writing each step. The fourth makes every position of a file harder
// (bench/corpus_harder.h): longer by threats taken back, then with decoys,
// writing the last step of each. The fifth prints what each position of a
// file takes the solver. The tests check every position of the shipped
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
#include "bench/corpus_harder.h"
#include "bench/corpus_solves.h"
#include "bench/self_play_opening.h"
#include "board/square_flags.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::bench {
namespace {

constexpr int LONGEST_GAME = 120;
constexpr int MOST_OPENING_STONES = 6;
// The longest win a position is made longer to, and the most pairs of
// decoys it gets.
constexpr int LONGEST_WIN = 24;
constexpr int MOST_DECOYS = 4;

// How much a square is worth to the side to move: its own line kinds and
// those of the other side (blocking), nearness to the stones.
int squareValue(const ThreatBoard& board, int square) {
    // Lines that will make fours later count for much: positions full of
    // them make long wins by fours.
    constexpr int OWN_VALUE[6] = {0, 40, 28, 40, 120, 2000};
    constexpr int THEIR_VALUE[6] = {0, 2, 14, 20, 60, 1000};
    const Player mover = board.sideToMove();
    int value = 0;
    for (int line = 0; line < 4; ++line) {
        value += OWN_VALUE[board.lineKind(square, mover, line)];
        value += THEIR_VALUE[board.lineKind(square, opponent(mover), line)];
    }
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (onBoard(columnOf(square) + dx, rowOf(square) + dy) &&
                !board.isEmpty(squareAt(columnOf(square) + dx, rowOf(square) + dy)))
                value += 3;
    return value;
}

// One of the best few moves after which the other side has no win by fours,
// the better the likelier; where every move tried leaves him one, the move
// that leaves him the longest. The forced block when the other side has a
// five square.
int chooseMove(ThreatBoard& board, std::mt19937& random, int choices) {
    constexpr std::size_t TRIED = 12;
    const MoveSets& theirs = board.moves(opponent(board.sideToMove()));
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
        const bool theyWin = winWithin(board, ThreatKind::Fours, UNLIMITED_DEPTH) == Found::Win;
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

// Plays on whatever the positions hold: the players do not look for wins
// by threats, so a game passes through many. Keeps the first position of
// each kind and length in the game whose shortest win has three moves or
// more; with `wide`, only the wins by threats that need a wider threat
// (isWidePuzzle), into it.
void playGame(std::mt19937& random, int game, std::ofstream& vcf, std::ofstream& vct, std::ofstream* wide) {
    ThreatBoard board;
    const int opening = static_cast<int>(playOpening(board, random, MOST_OPENING_STONES).size());
    const int choices = 2 + static_cast<int>(random() % 4);
    std::vector<std::pair<ThreatKind, int>> kept;
    for (int move = opening; move < LONGEST_GAME; ++move) {
        if (playerWithFive(board) || board.empties().empty()) return;
        const bool fiveNow = !board.moves(board.sideToMove()).fives.empty();
        const bool byFours = !fiveNow && winWithin(board, ThreatKind::Fours, UNLIMITED_DEPTH) == Found::Win;
        int threatMove = -1;
        const bool byThreats = !fiveNow && !byFours &&
                               winWithin(board, ThreatKind::Threats, UNLIMITED_DEPTH, &threatMove) == Found::Win;
        if ((byFours || byThreats) && (!wide || (byThreats && isWidePuzzle(board)))) {
            const ThreatKind kind = byFours ? ThreatKind::Fours : ThreatKind::Threats;
            const int length = shortestWin(board, kind);
            const std::pair<ThreatKind, int> found{kind, length};
            if (length >= 3 && std::find(kept.begin(), kept.end(), found) == kept.end()) {
                kept.push_back(found);
                CorpusPosition position{board, kind, length,
                                        "self-play " + std::to_string(game) + " move " + std::to_string(move + 1)};
                writeCorpusPosition(wide ? *wide : byFours ? vcf : vct, position);
                std::cerr << (wide ? "wide " : byFours ? "vcf " : "vct ") << length << '\n';
            }
        }
        // Half the time a player who has a win by threats plays it.
        board.makeMove(byThreats && threatMove >= 0 && random() % 2 ? threatMove : chooseMove(board, random, choices));
    }
}

int makeLonger(std::mt19937& random, const std::string& in, const std::string& out) {
    std::ofstream file(out, std::ios::app);
    for (const CorpusPosition& position : readCorpusFile(in)) {
        if (position.kind != ThreatKind::Fours) continue;
        Puzzle puzzle{position.board, position.length};
        while (puzzle.length < LONGEST_WIN) {
            const std::optional<Puzzle> longer = longerByOneThreat(puzzle, ThreatKind::Fours, random);
            if (!longer) break;
            puzzle = *longer;
            const int takenBack = puzzle.length - position.length;
            writeCorpusPosition(file, {puzzle.board, ThreatKind::Fours, puzzle.length,
                                       position.name + ", " + std::to_string(takenBack) +
                                           (takenBack == 1 ? " four taken back" : " fours taken back")});
            file.flush();
            std::cerr << "vcf " << puzzle.length << '\n';
        }
    }
    return 0;
}

int makeHarder(std::mt19937& random, const std::string& in, const std::string& out) {
    std::ofstream file(out, std::ios::app);
    for (const CorpusPosition& position : readCorpusFile(in)) {
        Puzzle puzzle{position.board, position.length};
        int takenBack = 0;
        while (puzzle.length < LONGEST_WIN) {
            const std::optional<Puzzle> longer = longerByOneThreat(puzzle, position.kind, random);
            if (!longer) break;
            puzzle = *longer;
            ++takenBack;
        }
        int decoys = 0;
        while (decoys < MOST_DECOYS) {
            const std::optional<Puzzle> harder = withDecoys(puzzle, position.kind, random);
            if (!harder) break;
            puzzle = *harder;
            ++decoys;
        }
        if (takenBack + decoys == 0) continue;
        writeCorpusPosition(file, {puzzle.board, position.kind, puzzle.length,
                                   position.name + ", " + std::to_string(takenBack) + " taken back, " +
                                       std::to_string(decoys) + " decoys"});
        file.flush();
        std::cerr << (position.kind == ThreatKind::Fours ? "vcf " : "vct ") << puzzle.length << " tries "
                  << threatsOnBoard(puzzle.board, position.kind) << '\n';
    }
    return 0;
}

// One line a position: its name's end, kind, length, the threats on the
// board, and what solving it as vorek-cli solve does takes.
int printStats(const std::string& path) {
    for (const CorpusPosition& position : readCorpusFile(path)) {
        const SolveReport report = solveByThreats(position.board, SolveBudget{.maxNodes = 1'000'000, .maxSeconds = 10},
                                                  {.kind = position.kind});
        std::cout << (position.kind == ThreatKind::Fours ? "fours " : "threats ") << position.length << ' '
                  << threatsOnBoard(position.board, position.kind) << ' ' << report.nodes << ' '
                  << 1000 * report.seconds << ' ' << (report.result == SolveResult::Unknown ? "unsolved" : "solved")
                  << ' ' << report.winnerMoves << " # " << position.name << '\n';
    }
    return 0;
}
}  // namespace
}  // namespace vorek::bench

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 3 && mode == "--stats") return vorek::bench::printStats(argv[2]);
    if (argc == 5 && mode == "--wide") {
        std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)));
        std::ofstream wide(argv[4], std::ios::app);
        for (int game = 0; game < std::atoi(argv[3]); ++game) vorek::bench::playGame(random, game, wide, wide, &wide);
        return 0;
    }
    if (argc == 5 && (mode == "--longer" || mode == "--harder")) {
        std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)));
        return mode == "--longer" ? vorek::bench::makeLonger(random, argv[3], argv[4])
                                  : vorek::bench::makeHarder(random, argv[3], argv[4]);
    }
    if (argc != 5 || mode.starts_with("--")) {
        std::cerr << "usage: vorek_make_corpus SEED GAMES VCF_FILE VCT_FILE\n"
                     "       vorek_make_corpus --wide SEED GAMES FILE\n"
                     "       vorek_make_corpus --longer SEED IN_FILE OUT_FILE\n"
                     "       vorek_make_corpus --harder SEED IN_FILE OUT_FILE\n"
                     "       vorek_make_corpus --stats FILE\n";
        return 2;
    }
    std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    const int games = std::atoi(argv[2]);
    std::ofstream vcf(argv[3], std::ios::app);
    std::ofstream vct(argv[4], std::ios::app);
    for (int game = 0; game < games; ++game) vorek::bench::playGame(random, game, vcf, vct, nullptr);
    return 0;
}
