#include "app/analysis/mate_check_run.h"

namespace vorek {

MateCheckRun::MateCheckRun(const V2Board& position, const Evaluation& claim, SolveBudget budget) {
    budget.cancel = &cancelled_;
    search_ = std::make_unique<MateClaimSearch>(position, claim, budget);
    // The verdict passes to the window's thread through done_ alone.
    worker_ = std::thread([this] {
        check_ = search_->run();
        done_.store(true, std::memory_order_release);
    });
}

MateCheckRun::~MateCheckRun() {
    cancel();
    if (worker_.joinable()) worker_.join();
}

}  // namespace vorek
