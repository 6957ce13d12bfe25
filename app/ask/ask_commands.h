// Asking an external AI program for its move in the shown position, through
// either protocol: the digit keys 1 to 9 give it digit x 1100 ms. The
// exchange goes to the "Log" page, the answer is circled on the board and
// said in the status bar with the engine's evaluation and line where it gives
// them, and a failure is said in a message naming the program. Escape stops
// an ask.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "app/ask/ending_engines.h"
#include "app/ask/opponent_dialogs.h"
#include "board/v2board.h"
#include "opponent/ask_outcome.h"

namespace vorek {

class AskRun;
class WindowFeatures;

// What an engine said of the position beside its move, in the window's
// words: its evaluation and its best line with squares as x,y.
struct EngineWords {
    QString eval;
    QStringList line;
};

// One ask as the window runs it.
struct WindowAsk {
    AskOutcome outcome;
    bool stopped = false;         // Escape stopped it
    bool closeRequested = false;  // the window was asked to close meanwhile
    EngineWords words;
};

class AskCommands final : public QObject {
    Q_OBJECT

public:
    explicit AskCommands(WindowFeatures& window);

    // Asks an AI program for its move in the selected position, giving it
    // digit x 1100 ms, shows the exchange on the "Log" page and marks the
    // answer on the board, saying "AI move: x,y", or shows the failure,
    // naming the program. A cancelled input box does nothing at all. Returns
    // once the ask is over; meanwhile the window paints and the tree and the
    // menus rest, and Escape stops the ask. A close requested meanwhile
    // closes the window afterwards, and nothing is shown.
    void AskOpponentMove(int digit);

    // Asks the program of the command line for its move in the board's
    // position with `milliseconds` for it, the window resting meanwhile as
    // for AskOpponentMove, the status bar saying `waiting` with the program
    // in place of its %1 and the seconds gone by in place of a %2. The
    // caller shows the outcome.
    WindowAsk ask(const QString& commandLine, const V2Board& board, int milliseconds, const QString& waiting);
    // The message for a failed ask, naming the program.
    static QString failureText(const WindowAsk& ask, const QString& commandLine, int milliseconds);
    // While a program is awaited, from its making until it goes: the window
    // rests as AskRun makes it rest (the tree, the menus and the "Game" page
    // disabled, Escape stopping the wait), the mode is ASKING, and the status
    // bar says `waiting` (see showAskStatus) with the time gone by.
    class Waiting {
    public:
        Waiting(AskCommands& ask, const QString& waiting, const QString& commandLine);
        ~Waiting();
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;

        AskRun& run() { return *run_; }
        // Shows the time gone by, where `waiting` has a place for it.
        void showTime();

    private:
        AskCommands& ask_;
        QString waiting_;
        QString commandLine_;
        std::unique_ptr<AskRun> run_;
        QElapsedTimer sinceStart_;
    };

    // The status bar while a program is awaited: `waiting` with the program
    // in place of its %1, its path losing its middle where the bar is too
    // narrow, and the seconds gone by in place of a %2.
    void showAskStatus(const QString& waiting, const QString& commandLine, double seconds);

    // Replaces the input box and the message box of AskOpponentMove.
    void setOpponentDialogs(std::unique_ptr<OpponentDialogs> dialogs) { dialogs_ = std::move(dialogs); }
    OpponentDialogs& dialogs() { return *dialogs_; }

private:

    WindowFeatures& window_;
    std::unique_ptr<OpponentDialogs> dialogs_;
    EndingEngines endingEngines_;  // waited for when the window goes
};

}  // namespace vorek
