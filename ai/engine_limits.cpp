#include "ai/engine_limits.h"

#include <algorithm>
#include <string>

namespace vorek {

namespace {

constexpr std::size_t LONGEST_NUMBER = 18;  // digits; far beyond any limit, and no overflow

constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }
constexpr char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isKey(std::string_view key, std::string_view lowerKey) {
    return key.size() == lowerKey.size() &&
           std::equal(key.begin(), key.end(), lowerKey.begin(), [](char a, char b) { return lowerCase(a) == b; });
}

std::chrono::milliseconds notNegative(long long milliseconds) {
    return std::chrono::milliseconds(std::max(milliseconds, 0LL));
}

}  // namespace

std::optional<long long> wholeNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty() || text.size() > LONGEST_NUMBER) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

void applyInfo(EngineLimits& limits, std::string_view key, std::string_view value) {
    const std::optional<long long> number = wholeNumber(value);
    if (!number) return;
    if (isKey(key, "timeout_turn")) {
        limits.turn = notNegative(*number);
    } else if (isKey(key, "time_left")) {
        limits.timeLeft = *number >= UNLIMITED_TIME_LEFT ? std::nullopt : std::optional(notNegative(*number));
    } else if (isKey(key, "max_memory")) {
        limits.maxMemory = *number > 0 ? static_cast<std::size_t>(*number) : 0;
    } else if (isKey(key, "rule")) {
        limits.rule = *number;
    }
}

}  // namespace vorek
