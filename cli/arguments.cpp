#include "cli/arguments.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "board/square_flags.h"

namespace vorek::cli {

namespace {

constexpr std::string_view OPTIONS_END = "--";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isOption(std::string_view argument) {
    if (argument.starts_with("--")) return true;
    return argument.size() > 1 && argument[0] == '-' && !isDigit(argument[1]);
}

bool declares(std::span<const std::string_view> valueOptions, std::string_view name) {
    return std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end();
}

constexpr int LAST_SQUARE = BOARD_SQUARES - 1;
constexpr int LAST_COORDINATE = BOARD_SIDE - 1;
// Far above any child count a node can have; it only keeps the parse in range.
constexpr int LARGEST_CHILD_INDEX = 1'000'000;

}  // namespace

std::optional<int> boundedNumber(std::string_view text, int limit) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > limit)
        return std::nullopt;
    return value;
}

std::optional<std::string_view> CommandArguments::value(std::string_view option) const {
    const auto found = values.find(option);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

std::variant<CommandArguments, Misuse> parseCommandArguments(
    std::span<const std::string_view> arguments, std::span<const std::string_view> valueOptions,
    std::span<const std::string_view> flagOptions, bool optionsEndAtFirstOperand) {
    CommandArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!optionsEnded && argument == OPTIONS_END) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !isOption(argument)) {
            parsed.operands.emplace_back(argument);
            optionsEnded = optionsEnded || optionsEndAtFirstOperand;
            continue;
        }
        if (argument == HELP_OPTION) {
            parsed.help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        if (declares(flagOptions, name)) {
            if (equals != std::string_view::npos)
                return Misuse{"option " + std::string(name) + " takes no value"};
            if (!parsed.flags.emplace(name).second)
                return Misuse{"option " + std::string(name) + " is given twice"};
            continue;
        }
        if (!declares(valueOptions, name)) return Misuse{"unknown option " + std::string(name)};
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        if (value.empty()) return Misuse{"option " + std::string(name) + " needs a value"};
        if (!parsed.values.emplace(name, value).second)
            return Misuse{"option " + std::string(name) + " is given twice"};
    }
    return parsed;
}

std::optional<int> parseMove(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return boundedNumber(text, LAST_SQUARE);
    const auto column = boundedNumber(text.substr(0, comma), LAST_COORDINATE);
    const auto row = boundedNumber(text.substr(comma + 1), LAST_COORDINATE);
    if (!column || !row) return std::nullopt;
    return squareAt(*column, *row);
}

std::optional<std::vector<int>> parsePath(std::string_view text) {
    std::vector<int> indices;
    if (text == "root") return indices;
    while (true) {
        const std::size_t dot = text.find('.');
        const auto index = boundedNumber(text.substr(0, dot), LARGEST_CHILD_INDEX);
        if (!index) return std::nullopt;
        indices.push_back(*index);
        if (dot == std::string_view::npos) return indices;
        text.remove_prefix(dot + 1);
    }
}

std::filesystem::path folderOption(const CommandArguments& arguments) {
    const auto dir = arguments.value(DIR_OPTION);
    return dir ? std::filesystem::path(*dir) : std::filesystem::path();
}

}  // namespace vorek::cli
