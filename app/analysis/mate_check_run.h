// A mate claimed by the analysing engine, checked by our threat search on a
// thread of its own (opponent/mate_claim.h) while the window goes on.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "opponent/mate_claim.h"

namespace vorek {

class MateCheckRun {
public:
    // Starts the search of the position within the budget (its cancel flag
    // is the run's own).
    MateCheckRun(const V2Board& position, const Evaluation& claim, SolveBudget budget);
    // Stops the search and waits for its thread: a few milliseconds, and the
    // freeing of its table. The window hands the run to its disposal.
    ~MateCheckRun();
    MateCheckRun(const MateCheckRun&) = delete;
    MateCheckRun& operator=(const MateCheckRun&) = delete;

    // Asks the search to stop; it does within a few milliseconds.
    void cancel() { cancelled_ = true; }
    bool done() const { return done_.load(std::memory_order_acquire); }
    // The verdict; only once done.
    const MateClaimCheck& check() const { return check_; }
    const Evaluation& claim() const { return search_->claim(); }

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> done_{false};
    std::unique_ptr<MateClaimSearch> search_;  // its budget pointing at cancelled_
    MateClaimCheck check_;
    std::thread worker_;
};

}  // namespace vorek
