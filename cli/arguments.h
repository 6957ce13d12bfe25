// Taking a command line apart: options, MOVE and PATH operands.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/command.h"

namespace vorek::cli {

inline constexpr std::string_view HELP_OPTION = "--help";
inline constexpr std::string_view DIR_OPTION = "--dir";
inline constexpr std::string_view GAME_OPTION = "--game";

// Splits a command's arguments into options and operands. An argument that
// starts with "--", or with "-" and no digit after it, is an option: "--help",
// one of flagOptions written alone, or one of valueOptions written "--name
// VALUE" or "--name=VALUE". Anything else is an operand, and so is every
// argument after "--" and, with optionsEndAtFirstOperand, every argument
// after the first operand. Unknown options, missing or empty values, a value
// given to a flag and an option given twice are misuses.
std::variant<CommandArguments, Misuse> parseCommandArguments(
    std::span<const std::string_view> arguments, std::span<const std::string_view> valueOptions,
    std::span<const std::string_view> flagOptions = {}, bool optionsEndAtFirstOperand = false);

// A decimal number written with digits alone, not above limit; nullopt for
// anything else.
std::optional<int> boundedNumber(std::string_view text, int limit);

// A MOVE: a square index 0..399, or "x,y" with column x and row y, each 0..19.
// Digits only: no signs, blanks or other bases.
std::optional<int> parseMove(std::string_view text);

// A PATH: "root", or child indices from the root separated by dots ("0.3" is
// child 3 of child 0 of the root). The root gives an empty list.
std::optional<std::vector<int>> parsePath(std::string_view text);

// The folder named by --dir; empty (the working directory) when not given.
std::filesystem::path folderOption(const CommandArguments& arguments);

}  // namespace vorek::cli
