#include "cli/game_analysis.h"

#include "search/exact_rules.h"

namespace vorek::cli {

PositionVerdict judgeGamePosition(const GameRecord& record, int count, const SolveBudget& budget) {
    if (record.fiveAt != 0 && count >= record.fiveAt) return PositionVerdict{.over = true};
    const std::unique_ptr<StatNode> root = exactRoot(positionAfter(record, count));
    const SolveReport report = solve(*root, budget, exactTreeRules());
    return PositionVerdict{.result = report.result, .provingMove = report.move};
}

int analysedPositionCount(const GameRecord& record) {
    const int moves = static_cast<int>(record.moves.size());
    return (record.fiveAt != 0 ? record.fiveAt : moves) + 1;
}

std::vector<PositionVerdict> analyseGame(const GameRecord& record, const SolveBudget& budget,
                                         const std::function<void(int, int)>& progress) {
    const int positions = analysedPositionCount(record);
    std::vector<PositionVerdict> verdicts;
    for (int count = 0; count < positions; ++count) {
        progress(count, positions);
        PositionVerdict verdict = judgeGamePosition(record, count, budget);
        // A solve cut short says nothing, and the move before would be marked by it.
        if (budget.cancel && budget.cancel->load()) break;
        verdicts.push_back(verdict);
    }
    return verdicts;
}

MoveMarks marksOf(const PositionVerdict& here, const PositionVerdict& next) {
    if (here.over) return {};
    const bool nextProved = !next.over && next.result == SolveResult::Proved;
    const bool nextDisproved = next.over || next.result == SolveResult::Disproved;
    return MoveMarks{.missed = here.result == SolveResult::Proved && !nextDisproved,
                     .blunder = here.result != SolveResult::Disproved && nextProved};
}

}  // namespace vorek::cli
