#include "app/solve/solve_outcome.h"

#include "board/square_flags.h"
#include "files/position_source.h"

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

QString solveOutcomeText(const SolveReport& report, char player1Letter) {
    const QString win = winText(report);
    const QLatin1Char player1(player1Letter);
    const QLatin1Char player0(otherLetter(player1Letter));
    switch (report.result) {
        case SolveResult::Proved:
            if (report.move >= 0)
                return QStringLiteral("Proved: %1 wins with %2,%3%4.")
                    .arg(player1)
                    .arg(columnOf(report.move))
                    .arg(rowOf(report.move))
                    .arg(win);
            return QStringLiteral("Proved: %1 wins%2 whatever %3 plays.").arg(player1).arg(win).arg(player0);
        case SolveResult::Disproved: return QStringLiteral("Disproved: %1 has a forced win%2.").arg(player0).arg(win);
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

QString solveVerdictText(const SolveReport& report, char player1Letter) {
    switch (report.result) {
        case SolveResult::Proved: return QStringLiteral("%1 wins").arg(QLatin1Char(player1Letter));
        case SolveResult::Disproved: return QStringLiteral("%1 wins").arg(QLatin1Char(otherLetter(player1Letter)));
        case SolveResult::Unknown: break;
    }
    return report.stopped == SolveStop::Settled ? QStringLiteral("no win by threats") : QString();
}

}  // namespace vorek
