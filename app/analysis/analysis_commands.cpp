#include "app/analysis/analysis_commands.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QShortcut>
#include <algorithm>

#include "app/analysis/analysis_panel.h"
#include "app/analysis/analysis_text.h"
#include "app/analysis/engine_menu.h"
#include "app/analysis/mate_check_run.h"
#include "app/ask/ask_commands.h"
#include "app/board_view/board_image.h"
#include "app/board_view/position_view.h"
#include "app/folder/folder_commands.h"
#include "app/recent_list.h"
#include "app/solve/solve_commands.h"
#include "app/window_features.h"
#include "board/five_in_row.h"
#include "opponent/engine_event_queue.h"
#include "opponent/engine_session.h"
#include "opponent/process_runner.h"

namespace vorek {

namespace {

// Nothing is left to think about: a five stands, or no square is empty.
bool gameOver(const V2Board& board) {
    return fiveInRow(board) || board.stoneCount() == BOARD_SQUARES;
}

QString engineName(const QString& commandLine) {
    const std::optional<std::vector<std::string>> words = splitCommandLine(commandLine.toLocal8Bit().toStdString());
    if (!words || words->empty()) return commandLine;
    return QFileInfo(QString::fromLocal8Bit(words->front().c_str())).fileName();
}

QString timeWords(const AnalysisSettings& settings) {
    if (settings.milliseconds == 0) return QStringLiteral("infinite");
    return QString::number(settings.milliseconds / 1000.0, 'f', 1) + QStringLiteral(" s a position");
}

AnalysisRow rowOf(const SearchLine& line) {
    AnalysisRow row;
    if (!line.line.empty()) row.move = lineWords({line.line.front()});
    if (line.eval) row.eval = evalWords(*line.eval);
    if (line.winrate) row.winrate = winrateWords(*line.winrate);
    row.depth = depthWords(line);
    row.line = lineWords(line.line);
    return row;
}

// Whether the mate claimed is for the side to move.
bool forMover(const Evaluation& claim) { return claim.value >= 0; }

}  // namespace

AnalysisCommands::AnalysisCommands(WindowFeatures& window, AnalysisPanel& panel)
    : window_(window), panel_(panel), settings_(AnalysisSettings::load()),
      dialogs_(std::make_unique<QtEngineDialogs>()) {
    connect(&look_, &QTimer::timeout, this, &AnalysisCommands::takeEvents);
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), &window.widgets().window);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, &AnalysisCommands::stop);
    connect(&panel_, &AnalysisPanel::lineHovered, this, [this](int row) {
        hoveredRow_ = row;
        showMarks();
    });
    if (!settings_.commandLine.isEmpty())
        panel_.showEngine(engineName(settings_.commandLine), settings_.commandLine);
}

AnalysisCommands::~AnalysisCommands() { endAll(); }

void AnalysisCommands::endAll() {
    if (analysing()) stop();
    dropMateCheck();
}

void AnalysisCommands::AnalyseClick(bool on) {
    if (!on) {
        stop();
        return;
    }
    if (analysing()) return;
    const bool chosen = window_.allows(Command::ANALYSE) &&
                        (!settings_.commandLine.isEmpty() || EngineSettingsClick()) && startSession();
    showChecked();
    if (!chosen) return;
    panel_.show();
    panel_.raise();
    follow();
}

void AnalysisCommands::stop() {
    if (!analysing()) return;
    endSession();
    dropMateCheck();
    hoveredRow_ = -1;
    window_.widgets().board.setMarks({});
    panel_.showState(QStringLiteral("Stopped: F5 starts the analysis again"));
    showChecked();
}

bool AnalysisCommands::EngineSettingsClick() {
    const std::optional<AnalysisSettings> chosen =
        dialogs_->chooseEngine(&window_.widgets().window, settings_, recentEntries(RECENT_COMMANDS_KEY));
    if (!chosen) return false;
    addRecentEntry(RECENT_COMMANDS_KEY, chosen->commandLine);
    setSettings(*chosen);
    return true;
}

void AnalysisCommands::setSettings(const AnalysisSettings& settings) {
    settings_ = settings;
    settings_.save();
    panel_.showEngine(engineName(settings_.commandLine), settings_.commandLine);
    if (!analysing()) return;
    // The new engine, or the same with its new time and lines, starts afresh.
    endSession();
    if (startSession()) follow();
    showChecked();
}

// ---- The engine -----------------------------------------------------------------

