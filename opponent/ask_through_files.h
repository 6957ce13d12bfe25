// Asking a program that speaks the file protocol for its move.
#pragma once

#include <filesystem>
#include <string_view>

#include "board/v2board.h"
#include "opponent/ask_log.h"
#include "opponent/ask_outcome.h"
#include "opponent/child_process.h"

namespace vorek {

// The digit written to "timeouts.dat" for a time of `milliseconds`: whole
// 1100 ms steps, at least 1 and at most 9. The window's digit d asks with
// d x 1100 ms and so gets d back.
int timeoutDigit(int milliseconds);

// Keeps the protocol files of the folder as they are (outcome.found), writes
// the board's position into "plocha.dat" and "tah.dat" and the digit into
// "timeouts.dat" there, the files found renamed aside meanwhile
// (FileSnapshot::writeForNow), runs the command line in the folder and waits
// for it at most `milliseconds` (runOpponentProgram, which ends the program
// and whatever it started at the limit or once it has exited, and logs what
// it had to end), then reads its answer from "tah.dat". The caller puts the
// files back (outcome.found->restore). The writes and the read never follow
// a link at a file's name. A write that fails is logged and the ask goes on.
// When a protocol file (or one named like it but for case) cannot be kept,
// being a named pipe, a folder, a device, a link to one of those or too
// large, nothing is written or run and the outcome's refusal says why.
AskOutcome askThroughFiles(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                           int milliseconds, const AskTimeline& log, const StopFlag* stop = nullptr);

}  // namespace vorek
