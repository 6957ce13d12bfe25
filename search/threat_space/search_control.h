// The budget of one solve, shared by its threat searches: nodes, time and
// the cancel flag, with the progress published for other threads.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "search/solver.h"

namespace vorek {

class SearchControl {
public:
    explicit SearchControl(const SolveBudget& budget);

    // Counts one node searched; looks at the clock and the cancel flag now
    // and then. False, counting nothing, once the budget is spent or the
    // solve cancelled.
    bool countNode() {
        if (stopped_) return false;
        ++nodes_;
        if ((nodes_ & (CHECK_EVERY - 1)) == 0 || nodes_ == budget_.maxNodes) checkBudget();
        return !stopped_;
    }
    bool stopped() const { return stopped_; }
    // Why the solve stopped; Settled while it runs.
    SolveStop reason() const { return reason_; }
    std::uint64_t nodes() const { return nodes_; }
    double seconds() const;

    // The numbers of the search that runs now, for the progress: the side
    // to move's, or, once swapped, the other side's.
    void showNumbers(std::int32_t pn, std::int32_t dn) {
        pn_ = swapped_ ? dn : pn;
        dn_ = swapped_ ? pn : dn;
    }
    void swapNumbers() { swapped_ = true; }
    // The progress as last published; safe from any thread.
    SolveProgress progress() const;
    // Publishes the progress now.
    void publish();

private:
    static constexpr std::uint64_t CHECK_EVERY = 1024;  // a power of two
    void checkBudget();

    SolveBudget budget_;
    std::chrono::steady_clock::time_point start_;
    std::uint64_t nodes_ = 0;
    bool stopped_ = false;
    SolveStop reason_ = SolveStop::Settled;
    std::int32_t pn_ = 1;
    std::int32_t dn_ = 1;
    bool swapped_ = false;

    std::atomic<std::uint64_t> publishedNodes_{0};
    std::atomic<double> publishedSeconds_{0};
    std::atomic<std::int32_t> publishedPn_{1};
    std::atomic<std::int32_t> publishedDn_{1};
};

}  // namespace vorek
