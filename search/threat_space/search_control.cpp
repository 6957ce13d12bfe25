#include "search/threat_space/search_control.h"

namespace vorek {

SearchControl::SearchControl(const SolveBudget& budget)
    : budget_(budget), start_(std::chrono::steady_clock::now()) {}

double SearchControl::seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void SearchControl::checkBudget() {
    if (stopped_) return;
    if (budget_.cancel && budget_.cancel->load(std::memory_order_relaxed)) {
        reason_ = SolveStop::Interrupted;
    } else if (budget_.maxNodes && nodes_ >= budget_.maxNodes) {
        reason_ = SolveStop::Nodes;
    } else if (budget_.maxSeconds > 0 && seconds() >= budget_.maxSeconds) {
        reason_ = SolveStop::Seconds;
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
