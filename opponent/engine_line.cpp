#include "opponent/engine_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "files/ascii_text.h"
#include "opponent/engine_reply.h"
#include "threats/square.h"

namespace vorek {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isAsciiSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isAsciiSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The next blank-separated word, taken from the front of the text.
std::string_view takeWord(std::string_view& text) {
    text = trimmed(text);
    std::size_t end = 0;
    while (end < text.size() && !isAsciiSpace(text[end])) ++end;
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

// A whole text of digits with an optional sign, from `lowest` to `highest`.
std::optional<std::int64_t> wholeNumber(std::string_view text, std::int64_t lowest, std::int64_t highest) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    if (text.empty() || !std::all_of(text.begin(), text.end(), isAsciiDigit)) return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size() || magnitude > INT64_MAX) return std::nullopt;
    const auto value = static_cast<std::int64_t>(magnitude);
    if ((negative ? -value : value) < lowest || (negative ? -value : value) > highest) return std::nullopt;
    return negative ? -value : value;
}

// "183", "-19", "+M7", "-M12" (the M of either case).
std::optional<Evaluation> readEvaluation(std::string_view text) {
    const bool against = !text.empty() && text.front() == '-';
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) rest.remove_prefix(1);
    if (!rest.empty() && asciiLower(rest.front()) == 'm') {
        rest.remove_prefix(1);
        if (!rest.empty() && !isAsciiDigit(rest.front())) return std::nullopt;
        const std::optional<std::int64_t> plies = wholeNumber(rest, 0, LONGEST_MATE);
        if (!plies) return std::nullopt;
        return Evaluation{true, static_cast<int>(against ? -*plies : *plies)};
    }
    const std::optional<std::int64_t> score = wholeNumber(text, INT_MIN, INT_MAX);
    if (!score) return std::nullopt;
    return Evaluation{false, static_cast<int>(*score)};
}

// A number from 0 to 1, written as a decimal with or without an exponent.
std::optional<double> readWinrate(std::string_view text) {
    if (text.empty() || !(isAsciiDigit(text.front()) || text.front() == '.')) return std::nullopt;
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < 0 ||
        value > 1)
        return std::nullopt;
    return value;
}

// "x,y" or a column letter and a row number ("h8"); a square of the board.
std::optional<int> readLineMove(std::string_view word) {
    if (word.empty()) return std::nullopt;
    const char letter = asciiLower(word.front());
    if (letter >= 'a' && letter <= 'z') {
        const std::string_view number = word.substr(1);
        if (number.empty() || !isAsciiDigit(number.front())) return std::nullopt;
        const std::optional<std::int64_t> row = wholeNumber(number, 1, BOARD_SIDE);
        const int column = letter - 'a';
        if (!row || column >= BOARD_SIDE) return std::nullopt;
        return squareAt(column, static_cast<int>(*row) - 1);
    }
    const std::size_t comma = word.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto digitsOnly = [](std::string_view part) -> std::optional<std::int64_t> {
        if (part.empty() || !isAsciiDigit(part.front())) return std::nullopt;
        return wholeNumber(part, 0, BOARD_SIDE - 1);
    };
    const std::optional<std::int64_t> x = digitsOnly(word.substr(0, comma));
    const std::optional<std::int64_t> y = digitsOnly(word.substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return squareAt(static_cast<int>(*x), static_cast<int>(*y));
}

constexpr std::array<std::pair<std::string_view, InfoKey>, 12> INFO_KEYS{{
    {"PV", InfoKey::Pv},
    {"NUMPV", InfoKey::NumPv},
    {"DEPTH", InfoKey::Depth},
    {"SELDEPTH", InfoKey::SelDepth},
    {"NODES", InfoKey::Nodes},
    {"TOTALNODES", InfoKey::TotalNodes},
    {"TOTALTIME", InfoKey::TotalTime},
    {"SPEED", InfoKey::Speed},
    {"EVAL", InfoKey::Eval},
    {"WINRATE", InfoKey::Winrate},
    {"BESTLINE", InfoKey::Bestline},
    {"DONE", InfoKey::PvDone},  // only after PV
}};

InfoKey infoKeyOf(std::string_view word) {
    for (const auto& [name, key] : INFO_KEYS)
        if (key != InfoKey::PvDone && sameIgnoringCase(word, name)) return key;
    return InfoKey::Other;
}

// Reads the value of the key into the line; false when it is malformed.
bool readInfoValue(EngineLine& info, std::string_view value) {
    constexpr std::int64_t COUNT_LIMIT = INT64_MAX;
    std::optional<std::int64_t> number;
    switch (info.key) {
        case InfoKey::Pv:
            if (sameIgnoringCase(value, "DONE")) {
                info.key = InfoKey::PvDone;
                return true;
            }
            number = wholeNumber(value, 0, MOST_LINES - 1);
            break;
        case InfoKey::NumPv: number = wholeNumber(value, 1, MOST_LINES); break;
        case InfoKey::Depth:
        case InfoKey::SelDepth: number = wholeNumber(value, 0, INT_MAX); break;
        case InfoKey::Nodes:
        case InfoKey::TotalNodes:
        case InfoKey::TotalTime:
        case InfoKey::Speed: number = wholeNumber(value, 0, COUNT_LIMIT); break;
        case InfoKey::Eval: {
            const std::optional<Evaluation> eval = readEvaluation(value);
            if (eval) info.eval = *eval;
            return eval.has_value();
        }
        case InfoKey::Winrate: {
            const std::optional<double> winrate = readWinrate(value);
            if (winrate) info.winrate = *winrate;
            return winrate.has_value();
        }
        case InfoKey::Bestline:
            while (!value.empty()) {
                const std::optional<int> square = readLineMove(takeWord(value));
                if (!square) break;
                info.squares.push_back(*square);
            }
            return !info.squares.empty();
        case InfoKey::PvDone:
        case InfoKey::Other: return true;
    }
    if (number) info.number = *number;
    return number.has_value();
}

EngineLine lineOf(LineKind kind, std::string_view text = {}) {
    EngineLine line;
    line.kind = kind;
    line.text = text;
    return line;
}

EngineLine infoLine(std::string_view rest) {
    EngineLine info = lineOf(LineKind::Info);
    info.key = infoKeyOf(takeWord(rest));
    info.wellFormed = readInfoValue(info, trimmed(rest));
    return info;
}

constexpr std::array<std::pair<std::string_view, RealtimeKind>, 5> REALTIME_KINDS{{
    {"POS", RealtimeKind::Pos},
    {"DONE", RealtimeKind::Done},
    {"BEST", RealtimeKind::Best},
    {"LOST", RealtimeKind::Lost},
    {"REFRESH", RealtimeKind::Refresh},
}};

// A MESSAGE line's text: REALTIME and what follows, or a plain message.
EngineLine messageLine(std::string_view text) {
    std::string_view rest = text;
    if (!sameIgnoringCase(takeWord(rest), "REALTIME")) return lineOf(LineKind::Message, text);
    const std::string_view word = takeWord(rest);
    for (const auto& [name, kind] : REALTIME_KINDS) {
        if (!sameIgnoringCase(word, name)) continue;
        EngineLine realtime = lineOf(LineKind::Realtime);
        realtime.realtime = kind;
        if (kind == RealtimeKind::Refresh) return realtime;
        const std::optional<MoveReply> move = parseMoveText(rest);
        if (!move) break;
        realtime.move = *move;
        return realtime;
    }
    return EngineLine{};  // a REALTIME line of another kind, or without its square
}

}  // namespace

