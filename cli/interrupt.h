// Ctrl-C during a solve or an ask: the first one asks the solver (or the
// ask) to stop, so that the command can still print what it reached, or put
// back what it changed.
#pragma once

#include <atomic>
#include <csignal>

namespace vorek::cli {

// While it lives, the first Ctrl-C sets flag(); a second one ends the tool as
// usual. One at a time.
class InterruptStopsSolve {
public:
    InterruptStopsSolve();
    ~InterruptStopsSolve();
    InterruptStopsSolve(const InterruptStopsSolve&) = delete;
    InterruptStopsSolve& operator=(const InterruptStopsSolve&) = delete;

    // Set once Ctrl-C has been pressed; give it to the solver as its cancel flag.
    const std::atomic<bool>* flag() const;

private:
    struct sigaction previous_ {};
};

}  // namespace vorek::cli
