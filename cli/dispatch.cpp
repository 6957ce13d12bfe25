#include "cli/dispatch.h"

#include <algorithm>
#include <sstream>
#include <variant>

#include "cli/arguments.h"

namespace vorek::cli {

namespace {

constexpr std::string_view TOOL = "vorek-cli";

const Command* findCommand(std::span<const Command* const> commands, std::string_view name) {
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [name](const Command* c) { return c->name == name; });
    return found == commands.end() ? nullptr : *found;
}

int misuse(std::ostream& err, std::string_view message, std::string_view usage) {
    err << TOOL << ": " << message << '\n' << usage;
    return EXIT_MISUSE;
}

int finishOutput(std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) return 0;
    err << TOOL << ": cannot write the output\n";
    return EXIT_FAILED;
}

std::string commandMessage(const Command& command, std::string_view message) {
    return std::string(command.name) + ": " + std::string(message);
}

// The output is held back until the command has succeeded, so that a misuse
// found late (a MOVE on a stone, a PATH out of range) leaves stdout empty;
// but for a command that streams it.
int runCommand(const Command& command, std::span<const std::string_view> arguments,
               std::ostream& out, std::ostream& err) {
    auto parsed = parseCommandArguments(arguments, command.valueOptions, command.flagOptions,
                                        command.optionsEndAtFirstOperand);
    if (const auto* bad = std::get_if<Misuse>(&parsed))
        return misuse(err, commandMessage(command, bad->message), command.usage);
    const auto& commandArguments = std::get<CommandArguments>(parsed);
    if (commandArguments.help) {
        out << command.usage;
    } else {
        std::ostringstream buffer;
        std::vector<std::string> notes;
        const std::optional<CommandError> error =
            command.run(commandArguments, command.streamsOutput ? out : buffer, notes);
        if (const auto* bad = error ? std::get_if<Misuse>(&*error) : nullptr)
            return misuse(err, commandMessage(command, bad->message), command.usage);
        out << buffer.view();
        for (const std::string& note : notes)
            err << TOOL << ": " << commandMessage(command, note) << '\n';
        if (const auto* failed = error ? std::get_if<Failure>(&*error) : nullptr) {
            out.flush();
            err << TOOL << ": " << commandMessage(command, failed->message) << '\n';
            return EXIT_FAILED;
        }
    }
    return finishOutput(out, err);
}

}  // namespace

std::string toolUsage(std::span<const Command* const> commands) {
    std::size_t width = 0;
    for (const Command* command : commands) width = std::max(width, command->name.size());
    std::string usage =
        "usage: vorek-cli COMMAND [ARGUMENT ...]\n"
        "       vorek-cli [COMMAND] --help\n"
        "       vorek-cli --version\n"
        "\n"
        "commands:\n";
    for (const Command* command : commands) {
        usage += "  " + std::string(command->name);
        usage += std::string(width - command->name.size() + 2, ' ');
        usage += std::string(command->summary) + '\n';
    }
    return usage;
}

int runTool(std::span<const Command* const> commands, std::span<const std::string_view> arguments,
            std::ostream& out, std::ostream& err) {
    if (arguments.empty()) return misuse(err, "no command given", toolUsage(commands));
    const std::string_view first = arguments.front();
    if (first == HELP_OPTION) {
        out << toolUsage(commands);
        return finishOutput(out, err);
    }
    if (first == "--version") {
        out << TOOL << ' ' << VOREK_VERSION << '\n';
        return finishOutput(out, err);
    }
    const Command* command = findCommand(commands, first);
    if (command == nullptr) {
        const std::string what = first.starts_with('-') ? "unknown option " : "unknown command ";
        return misuse(err, what + std::string(first), toolUsage(commands));
    }
    return runCommand(*command, arguments.subspan(1), out, err);
}

}  // namespace vorek::cli
