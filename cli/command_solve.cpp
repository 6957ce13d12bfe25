// vorek-cli solve: the solver run on the tree from the node a PATH names,
// reached by the window's expansion alone, with its result printed.
#include <array>
#include <cmath>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/interrupt.h"
#include "cli/played_position.h"
#include "cli/progress_line.h"
#include "cli/solve_options.h"
#include "cli/tree_path.h"
#include "search/numbers.h"
#include "search/root_build.h"
#include "search/exact_rules.h"
#include "search/solver.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli solve [--dir DIR | --game FILE.psq[:K]] [--nodes N] [--seconds S]\n"
    "                       [--model] [--json] [PATH]\n"
    "\n"
    "Builds the root over the position in DIR (default: the working directory), or\n"
    "after K moves of a game record, as the window does at start-up, expands each\n"
    "node on the way from the root to the node PATH names (default: root) as the\n"
    "window expands it, and nothing else, then solves that node's position with\n"
    "proof-number search until it is proved or disproved or the budget is spent.\n"
    "The verdict is exact: proved only when player 1 has a forced win under the\n"
    "rules of the game (five or more in a row wins), disproved only when player 0\n"
    "has one. The same position is then solved by the window's own rules for its\n"
    "tree, whose \"at once\" decisions are estimates, with the same budget. Ctrl-C\n"
    "stops the solve early; what was reached is printed as usual. Prints, one per\n"
    "line:\n"
    "  result proved|disproved|unknown  whether player 1 (to move at the root) wins\n"
    "  move SQ      the proving move at the node, -1 when there is none\n"
    "  pn P dn D    the node's proof and disproof numbers (-1 is infinity)\n"
    "  nodes N      the nodes the solver made\n"
    "  seconds S    the time spent solving\n"
    "  rate R       nodes per second\n"
    "  line SQ ...  the main line from the node: player 1's proving (or most\n"
    "               promising) moves, player 0's toughest defences\n"
    "  model R      only when the window's rules decide otherwise: their result\n"
    "  stopped WHY  only when the result is unknown: the budget that ended the\n"
    "               solve, nodes, seconds or memory, or interrupted (Ctrl-C)\n"
    "While it runs, a progress line on stderr shows the nodes, the rate, the\n"
    "node's numbers and the time, when stderr is a terminal.\n"
    "\n"
    "  --dir DIR    the folder that holds the position files; they are only read\n"
    "  --game FILE.psq[:K]\n"
    "               the position after K moves (default: all) of a game record;\n"
    "               the letter to move is player 1\n"
    "  --nodes N    stop once N nodes have been made (default 1000000)\n"
    "  --seconds S  stop after S seconds, such as 10 or 2.5 (default 10)\n"
    "  --model      solve by the window's rules alone, in its tree from the node,\n"
    "               and print their verdict (no model line)\n"
    "  --json       print the same as one JSON object on one line\n"
    "  PATH         root, or child indices from the root separated by dots\n"
    "               (0.3 is child 3 of child 0 of the root)\n";

constexpr std::array<std::string_view, 4> OPTIONS{DIR_OPTION, GAME_OPTION, NODES_OPTION,
                                                  SECONDS_OPTION};
constexpr std::string_view MODEL_OPTION = "--model";
constexpr std::array<std::string_view, 2> FLAGS{JSON_OPTION, MODEL_OPTION};

constexpr SolveBudget DEFAULT_BUDGET{.maxNodes = 1'000'000, .maxSeconds = 10};

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
SolveReport solveShowingProgress(StatNode& start, const SolveBudget& budget, const TreeRules& rules) {
    Solver solver(start, budget, rules);
    ProgressLine progress;
    while (!solver.runSlice(progress.shown() ? ProgressLine::EVERY : std::chrono::hours(1))) {
        std::ostringstream text;
        text << "solving: " << solver.nodes() << " nodes, " << std::llround(solver.rate()) << " nodes/s, pn "
             << start.pn << " dn " << start.dn << ", " << threeDecimals(solver.seconds()) << " s";
        progress.show(text.str());
    }
    return solver.report();
}