bool AnalysisCommands::startSession() {
    const std::optional<std::vector<std::string>> words =
        splitCommandLine(settings_.commandLine.toLocal8Bit().toStdString());
    if (!words || words->empty()) {
        window_.ask().dialogs().showMessage(
            &window_.widgets().window,
            QStringLiteral("Cannot analyse with \"%1\": give the engine's program and its arguments "
                           "(\"Engine Settings...\").")
                .arg(settings_.commandLine));
        return false;
    }
    queue_ = std::make_shared<EngineEventQueue>();
    // The session may end on another thread after this object has gone: its
    // sink keeps the queue.
    session_ = std::make_unique<EngineSession>(EngineSetup{.words = *words, .folder = window_.folder().folder()},
                                               [queue = queue_](EngineEvent event) { queue->push(std::move(event)); });
    position_.reset();
    paused_ = false;
    escape_->setEnabled(true);
    look_.start(ANALYSIS_LOOK_MS);
    panel_.showEngine(engineName(settings_.commandLine),
                      QStringLiteral("%1\n%2, %3 best lines")
                          .arg(settings_.commandLine, timeWords(settings_))
                          .arg(settings_.lines));
    return true;
}

// The engine is ended off the window's thread: a stalled one takes a second
// or two to be told to stop and then ended.
void AnalysisCommands::endSession() {
    look_.stop();
    escape_->setEnabled(false);
    if (!session_) return;
    EngineSession* session = session_.release();
    window_.controller().disposal().dispose([session] {
        session->end().wait();
        delete session;
    });
    queue_.reset();
    position_.reset();
}

// ---- Following the position shown --------------------------------------------------

void AnalysisCommands::follow() {
    if (!analysing()) return;
    if (!window_.allows(Command::ANALYSE)) {
        pause();
        return;
    }
    const V2Board& shown = window_.controller().shownBoard();
    if (thinksAbout(shown) && !paused_) return;
    begin(shown);
}

bool AnalysisCommands::thinksAbout(const V2Board& board) const {
    return position_ && position_->sideToMove() == board.sideToMove() && position_->stones() == board.stones();
}

void AnalysisCommands::begin(const V2Board& shown) {
    position_ = shown.clone();
    paused_ = false;
    dropMateCheck();
    over_ = gameOver(shown);
    if (over_) session_->stop();
    const ThinkRequest request{settings_.thinkMilliseconds(), settings_.lines};
    think_ = over_ ? LiveThink() : LiveThink(session_->analyse(shown, request));
    if (!over_ && think_.id() == 0) {
        const QString name = settings_.commandLine;
        stop();
        window_.say(QStringLiteral("Analysis: \"%1\" could not be started").arg(name));
        panel_.showState(QStringLiteral("The engine could not be started"));
        return;
    }
    showThink();
}

// The ask has the machine: the think is stopped, and goes on (afresh) once
// the mode allows it again.
void AnalysisCommands::pause() {
    if (paused_ || think_.state() != LiveThink::State::Thinking || think_.id() == 0) return;
    paused_ = true;
    session_->stop();
    showState();
    showMarks();
}

// ---- The engine's events ------------------------------------------------------------

void AnalysisCommands::takeEvents() {
    if (!queue_) return;
    bool changed = false;
    for (int taken = 0; taken < MOST_EVENTS_PER_LOOK; ++taken) {
        const std::optional<EngineEvent> event = queue_->pop(ChildClock::now());
        if (!event) break;
        changed = think_.take(*event) || changed;
        // An engine that died in an earlier think: the think now under way
        // has started it again.
        if (const auto* down = std::get_if<EngineDownEvent>(&*event); down && down->think != think_.id())
            window_.say(QStringLiteral("Analysis: %1; the engine was started again").arg(shownText(down->detail)));
    }
    if (mateRun_ && mateRun_->done()) takeMateCheck();
    if (!changed) return;
    if (think_.state() == LiveThink::State::Down)
        window_.say(QStringLiteral("Analysis: %1; the engine starts again on the next position")
                        .arg(shownText(think_.fault())));
    if (think_.state() == LiveThink::State::Answered && !think_.stopped() && !think_.fault().empty())
        window_.say(QStringLiteral("Analysis: no move from the engine: %1").arg(shownText(think_.fault())));
    checkMateClaim();
    showThink();
}

// ---- The mate claim -------------------------------------------------------------------

// A claim is checked once for its side: the engine's count may change as it
// deepens, our search's verdict does not.
void AnalysisCommands::checkMateClaim() {
    const SearchLine* best = think_.lines().best();
    if (best == nullptr || !best->eval || !best->eval->mate || !position_) return;
    const Evaluation& claim = *best->eval;
    if (mateRun_ && forMover(mateRun_->claim()) == forMover(claim)) return;
    if (mateCheck_ && forMover(mateCheck_->claim) == forMover(claim)) return;
    dropMateCheck();
    SolveBudget budget = MATE_CHECK_BUDGET;
    budget.maxMemoryBytes = window_.solve().settings().maxMemoryBytes;
    mateRun_ = std::make_unique<MateCheckRun>(*position_, claim, budget);
}

