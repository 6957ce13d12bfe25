// Starting an AI program as a child process and waiting for it: what the file
// protocol and the stdin/stdout protocol share.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorek {

using ChildClock = std::chrono::steady_clock;

// The standard input and output a started program gets, and its process group.
struct ChildSetup {
    int input = -1;   // becomes its stdin; -1: /dev/null
    int output = -1;  // becomes its stdout; -1: /dev/null
    // A process group of its own, led by it, so that whatever it starts can
    // be stopped together with it.
    bool ownProcessGroup = false;
};

// Starts the program named by the first word, searched on PATH as execvp does
// (taken relative to the folder when it holds a slash), in the folder (empty:
// this program's working directory) with this program's environment. Its
// stderr is /dev/null, it inherits no descriptor but its stdin and stdout,
// and it gets default signal dispositions and an empty signal mask. Nullopt
// when it cannot be started: not found, not executable, no such folder.
std::optional<pid_t> startProgram(const std::vector<std::string>& words, const std::filesystem::path& folder,
                                  const ChildSetup& setup = {});

// Waits until the child has ended or the deadline has passed, without
// collecting it. True when it has ended, or can no longer be waited for
// (children reaped by the system because SIGCHLD is ignored).
bool endsBy(pid_t pid, ChildClock::time_point deadline);

// Waits for the child to end and collects it. Its wait status; nullopt when
// it can no longer be waited for (reaped by the system because SIGCHLD is
// ignored).
std::optional<int> collectChild(pid_t pid);

// Waits until the descriptor is ready for the events (or in error) or the
// deadline passes; false at the deadline.
bool readyBy(int fd, short events, ChildClock::time_point deadline);

// Collects the child on a thread of its own whenever it ends, so that it
// does not stay behind as a zombie; the caller is not held up. Only this pid
// is waited for.
void reapWhenEnded(pid_t pid);

}  // namespace vorek
