// Starting an AI program as a child process and waiting for it: what the file
// protocol and the stdin/stdout protocol share.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vorek {

using ChildClock = std::chrono::steady_clock;

// Set by whoever asks, from another thread or a signal handler, to end an
// ask at once (Ctrl-C in vorek-cli): every wait below takes it as its
// deadline come, within STOP_LOOK.
using StopFlag = std::atomic<bool>;
constexpr std::chrono::milliseconds STOP_LOOK{100};

inline bool stopped(const StopFlag* stop) { return stop != nullptr && stop->load(std::memory_order_relaxed); }

// The standard input and output a started program gets.
struct ChildSetup {
    int input = -1;   // becomes its stdin; -1: /dev/null
    int output = -1;  // becomes its stdout; -1: /dev/null
};

// Starts the program named by the first word, searched on PATH as execvp does
// (taken relative to the folder when it holds a slash), in the folder (empty:
// this program's working directory) with this program's environment. Its
// stderr is /dev/null, it inherits no descriptor but its stdin and stdout,
// and it gets default signal dispositions and an empty signal mask. It leads
// a process group of its own, whose id is its pid, so that whatever it starts
// can be ended with it (endProcessGroup). Nullopt when it cannot be started:
// not found, not executable, no such folder.
std::optional<pid_t> startProgram(const std::vector<std::string>& words, const std::filesystem::path& folder,
                                  const ChildSetup& setup = {});

// True when the child has ended (it stays to be collected), or can no
// longer be waited for (children reaped by the system because SIGCHLD is
// ignored).
bool hasEnded(pid_t pid);

// Waits until the child has ended (hasEnded) or the deadline has passed,
// without collecting it. True when it has ended.
bool endsBy(pid_t pid, ChildClock::time_point deadline, const StopFlag* stop = nullptr);

// Waits for the child to end and collects it. Its wait status; nullopt when
// it can no longer be waited for (reaped by the system because SIGCHLD is
// ignored).
std::optional<int> collectChild(pid_t pid);

// Waits until the descriptor is ready for the events (or in error) or the
// deadline passes; false at the deadline.
bool readyBy(int fd, short events, ChildClock::time_point deadline, const StopFlag* stop = nullptr);

}  // namespace vorek
