// A queue of engine events for a front end that drains it on its own thread
// (vorek-cli waits on it; a window may look at it on a timer).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "opponent/child_process.h"
#include "opponent/engine_event.h"

namespace vorek {

class EngineEventQueue {
public:
    // Events held at most: beyond it the oldest search, realtime and message
    // events give way, so that an engine that floods its output while the
    // front end is busy takes no more memory. Answers and ends are kept.
    static constexpr std::size_t MOST_HELD = 4096;

    // Adds the event; from any thread.
    void push(EngineEvent event);
    // The oldest event, waiting for one until the deadline.
    std::optional<EngineEvent> pop(ChildClock::time_point deadline);

    // A sink for EngineSession that pushes here. The queue must outlive the session.
    std::function<void(EngineEvent)> sink() {
        return [this](EngineEvent event) { push(std::move(event)); };
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<EngineEvent> events_;
};

}  // namespace vorek
