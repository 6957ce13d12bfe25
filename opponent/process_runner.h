// Running an external AI program: the typed command line is split into words,
// the program is started hidden in the working directory, and waited for with
// a time limit. Then it is ended with everything it started.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "opponent/child_process.h"
#include "opponent/process_group.h"

namespace vorek {

// RUN_OK: exited with 0. RUN_FAILED: any other exit code, or ended by a signal.
// RUN_TIMEOUT: still running at the limit. RUN_NOT_STARTED: empty command, not
// found, not executable: it never ran.
enum RunResult : int { RUN_OK = 0, RUN_FAILED = 1, RUN_TIMEOUT = 2, RUN_NOT_STARTED = 3 };

// Splits a command line into words as a POSIX shell does (quotes and backslashes honoured,
// no expansion); nullopt for an unterminated quote or trailing backslash.
// Space, tab and newline separate words; every other character, shell operators
// included, is part of a word. A NUL character cannot be passed on and gives nullopt.
std::optional<std::vector<std::string>> splitCommandLine(std::string_view text);

// Starts the program in the folder (empty: this program's working directory)
// with stdin/stdout/stderr on /dev/null, waits at most `milliseconds`, and
// returns RUN_OK .. RUN_NOT_STARTED. The first word names the program, looked
// up as programPath does. The program gets default signal dispositions, an
// empty signal mask, no other open descriptors, a process group of its own,
// a cgroup of its own where the system allows one, and SIGKILL should the
// calling thread end first. When it has exited, or at the limit, whatever of
// it still runs, the program too, is ended (endProcessGroup: SIGTERM, and
// SIGKILL after a grace), so that nothing of it runs once this returns.
// Blocks for at most the limit, ENDING_GRACE and KILL_BOUND.
RunResult RunOpponent(std::string_view commandLine, int milliseconds, const std::filesystem::path& folder = {});

struct RunReport {
    RunResult result;  // as RunOpponent returns it
    std::string how;  // for a log, after "the program ": "exited with code 3", "ended by signal 11", ...
                      // and what ending its group did
    GroupEnd end;     // what ending its processes did
};

// RunOpponent with a description of how the program ended. A stop ends the
// wait early; the program is ended as at the limit and the result is RUN_FAILED.
RunReport runOpponentProgram(std::string_view commandLine, int milliseconds,
                             const std::filesystem::path& folder = {}, const StopFlag* stop = nullptr);

}  // namespace vorek