std::string evaluationText(const Evaluation& eval) {
    if (!eval.mate) return std::to_string(eval.value);
    return (eval.value < 0 ? "-M" : "+M") + std::to_string(std::abs(eval.value));
}

EngineLine parseEngineLine(std::string_view line) {
    std::string_view rest = line;
    if (sameIgnoringCase(takeWord(rest), "INFO")) return infoLine(rest);
    const EngineReply reply = parseEngineReply(line);
    switch (reply.kind) {
        case ReplyKind::Ok: return lineOf(LineKind::Ok);
        case ReplyKind::Move: {
            EngineLine move = lineOf(LineKind::Move);
            move.move = reply.move;
            return move;
        }
        case ReplyKind::Message: return messageLine(reply.text);
        case ReplyKind::Debug: return lineOf(LineKind::Debug, reply.text);
        case ReplyKind::Error: return lineOf(LineKind::Error, reply.text);
        case ReplyKind::Unknown: return lineOf(LineKind::Unknown, reply.text);
        case ReplyKind::Other: break;
    }
    return EngineLine{};
}

std::optional<SearchLine> SearchLineReader::take(const EngineLine& info) {
    if (info.kind != LineKind::Info || !info.wellFormed) return std::nullopt;
    if (info.key == InfoKey::Pv) {
        open_.emplace();
        open_->index = static_cast<int>(info.number);
        return std::nullopt;
    }
    if (!open_) return std::nullopt;
    if (info.key == InfoKey::PvDone) return std::exchange(open_, std::nullopt);
    SearchLine& block = *open_;
    switch (info.key) {
        case InfoKey::NumPv: block.count = static_cast<int>(info.number); break;
        case InfoKey::Depth: block.depth = static_cast<int>(info.number); break;
        case InfoKey::SelDepth: block.selDepth = static_cast<int>(info.number); break;
        case InfoKey::Nodes: block.nodes = info.number; break;
        case InfoKey::TotalNodes: block.totalNodes = info.number; break;
        case InfoKey::TotalTime: block.totalTime = info.number; break;
        case InfoKey::Speed: block.speed = info.number; break;
        case InfoKey::Eval: block.eval = info.eval; break;
        case InfoKey::Winrate: block.winrate = info.winrate; break;
        case InfoKey::Bestline: block.line = info.squares; break;
        default: break;
    }
    return std::nullopt;
}

}  // namespace vorek
