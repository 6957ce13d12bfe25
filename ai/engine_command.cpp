#include "ai/engine_command.h"

#include <array>
#include <utility>

#include "files/ascii_text.h"

namespace vorek {

namespace {

constexpr std::size_t LONGEST_NUMBER = 9;  // digits; an int holds them all

// A number with an optional sign and blanks around it, taken from the front
// of the text up to the next comma (which is taken too) or the end.
std::optional<int> takeNumber(std::string_view& text, bool last) {
    const std::size_t comma = text.find(',');
    if (last == (comma != std::string_view::npos)) return std::nullopt;
    std::string_view digits = trimmedAscii(text.substr(0, comma));
    text.remove_prefix(last ? text.size() : comma + 1);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    if (digits.empty() || digits.size() > LONGEST_NUMBER) return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (!isAsciiDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

constexpr std::array<std::pair<std::string_view, CommandKind>, 10> COMMANDS{{
    {"START", CommandKind::Start},
    {"RESTART", CommandKind::Restart},
    {"INFO", CommandKind::Info},
    {"BEGIN", CommandKind::Begin},
    {"TURN", CommandKind::Turn},
    {"BOARD", CommandKind::Board},
    {"DONE", CommandKind::Done},
    {"TAKEBACK", CommandKind::Takeback},
    {"ABOUT", CommandKind::About},
    {"END", CommandKind::End},
}};

CommandKind kindOf(std::string_view word) {
    if (word.empty()) return CommandKind::Empty;
    for (const auto& [name, kind] : COMMANDS)
        if (sameIgnoringCase(word, name)) return kind;
    return CommandKind::Unknown;
}

// The square of TURN and TAKEBACK: the rest of the line, "x,y".
bool readSquare(std::string_view square, EngineCommand& command) {
    const std::optional<int> x = takeNumber(square, false);
    const std::optional<int> y = x ? takeNumber(square, true) : std::nullopt;
    if (!y) return false;
    command.x = *x;
    command.y = *y;
    return true;
}

}  // namespace

EngineCommand parseEngineCommand(std::string_view line) {
    EngineCommand command;
    std::string_view arguments = line;
    const std::string_view word = takeAsciiWord(arguments);
    command.word = word;
    command.kind = kindOf(word);
    switch (command.kind) {
        case CommandKind::Start: {
            std::string_view size = takeAsciiWord(arguments);
            const std::optional<int> value = takeNumber(size, true);
            command.wellFormed = value.has_value();
            command.size = value.value_or(0);
            break;
        }
        case CommandKind::Info:
            command.key = takeAsciiWord(arguments);
            command.value = trimmedAscii(arguments);
            command.wellFormed = !command.key.empty();
            break;
        case CommandKind::Turn:
        case CommandKind::Takeback:
            command.wellFormed = readSquare(arguments, command);
            break;
        default: break;
    }
    return command;
}

std::optional<StoneLine> parseStoneLine(std::string_view line) {
    const std::optional<int> x = takeNumber(line, false);
    const std::optional<int> y = x ? takeNumber(line, false) : std::nullopt;
    const std::optional<int> field = y ? takeNumber(line, true) : std::nullopt;
    if (!field) return std::nullopt;
    return StoneLine{*x, *y, *field};
}

}  // namespace vorek
