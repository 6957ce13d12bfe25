// vorek-cli solve: the solver run on the tree from the node a PATH names,
// reached by the window's expansion alone, with its result printed.
#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/played_position.h"
#include "cli/progress_line.h"
#include "cli/tree_path.h"
#include "search/numbers.h"
#include "search/root_build.h"
#include "search/solver.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli solve [--dir DIR] [--nodes N] [--seconds S] [--json] [PATH]\n"
    "\n"
    "Builds the root over the position in DIR (default: the working directory) as\n"
    "the window does at start-up, expands each node on the way from the root to\n"
    "the node PATH names (default: root) as the window expands it, and nothing\n"
    "else, then solves from that node: expands its most-proving leaf again and\n"
    "again until the node is proved or disproved or the budget is spent. Ctrl-C\n"
    "stops the solve early; what was reached is printed as usual. Prints, one per\n"
    "line:\n"
    "  result proved|disproved|unknown  whether player 1 (to move in the files) wins\n"
    "  move SQ      the proving move at the node, -1 when there is none\n"
    "  pn P dn D    the node's proof and disproof numbers (-1 is infinity)\n"
    "  nodes N      the nodes the solver made\n"
    "  seconds S    the time spent solving\n"
    "  rate R       nodes per second\n"
    "  line SQ ...  the main line from the node: player 1's proving (or most\n"
    "               promising) moves, player 0's toughest defences\n"
    "  stopped WHY  only when the result is unknown: the budget that ended the\n"
    "               solve, nodes, seconds or memory, or interrupted (Ctrl-C)\n"
    "While it runs, a progress line on stderr shows the nodes, the rate, the\n"
    "node's numbers and the time, when stderr is a terminal.\n"
    "\n"
    "  --dir DIR    the folder that holds the position files; they are only read\n"
    "  --nodes N    stop once N nodes have been made (default 1000000)\n"
    "  --seconds S  stop after S seconds, such as 10 or 2.5 (default 10)\n"
    "  --json       print the same as one JSON object on one line\n"
    "  PATH         root, or child indices from the root separated by dots\n"
    "               (0.3 is child 3 of child 0 of the root)\n";

constexpr std::string_view NODES_OPTION = "--nodes";
constexpr std::string_view SECONDS_OPTION = "--seconds";
constexpr std::string_view JSON_OPTION = "--json";

constexpr std::array<std::string_view, 3> OPTIONS{DIR_OPTION, NODES_OPTION, SECONDS_OPTION};
constexpr std::array<std::string_view, 1> FLAGS{JSON_OPTION};

constexpr std::uint64_t DEFAULT_NODES = 1'000'000;
constexpr double DEFAULT_SECONDS = 10;


bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A whole number above 0 written with digits alone.
std::optional<std::uint64_t> positiveCount(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
    return value;
}

