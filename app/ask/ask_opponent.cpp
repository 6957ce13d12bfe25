// Asking an external AI program for its move in the shown position, through
// either protocol, with the exchange on the "Log" page and the answer circled
// on the board.
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>

#include "app/ask/ask_run.h"
#include "app/board_view/board_image.h"
#include "app/form1.h"
#include "app/ask/log_page.h"
#include "app/tree/node_tree.h"
#include "app/ask/opponent_dialogs.h"
#include "opponent/ask_opponent.h"

namespace vorek {

void TForm1::setOpponentDialogs(std::unique_ptr<OpponentDialogs> dialogs) {
    dialogs_ = std::move(dialogs);
}

// The answer is only shown; neither the tree nor the current node changes.
void TForm1::AskOpponentMove(int digit) {
    const std::string commandLine = dialogs_->askCommandLine(this).toLocal8Bit().toStdString();
    ShowSelectedNode();
    // A file-protocol program gets the position files written for it, and
    // closing the window puts back what was found.
    if (!speaksStdinProtocol(commandLine)) folder_.noteWritten();
    const int milliseconds = digit * MILLISECONDS_PER_TIMEOUT_DIGIT;
    LogPage log(*Memo);
    log.clear();
    StatusBar1->showMessage(QStringLiteral("Asking %1 for its move: %2 ms")
                                .arg(QString::fromLocal8Bit(commandLine.c_str()))
                                .arg(milliseconds));
    AskOutcome outcome;
    bool closeRequested = false;
    {
        AskRun run(*this, {Tree, menuBar()});
        outcome = run.ask(commandLine, CurrentNode->ensureBoard(), folder(), milliseconds, log,
                          [&log] { log.show(); });
        closeRequested = run.closeRequested();
    }
    StatusBar1->clearMessage();
    endingEngines_.add(std::move(outcome.engineEnded));
    if (closeRequested) {
        close();
        return;
    }
    if (outcome.result != RUN_OK) {
        const std::string_view message = failureMessage(outcome.result);
        dialogs_->showMessage(this, QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size())));
        return;
    }
    // An answer that cannot be read or lies off the board is not shown.
    if (outcome.move && onBoard(outcome.move->x, outcome.move->y)) ImgBoard->markMove(outcome.move->x, outcome.move->y);
}

}  // namespace vorek
