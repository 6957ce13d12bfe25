// What the commands that run the solver share: the budget options.
#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

#include "cli/command.h"
#include "search/solver.h"

namespace vorek::cli {

inline constexpr std::string_view NODES_OPTION = "--nodes";
inline constexpr std::string_view SECONDS_OPTION = "--seconds";
inline constexpr std::string_view JSON_OPTION = "--json";

// The budget from --nodes (a whole number above 0) and --seconds (a number
// above 0 written with digits and at most one decimal point), each taken
// from defaults when not given, or the misuse naming what is wrong.
std::variant<SolveBudget, Misuse> budgetOption(const CommandArguments& arguments,
                                               const SolveBudget& defaults);

// Why an undecided solve by threats ended, as the output says it: the budget
// that ran out ("nodes", "seconds", "memory"), "interrupted", or "exhausted"
// when the searches ended.
std::string_view stopWord(SolveStop stopped);

}  // namespace vorek::cli
