// The budget of one solve, counted by whichever search runs it (the tree's
// solver or the threat search): nodes, time, memory and the cancel flag; why
// the solve stopped; and the progress, published for other threads.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "search/proof_numbers.h"
#include "search/solve_report.h"

namespace vorek {

// How a search holds memory: growing as it goes (a tree of nodes), when the
// process's memory is looked at now and then against the budget; or fixed
// when it starts (a table sized to the budget), when it is not.
enum class MemoryUse { Grows, Fixed };

class SearchControl {
public:
    // The clock starts now.
    explicit SearchControl(const SolveBudget& budget, MemoryUse memory = MemoryUse::Fixed);

    // Counts one node searched; looks at the budget now and then. False,
    // counting nothing, once the budget is spent or the solve cancelled.
    bool countNode() {
        if (stopped_) return false;
        ++nodes_;
        if ((nodes_ & (CHECK_EVERY - 1)) == 0 || nodes_ == budget_.maxNodes) checkBudget();
        return !stopped_;
    }
    // Counts nodes made together (an expansion's children); the node budget
    // is looked at at once, the rest when a multiple of the check interval is
    // passed. False once the budget is spent.
    bool countNodes(std::uint64_t count);
    // Looks at the budget now (before the first node, for one); false once
    // it is spent.
    bool checkNow();

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

    // Room kept free below the memory budget: more than a search allocates
    // between two looks at the memory.
    static constexpr std::size_t MEMORY_MARGIN = std::size_t{64} << 20;

private:
    static constexpr std::uint64_t CHECK_EVERY = 1024;  // nodes, a power of two
    static constexpr std::uint64_t MEMORY_CHECK_EVERY = 256;  // checks of the budget
    void checkBudget();

    SolveBudget budget_;
    std::size_t memoryLimit_;  // 0: not looked at
    std::chrono::steady_clock::time_point start_;
    std::uint64_t nodes_ = 0;
    std::uint64_t checks_ = 0;
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

// The memory a solve may hold under the budget: its own, or half the machine's.
std::size_t memoryLimitOf(const SolveBudget& budget);

}  // namespace vorek
