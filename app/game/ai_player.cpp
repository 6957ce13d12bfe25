#include "app/game/ai_player.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include "app/ask/ask_commands.h"
#include "app/board_view/position_view.h"
#include "app/game/game_commands.h"
#include "app/game/game_menu.h"
#include "app/game/session_asker.h"
#include "app/recent_list.h"
#include "app/window_features.h"
#include "board/five_in_row.h"
#include "board/square_text.h"
#include "opponent/ask_opponent.h"

namespace vorek {

namespace {

constexpr int DEFAULT_MILLISECONDS = 5500;

}  // namespace

AiPlayer::AiPlayer(WindowFeatures& window, GameCommands& game)
    : window_(window),
      game_(game),
      dialogs_(std::make_unique<QtPlayerDialogs>()) {}

AiPlayer::~AiPlayer() { stop(); }

void AiPlayer::AiPlaysClick(char letter, bool on) {
    if (!on) {
        setPlayer(letter, std::nullopt);
        return;
    }
    const int milliseconds = plays(letter) ? seat(letter)->choice.milliseconds : DEFAULT_MILLISECONDS;
    const std::optional<AiChoice> choice =
        dialogs_->choosePlayer(&window_.widgets().window, letter, recentEntries(RECENT_COMMANDS_KEY), milliseconds);
    if (choice) addRecentEntry(RECENT_COMMANDS_KEY, choice->commandLine);
    setPlayer(letter, choice);
}

void AiPlayer::setPlayer(char letter, const std::optional<AiChoice>& choice) {
    leave(seat(letter));
    if (choice) {
        const QString& commandLine = choice->commandLine;
        // A stdin/stdout engine keeps running between its moves.
        std::unique_ptr<MoveAsker> asker = speaksStdinProtocol(commandLine.toLocal8Bit().toStdString())
                                               ? askRunningEngine(window_, commandLine)
                                               : askEachMove(window_.ask(), commandLine);
        seat(letter) = Seat{*choice, std::move(asker)};
    }
    showChecks();
    moveIfItsTurn();
}

void AiPlayer::stop() {
    for (std::optional<Seat>& s : seats_) leave(s);
    showChecks();
}

// A program that keeps running is ended; the window waits for its end when it goes.
void AiPlayer::leave(std::optional<Seat>& player) {
    if (!player) return;
    endingEngines_.add(player->asker->end());
    player.reset();
}

void AiPlayer::showChecks() {
    window_.widgets().gameMenu.AiPlaysX1->setChecked(plays('x'));
    window_.widgets().gameMenu.AiPlaysO1->setChecked(plays('o'));
}

// The letter to move in the game's position shown, while the window shows
// one and the game is not over.
std::optional<char> AiPlayer::letterToMove() const {
    const GameTree* game = game_.game();
    if (game == nullptr || window_.controller().mode() != WindowMode::GAME) return std::nullopt;
    if (game->over()) return std::nullopt;
    return game->letterToMove(game->selected());
}

void AiPlayer::moveIfItsTurn() {
    const std::optional<char> letter = letterToMove();
    if (!letter || !plays(*letter) || moveComing_) return;
    // After the window has painted the move before.
    moveComing_ = true;
    QTimer::singleShot(0, this, [this] {
        moveComing_ = false;
        if (moveNow()) moveIfItsTurn();
    });
}

bool AiPlayer::moveNow() {
    const std::optional<char> letter = letterToMove();
    if (!letter || !plays(*letter)) return false;
    Seat& player = *seat(*letter);
    const AiChoice choice = player.choice;
    const std::unique_ptr<V2Board> board = window_.controller().rootBoard()->clone();
    QElapsedTimer thinking;
    thinking.start();
    const WindowAsk asked =
        player.asker->askMove(*board, choice.milliseconds,
                              QStringLiteral("%3: %1 thinks, %2 s of %4 s")
                                  .arg(QStringLiteral("%1"), QStringLiteral("%2"), QString(QLatin1Char(*letter)),
                                       QString::number(choice.milliseconds / 1000.0, 'f', 1)));
    const int took = static_cast<int>(thinking.elapsed());
    if (asked.closeRequested) {
        stop();
        window_.widgets().window.close();
        return false;
    }
    if (asked.stopped) {
        stop();
        window_.say(QStringLiteral("Stopped the AI; the board is yours"));
        return false;
    }
    if (asked.outcome.result != RUN_OK) {
        stop();
        window_.ask().dialogs().showMessage(&window_.widgets().window,
                                            AskCommands::failureText(asked, choice.commandLine, choice.milliseconds));
        return false;
    }
    const std::optional<MoveReply>& move = asked.outcome.move;
    const bool onTheBoard = move && onBoard(move->x, move->y);
    if (!onTheBoard || !board->isEmpty(squareAt(move->x, move->y))) {
        stop();
        const QString answer =
            move ? QStringLiteral("%1,%2").arg(move->x).arg(move->y) : QStringLiteral("nothing readable");
        window_.ask().dialogs().showMessage(
            &window_.widgets().window,
            QStringLiteral("AI Error: \"%1\" answered %2, which cannot be played; the board is yours.")
                .arg(choice.commandLine, answer));
        return false;
    }
    const int square = squareAt(move->x, move->y);
    if (!game_.playAiMove(square, took)) return false;
    QString said = QStringLiteral("%1 played %2 in %3 s")
                       .arg(QLatin1Char(*letter))
                       .arg(QString::fromStdString(squareText(move->x, move->y)))
                       .arg(QString::number(took / 1000.0, 'f', 1));
    if (!asked.words.eval.isEmpty()) said += QStringLiteral(", eval ") + asked.words.eval;
    window_.say(said);
    return true;
}

}  // namespace vorek