// The exact verdict, and the model's where it differs.
struct Verdicts {
    SolveReport report;
    std::optional<SolveResult> model;
};

void printReport(std::ostream& out, const Verdicts& verdicts) {
    const SolveReport& report = verdicts.report;
    out << "result " << resultText(report.result) << '\n'
        << "move " << report.move << '\n'
        << "pn " << report.pn << " dn " << report.dn << '\n'
        << "nodes " << report.nodes << '\n'
        << "seconds " << threeDecimals(report.seconds) << '\n'
        << "rate " << wholeRate(report) << '\n'
        << "line";
    for (int square : report.line) out << ' ' << square;
    out << '\n';
    if (verdicts.model) out << "model " << resultText(*verdicts.model) << '\n';
    if (const std::string_view stop = stopText(report); !stop.empty()) out << "stopped " << stop << '\n';
}

void printJson(std::ostream& out, const Verdicts& verdicts) {
    const SolveReport& report = verdicts.report;
    out << R"({"result":")" << resultText(report.result) << R"(","move":)" << report.move
        << R"(,"pn":)" << report.pn << R"(,"dn":)" << report.dn << R"(,"nodes":)" << report.nodes
        << R"(,"seconds":)" << threeDecimals(report.seconds) << R"(,"rate":)" << wholeRate(report)
        << R"(,"line":[)";
    for (std::size_t i = 0; i < report.line.size(); ++i) out << (i ? "," : "") << report.line[i];
    out << ']';
    if (verdicts.model) out << R"(,"model":")" << resultText(*verdicts.model) << '"';
    if (const std::string_view stop = stopText(report); !stop.empty()) out << R"(,"stopped":")" << stop << '"';
    out << "}\n";
}

std::optional<CommandError> runSolve(const CommandArguments& arguments, std::ostream& out,
                               std::vector<std::string>& notes) {
    auto budget = budgetOption(arguments, DEFAULT_BUDGET);
    if (auto* bad = std::get_if<Misuse>(&budget)) return std::move(*bad);
    if (arguments.operands.size() > 1)
        return Misuse{"takes one PATH at most, got '" + arguments.operands[1] + "' as well"};
    const std::string path = arguments.operands.empty() ? std::string(ROOT_PATH)
                                                        : arguments.operands.front();

    // Set up before the tree is built, so that it is also taken down after the
    // tree: a Ctrl-C while the tree is deleted still leaves the output printed.
    const InterruptStopsSolve interrupt;
    auto start = readStartPosition(arguments);
    if (auto* error = std::get_if<CommandError>(&start)) return std::move(*error);
    PositionSource& position = std::get<PositionSource>(start);
    if (const auto note = unreadNote(position)) notes.push_back(*note);
    const RootBuild build = buildRootNode(std::move(position.board));
    auto found = nodeAtPath(*build.root, path, PathWalk::Grow);
    if (auto* bad = std::get_if<Misuse>(&found)) return std::move(*bad);

    SolveBudget& limits = std::get<SolveBudget>(budget);
    limits.cancel = interrupt.flag();
    StatNode& node = *std::get<StatNode*>(found);
    Verdicts verdicts;
    if (arguments.flag(MODEL_OPTION)) {
        verdicts.report = solveShowingProgress(node, limits, handTreeRules());
    } else {
        const std::unique_ptr<StatNode> exact = exactRoot(node.ensureBoard());
        verdicts.report = solveShowingProgress(*exact, limits, exactTreeRules());
        if (!interrupt.flag()->load()) {
            const SolveResult model = solveShowingProgress(node, limits, handTreeRules()).result;
            if (model != verdicts.report.result) verdicts.model = model;
        }
    }
    if (interrupt.flag()->load())
        notes.push_back("interrupted; the numbers are those the solve had reached");

    if (arguments.flag(JSON_OPTION)) {
        printJson(out, verdicts);
    } else {
        printReport(out, verdicts);
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
