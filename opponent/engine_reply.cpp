#include "opponent/engine_reply.h"

#include <array>
#include <climits>
#include <utility>

#include "files/ascii_text.h"

namespace vorek {

namespace {

void skipSpace(std::string_view& text) {
    while (!text.empty() && isAsciiSpace(text.front())) text.remove_prefix(1);
}

// A decimal integer with an optional sign after skipped whitespace, taken
// from the front of the text.
std::optional<int> takeInteger(std::string_view& text) {
    skipSpace(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !isAsciiDigit(text.front())) return std::nullopt;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; !text.empty() && isAsciiDigit(text.front()); text.remove_prefix(1)) {
        value = value * 10 + (text.front() - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

constexpr std::array<std::pair<std::string_view, ReplyKind>, 5> KEYWORDS{{
    {"OK", ReplyKind::Ok},
    {"MESSAGE", ReplyKind::Message},
    {"DEBUG", ReplyKind::Debug},
    {"ERROR", ReplyKind::Error},
    {"UNKNOWN", ReplyKind::Unknown},
}};

}  // namespace

std::optional<MoveReply> parseMoveText(std::string_view text) {
    const std::optional<int> x = takeInteger(text);
    if (!x) return std::nullopt;
    skipSpace(text);
    if (text.empty()) return std::nullopt;
    text.remove_prefix(1);  // the separator, whatever it is
    const std::optional<int> y = takeInteger(text);
    if (!y) return std::nullopt;
    return MoveReply{*x, *y};
}

EngineReply parseEngineReply(std::string_view line) {
    std::string_view rest = line;
    skipSpace(rest);
    std::size_t wordEnd = 0;
    while (wordEnd < rest.size() && !isAsciiSpace(rest[wordEnd])) ++wordEnd;
    const std::string_view word = rest.substr(0, wordEnd);
    for (const auto& [keyword, kind] : KEYWORDS) {
        if (!sameIgnoringCase(word, keyword)) continue;
        std::string_view text = rest.substr(wordEnd);
        skipSpace(text);
        return EngineReply{kind, {}, text};
    }
    if (const std::optional<MoveReply> move = parseMoveText(line)) return EngineReply{ReplyKind::Move, *move, {}};
    return EngineReply{};
}

}  // namespace vorek
