// Whether the processes a test program started are still there, read from
// /proc: a program asked by a test must leave none running.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vorek::testing {

// True when /proc lists the process and it is no zombie: it still runs.
bool isRunning(pid_t pid);

// The process ids written in the text (a file that scripts append "$$" or
// "$!" to), one or more a line, that still run.
std::vector<pid_t> runningOf(const std::string& pids);

// The processes of the group that still run.
std::vector<pid_t> runningInGroupOf(pid_t group);

}  // namespace vorek::testing
