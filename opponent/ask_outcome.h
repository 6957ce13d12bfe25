// What asking an AI program for its move gives back.
#pragma once

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_snapshot.h"
#include "files/position_files.h"
#include "opponent/process_group.h"
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
    // For a stdin/stdout engine that was started: ready once its process
    // group has ended and the engine has been collected. Invalid otherwise.
    // Dropping it does not wait.
    std::future<void> engineEnded;
    // Why a file-protocol program was not run at all, naming the file: a
    // protocol file in the folder that could not be put back afterwards (a
    // named pipe, a folder, ...), which is left as it is. The result is then
    // RUN_NOT_STARTED. Empty otherwise.
    std::string refusal;
    // After a file-protocol ask that wrote into the folder: the protocol
    // files as they were found, some renamed aside (FileSnapshot::
    // writeForNow), for the caller to put back (FileSnapshot::restore).
    // Nullopt otherwise.
    std::optional<FileSnapshot> found;
    // How a file-protocol program ended, after "the program ": "exited with
    // code 255", ...; empty when it did not run.
    std::string programEnd;
    // What ending the program's processes did: for a file-protocol program
    // when the ask returns, for a stdin/stdout engine once engineEnded is
    // ready. Null when nothing was started.
    std::shared_ptr<GroupEnd> processesEnded;
};

// The message for a failed result: "AI Error", "Timeout" or "File not found";
// empty for RUN_OK.
std::string_view failureMessage(RunResult result);

// What the user is told of an ask that failed: its refusal, or else the
// message of its result; empty for RUN_OK.
std::string outcomeMessage(const AskOutcome& outcome);

}  // namespace vorek
