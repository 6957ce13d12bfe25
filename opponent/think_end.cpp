#include "opponent/think_end.h"

namespace vorek {

namespace {

// How often the wait looks at the interrupt flag.
constexpr std::chrono::milliseconds LOOK_EVERY{100};

}  // namespace

ThinkEnd awaitThink(EngineEventQueue& queue, EngineSession& session, int think,
                    const std::atomic<bool>* interrupt, const std::function<void(const EngineEvent&)>& seen) {
    ThinkEnd end;
    bool stopped = false;
    for (;;) {
        if (!stopped && interrupt != nullptr && interrupt->load()) {
            session.stop();
            stopped = true;
        }
        const std::optional<EngineEvent> event = queue.pop(ChildClock::now() + LOOK_EVERY);
        if (!event || thinkOf(*event) != think) continue;
        seen(*event);
        if (const auto* search = std::get_if<SearchEvent>(&*event); search && search->line.index == 0) {
            end.best = search->line;
        } else if (const auto* answer = std::get_if<AnswerEvent>(&*event)) {
            end.move = answer->square;
            end.failure = answer->fault;
            return end;
        } else if (const auto* down = std::get_if<EngineDownEvent>(&*event)) {
            end.failure = down->detail;
            return end;
        }
    }
}

}  // namespace vorek
