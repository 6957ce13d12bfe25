// Ctrl-C during a solve or an ask: the first one asks the solver (or the
// ask) to stop, so that the command can still print what it reached, or put
// back what it changed.
#pragma once

#include <array>
#include <atomic>
#include <csignal>

namespace vorek::cli {

// Which signals stop the work, and how:
// - CtrlC: the first Ctrl-C (SIGINT) sets the flag; a second one ends the
//   tool as usual;
// - EveryEndRequest: Ctrl-C, Ctrl-\ (SIGQUIT) and the requests to end that a
//   terminal closing or a process manager sends (SIGHUP, SIGTERM) set the
//   flag, however many come, and SIGPIPE is ignored (a write to a closed pipe
//   fails instead): for work that must not end before undoing what it did.
enum class StopOn { CtrlC, EveryEndRequest };

// While it lives, the signals act as `StopOn` says; then each is handled as
// before. One at a time.
class InterruptStopsSolve {
public:
    explicit InterruptStopsSolve(StopOn signals = StopOn::CtrlC);
    ~InterruptStopsSolve();
    InterruptStopsSolve(const InterruptStopsSolve&) = delete;
    InterruptStopsSolve& operator=(const InterruptStopsSolve&) = delete;

    // Set once a signal has come; give it to the solver as its cancel flag.
    const std::atomic<bool>* flag() const;

private:
    static constexpr std::array<int, 5> SIGNALS{SIGINT, SIGHUP, SIGTERM, SIGQUIT, SIGPIPE};
    int caught_ = 0;  // how many of SIGNALS, from the first
    std::array<struct sigaction, SIGNALS.size()> previous_{};
};

}  // namespace vorek::cli
