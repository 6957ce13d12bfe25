// Asking an engine that speaks the stdin/stdout protocol for its move.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "board/v2board.h"
#include "opponent/ask_log.h"
#include "opponent/ask_outcome.h"

namespace vorek {

// Time an engine has to answer START with OK.
constexpr std::chrono::seconds START_LIMIT{5};
// Time an engine has for its move beyond its turn time, counted from the
// BEGIN or DONE that asks for it.
constexpr std::chrono::milliseconds ANSWER_MARGIN{1000};
// Received lines logged per ask; a flood of output is read on but not logged.
constexpr int LOGGED_LINES = 1000;

// Starts the engine (the words of its command line) in the folder with its
// stdin and stdout on pipes, and asks for its move in the board's position
// (the side to move is the board's sideToMove) with a turn time of
// `milliseconds`: START 20 (OK within START_LIMIT), the INFO lines, BEGIN or
// BOARD ... DONE, then lines up to the move (MESSAGE and DEBUG lines passed
// over) within milliseconds + ANSWER_MARGIN. Only a line after BEGIN or DONE
// is the move: lines the engine wrote before it are logged and passed over.
// Then END is sent and the engine is ended in the background with whatever
// it started (EnginePipes::end). Blocks for at most START_LIMIT for the
// start, START_LIMIT more for handing the lines to an engine that does not
// read them, and milliseconds + ANSWER_MARGIN for the move; a stop ends the
// ask at once as RUN_FAILED.
AskOutcome askThroughPipes(const std::vector<std::string>& words, const V2Board& board,
                           const std::filesystem::path& folder, int milliseconds, const AskTimeline& log,
                           const StopFlag* stop = nullptr);

// The lines that put the board's position to an engine: BEGIN on an empty
// board, otherwise BOARD, one "x,y,f" line per stone in stonesToSend order,
// and DONE.
std::vector<std::string> positionLines(const V2Board& board);

}  // namespace vorek
