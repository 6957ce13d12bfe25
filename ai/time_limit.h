// The time vorek-ai may take for a move, from what a manager says, and the
// part of it spent solving.
#pragma once

#include <chrono>
#include <optional>

#include "files/position_files.h"

namespace vorek {

// One step of the digit in "timeouts.dat".
constexpr std::chrono::milliseconds TIME_PER_DIGIT{MILLISECONDS_PER_TIMEOUT_DIGIT};

// The turn time that the first line of "timeouts.dat" gives, read by its
// range: 1..9 is the digit, 10..999 seconds, 1000 and more milliseconds.
// Anything else (0, negative, no number) counts as the digit 1.
std::chrono::milliseconds turnFromTimeoutsLine(std::optional<long long> value);

// The time for this turn: the turn time, capped by the time left in the
// match when the manager gives one.
std::chrono::milliseconds turnTime(std::chrono::milliseconds turn,
                                   std::optional<std::chrono::milliseconds> timeLeft);

// Kept free at the end of the turn for writing the answer, freeing the tree
// and, under the file protocol, ending the process.
constexpr std::chrono::milliseconds FINISHING_MARGIN{300};

// Whether the turn leaves any time for solving (solvingTime from its start
// is above zero); a shorter one asks for the quickest answer.
constexpr bool leavesTimeToSolve(std::chrono::milliseconds turn) { return turn > FINISHING_MARGIN; }

// The time left for solving when `spent` of the turn is gone already: at
// most half the turn and never closer than FINISHING_MARGIN to its end,
// counted from its start. Zero when nothing is left.
std::chrono::duration<double> solvingTime(std::chrono::milliseconds turn, std::chrono::duration<double> spent);

}  // namespace vorek
