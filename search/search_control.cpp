#include "search/search_control.h"

#include <cassert>

#include "search/process_memory.h"

namespace vorek {

std::size_t memoryLimitOf(const SolveBudget& budget) {
    return budget.maxMemoryBytes ? budget.maxMemoryBytes : physicalMemory() / 2;
}

SearchControl::SearchControl(const SolveBudget& budget, MemoryUse memory)
    : budget_(budget),
      memoryLimit_(memory == MemoryUse::Grows ? memoryLimitOf(budget) : 0),
      start_(std::chrono::steady_clock::now()) {
    assert(budget.maxSeconds >= 0);
}

double SearchControl::seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

bool SearchControl::countNodes(std::uint64_t count) {
    if (stopped_) return false;
    const std::uint64_t before = nodes_;
    nodes_ += count;
    if (budget_.maxNodes && nodes_ >= budget_.maxNodes) {
        reason_ = SolveStop::Nodes;
        stopped_ = true;
        publish();
    } else if (before / CHECK_EVERY != nodes_ / CHECK_EVERY) {
        checkBudget();
    }
    return !stopped_;
}

bool SearchControl::checkNow() {
    checkBudget();
    return !stopped_;
}

void SearchControl::checkBudget() {
    if (stopped_) return;
    const bool memoryTime = memoryLimit_ && checks_++ % MEMORY_CHECK_EVERY == 0;
    if (budget_.cancel && budget_.cancel->load(std::memory_order_relaxed)) {
        reason_ = SolveStop::Interrupted;
    } else if (budget_.maxNodes && nodes_ >= budget_.maxNodes) {
        reason_ = SolveStop::Nodes;
    } else if (budget_.maxSeconds > 0 && seconds() >= budget_.maxSeconds) {
        reason_ = SolveStop::Seconds;
    } else if (memoryTime && currentMemory() + MEMORY_MARGIN >= memoryLimit_) {
        reason_ = SolveStop::Memory;
    } else {
        publish();
        return;
    }
    stopped_ = true;
    publish();
}

void SearchControl::publish() {
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
    publishedSeconds_.store(seconds(), std::memory_order_relaxed);
    publishedPn_.store(pn_, std::memory_order_relaxed);
    publishedDn_.store(dn_, std::memory_order_relaxed);
}

SolveProgress SearchControl::progress() const {
    return {publishedNodes_.load(std::memory_order_relaxed), publishedSeconds_.load(std::memory_order_relaxed),
            publishedPn_.load(std::memory_order_relaxed), publishedDn_.load(std::memory_order_relaxed)};
}

}  // namespace vorek
