// The one place where the threat search reads the engine's board: its stones
// and the side to move, nothing else.
#pragma once

#include "board/v2board.h"
#include "search/threat_space/threat_board.h"

namespace vorek {

// The stones and the side to move of the board, as the threat search's position.
ThreatBoard threatBoardOf(const V2Board& board);

// The same stones with the side to move as player 1, the other side's
// stones as player 0's, whichever the board calls them: a search's report,
// which is player 1's, is then the side to move's.
ThreatBoard threatBoardForMover(const V2Board& board);

}  // namespace vorek
