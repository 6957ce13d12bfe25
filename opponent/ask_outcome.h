// What asking an AI program for its move gives back.
#pragma once

#include <future>
#include <optional>
#include <string_view>

#include "files/position_files.h"
#include "opponent/process_runner.h"

namespace vorek {

struct AskOutcome {
    // RUN_OK: the program answered. Otherwise the failure: RUN_FAILED ("AI
    // Error"), RUN_TIMEOUT ("Timeout") or RUN_NOT_STARTED ("File not found").
    RunResult result = RUN_FAILED;
    // The move read, column and row as written, not checked against the board.
    // With RUN_OK a stdin/stdout engine always gives one; a file-protocol
    // program may leave "tah.dat" without a readable move.
    std::optional<MoveReply> move;
    // For a stdin/stdout engine that was started: ready once its process has
    // ended and been collected. Invalid otherwise. Dropping it does not wait.
    std::future<void> engineEnded;
};

// The message for a failed result: "AI Error", "Timeout" or "File not found";
// empty for RUN_OK.
std::string_view failureMessage(RunResult result);

}  // namespace vorek
