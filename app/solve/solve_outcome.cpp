#include "app/solve/solve_outcome.h"

#include "board/square_flags.h"

namespace vorek {

QString solveOutcomeText(const SolveReport& report) {
    switch (report.result) {
        case SolveResult::Proved:
            if (report.move >= 0)
                return QStringLiteral("Proved: %1,%2 wins.").arg(columnOf(report.move)).arg(rowOf(report.move));
            return QStringLiteral("Proved: player 1 wins whatever player 0 plays.");
        case SolveResult::Disproved: return QStringLiteral("Disproved: player 0 has a forced win.");
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
