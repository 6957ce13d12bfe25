// What a manager allows vorek-ai: its time and memory, and the rule played.
// The stdin/stdout protocol's INFO lines and the file protocol's "INFO.DAT"
// use the same keys.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

#include "ai/time_limit.h"

namespace vorek {

// time_left at or above this is no limit.
constexpr long long UNLIMITED_TIME_LEFT = 2147483647;

struct EngineLimits {
    std::chrono::milliseconds turn = TIME_PER_DIGIT;        // timeout_turn
    std::optional<std::chrono::milliseconds> timeLeft;      // time_left, when it limits
    std::size_t maxMemory = 0;                              // max_memory in bytes; 0: no limit
    long long rule = 0;                                     // 0: freestyle, five or more wins

    // The time for this turn (turnTime).
    std::chrono::milliseconds thisTurn() const { return turnTime(turn, timeLeft); }
};

// Takes one key and its value: timeout_turn and time_left in milliseconds
// (below 0 counts as 0; time_left from UNLIMITED_TIME_LEFT on is no limit),
// max_memory in bytes (0 or below: no limit), rule. A value that is not a
// whole number leaves the limit as it was; other keys (timeout_match,
// game_type, folder, ...) change nothing. Keys are matched ignoring case.
void applyInfo(EngineLimits& limits, std::string_view key, std::string_view value);

// A decimal whole number with an optional sign, blanks around it allowed;
// nullopt for anything else or one beyond 18 digits.
std::optional<long long> wholeNumber(std::string_view text);

}  // namespace vorek
