// Whole-game analysis: every position of a game record judged by threat-space
// search for the side to move, and the moves marked that let a win go or let
// the opponent win. A mark rests on searches that ended: where a budget ran
// out before a mark could be settled, the move is unclear and has none.
#pragma once

#include <functional>
#include <vector>

#include "files/game_record.h"
#include "search/solver.h"
#include "search/threat_space/transposition_table.h"

namespace vorek {

// The budget of each position's solve, by default: most positions of a game
// end in a few thousand nodes, and a mark given or left unclear rests on the
// few that take more: showing that a side has no win by threats, all of them
// looked at, often takes millions.
inline constexpr SolveBudget GAME_ANALYSIS_BUDGET{.maxNodes = 10'000'000, .maxSeconds = 10};

struct PositionVerdict {
    bool over = false;                          // a five stands on the board; nothing was solved
    SolveResult result = SolveResult::Unknown;  // for the side to move
    // Unknown: Settled when the searches ended (exhausted: neither side has a
    // win by threats the other cannot stop), else the budget that ran out.
    SolveStop stopped = SolveStop::Settled;
    int provingMove = -1;  // its winning square when proved and known

    // The side to move has a win by threats, or has a move after which the
    // other side has none: the other side has no win by threats here.
    bool otherCannotWin() const { return !over && stopped == SolveStop::Settled && result != SolveResult::Disproved; }
    bool unclear() const { return !over && result == SolveResult::Unknown && stopped != SolveStop::Settled; }
};

// The verdict on the position after `count` moves of the record, solved by
// threat-space search within the budget, with the table (whose entries it
// forgets first).
PositionVerdict judgeGamePosition(const GameRecord& record, int count, const SolveBudget& budget,
                                  TranspositionTable& table);

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
    // The mover had a win by threats, and after the move the search shows
    // none is left to him (the opponent wins by threats, or has a move after
    // which the mover has none).
    bool missed = false;
    // The search shows the opponent had no win by threats before the move,
    // and proves one after it.
    bool blunder = false;
    // No mark, because the search of the position before or after the move
    // ran out of budget.
    bool unclear = false;
};

// The marks of the move played between two positions judged in turn: here,
// before it, for the mover, and next, after it, for the opponent. A five made
// by the move leaves the opponent lost.
MoveMarks marksOf(const PositionVerdict& here, const PositionVerdict& next);

}  // namespace vorek
