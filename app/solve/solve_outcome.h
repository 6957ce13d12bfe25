// What the window says when a solve has ended.
#pragma once

#include <QString>

#include "search/solver.h"

namespace vorek {

// The verdict, with the proving move as column,row where there is one or
// why an undecided solve stopped: "Proved: 6,12 wins.", "Not decided: the
// node budget was spent." A report has a proving move only where player 1
// is to move at the start. The nodes and the time are the dialog's rows.
QString solveOutcomeText(const SolveReport& report);

}  // namespace vorek
