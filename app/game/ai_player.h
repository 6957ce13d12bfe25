// "AI Plays x" and "AI Plays o": an AI program answers on the board of the
// "Game" page. After each move, where the letter now to move is the AI's,
// the program is asked for its move in the position (the window resting,
// its thinking time shown, Escape stopping it) and its answer is played as
// a click would play it, with the time it took. One program may play both
// letters: the game then plays itself. A failure, an answer that cannot be
// played, or Escape hands both letters back to the user.
#pragma once

#include <QObject>
#include <array>
#include <memory>
#include <optional>

#include "app/ask/ending_engines.h"
#include "app/game/move_asker.h"
#include "app/game/player_dialogs.h"

namespace vorek {

class GameCommands;
class WindowFeatures;

class AiPlayer final : public QObject {
    Q_OBJECT

public:
    AiPlayer(WindowFeatures& window, GameCommands& game);
    ~AiPlayer() override;

    // "AI Plays x" or "AI Plays o" checked or cleared: checked asks which
    // program and how long, and the AI moves at once where it is its turn.
    void AiPlaysClick(char letter, bool on);
    // Lets the program of the choice play the letter (nullopt: the user).
    void setPlayer(char letter, const std::optional<AiChoice>& choice);
    bool plays(char letter) const { return seat(letter).has_value(); }
    // Hands both letters back to the user.
    void stop();

    // Where the game's letter to move is the AI's, its move comes as soon as
    // the window has shown the position.
    void moveIfItsTurn();
    // Asks for the AI's move now, where it is its turn; true when one was played.
    bool moveNow();

    void setDialogs(std::unique_ptr<PlayerDialogs> dialogs) { dialogs_ = std::move(dialogs); }

private:
    struct Seat {
        AiChoice choice;
        std::unique_ptr<MoveAsker> asker;
    };
    const std::optional<Seat>& seat(char letter) const { return seats_[letter == 'x' ? 0 : 1]; }
    std::optional<Seat>& seat(char letter) { return seats_[letter == 'x' ? 0 : 1]; }
    std::optional<char> letterToMove() const;
    void showChecks();
    void leave(std::optional<Seat>& player);

    WindowFeatures& window_;
    GameCommands& game_;
    std::unique_ptr<PlayerDialogs> dialogs_;
    std::array<std::optional<Seat>, 2> seats_;
    bool moveComing_ = false;
    EndingEngines endingEngines_;  // waited for when the window goes
};

}  // namespace vorek
