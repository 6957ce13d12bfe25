// vorek-cli tables: the four pattern tables, one line per pattern code.
#include <array>

#include "cli/command.h"
#include "threats/pattern_tables.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli tables\n"
    "\n"
    "Prints one line per pattern code 0..1023, in order:\n"
    "  CODE TN CN WEIGHT D0 D1 D2 D3 D4 D5 D6 D7 D8\n"
    "tn and cn are the further own stones needed for a won line and for five,\n"
    "D0..D8 the defence entries along the segment.\n";

std::optional<CommandError> runTables(const CommandArguments& arguments, std::ostream& out,
                                std::vector<std::string>&) {
    if (!arguments.operands.empty())
        return Misuse{"takes no arguments, got '" + arguments.operands.front() + "'"};
    for (int code = 0; code < PATTERN_CODES; ++code) {
        out << code << ' ' << tnTable[code] << ' ' << cnTable[code] << ' ' << weightTable[code];
        for (int entry : defenceTable[code]) out << ' ' << entry;
        out << '\n';
    }
    return std::nullopt;
}

}  // namespace

extern const Command TABLES_COMMAND{
    .name = "tables",
    .summary = "print the pattern tables, one line per pattern code",
    .usage = USAGE,
    .valueOptions = {},
    .run = runTables,
};

}  // namespace vorek::cli
