#include "app/game/analysis_run.h"

#include "search/threat_space/threat_solver.h"
#include "search/threat_space/transposition_table.h"

namespace vorek {

AnalysisRun::AnalysisRun(GameRecord record, std::vector<int> ids, SolveBudget budget)
    : record_(std::move(record)), ids_(std::move(ids)), budget_(budget) {
    budget_.cancel = &cancelled_;
    ids_.resize(std::min(ids_.size(), static_cast<std::size_t>(analysedPositionCount(record_))));
    worker_ = std::thread([this] {
        TranspositionTable table(tableBytesFor(budget_));
        for (int count = 0; count < positions(); ++count) {
            const PositionVerdict verdict = judgeGamePosition(record_, count, budget_, table);
            // A solve cut short says nothing.
            if (cancelled_.load()) break;
            {
                const std::lock_guard<std::mutex> hold(lock_);
                waiting_.emplace_back(ids_[static_cast<std::size_t>(count)], verdict);
            }
            ++judged_;
        }
        done_.store(true, std::memory_order_release);
    });
}

AnalysisRun::~AnalysisRun() {
    cancelled_ = true;
    if (worker_.joinable()) worker_.join();
}

std::vector<std::pair<int, PositionVerdict>> AnalysisRun::take() {
    std::vector<std::pair<int, PositionVerdict>> taken;
    const std::lock_guard<std::mutex> hold(lock_);
    taken.swap(waiting_);
    return taken;
}

}  // namespace vorek
