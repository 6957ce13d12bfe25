// Asking an AI program for its move in a position: the one way in for the
// window and vorek-cli. The protocol follows from the program's name.
#pragma once

#include <filesystem>
#include <string_view>

#include "board/v2board.h"
#include "opponent/ask_log.h"
#include "opponent/ask_outcome.h"
#include "opponent/child_process.h"

namespace vorek {

// True when the program of that path speaks the stdin/stdout protocol: the
// path's last component begins with "pbrain-", case ignored.
bool namesStdinEngine(std::string_view program);

// True when the command line's first word names a program that speaks the
// stdin/stdout protocol (namesStdinEngine). Any other program speaks the
// file protocol.
bool speaksStdinProtocol(std::string_view commandLine);

// Asks the program of the command line (split as splitCommandLine splits it,
// started in the folder; empty: the working directory) for its move in the
// board's position, whose side to move is the board's sideToMove, with
// `milliseconds` for its move:
// - a stdin/stdout engine gets "INFO timeout_turn milliseconds" and
//   milliseconds + 1 s to answer after START (askThroughPipes);
// - a file-protocol program gets timeoutDigit(milliseconds) in
//   "timeouts.dat", the position files in the folder, and `milliseconds` to
//   end (askThroughFiles).
// The program runs in a process group of its own (and a cgroup of its own
// where the system allows one, and under a warden process that ends it
// should this process die first), and nothing of it runs once the ask is
// over (a stdin/stdout engine: once engineEnded is ready); what had to be
// ended is in outcome.processesEnded. A SIGCHLD this process ignores is set
// back to its default first, so that the program's exit status can be read.
// Blocks the caller until the answer or the limit; a stop ends the ask early
// as "AI Error". The log gets every line of the exchange, on this thread.
// Never throws.
AskOutcome askOpponent(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                       int milliseconds, AskLog& log, const StopFlag* stop = nullptr);

}  // namespace vorek
