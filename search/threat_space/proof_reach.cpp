#include "search/threat_space/proof_reach.h"

#include "search/threat_space/line_steps.h"

namespace vorek {

// A stone of the side to move that shares no row of five with a square of
// the proof takes none of the squares it plays or needs, and stands in none
// of the rows of five of its fours, threats and fives. It cannot make a four
// of his with his answers in the proof either, for they are squares of it.
// Where it makes no four of his with the stones that stand, and leaves none
// a move away, his answers at every node of the proof are what they were:
// the squares that could spoil the line each threat threatens, and his fours.
std::vector<int> movesThatMayMatter(const ThreatBoard& board, const std::vector<int>& moves, const SquareSet& proof) {
    SquareSet near = proof;
    proof.forEach([&](int square) {
        for (int line = 0; line < 4; ++line) {
            walkLine(square, line, [&](int s) {
                near.insert(s);
                return true;
            });
        }
    });
    const Player mover = board.sideToMove();
    std::vector<int> kept;
    for (const int move : moves)
        if (near.contains(move) || board.moveClass(move, mover) != 0) kept.push_back(move);
    return kept;
}

}  // namespace vorek
