// "Engine" > "Analyse" (F5): an engine of the stdin/stdout protocol, kept
// running, thinks on whatever position the board shows (a node of the tree,
// a position of the game, the edited position, a step of a solve's line) and
// starts again on each change of it. Its best moves are drawn on the board
// with their win rate or evaluation, in the colour of the side to move; the
// pointer over one of them shows its line as numbered ghost stones; the
// "Analysis" panel shows the think and each line in x,y; a mate it claims is
// checked by our threat search on a thread of its own. F5 again or Escape
// stops. The engine's events reach the window through a queue drained on a
// timer, a few times a second whatever the engine writes; an engine that
// dies, stalls or writes nonsense is said in the status bar and started again
// on the next position. The analysis waits while an AI program is asked.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/analysis/analysis_settings.h"
#include "app/analysis/engine_dialogs.h"
#include "app/analysis/live_think.h"
#include "app/board_view/board_marks.h"
#include "opponent/mate_claim.h"

class QShortcut;

namespace vorek {

class AnalysisPanel;
class EngineEventQueue;
class EngineSession;
class MateCheckRun;
class V2Board;
class WindowFeatures;

// Events taken from the queue at each look at most, so that a flood leaves
// the window its time; the rest wait for the next look.
inline constexpr int MOST_EVENTS_PER_LOOK = 2000;
// How often the window looks at the engine's events, and so redraws at most.
inline constexpr int ANALYSIS_LOOK_MS = 100;

class AnalysisCommands final : public QObject {
    Q_OBJECT

public:
    AnalysisCommands(WindowFeatures& window, AnalysisPanel& panel);
    ~AnalysisCommands() override;

    // Stops the analysis, its engine ended off the window's thread; before
    // the window goes.
    void endAll();

    // "Analyse" checked: the chosen engine (asked for first when there is
    // none) thinks on the position shown, where the mode allows it. Cleared:
    // stops.
    void AnalyseClick(bool on);
    // Escape, and F5 while on: the engine is ended, the board's marks go,
    // the panel keeps the last think.
    void stop();
    bool analysing() const { return session_ != nullptr; }

    // "Engine Settings...": asks for the engine, its time and its lines, and
    // keeps them for later runs; a running analysis starts again with them.
    // True when the user chose.
    bool EngineSettingsClick();
    const AnalysisSettings& settings() const { return settings_; }
    void setSettings(const AnalysisSettings& settings);
    void setDialogs(std::unique_ptr<EngineDialogs> dialogs) { dialogs_ = std::move(dialogs); }

    // The position shown or the mode may have changed: a new position gets a
    // new think; where the mode does not allow the analysis it waits, and
    // goes on once it does.
    void follow();

    // The pointer at the picture's pixel x, y, or off the picture: over a
    // move drawn, its line is shown.
    void pointerAt(int x, int y);
    void pointerLeft();

    // Takes the engine's events that came since the last look and shows
    // them; the timer calls it while the analysis runs.
    void takeEvents();

    // The verdict on the engine's mate claim, once the check is done.
    const std::optional<MateClaimCheck>& mateCheck() const { return mateCheck_; }

private:
    bool startSession();
    void endSession();
    void begin(const V2Board& shown);
    // The think is about this board's stones with the same side to move.
    bool thinksAbout(const V2Board& board) const;
    void pause();
    void checkMateClaim();
    void takeMateCheck();
    void dropMateCheck();
    void showThink();
    void showState();
    void showMateCheck();
    void showMarks();
    BoardMarks marks() const;
    void showChecked();

    WindowFeatures& window_;
    AnalysisPanel& panel_;
    AnalysisSettings settings_;
    std::unique_ptr<EngineDialogs> dialogs_;
    std::shared_ptr<EngineEventQueue> queue_;  // shared with the session's sink, which may outlive this
    std::unique_ptr<EngineSession> session_;   // while the analysis runs
    std::unique_ptr<V2Board> position_;        // the position of the think
    bool paused_ = false;                      // its think was stopped while the mode did not allow it
    bool over_ = false;                        // the position has a five or no empty square: no think
    LiveThink think_;
    std::unique_ptr<MateCheckRun> mateRun_;
    std::optional<MateClaimCheck> mateCheck_;
    int hoveredSquare_ = -1;
    int hoveredRow_ = -1;
    QTimer look_;
    QShortcut* escape_ = nullptr;
};

}  // namespace vorek
