#include "app/game/session_asker.h"

#include <QEventLoop>
#include <QTimer>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "app/ask/ask_run.h"
#include "app/ask/engine_words.h"
#include "app/ask/log_page.h"
#include "app/folder/folder_commands.h"
#include "app/window_features.h"
#include "board/square_text.h"
#include "opponent/engine_session.h"
#include "opponent/process_runner.h"

namespace vorek {

namespace {

// How often the window looks at the engine's events and shows its log.
constexpr int LOOK_EVERY_MS = 20;

// What the window keeps of one think: its answer or end, and what the
// engine said of the position meanwhile.
struct ThinkSeen {
    std::optional<AnswerEvent> answer;
    std::optional<EngineDownEvent> down;
    QString eval;
    QStringList line;
    QStringList messages;  // MESSAGE lines, for what an engine that streams nothing says
};

class SessionAsker final : public MoveAsker {
public:
    SessionAsker(WindowFeatures& window, const QString& commandLine, std::vector<std::string> words)
        : window_(window),
          commandLine_(commandLine),
          page_(window.widgets().memo),
          session_(std::make_unique<EngineSession>(EngineSetup{std::move(words), window.folder().folder()},
                                                   [this](EngineEvent event) { take(std::move(event)); }, &page_)) {
        // Started now, so that its first move's time is not spent starting.
        session_->start();
    }

    std::future<void> end() override {
        std::future<void> ended = session_->end();
        session_.reset();
        return ended;
    }

    WindowAsk askMove(const V2Board& board, int milliseconds, const QString& waiting) override;

private:
    // On the session's thread: what each think says is kept by its id, as
    // its events may come before analyse has told the id.
    void take(EngineEvent event) {
        const std::lock_guard<std::mutex> hold(lock_);
        ThinkSeen& seen = seen_[thinkOf(event)];
        if (const auto* answer = std::get_if<AnswerEvent>(&event)) seen.answer = *answer;
        if (const auto* down = std::get_if<EngineDownEvent>(&event)) seen.down = *down;
        if (const auto* message = std::get_if<MessageEvent>(&event))
            seen.messages << QString::fromStdString(message->text);
        if (const auto* search = std::get_if<SearchEvent>(&event); search != nullptr && search->line.index == 0) {
            if (search->line.eval) seen.eval = QString::fromStdString(evaluationText(*search->line.eval));
            seen.line.clear();
            for (const int square : search->line.line)
                seen.line << QString::fromStdString(squareText(columnOf(square), rowOf(square)));
        }
    }
    bool ended() {
        const std::lock_guard<std::mutex> hold(lock_);
        const ThinkSeen& seen = seen_[awaited_];
        return seen.answer || seen.down;
    }
    WindowAsk outcomeOf(bool stopped);

    WindowFeatures& window_;
    QString commandLine_;
    LogPage page_;
    std::mutex lock_;
    int awaited_ = 0;
    std::map<int, ThinkSeen> seen_;  // by think; 0: none (the engine went down between thinks)
    std::unique_ptr<EngineSession> session_;  // last: it goes first, and with it its thread
};

// The window rests as for an ask, and Escape stops the think: the engine
// then answers at once, and its move is not played.
WindowAsk SessionAsker::askMove(const V2Board& board, int milliseconds, const QString& waiting) {
    page_.clear();
    {
        const std::lock_guard<std::mutex> hold(lock_);
        seen_.clear();
    }
    bool stopped = false;
    {
        AskCommands::Waiting wait(window_.ask(), waiting, commandLine_);
        const int think = session_->analyse(board, ThinkRequest{milliseconds, 1});
        {
            const std::lock_guard<std::mutex> hold(lock_);
            awaited_ = think;
            if (think == 0) seen_[0].down = EngineDownEvent{0, EngineDown::NotStarted, "the engine could not be started"};
        }
        QEventLoop loop;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, &loop, [&] {
            page_.show();
            wait.showTime();
            if (wait.run().stopped() && !stopped) {
                stopped = true;
                session_->stop();
            }
            if (ended()) loop.quit();
        });
        look.start(LOOK_EVERY_MS);
        if (!ended()) loop.exec();
        page_.show();
        if (wait.run().closeRequested()) {
            WindowAsk asked = outcomeOf(stopped);
            asked.closeRequested = true;
            return asked;
        }
    }
    return outcomeOf(stopped);
}

WindowAsk SessionAsker::outcomeOf(bool stopped) {
    const std::lock_guard<std::mutex> hold(lock_);
    const ThinkSeen& seen = seen_[awaited_];
    WindowAsk asked;
    asked.stopped = stopped;
    asked.words.eval = seen.eval;
    asked.words.line = seen.line;
    if (seen.down) {
        asked.outcome.result = seen.down->why == EngineDown::NotStarted ? RUN_NOT_STARTED : RUN_FAILED;
        if (asked.outcome.result == RUN_FAILED)
            asked.outcome.refusal = QStringLiteral("AI Error: \"%1\" stopped: %2; the \"Log\" page shows the exchange.")
                                        .arg(commandLine_, QString::fromStdString(seen.down->detail))
                                        .toStdString();
        return asked;
    }
    const AnswerEvent& answer = *seen.answer;
    if (answer.square < 0) {
        asked.outcome.result = RUN_FAILED;
        asked.outcome.refusal = QStringLiteral("AI Error: \"%1\" gave no move to play: %2.")
                                    .arg(commandLine_, QString::fromStdString(answer.fault))
                                    .toStdString();
        return asked;
    }
    asked.outcome.result = RUN_OK;
    asked.outcome.move = MoveReply{columnOf(answer.square), rowOf(answer.square)};
    if (asked.words.eval.isEmpty() && asked.words.line.isEmpty())
        asked.words = engineWords(seen.messages, asked.outcome.move->x, asked.outcome.move->y);
    return asked;
}

}  // namespace

std::unique_ptr<MoveAsker> askRunningEngine(WindowFeatures& window, const QString& commandLine) {
    std::optional<std::vector<std::string>> words = splitCommandLine(commandLine.toLocal8Bit().toStdString());
    if (!words || words->empty()) return askEachMove(window.ask(), commandLine);
    return std::make_unique<SessionAsker>(window, commandLine, std::move(*words));
}

}  // namespace vorek
