// vorek-cli solve: threat-space search on the position of the node a PATH
// names, reached by the window's expansion alone, with its result printed;
// or, with --model, the tree solver by the window's rules from that node.
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
#include "search/solver.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli solve [--dir DIR | --game FILE.psq[:K]] [--nodes N] [--seconds S]\n"
    "                       [--fours-only] [--depth N] [--threat-depth N] [--model]\n"
    "                       [--json] [PATH]\n"
    "\n"
    "Builds the root over the position in DIR (default: the working directory), or\n"
    "after K moves of a game record, as the window does at start-up, expands each\n"
    "node on the way from the root to the node PATH names (default: root) as the\n"
    "window expands it, and nothing else, then solves that node's position by\n"
    "threat-space search until it is proved or disproved or the budget is spent.\n"
    "The verdict is exact: proved only when player 1 has a forced win by threats\n"
    "(fours, and moves that threaten a win by fours, which the other side must\n"
    "answer, each answer met; five or more in a row wins), disproved only when\n"
    "every move of player 1 loses to such a win of player 0. The same position is then solved by the window's own\n"
    "rules for its tree, whose \"at once\" decisions are estimates, with the same\n"
    "budget. Ctrl-C stops the solve early; what was reached is printed as usual.\n"
    "Prints, one per line:\n"
    "  result proved|disproved|unknown  whether player 1 (to move at the root) wins\n"
    "  move SQ      the proving move at the node, -1 when there is none\n"
    "  pn P dn D    the node's proof and disproof numbers (-1 is infinity; see\n"
    "               the README for what they count when the result is unknown)\n"
    "  nodes N      the nodes the solver searched\n"
    "  seconds S    the time spent solving\n"
    "  rate R       nodes per second\n"
    "  line SQ ...  the main line from the node: the winner's moves down to his\n"
    "               five and the loser's toughest answers; when undecided, player\n"
    "               1's most promising moves\n"
    "  win fours|threats M  only when decided: whether the win found is by fours\n"
    "               alone, and the winner's moves along the line, the five included\n"
    "  model R      only when the window's rules decide otherwise: their result\n"
    "  stopped WHY  only when the result is unknown: the budget that ended the\n"
    "               solve (nodes, seconds, memory), interrupted (Ctrl-C), or\n"
    "               exhausted: the searches ended, and neither side has a win by\n"
    "               threats that the other cannot stop\n"
    "While it runs, a progress line on stderr shows the nodes, the rate, the\n"
    "node's numbers and the time, when stderr is a terminal.\n"
    "\n"
    "  --dir DIR    the folder that holds the position files; they are only read\n"
    "  --game FILE.psq[:K]\n"
    "               the position after K moves (default: all) of a game record;\n"
    "               the letter to move is player 1\n"
    "  --nodes N    stop once N nodes have been searched (default 1000000)\n"
    "  --seconds S  stop after S seconds, such as 10 or 2.5 (default 10)\n"
    "  --fours-only wins by fours alone (VCF), for both players\n"
    "  --depth N    wins in which the winner makes five with his N-th move at the\n"
    "               latest, N from 1 to 200 (default: any length)\n"
    "  --threat-depth N\n"
    "               a threat that is no four threatens a win by fours in which\n"
    "               the winner makes five with his N-th move at the latest, were\n"
    "               the other side to pass: 2 for threes and the moves that leave\n"
    "               two fours meeting on a square alone, N from 2 to 20 (default 6)\n"
    "  --model      solve by the window's rules alone, in its tree from the node,\n"
    "               and print their verdict (no model line)\n"
    "  --json       print the same as one JSON object on one line\n"
    "  PATH         root, or child indices from the root separated by dots\n"
    "               (0.3 is child 3 of child 0 of the root)\n";

constexpr std::string_view DEPTH_OPTION = "--depth";
constexpr std::string_view THREAT_DEPTH_OPTION = "--threat-depth";
constexpr std::string_view FOURS_ONLY_OPTION = "--fours-only";
constexpr std::string_view MODEL_OPTION = "--model";
constexpr std::array<std::string_view, 6> OPTIONS{DIR_OPTION, GAME_OPTION, NODES_OPTION, SECONDS_OPTION,
                                                  DEPTH_OPTION, THREAT_DEPTH_OPTION};
constexpr std::array<std::string_view, 3> FLAGS{JSON_OPTION, MODEL_OPTION, FOURS_ONLY_OPTION};
constexpr int LONGEST_DEPTH = 200;
constexpr int SHORTEST_THREAT_DEPTH = 2;
constexpr int LONGEST_THREAT_DEPTH = 20;

constexpr SolveBudget DEFAULT_BUDGET{.maxNodes = 1'000'000, .maxSeconds = 10};

std::string threeDecimals(double value) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(3) << value;
    return text.str();
}

long long wholeRate(const SolveReport& report) { return std::llround(report.rate); }

// Why an undecided solve ended; empty when it is decided. A solve with nothing
// left to search is undecided when the model's tree is dead at both ends, and
// exhausted when the threat searches found no win by threats that holds.
std::string_view stopText(const SolveReport& report, bool byThreats) {
    if (report.result != SolveResult::Unknown) return {};
    switch (report.stopped) {
        case SolveStop::Nodes: return "nodes";
        case SolveStop::Seconds: return "seconds";
        case SolveStop::Memory: return "memory";
        case SolveStop::Interrupted: return "interrupted";
        case SolveStop::Settled: break;
    }
    return byThreats ? "exhausted" : "";
}

