#include "bench/corpus_solves.h"

#include "search/threat_space/proof_search.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::bench {

namespace {

constexpr SolveBudget PUZZLE_BUDGET{.maxNodes = PUZZLE_NODES};

}  // namespace

Found winWithin(const ThreatBoard& board, ThreatKind kind, int depth, int* move, int threatDepth) {
    const SolveReport report = solveByThreats(board, PUZZLE_BUDGET,
                                              {.kind = kind, .depth = depth, .threatDepth = threatDepth});
    if (move) *move = report.line.empty() ? -1 : report.line.front();
    // Reports are player 1's.
    const SolveResult won = board.sideToMove() == PLAYER1 ? SolveResult::Proved : SolveResult::Disproved;
    if (report.result == won) return Found::Win;
    if (report.result != SolveResult::Unknown || report.stopped == SolveStop::Settled) return Found::NoWin;
    return Found::Unclear;
}

int shortestWin(const ThreatBoard& board, ThreatKind kind) {
    for (int depth = 2; depth <= 40; ++depth)
        if (winWithin(board, kind, depth) == Found::Win) return depth;
    return 0;
}

bool isPuzzle(const ThreatBoard& board, ThreatKind kind) {
    if (kind == ThreatKind::Threats && winWithin(board, ThreatKind::Fours, UNLIMITED_DEPTH) != Found::NoWin) return false;
    return winWithin(board, kind, UNLIMITED_DEPTH) == Found::Win;
}

bool isWidePuzzle(const ThreatBoard& board) {
    int first = -1;
    if (winWithin(board, ThreatKind::Threats, UNLIMITED_DEPTH, &first) != Found::Win || first < 0) return false;
    const Player winner = board.sideToMove();
    if ((board.moveClass(first, winner) & (MOVE_FOUR | MOVE_THREE)) || doubleFourSetups(board, winner).contains(first))
        return false;
    if (winWithin(board, ThreatKind::Fours, UNLIMITED_DEPTH) != Found::NoWin) return false;
    // The shortest threats alone: the search of the winner's threats, which
    // must end without a win.
    ThreatBoard position = board;
    TranspositionTable table(tableBytesFor(PUZZLE_BUDGET));
    SearchControl control(PUZZLE_BUDGET);
    ProofSearch search(position, table, control, ThreatReach{.threatDepth = SHORTEST_THREATS});
    return search.prove(ThreatKind::Threats).disproved();
}

ThreatBoard without(const ThreatBoard& board, int first, int second) {
    ThreatBoard before;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (s != first && s != second && !board.isEmpty(s)) before.place(s, board.cell(s) == CELL_PLAYER1 ? PLAYER1 : PLAYER0);
    before.setSideToMove(board.sideToMove());
    return before;
}

}  // namespace vorek::bench
