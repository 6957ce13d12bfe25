// Ctrl-C during a solve or an ask: the first one asks the solver (or the
// ask) to stop, so that the command can still print what it reached, or put
// back what it changed.
#pragma once

#include <array>
#include <atomic>
#include <csignal>

namespace vorek::cli {

// Which signals stop the work: Ctrl-C alone, or also the requests to end
// that a terminal closing or a process manager sends (SIGHUP, SIGTERM), for
// work that must not end without undoing what it did.
enum class StopOn { CtrlC, CtrlCAndEndRequests };

// While it lives, the first of the signals sets flag(); a second one ends
// the tool as usual. One at a time.
class InterruptStopsSolve {
public:
    explicit InterruptStopsSolve(StopOn signals = StopOn::CtrlC);
    ~InterruptStopsSolve();
    InterruptStopsSolve(const InterruptStopsSolve&) = delete;
    InterruptStopsSolve& operator=(const InterruptStopsSolve&) = delete;

    // Set once a signal has come; give it to the solver as its cancel flag.
    const std::atomic<bool>* flag() const;

private:
    static constexpr std::array<int, 3> SIGNALS{SIGINT, SIGHUP, SIGTERM};
    int caught_ = 0;  // how many of SIGNALS, from the first
    std::array<struct sigaction, SIGNALS.size()> previous_{};
};

}  // namespace vorek::cli
