// Running the tool: choosing the command, help and misuse, and the exit code.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/command.h"

namespace vorek::cli {

inline constexpr int EXIT_FAILED = 1;         // the command failed, or its output could not be written
inline constexpr int EXIT_MISUSE = 2;         // bad command line; nothing was written to out

// Runs the tool on its arguments (program name left out) with the given
// commands; a first argument "--version" prints the tool's name and version.
// The command's output reaches out only when the command succeeds or fails,
// not after a misuse, which writes one line "vorek-cli: ..." and then the
// usage to err; a failure writes its line "vorek-cli: ..." to err after the
// output. Returns the exit code: 0, EXIT_MISUSE or EXIT_FAILED.
int runTool(std::span<const Command* const> commands, std::span<const std::string_view> arguments,
            std::ostream& out, std::ostream& err);

// How to call the tool, with one line per command.
std::string toolUsage(std::span<const Command* const> commands);

}  // namespace vorek::cli
