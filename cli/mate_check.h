// A mate an engine claims checked by our threat-space search
// (opponent/mate_claim.h) on the command line: the search beside a progress
// line, and what the output says of it.
#pragma once

#include <string>
#include <vector>

#include "board/v2board.h"
#include "opponent/mate_claim.h"
#include "search/solver.h"

namespace vorek::cli {

// The moves as "x,y" texts, one space between two: "6,12 5,13", "" for none.
std::string lineText(const std::vector<int>& line);

// Judges the claim on the position (player 1 to move) by a threat search
// within the budget, with a progress line on stderr when that is a terminal.
MateClaimCheck checkMateClaim(const V2Board& position, const Evaluation& claim, const SolveBudget& budget);

// Why a claim is not proved: "refuted", "exhausted", or the budget that ran
// out ("seconds", "nodes", "memory", "interrupted").
std::string_view notProvedReason(const MateClaimCheck& check);

// "proved by threats in 9 (line 6,12 5,13 ...)", "not proved (exhausted)",
// "not proved (stopped: seconds)", "not proved (refuted: ..., line ...)".
std::string mateCheckText(const MateClaimCheck& check);

}  // namespace vorek::cli
