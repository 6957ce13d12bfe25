// One ask of an AI program from the window. The ask blocks for seconds, so it
// runs on a thread of its own while the window's thread goes on handling
// events in a local loop: the window keeps painting, and its pages can be
// looked at, while the commands that would change the tree, the position
// files or the folder rest. Escape stops the ask.
#pragma once

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "board/v2board.h"
#include "opponent/ask_log.h"
#include "opponent/ask_outcome.h"
#include "opponent/child_process.h"

class QWidget;

namespace vorek {

class AskRun final : public QObject {
public:
    // From now until the object goes: the resting widgets are disabled (and
    // then given back their own state, and the focus back to where it was),
    // the cursor shows that the window is busy, a request to close the
    // window is held back (closeRequested), and Escape pressed anywhere in
    // the application stops the ask (stopped).
    AskRun(QWidget& window, std::initializer_list<QWidget*> resting);
    ~AskRun() override;
    AskRun(const AskRun&) = delete;
    AskRun& operator=(const AskRun&) = delete;

    // askOpponent with these arguments, on a copy of the board made first,
    // on a thread of its own; returns its outcome once it has ended. The log
    // is called on that thread. Meanwhile this thread handles its events and
    // calls whileWaiting every few tens of milliseconds, and once more at the end.
    AskOutcome ask(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                   int milliseconds, AskLog& log, const std::function<void()>& whileWaiting);

    // True when the window was asked to close while the object lived; the
    // caller closes it once the ask is over.
    bool closeRequested() const { return closeRequested_; }
    // True when Escape stopped the ask.
    bool stopped() const { return stop_.load(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Resting {
        QPointer<QWidget> widget;
        bool disabledBefore;
    };

    QWidget& window_;
    std::vector<Resting> resting_;
    QPointer<QWidget> focus_;
    bool closeRequested_ = false;
    StopFlag stop_{false};
};

}  // namespace vorek
