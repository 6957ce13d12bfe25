// Where the AI player gets its moves: the program of a command line, asked
// for its move in one position after another of a game.
#pragma once

#include <QString>
#include <future>
#include <memory>

#include "app/ask/ask_commands.h"
#include "board/v2board.h"

namespace vorek {

class MoveAsker {
public:
    virtual ~MoveAsker() = default;
    // The program's move in the board's position (its side to move the
    // board's), within `milliseconds`; the window rests meanwhile, its status
    // bar saying `waiting` (the program in place of %1, the seconds gone by
    // in place of %2), and Escape stops the ask.
    virtual WindowAsk askMove(const V2Board& board, int milliseconds, const QString& waiting) = 0;
    // Ends whatever of the program still runs; the future is ready once it
    // has ended (invalid where nothing runs). Called once, before the asker goes.
    virtual std::future<void> end() { return {}; }
};

// Asks the program as the digit keys do, through either protocol, starting
// it anew for each move.
std::unique_ptr<MoveAsker> askEachMove(AskCommands& ask, const QString& commandLine);

}  // namespace vorek
