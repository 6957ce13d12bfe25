#include "opponent/engine_event_queue.h"

#include <algorithm>

namespace vorek {

void EngineEventQueue::push(EngineEvent event) {
    {
        const std::lock_guard lock(mutex_);
        if (events_.size() >= MOST_HELD) {
            const auto oldest = std::find_if(events_.begin(), events_.end(),
                                             [](const EngineEvent& held) { return !endsThink(held); });
            if (oldest != events_.end()) events_.erase(oldest);
        }
        events_.push_back(std::move(event));
    }
    arrived_.notify_one();
}

std::optional<EngineEvent> EngineEventQueue::pop(ChildClock::time_point deadline) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_until(lock, deadline, [this] { return !events_.empty(); })) return std::nullopt;
    EngineEvent event = std::move(events_.front());
    events_.pop_front();
    return event;
}

}  // namespace vorek