std::string progressText(const SolveProgress& progress) {
    const double rate = progress.seconds > 0 ? static_cast<double>(progress.nodes) / progress.seconds : 0;
    std::ostringstream text;
    text << "solving: " << progress.nodes << " nodes, " << std::llround(rate) << " nodes/s, pn " << progress.pn
         << " dn " << progress.dn << ", " << threeDecimals(progress.seconds) << " s";
    return text.str();
}

// Runs the solve on a thread of its own while this one shows how far it has
// got, when stderr is a terminal.
SolveReport solveShowingProgress(SolveJob& job) {
    return runShowingProgress([&job] { return job.run(); }, [&job] { return progressText(job.progress()); });
}

// The exact verdict, and the model's where it differs.
struct Verdicts {
    SolveReport report;
    bool byThreats = true;
    std::optional<SolveResult> model;
};

// "fours" or "threats", for a decided solve by threats; empty otherwise.
std::string_view winText(const Verdicts& verdicts) {
    if (!verdicts.byThreats || verdicts.report.result == SolveResult::Unknown) return {};
    return verdicts.report.foursOnly ? "fours" : "threats";
}

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
    if (const std::string_view win = winText(verdicts); !win.empty())
        out << "win " << win << ' ' << report.winnerMoves << '\n';
    if (verdicts.model) out << "model " << resultText(*verdicts.model) << '\n';
    if (const std::string_view stop = stopText(report, verdicts.byThreats); !stop.empty())
        out << "stopped " << stop << '\n';
}

void printJson(std::ostream& out, const Verdicts& verdicts) {
    const SolveReport& report = verdicts.report;
    out << R"({"result":")" << resultText(report.result) << R"(","move":)" << report.move
        << R"(,"pn":)" << report.pn << R"(,"dn":)" << report.dn << R"(,"nodes":)" << report.nodes
        << R"(,"seconds":)" << threeDecimals(report.seconds) << R"(,"rate":)" << wholeRate(report)
        << R"(,"line":[)";
    for (std::size_t i = 0; i < report.line.size(); ++i) out << (i ? "," : "") << report.line[i];
    out << ']';
    if (const std::string_view win = winText(verdicts); !win.empty())
        out << R"(,"win":")" << win << R"(","winner_moves":)" << report.winnerMoves;
    if (verdicts.model) out << R"(,"model":")" << resultText(*verdicts.model) << '"';
    if (const std::string_view stop = stopText(report, verdicts.byThreats); !stop.empty())
        out << R"(,"stopped":")" << stop << '"';
    out << "}\n";
}

// The kind of win and the depth from --fours-only and --depth.
std::variant<ThreatSolveOptions, Misuse> threatOptions(const CommandArguments& arguments) {
    ThreatSolveOptions options;
    if (arguments.flag(FOURS_ONLY_OPTION)) options.kind = ThreatKind::Fours;
    if (const auto text = arguments.value(DEPTH_OPTION)) {
        const auto depth = boundedNumber(*text, LONGEST_DEPTH);
        if (!depth || *depth == 0)
            return Misuse{"bad --depth '" + std::string(*text) + "': give a whole number from 1 to " +
                          std::to_string(LONGEST_DEPTH)};
        options.depth = *depth;
    }
    if (const auto text = arguments.value(THREAT_DEPTH_OPTION)) {
        const auto depth = boundedNumber(*text, LONGEST_THREAT_DEPTH);
        if (!depth || *depth < SHORTEST_THREAT_DEPTH)
            return Misuse{"bad --threat-depth '" + std::string(*text) + "': give a whole number from " +
                          std::to_string(SHORTEST_THREAT_DEPTH) + " to " + std::to_string(LONGEST_THREAT_DEPTH)};
        options.threatDepth = *depth;
    }
    if (arguments.flag(MODEL_OPTION) && (arguments.flag(FOURS_ONLY_OPTION) || arguments.value(DEPTH_OPTION) ||
                                         arguments.value(THREAT_DEPTH_OPTION)))
        return Misuse{"--model takes no --fours-only, --depth or --threat-depth: the window's rules have none"};
    return options;
}

std::optional<CommandError> runSolve(const CommandArguments& arguments, std::ostream& out,
                               std::vector<std::string>& notes) {
    auto budget = budgetOption(arguments, DEFAULT_BUDGET);
    if (auto* bad = std::get_if<Misuse>(&budget)) return std::move(*bad);
    auto options = threatOptions(arguments);
    if (auto* bad = std::get_if<Misuse>(&options)) return std::move(*bad);
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
    verdicts.byThreats = !arguments.flag(MODEL_OPTION);
    if (verdicts.byThreats) {
        ThreatSolver exact(threatBoardOf(node.ensureBoard()), limits, std::get<ThreatSolveOptions>(options));
        verdicts.report = solveShowingProgress(exact);
    }
    if (!verdicts.byThreats || !interrupt.flag()->load()) {
        // The window's rules, in its tree from the node: the verdict, or the
        // model's beside the exact one where they differ.
        Solver model(node, limits, handTreeRules());
        const SolveReport report = solveShowingProgress(model);
        if (!verdicts.byThreats) {
            verdicts.report = report;
        } else if (report.result != verdicts.report.result) {
            verdicts.model = report.result;
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
    .summary = "solve from a node by threat-space search and print the result",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .flagOptions = FLAGS,
    .run = runSolve,
};

}  // namespace vorek::cli