void AnalysisCommands::takeMateCheck() {
    mateCheck_ = mateRun_->check();
    // Keeps the engine's count shown: the claim as it stands now.
    if (const SearchLine* best = think_.lines().best(); best && best->eval && best->eval->mate &&
                                                       forMover(*best->eval) == forMover(mateCheck_->claim))
        mateCheck_->claim = *best->eval;
    MateCheckRun* run = mateRun_.release();
    window_.controller().disposal().dispose([run] { delete run; });
    showMateCheck();
}

// The search's table can be large: it is freed off the window's thread.
void AnalysisCommands::dropMateCheck() {
    mateCheck_.reset();
    if (!mateRun_) return;
    mateRun_->cancel();
    MateCheckRun* run = mateRun_.release();
    window_.controller().disposal().dispose([run] { delete run; });
}

// ---- What is shown ------------------------------------------------------------------

void AnalysisCommands::showThink() {
    std::vector<AnalysisRow> rows;
    for (const std::optional<SearchLine>& line : think_.lines().lines())
        if (line) rows.push_back(rowOf(*line));
    // An engine that streams nothing shows the move it answers.
    if (rows.empty() && think_.answer() >= 0) {
        AnalysisRow row;
        row.move = lineWords({think_.answer()});
        row.line = QStringLiteral("(its move)");
        rows.push_back(row);
    }
    panel_.showLines(rows);
    panel_.showMessage(shownText(think_.message()));
    showState();
    showMateCheck();
    showMarks();
}

void AnalysisCommands::showState() {
    const QString progress = progressWords(think_.lines());
    const QString with = progress.isEmpty() ? QString() : QStringLiteral(": ") + progress;
    if (over_) {
        panel_.showState(QStringLiteral("The game is over: nothing to think about"));
        return;
    }
    if (paused_) {
        panel_.showState(QStringLiteral("Waiting while an AI program is asked"));
        return;
    }
    switch (think_.state()) {
        case LiveThink::State::Thinking: panel_.showState(QStringLiteral("Thinking") + with); return;
        case LiveThink::State::Answered:
            if (!think_.fault().empty()) {
                panel_.showState(QStringLiteral("No move: ") + shownText(think_.fault()));
                return;
            }
            panel_.showState(QStringLiteral("Done") + with);
            return;
        case LiveThink::State::Down:
            panel_.showState(QStringLiteral("The engine stopped (%1); it starts again on the next position")
                                 .arg(shownText(think_.fault())));
            return;
    }
}

void AnalysisCommands::showMateCheck() {
    if (mateCheck_) {
        QString details;
        const QString text = mateCheckWords(*mateCheck_, &details);
        panel_.showMateCheck(text, details);
    } else if (mateRun_) {
        panel_.showMateCheck(evalWords(mateRun_->claim()) + QStringLiteral(": checking by threats..."));
    } else {
        panel_.showMateCheck({});
    }
}

void AnalysisCommands::showMarks() {
    if (analysing()) window_.widgets().board.setMarks(marks());
}

// Each line's move with its words, the best ringed; over a move, or over
// its row in the panel, its line as ghost stones numbered from 1, the side
// to move's first.
BoardMarks AnalysisCommands::marks() const {
    BoardMarks marks;
    if (!thinksAbout(window_.controller().shownBoard())) return marks;
    const Player mover = position_->sideToMove();
    const bool moverBlack = window_.view().playsBlack(mover);
    const SearchLine* hovered = nullptr;
    const auto& lines = think_.lines().lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i] || lines[i]->line.empty()) continue;
        const SearchLine& line = *lines[i];
        const int square = line.line.front();
        if (std::any_of(marks.badges.begin(), marks.badges.end(),
                        [square](const MoveBadge& badge) { return badge.square == square; }))
            continue;
        marks.badges.push_back({square, badgeWords(line.eval, line.winrate), moverBlack, marks.badges.empty()});
        if (square == hoveredSquare_ || static_cast<int>(i) == hoveredRow_) hovered = &line;
    }
    if (marks.badges.empty() && think_.answer() >= 0)
        marks.badges.push_back({think_.answer(), QString(), moverBlack, true});
    if (hovered != nullptr) {
        for (std::size_t k = 0; k < hovered->line.size(); ++k)
            marks.ghosts.push_back({hovered->line[k], static_cast<int>(k) + 1, (k % 2 == 0) == moverBlack});
    }
    return marks;
}

void AnalysisCommands::pointerAt(int x, int y) {
    const std::optional<int> square = squareAtPixel(x, y, window_.widgets().board.side());
    const int now = square.value_or(-1);
    if (now == hoveredSquare_) return;
    hoveredSquare_ = now;
    showMarks();
}

void AnalysisCommands::pointerLeft() {
    if (hoveredSquare_ < 0) return;
    hoveredSquare_ = -1;
    showMarks();
}

void AnalysisCommands::showChecked() {
    QAction* item = window_.widgets().engineMenu.Analyse1;
    const QSignalBlocker quiet(item);
    item->setChecked(analysing());
}

}  // namespace vorek
