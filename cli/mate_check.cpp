#include "cli/mate_check.h"

#include <cmath>
#include <iomanip>
#include <sstream>

#include "board/square_text.h"
#include "cli/progress_line.h"
#include "cli/solve_options.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::cli {

namespace {

std::string progressText(const Evaluation& claim, const SolveProgress& progress) {
    const double rate = progress.seconds > 0 ? static_cast<double>(progress.nodes) / progress.seconds : 0;
    std::ostringstream text;
    text << "checking the claim " << evaluationText(claim) << " by threats: " << progress.nodes << " nodes, "
         << std::llround(rate) << " nodes/s, " << std::fixed << std::setprecision(1) << progress.seconds << " s";
    return text.str();
}

SolveReport solveShowingProgress(const V2Board& position, const Evaluation& claim, const SolveBudget& budget) {
    ThreatSolver solver(threatBoardOf(position), budget);
    return runShowingProgress([&solver] { return solver.run(); },
                              [&solver, &claim] { return progressText(claim, solver.progress()); });
}

std::string lineText(const std::vector<int>& line) {
    std::string text;
    for (const int square : line) {
        if (!text.empty()) text += ' ';
        text += squareText(columnOf(square), rowOf(square));
    }
    return text;
}

}  // namespace

MateCheck checkMateClaim(const V2Board& position, const Evaluation& claim, const SolveBudget& budget) {
    const SolveReport report = solveShowingProgress(position, claim, budget);
    // The report is player 1's, the side to move: proved when he wins.
    const bool forMover = claim.value >= 0;
    const SolveResult holds = forMover ? SolveResult::Proved : SolveResult::Disproved;
    MateCheck check{.claim = claim, .proved = report.result == holds, .plies = 0, .reason = {}, .line = report.line};
    if (check.proved) {
        // The winner's moves; against the mover, his own move comes first.
        check.plies = 2 * report.winnerMoves - (forMover ? 1 : 0);
    } else if (report.result != SolveResult::Unknown) {
        check.reason = "refuted";
    } else {
        check.reason = stopWord(report.stopped);
        check.line.clear();
    }
    return check;
}

std::string mateCheckText(const MateCheck& check) {
    if (check.proved)
        return "proved by threats in " + std::to_string(check.plies) + " (line " + lineText(check.line) + ")";
    if (check.reason == "exhausted") return "not proved (exhausted)";
    if (check.reason != "refuted") return "not proved (stopped: " + check.reason + ")";
    const std::string what = check.claim.value >= 0 ? "every move of the side to move loses to a win by threats"
                                                    : "the side to move wins by threats";
    return "not proved (refuted: " + what + ", line " + lineText(check.line) + ")";
}

}  // namespace vorek::cli
