// Starting an AI program as a child process and waiting for it: what the file
// protocol and the stdin/stdout protocol share.
#pragma once

#include <signal.h>
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

// The standard input and output a started program gets, and what holds it.
struct ChildSetup {
    int input = -1;   // becomes its stdin; -1: /dev/null
    int output = -1;  // becomes its stdout; -1: /dev/null
    // The "cgroup.procs" file of a cgroup it starts in (ProcessCgroup), open
    // for writing; -1: the cgroup of this process. A program the system does
    // not let into it starts in this process's.
    int cgroupProcs = -1;
    // It gets SIGKILL when the thread that started it ends, this process
    // killed outright among the ways: for a program that is always ended
    // before that thread goes.
    bool endsWithCaller = false;
};

// The file a program's name leads to, looked up as a shell does: a name
// with a slash is taken as it is (relative to the folder it runs in); any
// other is searched for in the folders of PATH (or, without one, the
// system's default), an empty or relative entry taken from this process's
// working directory, and is the first regular file there that this process
// may run. Nullopt when there is none.
std::optional<std::string> programPath(const std::string& name);

// Starts the program named by the first word (programPath) in the folder
// (empty: this program's working directory) with this program's
// environment. Its stderr is /dev/null, it inherits no descriptor but its
// stdin and stdout, and it gets default signal dispositions and an empty
// signal mask. It leads a process group of its own, whose id is its pid, so
// that whatever it starts can be ended with it (endProcessGroup). Nullopt
// when it cannot be started (not found, not executable, no such folder),
// with errno saying why.
std::optional<pid_t> startProgram(const std::vector<std::string>& words, const std::filesystem::path& folder,
                                  const ChildSetup& setup = {});

// Every signal held back on this thread while the object lives, the mask of
// before put back after: a fork made meanwhile runs no handler of this
// process in the child before the child sets them to default.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// Lets this process collect its children's exit statuses: a SIGCHLD that it
// was started ignoring (or with SA_NOCLDWAIT), which has the system collect
// them at once, is set back to its default.
void keepChildStatuses();

// A descriptor that refers to the process, whatever process takes its id
// later (a pidfd); -1, with errno, when it has gone or the system has none
// (ENOSYS).
int openPidfd(pid_t pid);

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
