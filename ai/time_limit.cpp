#include "ai/time_limit.h"

#include <algorithm>

namespace vorek {

namespace {

constexpr long long LARGEST_DIGIT = 9;
constexpr long long LARGEST_SECONDS = 999;

}  // namespace

std::chrono::milliseconds turnFromTimeoutsLine(std::optional<long long> value) {
    if (!value || *value < 1) return TIME_PER_DIGIT;
    if (*value <= LARGEST_DIGIT) return TIME_PER_DIGIT * *value;
    if (*value <= LARGEST_SECONDS) return std::chrono::seconds(*value);
    return std::chrono::milliseconds(*value);
}

std::chrono::milliseconds turnTime(std::chrono::milliseconds turn,
                                   std::optional<std::chrono::milliseconds> timeLeft) {
    return timeLeft ? std::min(turn, *timeLeft) : turn;
}

std::chrono::duration<double> solvingTime(std::chrono::milliseconds turn, std::chrono::duration<double> spent) {
    const std::chrono::duration<double> share = std::min(turn / 2, turn - FINISHING_MARGIN);
    return std::max(share - spent, std::chrono::duration<double>::zero());
}

}  // namespace vorek
