#include "search/threat_space/line_spoilers.h"

#include "search/threat_space/line_steps.h"

namespace vorek {

namespace {

bool fourOrMore(LineKind kind) { return kind >= LINE_FOUR; }

// The empty squares where a stone of the blocker turns his block, played
// next, into a four or a five on one of its lines.
SquareSet blockSpoilers(const ThreatBoard& board, int block) {
    const Player blocker = board.sideToMove();
    const unsigned other = cellOfPlayer(opponent(blocker));
    SquareSet spoilers;
    for (int line = 0; line < 4; ++line) {
        const bool fourAlready = fourOrMore(board.lineKind(block, blocker, line));
        walkLine(block, line, [&](int s) {
            // Past a stone of the other side no row of five holds both.
            if (board.cell(s) == other) return false;
            if (board.isEmpty(s) && (fourAlready || fourOrMore(board.lineKindWith(block, blocker, line, s))))
                spoilers.insert(s);
            return true;
        });
    }
    return spoilers;
}

}  // namespace

SquareSet lineSpoilers(ThreatBoard& board, const std::vector<int>& line) {
    const Player winner = board.sideToMove();
    SquareSet spoilers;
    for (const int move : line) {
        spoilers.insert(move);
        if (board.sideToMove() != winner) spoilers |= blockSpoilers(board, move);
        board.makeMove(move);
    }
    // The five squares the last move leaves; none past a five.
    spoilers |= board.moves(winner).fives;
    for (std::size_t i = 0; i < line.size(); ++i) board.unmakeMove();
    return spoilers & board.empties();
}

}  // namespace vorek
