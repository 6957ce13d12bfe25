// An engine's claim of a forced five checked by our own threat-space search.
// A claim for the side to move (+Mn) holds when the search proves that the
// side to move wins by threats; a claim against it (-Mn) when the search
// shows that every move of the side to move loses to a win by threats of the
// other side.
#pragma once

#include <string>
#include <vector>

#include "board/v2board.h"
#include "opponent/engine_line.h"
#include "search/solver.h"

namespace vorek::cli {

struct MateCheck {
    Evaluation claim;
    bool proved = false;
    int plies = 0;  // proved: the moves of both sides on the line, the five included
    // Not proved: why. "exhausted" (the search ended without such a win),
    // "refuted" (the search proves the opposite: the side the claim gives
    // the win loses), or the budget that ran out: "nodes", "seconds",
    // "memory", "interrupted".
    std::string reason;
    // The line found: the win, or the refutation; empty otherwise.
    std::vector<int> line;
};

// Checks the mate claim on the position (player 1 to move) within the
// budget, with a progress line on stderr when that is a terminal.
MateCheck checkMateClaim(const V2Board& position, const Evaluation& claim, const SolveBudget& budget);

// "proved by threats in 9 (line 6,12 5,13 ...)", "not proved (exhausted)",
// "not proved (stopped: seconds)", "not proved (refuted: ..., line ...)".
std::string mateCheckText(const MateCheck& check);

}  // namespace vorek::cli
