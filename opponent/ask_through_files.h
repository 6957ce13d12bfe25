// Asking a program that speaks the file protocol for its move.
#pragma once

#include <filesystem>
#include <string_view>

#include "board/v2board.h"
#include "opponent/ask_log.h"
#include "opponent/ask_outcome.h"

namespace vorek {

// The digit written to "timeouts.dat" for a time of `milliseconds`: whole
// 1100 ms steps, at least 1 and at most 9. The window's digit d asks with
// d x 1100 ms and so gets d back.
int timeoutDigit(int milliseconds);

// Writes the board's position into "plocha.dat" and "tah.dat" and the digit
// into "timeouts.dat" in the folder, runs the command line there and waits
// for it at most `milliseconds` (RunOpponent), then reads its answer from
// "tah.dat". A write that fails is logged and the ask goes on. The program
// is never stopped; one still running at the limit is left to end on its own.
AskOutcome askThroughFiles(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                           int milliseconds, const AskTimeline& log);

}  // namespace vorek
