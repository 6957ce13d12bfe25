// The moves of one side that may matter to a proof of the other side's win
// by threats (the squares ProofSearch::proofSquares gives): any other move
// of his leaves the same proof winning, move for move.
#pragma once

#include <vector>

#include "search/threat_space/square_set.h"
#include "search/threat_space/threat_board.h"

namespace vorek {

// Of the moves of the side to move, those that share a row of five with a
// square of the other side's proof, and those that make a four of his or
// leave one a move away.
std::vector<int> movesThatMayMatter(const ThreatBoard& board, const std::vector<int>& moves, const SquareSet& proof);

}  // namespace vorek
