// The varied openings the self-play games of the corpus maker and of the
// engine-judged material start from.
#pragma once

#include <random>
#include <vector>

#include "search/threat_space/threat_board.h"

namespace vorek::bench {

// Plays from two to mostStones stones on random empty squares near the centre
// of the board, the sides taking turns, and returns them in order.
std::vector<int> playOpening(ThreatBoard& board, std::mt19937& random, int mostStones);

}  // namespace vorek::bench
