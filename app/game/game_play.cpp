// Playing on the board of the "Game" page: moves by click or by the AI,
// variations, and stepping back and forth along the line.
#include <QTabWidget>
#include <QTreeWidget>

#include "app/game/ai_player.h"
#include "app/game/game_commands.h"
#include "app/game/game_page.h"
#include "app/window_features.h"
#include "board/square_text.h"

namespace vorek {

bool GameCommands::ImgBoardClick(int square, Qt::MouseButton button) {
    if (button != Qt::LeftButton || !pageShownNow()) return false;
    return PlayMove(square);
}

bool GameCommands::PlayMove(int square) {
    if (!game_ || !window_.allows(Command::PLAY_MOVE)) return false;
    if (!played(game_->play(square, static_cast<int>(sinceShown_.elapsed())))) return false;
    ai_->moveIfItsTurn();
    return true;
}

bool GameCommands::playAiMove(int square, int milliseconds) {
    if (!game_ || !window_.allows(Command::PLAY_MOVE) || !isSquare(square)) return false;
    return played(game_->play(square, milliseconds));
}

// The new position is shown, the rows follow the line, and the keyboard goes
// to the list so that Back and Forward work at once.
bool GameCommands::played(GameTree::Play result) {
    switch (result) {
        case GameTree::Play::Taken: return false;
        case GameTree::Play::GameOver:
            window_.say(QStringLiteral("The game is over: a five stands on the board"));
            return false;
        case GameTree::Play::Played: break;
    }
    showGame();
    if (pageShownNow()) page_.GameList->setFocus();
    return true;
}

void GameCommands::BackClick() {
    if (game_ && game_->selected() > 0) ShowGamePosition(game_->selected() - 1, game_->selected());
}

void GameCommands::ForwardClick() {
    if (game_ && game_->selected() < game_->length()) ShowGamePosition(game_->selected() + 1, game_->selected());
}

void GameCommands::DeleteMoveClick() {
    if (!game_ || !window_.allows(Command::PLAY_MOVE)) return;
    if (!game_->removeSelected()) return;
    showGame();
}

void GameCommands::chooseNextMove(int index) {
    if (!game_ || !window_.allows(Command::STEP_GAME)) {
        if (game_) showSelected();
        return;
    }
    const std::vector<int>& moves = game_->nextMoves(game_->selectedId());
    if (index < 0 || static_cast<std::size_t>(index) >= moves.size()) return;
    game_->choose(moves[static_cast<std::size_t>(index)]);
    showGame();
}

}  // namespace vorek
