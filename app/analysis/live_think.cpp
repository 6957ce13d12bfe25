#include "app/analysis/live_think.h"

namespace vorek {

bool LiveThink::take(const EngineEvent& event) {
    if (id_ == 0 || thinkOf(event) != id_ || state_ != State::Thinking) return false;
    if (const auto* search = std::get_if<SearchEvent>(&event)) {
        lines_.take(search->line);
    } else if (const auto* message = std::get_if<MessageEvent>(&event)) {
        message_ = message->text;
    } else if (const auto* answer = std::get_if<AnswerEvent>(&event)) {
        state_ = State::Answered;
        answer_ = answer->square;
        stopped_ = answer->stopped;
        fault_ = answer->fault;
    } else if (const auto* down = std::get_if<EngineDownEvent>(&event)) {
        state_ = State::Down;
        fault_ = down->detail;
    } else {
        return false;  // the root moves the engine looks at are not shown
    }
    return true;
}

}  // namespace vorek
