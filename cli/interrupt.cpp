#include "cli/interrupt.h"

namespace vorek::cli {

namespace {

// A signal handler can reach nothing but static state, and a lock-free atomic
// is safe to write from one.
constinit std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void noteInterrupt(int) { interrupted.store(true, std::memory_order_relaxed); }

}  // namespace

InterruptStopsSolve::InterruptStopsSolve(StopOn signals)
    : caught_(signals == StopOn::CtrlC ? 1 : static_cast<int>(SIGNALS.size())) {
    interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    // Every caught signal is held back while the handler runs.
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < caught_; ++i) sigaddset(&action.sa_mask, SIGNALS[i]);
    action.sa_flags = signals == StopOn::CtrlC ? SA_RESETHAND : SA_RESTART;
    for (int i = 0; i < caught_; ++i) {
        struct sigaction wanted = action;
        if (SIGNALS[i] == SIGPIPE) wanted.sa_handler = SIG_IGN;
        ::sigaction(SIGNALS[i], &wanted, &previous_[i]);
    }
}

InterruptStopsSolve::~InterruptStopsSolve() {
    for (int i = 0; i < caught_; ++i) ::sigaction(SIGNALS[i], &previous_[i], nullptr);
}

const std::atomic<bool>* InterruptStopsSolve::flag() const { return &interrupted; }

}  // namespace vorek::cli