// A number above 0 written as digits with at most one decimal point: no sign,
// exponent, blanks or words such as "inf".
std::optional<double> positiveDecimal(std::string_view text) {
    const auto digits = std::count_if(text.begin(), text.end(), isDigit);
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

// The budget from --nodes and --seconds, or what is wrong with them.
std::variant<SolveBudget, Misuse> budgetOption(const CommandArguments& arguments) {
    SolveBudget budget;
    budget.maxNodes = DEFAULT_NODES;
    budget.maxSeconds = DEFAULT_SECONDS;
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

// Ctrl-C sets this; the solver looks at it between expansions. A signal
// handler can reach nothing but static state, and a lock-free atomic is safe
// to write from one.
constinit std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void noteInterrupt(int) { interrupted.store(true, std::memory_order_relaxed); }

// While it lives, the first Ctrl-C asks the solve to stop; a second one ends
// the tool as usual.
class InterruptStopsSolve {
public:
    InterruptStopsSolve() {
        interrupted.store(false);
        struct sigaction action {};
        action.sa_handler = noteInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(SIGINT, &action, &previous_);
    }
    ~InterruptStopsSolve() { ::sigaction(SIGINT, &previous_, nullptr); }
    InterruptStopsSolve(const InterruptStopsSolve&) = delete;
    InterruptStopsSolve& operator=(const InterruptStopsSolve&) = delete;

    const std::atomic<bool>* flag() const { return &interrupted; }

private:
    struct sigaction previous_ {};
};

std::string_view resultText(SolveResult result) {
    switch (result) {
        case SolveResult::Proved: return "proved";
        case SolveResult::Disproved: return "disproved";
        case SolveResult::Unknown: break;
    }
    return "unknown";
}

std::string threeDecimals(double value) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(3) << value;
    return text.str();
}

long long wholeRate(const SolveReport& report) { return std::llround(report.rate); }

// Why an undecided solve ended; empty when it is decided or had nothing left
// to search.
std::string_view stopText(const SolveReport& report) {
    if (report.result != SolveResult::Unknown) return {};
    switch (report.stopped) {
        case SolveStop::Nodes: return "nodes";
        case SolveStop::Seconds: return "seconds";
        case SolveStop::Memory: return "memory";
        case SolveStop::Interrupted: return "interrupted";
        case SolveStop::Settled: break;
    }
    return {};
}

// Runs the solve in slices, showing how far it has got on stderr when that
// is a terminal.
SolveReport solveShowingProgress(StatNode& start, const SolveBudget& budget) {
    Solver solver(start, budget);
    ProgressLine progress;
    while (!solver.runSlice(progress.shown() ? ProgressLine::EVERY : std::chrono::hours(1))) {
        std::ostringstream text;
        text << "solving: " << solver.nodes() << " nodes, " << std::llround(solver.rate()) << " nodes/s, pn "
             << start.pn << " dn " << start.dn << ", " << threeDecimals(solver.seconds()) << " s";
        progress.show(text.str());
    }
    return solver.report();
}

void printReport(std::ostream& out, const SolveReport& report) {
    out << "result " << resultText(report.result) << '\n'
        << "move " << report.move << '\n'
        << "pn " << report.pn << " dn " << report.dn << '\n'
        << "nodes " << report.nodes << '\n'
        << "seconds " << threeDecimals(report.seconds) << '\n'
        << "rate " << wholeRate(report) << '\n'
        << "line";
    for (int square : report.line) out << ' ' << square;
    out << '\n';
    if (const std::string_view stop = stopText(report); !stop.empty()) out << "stopped " << stop << '\n';
}

void printJson(std::ostream& out, const SolveReport& report) {
    out << R"({"result":")" << resultText(report.result) << R"(","move":)" << report.move
        << R"(,"pn":)" << report.pn << R"(,"dn":)" << report.dn << R"(,"nodes":)" << report.nodes
        << R"(,"seconds":)" << threeDecimals(report.seconds) << R"(,"rate":)" << wholeRate(report)
        << R"(,"line":[)";
    for (std::size_t i = 0; i < report.line.size(); ++i) out << (i ? "," : "") << report.line[i];
    out << ']';
    if (const std::string_view stop = stopText(report); !stop.empty()) out << R"(,"stopped":")" << stop << '"';
    out << "}\n";
}

std::optional<CommandError> runSolve(const CommandArguments& arguments, std::ostream& out,
                               std::vector<std::string>& notes) {
    auto budget = budgetOption(arguments);
    if (auto* bad = std::get_if<Misuse>(&budget)) return std::move(*bad);
    if (arguments.operands.size() > 1)
        return Misuse{"takes one PATH at most, got '" + arguments.operands[1] + "' as well"};
    const std::string path = arguments.operands.empty() ? std::string(ROOT_PATH)
                                                        : arguments.operands.front();

    // Set up before the tree is built, so that it is also taken down after the
    // tree: a Ctrl-C while the tree is deleted still leaves the output printed.
    const InterruptStopsSolve interrupt;
    const std::filesystem::path dir = folderOption(arguments);
    const RootBuild build = buildRootNode(dir);
    if (!build.read) notes.push_back(unreadPositionNote(dir));
    auto found = nodeAtPath(*build.root, path, PathWalk::Grow);
    if (auto* bad = std::get_if<Misuse>(&found)) return std::move(*bad);

    std::get<SolveBudget>(budget).cancel = interrupt.flag();
    const SolveReport report = solveShowingProgress(*std::get<StatNode*>(found), std::get<SolveBudget>(budget));
    if (interrupt.flag()->load())
        notes.push_back("interrupted; the numbers are those the solve had reached");

    if (arguments.flag(JSON_OPTION)) {
        printJson(out, report);
    } else {
        printReport(out, report);
    }
    return std::nullopt;
}

}  // namespace

extern const Command SOLVE_COMMAND{
    .name = "solve",
    .summary = "solve from a node with proof-number search and print the result",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .flagOptions = FLAGS,
    .run = runSolve,
};

}  // namespace vorek::cli
