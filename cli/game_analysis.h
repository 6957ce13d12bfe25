// Whole-game analysis: every position of a game record judged by the solver
// for the side to move, and the moves marked that let a win go or let the
// opponent win.
#pragma once

#include <functional>
#include <vector>

#include "files/game_record.h"
#include "search/solver.h"

namespace vorek::cli {

struct PositionVerdict {
    bool over = false;                          // a five stands on the board; nothing was solved
    SolveResult result = SolveResult::Unknown;  // for the side to move
    int provingMove = -1;                       // its winning square when proved and known
};

// The verdict on the position after `count` moves of the record, solved by
// the exact rules within the budget.
PositionVerdict judgeGamePosition(const GameRecord& record, int count, const SolveBudget& budget);

// How many positions the analysis judges: those after 0, 1, ... moves, up to
// and including the first with a five on the board, or up to the end.
int analysedPositionCount(const GameRecord& record);

// The verdicts on the positions in order, from the first. Before each
// position, progress(index, count) is called. Once the budget's cancel flag
// is set the analysis stops, leaving out the position whose solve it cut
// short.
std::vector<PositionVerdict> analyseGame(const GameRecord& record, const SolveBudget& budget,
                                         const std::function<void(int, int)>& progress);

struct MoveMarks {
    bool missed = false;   // the mover had a proved win and the move left the opponent not disproved
    bool blunder = false;  // the mover was not disproved and the move left the opponent proved
};

// The marks of the move played between two positions judged in turn: here,
// before it, for the mover, and next, after it, for the opponent. A five made
// by the move leaves the opponent lost.
MoveMarks marksOf(const PositionVerdict& here, const PositionVerdict& next);

}  // namespace vorek::cli
