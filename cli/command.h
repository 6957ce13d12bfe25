// What a command of vorek-cli offers the dispatcher, and what it is given.
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vorek::cli {

// A misuse of the command line, told to the user in one line before the usage.
struct Misuse {
    std::string message;
};

// A command called rightly that could not do its work (a file that does not
// hold what it should, a program that gave no answer): one line on stderr
// after whatever output the command wrote, and exit status 1.
struct Failure {
    std::string message;
};

using CommandError = std::variant<Misuse, Failure>;

// The arguments of one command with its options taken apart.
struct CommandArguments {
    bool help = false;                                       // --help was given
    std::map<std::string, std::string, std::less<>> values;  // option name -> value
    std::set<std::string, std::less<>> flags;                // options given without a value
    std::vector<std::string> operands;                       // the rest, in order

    // The value of an option, if it was given.
    std::optional<std::string_view> value(std::string_view option) const;
    // Whether a flag option was given.
    bool flag(std::string_view option) const { return flags.contains(option); }
};

struct Command {
    std::string_view name;
    std::string_view summary;                        // one line in the tool's usage
    std::string_view usage;                          // the command's own usage block
    std::span<const std::string_view> valueOptions;  // options that take a value, e.g. "--dir"
    std::span<const std::string_view> flagOptions = {};  // options that take none, e.g. "--json"
    // The operands are a program's command line: options after the first
    // operand are the program's own.
    bool optionsEndAtFirstOperand = false;
    // The output goes out as the command writes it, not once it has ended:
    // for a command that reports as it goes. It must find every misuse
    // before it writes anything.
    bool streamsOutput = false;

    // Writes the command's output to out, and adds a line to notes for anything
    // the user should know that does not stop the command (stderr, after the
    // output). After a misuse both are discarded; after a failure both are kept.
    std::optional<CommandError> (*run)(const CommandArguments& arguments, std::ostream& out,
                                 std::vector<std::string>& notes);
};

// The commands built into the tool, each defined in its own command_NAME.cpp.
extern const Command TABLES_COMMAND;
extern const Command SHOW_COMMAND;
extern const Command TREE_COMMAND;

}  // namespace vorek::cli
