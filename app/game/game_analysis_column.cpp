// "Analyse Game": the line's positions judged on a thread of their own, and
// each row's result and mark shown as they come.
#include <QAction>
#include <QCoreApplication>
#include <QThread>

#include "app/board_view/position_view.h"
#include "app/game/analysis_run.h"
#include "app/game/game_commands.h"
#include "app/game/game_menu.h"
#include "app/game/game_page.h"
#include "app/solve/solve_commands.h"
#include "app/window_features.h"
#include "board/square_text.h"
#include "files/position_source.h"

namespace vorek {

namespace {

constexpr int LOOK_EVERY_MS = 200;

QString squareName(int square) { return QString::fromStdString(squareText(columnOf(square), rowOf(square))); }

// The result for the side to move, `mover`, in a few words.
QString resultText(const PositionVerdict& verdict, char mover) {
    const QLatin1Char moverLetter(mover);
    const QLatin1Char other(otherLetter(mover));
    if (verdict.over) return QStringLiteral("%1 has won (five)").arg(other);
    switch (verdict.result) {
        case SolveResult::Proved:
            if (isSquare(verdict.provingMove))
                return QStringLiteral("%1 wins at %2").arg(moverLetter).arg(squareName(verdict.provingMove));
            return QStringLiteral("%1 wins").arg(moverLetter);
        case SolveResult::Disproved: return QStringLiteral("%1 wins").arg(other);
        case SolveResult::Unknown: break;
    }
    return verdict.stopped == SolveStop::Settled ? QStringLiteral("no win by threats") : QStringLiteral("unknown");
}

// The mark of the move between two positions: the mover's win kept ("win
// found"), let go ("missed"), the opponent given one ("blunder"), or not to
// be told ("unclear").
QString markText(const PositionVerdict& before, const PositionVerdict& after) {
    const MoveMarks marks = marksOf(before, after);
    if (marks.missed) return QStringLiteral("missed");
    if (marks.blunder) return QStringLiteral("blunder");
    if (marks.unclear) return QStringLiteral("unclear");
    const bool kept = !before.over && before.result == SolveResult::Proved &&
                      (after.over || after.result == SolveResult::Disproved);
    return kept ? QStringLiteral("win found") : QString();
}

}  // namespace

// "blunder: o wins at 13,11": the mark of the move that led to the
// position, then the result for the side to move in it.
QString GameCommands::analysisText(int count, QString* explanation) const {
    const int id = game_->line()[static_cast<std::size_t>(count)];
    const auto verdict = verdicts_.find(id);
    if (verdict == verdicts_.end()) return {};
    const GameRecord record = game_->lineRecord();
    const char mover = letterOfMove(record, count + 1);
    QString mark;
    if (count > 0) {
        const auto before = verdicts_.find(game_->parentOf(id));
        if (before != verdicts_.end()) mark = markText(before->second, verdict->second);
    }
    const QString result = resultText(verdict->second, mover);
    if (explanation != nullptr)
        *explanation = QStringLiteral("Threat-space search of the position with %1 to move: %2%3")
                           .arg(QLatin1Char(mover))
                           .arg(result)
                           .arg(mark.isEmpty() ? QString() : QStringLiteral("; the move that led here: ") + mark);
    return mark.isEmpty() ? result : mark + QStringLiteral(": ") + result;
}

void GameCommands::showAnalysisColumn() {
    for (int count = 0; count <= game_->length(); ++count) {
        QString explanation;
        const QString text = analysisText(count, &explanation);
        page_.showAnalysis(count, text, explanation);
    }
}

int GameCommands::hintOfSelected() const {
    const auto verdict = verdicts_.find(game_->selectedId());
    if (verdict == verdicts_.end() || verdict->second.result != SolveResult::Proved) return -1;
    return verdict->second.provingMove;
}

void GameCommands::AnalyseGameClick(bool on) {
    stopAnalysis();
    if (!on || !game_ || !window_.allows(Command::ANALYSE_GAME) || game_->length() == 0) {
        window_.widgets().gameMenu.AnalyseGame1->setChecked(false);
        return;
    }
    SolveBudget budget = GAME_ANALYSIS_BUDGET;  // as vorek-cli game's
    budget.maxMemoryBytes = window_.solve().settings().maxMemoryBytes;
    // What was judged before stays until its position is judged again.
    analysis_ = std::make_unique<AnalysisRun>(game_->lineRecord(), game_->line(), budget);
    window_.widgets().gameMenu.AnalyseGame1->setChecked(true);
    analysisTimer_.start(LOOK_EVERY_MS);
    window_.say(QStringLiteral("Analysing the game: position 1 of %1").arg(analysis_->positions()));
}

void GameCommands::takeVerdicts() {
    if (!analysis_) return;
    bool selectedJudged = false;
    for (const auto& [id, verdict] : analysis_->take()) {
        if (!game_->contains(id)) continue;
        verdicts_[id] = verdict;
        selectedJudged = selectedJudged || id == game_->selectedId();
    }
    showAnalysisColumn();
    const bool done = analysis_->done();
    window_.say(done ? QStringLiteral("The analysis of the game is done")
                     : QStringLiteral("Analysing the game: position %1 of %2")
                           .arg(analysis_->judged() + 1)
                           .arg(analysis_->positions()));
    if (done) stopAnalysis();
    // The proving move of the position shown, once known.
    if (selectedJudged && window_.controller().mode() == WindowMode::GAME) {
        window_.view().setRootHint(hintOfSelected());
        window_.view().show();
    }
}

void GameCommands::stopAnalysis() {
    analysisTimer_.stop();
    analysis_.reset();
    window_.widgets().gameMenu.AnalyseGame1->setChecked(false);
}

void GameCommands::waitForAnalysis() {
    while (analysis_ && !analysis_->done()) QThread::msleep(10);
    takeVerdicts();
}

}  // namespace vorek
