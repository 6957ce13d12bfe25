// The options that name an engine kept running, for the commands that ask
// one for its view of positions (analyse, game --engine).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/command.h"

namespace vorek::cli {

inline constexpr std::string_view ENGINE_OPTION = "--engine";
inline constexpr std::string_view ENGINE_MS_OPTION = "--ms";
inline constexpr int LARGEST_ENGINE_MILLISECONDS = 3'600'000;

struct EngineChoice {
    std::string commandLine;  // --engine as given, for messages
    std::vector<std::string> words;
    int milliseconds = 0;  // --ms: each think's time
};

// The engine of --engine, a command line split as the window splits one
// (the program runs in the working directory), and the time of --ms
// (1..3600000, default `defaultMilliseconds`); nullopt without --engine.
std::variant<std::optional<EngineChoice>, Misuse> engineOption(const CommandArguments& arguments,
                                                               int defaultMilliseconds);

}  // namespace vorek::cli
