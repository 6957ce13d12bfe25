#include "cli/solve_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "files/ascii_text.h"

namespace vorek::cli {

namespace {

// A whole number above 0 written with digits alone.
std::optional<std::uint64_t> positiveCount(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), isAsciiDigit)) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
    return value;
}

// A number above 0 written as digits with at most one decimal point: no sign,
// exponent, blanks or words such as "inf".
std::optional<double> positiveDecimal(std::string_view text) {
    const auto digits = std::count_if(text.begin(), text.end(), isAsciiDigit);
    const auto points = std::count(text.begin(), text.end(), '.');
    if (digits == 0 || points > 1 || digits + points != static_cast<std::ptrdiff_t>(text.size()))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !(value > 0) ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::variant<SolveBudget, Misuse> budgetOption(const CommandArguments& arguments,
                                               const SolveBudget& defaults) {
    SolveBudget budget = defaults;
    if (const auto text = arguments.value(NODES_OPTION)) {
        const auto nodes = positiveCount(*text);
        if (!nodes) return Misuse{"bad --nodes '" + std::string(*text) + "': give a whole number above 0"};
        budget.maxNodes = *nodes;
    }
    if (const auto text = arguments.value(SECONDS_OPTION)) {
        const auto seconds = positiveDecimal(*text);
        if (!seconds)
            return Misuse{"bad --seconds '" + std::string(*text) +
                          "': give a number of seconds above 0, such as 10 or 2.5"};
        budget.maxSeconds = *seconds;
    }
    return budget;
}

std::string_view stopWord(SolveStop stopped) {
    switch (stopped) {
        case SolveStop::Nodes: return "nodes";
        case SolveStop::Seconds: return "seconds";
        case SolveStop::Memory: return "memory";
        case SolveStop::Interrupted: return "interrupted";
        case SolveStop::Settled: break;
    }
    return "exhausted";
}

}  // namespace vorek::cli
