// "Analyse Game": the line's positions judged on a thread of their own, and
// each row's result and mark shown as they come.
#include <QAction>
#include <QCoreApplication>
#include <QThread>

#include "app/analysis/analysis_commands.h"
#include "app/analysis/analysis_text.h"
#include "app/board_view/position_view.h"
#include "app/folder/folder_commands.h"
#include "app/game/analysis_run.h"
#include "app/game/eval_graph.h"
#include "app/game/game_commands.h"
#include "app/game/game_menu.h"
#include "app/game/game_page.h"
#include "app/solve/solve_commands.h"
#include "app/window_features.h"
#include "board/square_text.h"
#include "files/position_source.h"
#include "opponent/process_runner.h"

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
    const char mover = game_->letterToMove(count);
    QString mark;
    if (count > 0) {
        const auto before = verdicts_.find(game_->parentOf(id));
        if (before != verdicts_.end()) mark = markText(before->second, verdict->second);
    }
    const QString result = resultText(verdict->second, mover);
    if (explanation != nullptr) {
        *explanation = QStringLiteral("Threat-space search of the position with %1 to move: %2%3")
                           .arg(QLatin1Char(mover))
                           .arg(result)
                           .arg(mark.isEmpty() ? QString() : QStringLiteral("; the move that led here: ") + mark);
        const QString engine = engineText(count);
        if (!engine.isEmpty()) *explanation += QLatin1Char('\n') + engine;
    }
    return mark.isEmpty() ? result : mark + QStringLiteral(": ") + result;
}

// "The engine, for x to move: 120, win rate 62.5%, best 9,9".
QString GameCommands::engineText(int count) const {
    const auto seen = views_.find(game_->line()[static_cast<std::size_t>(count)]);
    if (seen == views_.end()) return {};
    const QString who = QStringLiteral("The engine, for %1 to move: ")
                            .arg(QLatin1Char(game_->letterToMove(count)));
    if (!seen->second.view) return who + QString::fromStdString(seen->second.failure);
    const EngineView& view = *seen->second.view;
    QStringList parts;
    if (view.eval) parts << evalWords(*view.eval);
    if (view.winrate) parts << QStringLiteral("win rate ") + winrateWords(*view.winrate);
    if (view.best >= 0) parts << QStringLiteral("best ") + squareName(view.best);
    return who + parts.join(QStringLiteral(", "));
}

void GameCommands::showAnalysisColumn() {
    for (int count = 0; count <= game_->length(); ++count) {
        QString explanation;
        QString text = analysisText(count, &explanation);
        if (text.isEmpty()) explanation = engineText(count);
        page_.showAnalysis(count, text, explanation);
    }
    columnDue_ = false;
    showGraph();
}

// The engine's views of the line's positions, for x.
void GameCommands::showGraph() {
    std::vector<std::optional<EngineView>> views;
    std::vector<bool> xToMove;
    for (int count = 0; count <= game_->length(); ++count) {
        const auto seen = views_.find(game_->line()[static_cast<std::size_t>(count)]);
        views.push_back(seen != views_.end() ? seen->second.view : std::nullopt);
        xToMove.push_back(game_->letterToMove(count) == 'x');
    }
    bool byWinrate = false;
    std::vector<std::optional<double>> values = graphValues(views, xToMove, &byWinrate);
    page_.Graph->showValues(std::move(values), game_->selected(),
                            byWinrate ? QStringLiteral("win rate") : QStringLiteral("evaluation"));
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
    startEngineRun();
    window_.widgets().gameMenu.AnalyseGame1->setChecked(true);
    analysisTimer_.start(LOOK_EVERY_MS);
    window_.say(QStringLiteral("Analysing the game: position 1 of %1").arg(analysis_->positions()));
}

// With the analysis's engine chosen, it views the line's positions too.
void GameCommands::startEngineRun() {
    const AnalysisSettings& settings = window_.analysis().settings();
    const std::optional<std::vector<std::string>> words =
        splitCommandLine(settings.commandLine.toLocal8Bit().toStdString());
    if (!words || words->empty()) return;
    // Where the analysis thinks without end, the engine's usual time for each position.
    const int milliseconds = settings.milliseconds > 0 ? settings.milliseconds : ENGINE_VIEW_MILLISECONDS;
    engineRun_ = std::make_unique<EngineViewRun>(
        game_->lineRecord(), game_->line(), EngineSetup{.words = *words, .folder = window_.folder().folder()},
        milliseconds);
}

bool GameCommands::takeViews() {
    std::vector<SeenPosition> taken = engineRun_->take();
    for (SeenPosition& seen : taken)
        if (game_->contains(seen.id)) views_[seen.id] = std::move(seen);
    return !taken.empty();
}

void GameCommands::takeVerdicts() {
    if (!analysing()) return;
    bool selectedJudged = false;
    bool came = false;
    if (analysis_) {
        for (const auto& [id, verdict] : analysis_->take()) {
            came = true;
            if (!game_->contains(id)) continue;
            verdicts_[id] = verdict;
            selectedJudged = selectedJudged || id == game_->selectedId();
        }
    }
    if (engineRun_) came = takeViews() || came;
    if (came || columnDue_) showAnalysisColumn();
    const bool searched = !analysis_ || analysis_->done();
    const bool viewed = !engineRun_ || engineRun_->done();
    QString progress;
    if (!searched)
        progress = QStringLiteral("Analysing the game: position %1 of %2")
                       .arg(analysis_->judged() + 1)
                       .arg(analysis_->positions());
    if (!viewed)
        progress += (progress.isEmpty() ? QStringLiteral("Analysing the game: ") : QStringLiteral("; "))
                    + QStringLiteral("the engine at position %1 of %2")
                          .arg(engineRun_->seen() + 1)
                          .arg(engineRun_->positions());
    const bool done = searched && viewed;
    if (done && engineRun_ && !engineRun_->startFailure().empty())
        window_.say(QStringLiteral("The analysis of the game is done; %1 (\"%2\")")
                        .arg(QString::fromStdString(engineRun_->startFailure()),
                             window_.analysis().settings().commandLine));
    else
        window_.say(done ? QStringLiteral("The analysis of the game is done") : progress);
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
    // The engine is ended off the window's thread: it may take a moment.
    if (EngineViewRun* run = engineRun_.release())
        window_.controller().disposal().dispose([run] { delete run; });
    window_.widgets().gameMenu.AnalyseGame1->setChecked(false);
}

void GameCommands::waitForAnalysis() {
    while ((analysis_ && !analysis_->done()) || (engineRun_ && !engineRun_->done())) QThread::msleep(10);
    takeVerdicts();
}

}  // namespace vorek
