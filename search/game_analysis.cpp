#include "search/game_analysis.h"

#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"

namespace vorek {

PositionVerdict judgeGamePosition(const GameRecord& record, int count, const SolveBudget& budget,
                                  TranspositionTable& table) {
    if (record.fiveAt != 0 && count >= record.fiveAt) return PositionVerdict{.over = true};
    ThreatSolver solver(threatBoardOf(*positionAfter(record, count)), budget, {}, &table);
    const SolveReport report = solver.run();  // the letter to move is player 1
    return PositionVerdict{.result = report.result, .stopped = report.stopped, .provingMove = report.move};
}

int analysedPositionCount(const GameRecord& record) {
    const int moves = static_cast<int>(record.moves.size());
    return (record.fiveAt != 0 ? record.fiveAt : moves) + 1;
}

std::vector<PositionVerdict> analyseGame(const GameRecord& record, const SolveBudget& budget,
                                         const std::function<void(int, int)>& progress) {
    const int positions = analysedPositionCount(record);
    TranspositionTable table(tableBytesFor(budget));
    std::vector<PositionVerdict> verdicts;
    for (int count = 0; count < positions; ++count) {
        progress(count, positions);
        PositionVerdict verdict = judgeGamePosition(record, count, budget, table);
        // A solve cut short says nothing, and the move before would be marked by it.
        if (budget.cancel && budget.cancel->load()) break;
        verdicts.push_back(verdict);
    }
    return verdicts;
}

MoveMarks marksOf(const PositionVerdict& here, const PositionVerdict& next) {
    if (here.over) return {};
    const bool nextProved = !next.over && next.result == SolveResult::Proved;
    MoveMarks marks;
    // After the move the opponent wins by threats, or has a move that leaves
    // the mover none: the mover's win is gone.
    marks.missed = here.result == SolveResult::Proved && !next.over &&
                   (nextProved || (next.result == SolveResult::Unknown && next.stopped == SolveStop::Settled));
    marks.blunder = here.otherCannotWin() && nextProved;
    marks.unclear = !marks.missed && !marks.blunder && (here.unclear() || next.unclear());
    return marks;
}

}  // namespace vorek
