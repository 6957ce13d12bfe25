// What must hold of the threat search's position between moves, checked by
// reading everything again from its cells: the line words, the key, the
// empty squares, every empty square's line kinds and the move sets.
#pragma once

#include <string>

#include "search/threat_space/threat_board.h"

namespace vorek {

// Empty when the position holds; otherwise its first fault.
std::string checkThreatBoard(const ThreatBoard& board);

}  // namespace vorek
