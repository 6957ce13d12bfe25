// Asking an external AI program for its move in the shown position, through
// either protocol, with the exchange on the "Log" page and the answer marked
// on the board.
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>
#include <mutex>

#include "app/ask/ask_commands.h"
#include "app/ask/ask_run.h"
#include "app/ask/engine_words.h"
#include "app/ask/log_page.h"
#include "app/board_view/position_view.h"
#include "app/folder/folder_commands.h"
#include "app/game/game_page.h"
#include "app/recent_list.h"
#include "app/tree/node_tree.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"
#include "board/square_text.h"
#include "opponent/ask_opponent.h"

namespace vorek {

namespace {

// Room the status bar keeps beside its message.
constexpr int STATUS_MARGINS = 16;
constexpr std::string_view MESSAGE_LINE = "< MESSAGE ";

// The log of an ask: its lines go to the "Log" page, and the engine's
// MESSAGE lines are kept for what they say of the position.
class WindowAskLog final : public AskLog {
public:
    explicit WindowAskLog(LogPage& page) : page_(page) {}

    void line(std::string_view text, std::chrono::milliseconds sinceStart) override {
        page_.line(text, sinceStart);
        if (!text.starts_with(MESSAGE_LINE)) return;
        text.remove_prefix(MESSAGE_LINE.size());
        const std::lock_guard<std::mutex> hold(lock_);
        messages_ << QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
    }

