// What the window says when a solve has ended.
#pragma once

#include <QString>

#include "search/solver.h"

namespace vorek {

// The verdict, the proving move as column,row where there is one, why an
// undecided solve stopped, and the nodes and time: "Proved: 6,12 wins.
// 1765 nodes in 0.0 s." A report has a proving move only where player 1 is
// to move at the start.
QString solveOutcomeText(const SolveReport& report);

}  // namespace vorek
