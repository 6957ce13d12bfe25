// The end of one think of an engine session whose events go into a queue:
// the wait for it, and what the think came to.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "opponent/engine_event_queue.h"
#include "opponent/engine_session.h"

namespace vorek {

struct ThinkEnd {
    std::optional<SearchLine> best;  // the last report of the engine's best line
    int move = -1;                   // the engine's answer; -1 when there is none
    std::string failure;             // why there is none, for the user
};

// Waits for the end of the think, handing each of its events to `seen` as it
// comes; the events of other thinks are passed over. Once the interrupt flag
// is set the think is stopped (it then answers what it has).
ThinkEnd awaitThink(EngineEventQueue& queue, EngineSession& session, int think,
                    const std::atomic<bool>* interrupt, const std::function<void(const EngineEvent&)>& seen);

}  // namespace vorek
