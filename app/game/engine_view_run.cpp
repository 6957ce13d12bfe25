#include "app/game/engine_view_run.h"

namespace vorek {

EngineViewRun::EngineViewRun(GameRecord record, std::vector<int> ids, EngineSetup setup, int milliseconds)
    : record_(std::move(record)), ids_(std::move(ids)), setup_(std::move(setup)), milliseconds_(milliseconds) {
    ids_.resize(std::min(ids_.size(), record_.moves.size() + 1));
    worker_ = std::thread([this] { run(); });
}

EngineViewRun::~EngineViewRun() {
    cancelled_ = true;
    if (worker_.joinable()) worker_.join();
}

void EngineViewRun::run() {
    EngineViewer viewer(setup_);
    for (int count = 0; count < positions() && !cancelled_.load(); ++count) {
        SeenPosition seen{.id = ids_[static_cast<std::size_t>(count)], .view = std::nullopt, .failure = {}};
        if (record_.fiveAt != 0 && count >= record_.fiveAt) {
            seen.failure = "the game is over";
        } else {
            const std::unique_ptr<V2Board> position = positionAfter(record_, count);
            const std::optional<ThinkEnd> end = viewer.think(*position, milliseconds_, &cancelled_);
            if (!end) {
                startFailure_ = "the engine could not be started";
                break;
            }
            if (cancelled_.load()) break;  // a think cut short says nothing
            seen.view = viewOf(*end);
            if (!seen.view) seen.failure = end->failure;
        }
        {
            const std::lock_guard<std::mutex> hold(lock_);
            waiting_.push_back(std::move(seen));
        }
        ++seen_;
    }
    done_.store(true, std::memory_order_release);
}

std::vector<SeenPosition> EngineViewRun::take() {
    std::vector<SeenPosition> taken;
    const std::lock_guard<std::mutex> hold(lock_);
    taken.swap(waiting_);
    return taken;
}

}  // namespace vorek
