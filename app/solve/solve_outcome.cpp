#include "app/solve/solve_outcome.h"

#include "board/square_flags.h"

namespace vorek {

namespace {

// " by fours in 7 moves", or nothing where the report does not say (a solve
// by the tree's rules, a five already on the board).
QString winText(const SolveReport& report) {
    if (report.winnerMoves <= 0) return {};
    const QString kind = report.foursOnly ? QStringLiteral("fours") : QStringLiteral("threats");
    const QString moves = report.winnerMoves == 1 ? QStringLiteral("move") : QStringLiteral("moves");
    return QStringLiteral(" by %1 in %2 %3").arg(kind).arg(report.winnerMoves).arg(moves);
}

}  // namespace

QString solveOutcomeText(const SolveReport& report) {
    const QString win = winText(report);
    switch (report.result) {
        case SolveResult::Proved:
            if (report.move >= 0)
                return QStringLiteral("Proved: %1,%2 wins%3.").arg(columnOf(report.move)).arg(rowOf(report.move)).arg(win);
            return QStringLiteral("Proved: player 1 wins%1 whatever player 0 plays.").arg(win);
        case SolveResult::Disproved: return QStringLiteral("Disproved: player 0 has a forced win%1.").arg(win);
        case SolveResult::Unknown: break;
    }
    switch (report.stopped) {
        case SolveStop::Nodes: return QStringLiteral("Not decided: the node budget was spent.");
        case SolveStop::Seconds: return QStringLiteral("Not decided: the time budget was spent.");
        case SolveStop::Memory: return QStringLiteral("Not decided: the memory budget was reached.");
        case SolveStop::Interrupted: return QStringLiteral("Not decided: cancelled.");
        case SolveStop::Settled: break;
    }
    return QStringLiteral("Not decided: neither side can force a win by threats from here.");
}

}  // namespace vorek
