#include "bench/corpus_harder.h"

#include <algorithm>
#include <vector>

#include "bench/corpus_solves.h"
#include "board/square_flags.h"

namespace vorek::bench {

namespace {

// How many pairs of stones a step of decoys tries.
constexpr int DECOY_TRIES = 60;

std::vector<int> stonesOf(const ThreatBoard& board, Player player) {
    std::vector<int> stones;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (board.cell(s) == cellOfPlayer(player)) stones.push_back(s);
    return stones;
}

// Empty squares two steps or fewer from a stone.
std::vector<int> nearStones(const ThreatBoard& board) {
    std::vector<int> near;
    board.empties().forEach([&](int s) {
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                const int x = columnOf(s) + dx;
                const int y = rowOf(s) + dy;
                if (onBoard(x, y) && !board.isEmpty(squareAt(x, y))) {
                    near.push_back(s);
                    return;
                }
            }
        }
    });
    return near;
}

// Whether the winner, to move, can make a threat of the kind on the square.
bool isThreat(const ThreatBoard& board, int square, ThreatKind kind) {
    const MoveSets& own = board.moves(board.sideToMove());
    if (own.fours.contains(square)) return true;
    return kind == ThreatKind::Threats &&
           (own.threes.contains(square) || doubleFourSetups(board, board.sideToMove()).contains(square));
}

// Neither side has a five square, and the winner no move that leaves two.
bool quiet(const ThreatBoard& board) {
    const Player winner = board.sideToMove();
    return board.moves(winner).fives.empty() && board.moves(winner).wins.empty() &&
           board.moves(opponent(winner)).fives.empty() && !playerWithFive(board);
}

// Whether the stone of the other side is among his answers to the winner's
// threat on the square.
bool answers(ThreatBoard& board, int threat, int answer, ThreatKind kind) {
    board.makeMove(threat);
    MoveList replies;
    const bool open = defenderNode(board, kind, replies).outcome == NodeVerdict::Open;
    board.unmakeMove();
    return open && std::find(replies.begin(), replies.end(), answer) != replies.end();
}

}  // namespace

int threatsOnBoard(const ThreatBoard& board, ThreatKind kind) {
    const MoveSets& own = board.moves(board.sideToMove());
    const int fours = own.fours.count() + board.moves(opponent(board.sideToMove())).fours.count();
    return kind == ThreatKind::Fours ? fours : fours + (own.threes - own.fours).count();
}

std::optional<Puzzle> longerByOneThreat(const Puzzle& puzzle, ThreatKind kind, std::mt19937& random) {
    const Player winner = puzzle.board.sideToMove();
    std::vector<int> own = stonesOf(puzzle.board, winner);
    const std::vector<int> theirs = stonesOf(puzzle.board, opponent(winner));
    std::shuffle(own.begin(), own.end(), random);
    for (const int threat : own) {
        for (const int answer : theirs) {
            ThreatBoard before = without(puzzle.board, threat, answer);
            if (!quiet(before) || !isThreat(before, threat, kind) || !answers(before, threat, answer, kind)) continue;
            if (winWithin(before, kind, puzzle.length) != Found::NoWin) continue;  // no shorter
            if (winWithin(before, kind, puzzle.length + 1) != Found::Win || !isPuzzle(before, kind)) continue;
            return Puzzle{before, puzzle.length + 1};
        }
    }
    return std::nullopt;
}

std::optional<Puzzle> withDecoys(const Puzzle& puzzle, ThreatKind kind, std::mt19937& random) {
    const Player winner = puzzle.board.sideToMove();
    const std::vector<int> near = nearStones(puzzle.board);
    if (near.size() < 2) return std::nullopt;
    const MoveSets& ownBefore = puzzle.board.moves(winner);
    const int theirFoursBefore = puzzle.board.moves(opponent(winner)).fours.count();
    for (int attempt = 0; attempt < DECOY_TRIES; ++attempt) {
        const int decoy = near[random() % near.size()];
        const int counter = near[random() % near.size()];
        if (decoy == counter) continue;
        ThreatBoard after = puzzle.board;
        after.place(decoy, winner);
        after.place(counter, opponent(winner));
        if (!quiet(after)) continue;
        const MoveSets& own = after.moves(winner);
        const int ownGain = kind == ThreatKind::Fours ? (own.fours - ownBefore.fours).count()
                                                      : ((own.fours | own.threes) - (ownBefore.fours | ownBefore.threes)).count();
        if (ownGain == 0 || after.moves(opponent(winner)).fours.count() <= theirFoursBefore) continue;
        if (winWithin(after, kind, puzzle.length - 1) != Found::NoWin || !isPuzzle(after, kind)) continue;
        for (int length = puzzle.length; length <= puzzle.length + 4; ++length)
            if (winWithin(after, kind, length) == Found::Win) return Puzzle{after, length};
    }
    return std::nullopt;
}

}  // namespace vorek::bench