    QStringList messages() {
        const std::lock_guard<std::mutex> hold(lock_);
        return messages_;
    }

private:
    LogPage& page_;
    std::mutex lock_;
    QStringList messages_;
};

// " (eval +M15; line 6,12 5,13 9,9)" from what the engine said; nothing
// where it said nothing.
QString wordsText(const EngineWords& words) {
    QStringList parts;
    if (!words.eval.isEmpty()) parts << QStringLiteral("eval ") + words.eval;
    if (!words.line.isEmpty()) parts << QStringLiteral("line ") + words.line.join(QLatin1Char(' '));
    return parts.isEmpty() ? QString() : QStringLiteral(" (") + parts.join(QStringLiteral("; ")) + QLatin1Char(')');
}

// Puts back the files a file-protocol program was given, as the ask found
// them: what cannot go back is said a line a file, its bytes kept beside it.
// Empty when all went back.
QString putBackAfter(const AskOutcome& outcome) {
    if (!outcome.found) return {};
    QStringList lines;
    for (const std::string& problem : outcome.found->restore(FileSnapshot::Blocked::WriteBeside)) {
        QString line = QString::fromLocal8Bit(problem.c_str());
        line[0] = line[0].toUpper();
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

AskCommands::AskCommands(WindowFeatures& window)
    : window_(window), dialogs_(std::make_unique<QtOpponentDialogs>()) {}

// The failure's own word first, then what it means for this program.
QString AskCommands::failureText(const WindowAsk& ask, const QString& commandLine, int milliseconds) {
    // A protocol file that keeps the program from being run is named.
    if (!ask.outcome.refusal.empty()) return QString::fromLocal8Bit(ask.outcome.refusal.c_str());
    switch (ask.outcome.result) {
        case RUN_NOT_STARTED:
            return QStringLiteral("File not found: \"%1\" could not be run.").arg(commandLine);
        case RUN_TIMEOUT:
            return QStringLiteral("Timeout: \"%1\" gave no move within %2 ms.").arg(commandLine).arg(milliseconds);
        default:
            return QStringLiteral("AI Error: \"%1\" failed; the \"Log\" page shows the exchange.").arg(commandLine);
    }
}

// The message with the program in place of %1, its path losing its middle
// where the bar is too narrow for all of it, and the seconds gone by in
// place of %2.
void AskCommands::showAskStatus(const QString& waiting, const QString& commandLine, double seconds) {
    QStatusBar& bar = window_.widgets().pagesStatus;
    const QFontMetrics metrics = bar.fontMetrics();
    QString text = waiting;
    if (text.contains(QStringLiteral("%2"))) text.replace(QStringLiteral("%2"), QString::number(seconds, 'f', 1));
    const int room = bar.width() - STATUS_MARGINS - metrics.horizontalAdvance(QString(text).remove(QStringLiteral("%1")));
    bar.showMessage(text.arg(metrics.elidedText(commandLine, Qt::ElideMiddle, std::max(room, 0))));
}

AskCommands::Waiting::Waiting(AskCommands& ask, const QString& waiting, const QString& commandLine)
    : ask_(ask), waiting_(waiting), commandLine_(commandLine) {
    const WindowWidgets& widgets = ask.window_.widgets();
    QWidget* const resting[] = {&widgets.tree, widgets.window.menuBar(), &widgets.gamePage};
    run_ = std::make_unique<AskRun>(widgets.window, std::initializer_list<QWidget*>{resting[0], resting[1], resting[2]});
    ask.window_.controller().begin(WindowMode::ASKING);
    ask.window_.applyMode();
    sinceStart_.start();
    ask.showAskStatus(waiting_, commandLine_, 0);
    widgets.pagesStatus.setToolTip(QStringLiteral("Escape stops the ask"));
}

AskCommands::Waiting::~Waiting() {
    run_.reset();
    ask_.window_.controller().end();
    ask_.window_.applyMode();
}

void AskCommands::Waiting::showTime() {
    if (waiting_.contains(QStringLiteral("%2"))) ask_.showAskStatus(waiting_, commandLine_, sinceStart_.elapsed() / 1000.0);
}

WindowAsk AskCommands::ask(const QString& commandLine, const V2Board& board, int milliseconds,
                           const QString& waiting) {
    const std::string line = commandLine.toLocal8Bit().toStdString();
    const WindowWidgets& widgets = window_.widgets();
    // A file-protocol program gets the position files written for it, put
    // back as the ask found them once it is over; should that fail, closing
    // the window tries again.
    if (!speaksStdinProtocol(line)) window_.folder().noteWritten();
    LogPage page(widgets.memo);
    page.clear();
    WindowAskLog log(page);
    WindowAsk asked;
    {
        Waiting wait(*this, waiting, commandLine);
        asked.outcome = wait.run().ask(line, board, window_.folder().folder(), milliseconds, log, [&] {
            page.show();
            wait.showTime();
        });
        asked.stopped = wait.run().stopped();
        asked.closeRequested = wait.run().closeRequested();
    }
    endingEngines_.add(std::move(asked.outcome.engineEnded));
    if (const QString notBack = putBackAfter(asked.outcome); !notBack.isEmpty())
        dialogs_->showMessage(&widgets.window, notBack);
    if (asked.outcome.move)
        asked.words = engineWords(log.messages(), asked.outcome.move->x, asked.outcome.move->y);
    return asked;
}

// The answer is only shown; neither the tree nor the current node changes.
// A cancelled box, or one left empty, names no program: nothing is written
// and nothing is said.
void AskCommands::AskOpponentMove(int digit) {
    if (!window_.allows(Command::ASK_OPPONENT)) return;
    QWidget* parent = &window_.widgets().window;
    const std::optional<QString> typed = dialogs_->askCommandLine(parent, recentEntries(RECENT_COMMANDS_KEY));
    if (!typed || typed->trimmed().isEmpty()) return;
    addRecentEntry(RECENT_COMMANDS_KEY, *typed);
    window_.tree().ShowSelectedNode();
    const int milliseconds = digit * MILLISECONDS_PER_TIMEOUT_DIGIT;
    const WindowAsk asked =
        ask(*typed, window_.controller().shownBoard(), milliseconds,
            QStringLiteral("Asking %1 for its move: ") + QString::number(milliseconds) + QStringLiteral(" ms"));
    if (asked.closeRequested) {
        parent->close();
        return;
    }
    if (asked.stopped) {
        window_.say(QStringLiteral("Stopped asking %1").arg(*typed));
        return;
    }
    if (asked.outcome.result != RUN_OK) {
        dialogs_->showMessage(parent, failureText(asked, *typed, milliseconds));
        return;
    }
    // An answer that cannot be read or lies off the board is not shown.
    const std::optional<MoveReply>& move = asked.outcome.move;
    if (!move || !onBoard(move->x, move->y)) {
        window_.say(QStringLiteral("AI move: none on the board"));
        return;
    }
    window_.view().markMove(move->x, move->y);
    window_.say(QStringLiteral("AI move: %1").arg(QString::fromStdString(squareText(move->x, move->y))) +
                wordsText(asked.words));
}

}  // namespace vorek
