// What the window says when a solve has ended.
#pragma once

#include <QString>

#include "search/solver.h"

namespace vorek {

// The verdict, naming the winner by the letter he plays (player 1 plays
// `player1Letter`), with the proving move as column,row where there is one,
// or why an undecided solve stopped: "Proved: x wins with 6,12.", "Not
// decided: the node budget was spent." A report has a proving move only
// where player 1 is to move at the start. A decided solve by threats adds
// the kind of win and the winner's moves: "Proved: x wins with 6,12 by
// threats in 5 moves." The nodes and the time are the dialog's rows.
QString solveOutcomeText(const SolveReport& report, char player1Letter);

// The verdict in a few words, for beside the numbers of the node solved:
// "x wins", "no win by threats"; empty where the budget ran out or the solve was
// cancelled.
QString solveVerdictText(const SolveReport& report, char player1Letter);

}  // namespace vorek
