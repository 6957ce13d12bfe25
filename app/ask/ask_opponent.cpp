// Asking an external AI program for its move in the shown position, through
// either protocol, with the exchange on the "Log" page and the answer marked
// on the board.
#include <QFontMetrics>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <algorithm>

#include "app/ask/ask_run.h"
#include "app/ask/log_page.h"
#include "app/ask/opponent_dialogs.h"
#include "app/board_view/board_image.h"
#include "app/form1.h"
#include "app/recent_list.h"
#include "app/tree/node_tree.h"
#include "board/square_text.h"
#include "opponent/ask_opponent.h"

namespace vorek {

namespace {

constexpr const char* RECENT_COMMANDS_KEY = "ask/recentCommands";
// Room the status bar keeps beside its message.
constexpr int STATUS_MARGINS = 16;

// The failure's own word first, then what it means for this program.
QString failureText(int result, const QString& commandLine, int milliseconds) {
    switch (result) {
        case RUN_NOT_STARTED:
            return QStringLiteral("File not found: \"%1\" could not be run.").arg(commandLine);
        case RUN_TIMEOUT:
            return QStringLiteral("Timeout: \"%1\" gave no move within %2 ms.").arg(commandLine).arg(milliseconds);
        default:
            return QStringLiteral("AI Error: \"%1\" failed; the \"Log\" page shows the exchange.").arg(commandLine);
    }
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

void TForm1::setOpponentDialogs(std::unique_ptr<OpponentDialogs> dialogs) {
    dialogs_ = std::move(dialogs);
}

// "Asking PROGRAM for its move: T ms", the program's path losing its middle
// where the bar is too narrow for all of it.
void TForm1::showAskStatus(const QString& commandLine, int milliseconds) {
    const QString before = QStringLiteral("Asking ");
    const QString after = QStringLiteral(" for its move: %1 ms").arg(milliseconds);
    const QFontMetrics metrics = StatusBar1->fontMetrics();
    const int room = StatusBar1->width() - STATUS_MARGINS - metrics.horizontalAdvance(before + after);
    StatusBar1->showMessage(before + metrics.elidedText(commandLine, Qt::ElideMiddle, std::max(room, 0)) + after);
}

// The answer is only shown; neither the tree nor the current node changes.
// A cancelled box, or one left empty, names no program: nothing is written
// and nothing is said.
void TForm1::AskOpponentMove(int digit) {
    if (!allows(Command::ASK_OPPONENT)) return;
    const std::optional<QString> typed = dialogs_->askCommandLine(this, recentEntries(RECENT_COMMANDS_KEY));
    if (!typed || typed->trimmed().isEmpty()) return;
    addRecentEntry(RECENT_COMMANDS_KEY, *typed);
    const std::string commandLine = typed->toLocal8Bit().toStdString();
    ShowSelectedNode();
    // A file-protocol program gets the position files written for it, put
    // back as the ask found them once it is over; should that fail, closing
    // the window tries again.
    if (!speaksStdinProtocol(commandLine)) folder_.noteWritten();
    const int milliseconds = digit * MILLISECONDS_PER_TIMEOUT_DIGIT;
    LogPage log(*Memo);
    log.clear();
    AskOutcome outcome;
    bool closeRequested = false;
    {
        AskRun run(*this, {Tree, menuBar()});
        controller_.begin(WindowMode::ASKING);
        applyMode();
        showAskStatus(*typed, milliseconds);
        outcome = run.ask(commandLine, CurrentNode->ensureBoard(), folder(), milliseconds, log,
                          [&log] { log.show(); });
        closeRequested = run.closeRequested();
        controller_.end();
        applyMode();
    }
    endingEngines_.add(std::move(outcome.engineEnded));
    if (const QString notBack = putBackAfter(outcome); !notBack.isEmpty()) dialogs_->showMessage(this, notBack);
    if (closeRequested) {
        close();
        return;
    }
    if (outcome.result != RUN_OK) {
        // A protocol file that keeps the program from being run is named.
        dialogs_->showMessage(this, outcome.refusal.empty()
                                        ? failureText(outcome.result, *typed, milliseconds)
                                        : QString::fromLocal8Bit(outcome.refusal.c_str()));
        return;
    }
    // An answer that cannot be read or lies off the board is not shown.
    if (!outcome.move || !onBoard(outcome.move->x, outcome.move->y)) {
        StatusBar1->showMessage(QStringLiteral("AI move: none on the board"));
        return;
    }
    ImgBoard->markMove(outcome.move->x, outcome.move->y);
    StatusBar1->showMessage(
        QStringLiteral("AI move: %1").arg(QString::fromStdString(squareText(outcome.move->x, outcome.move->y))));
}

}  // namespace vorek
