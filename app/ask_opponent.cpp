// Asking an external AI program for its move in the shown position, through
// the position files of the window's folder, and circling its answer on the
// board.
#include "app/board_image.h"
#include "app/form1.h"
#include "app/opponent_dialogs.h"
#include "opponent/process_runner.h"
#include "board/position_files.h"

namespace vorek {

namespace {

constexpr int MILLISECONDS_PER_DIGIT = 1100;

// The message for a run that gave no answer to read.
QString failureMessage(int result) {
    switch (result) {
        case RUN_TIMEOUT: return QStringLiteral("Timeout");
        case RUN_NOT_STARTED: return QStringLiteral("File not found");
        default: return QStringLiteral("AI Error");
    }
}

bool onBoard(const MoveReply& move) {
    return move.x >= 0 && move.x < BOARD_SIDE && move.y >= 0 && move.y < BOARD_SIDE;
}

}  // namespace

void TForm1::setOpponentDialogs(std::unique_ptr<OpponentDialogs> dialogs) {
    dialogs_ = std::move(dialogs);
}

// Waits for the AI on this thread, for at most digit x 1.1 s. The answer is
// only shown; neither the tree nor the current node changes.
void TForm1::AskOpponentMove(int digit) {
    const QString commandLine = dialogs_->askCommandLine(this);
    ShowSelectedNode();
    folder_.writePosition(CurrentNode->ensureBoard());
    writeTimeouts(digit, folder());
    const int result = RunOpponent(commandLine.toLocal8Bit().toStdString(),
                                   digit * MILLISECONDS_PER_DIGIT, folder());
    if (result != RUN_OK) {
        dialogs_->showMessage(this, failureMessage(result));
        return;
    }
    // An answer that cannot be read or lies off the board is not shown.
    const std::optional<MoveReply> move = readMoveReply(folder());
    if (move && onBoard(*move)) ImgBoard->markMove(move->x, move->y);
}

}  // namespace vorek
