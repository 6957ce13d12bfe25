// One think of the analysis as the window shows it: the engine's best lines
// as they improve, the move it answered, its last message, and how the think
// ended. It takes the session's events of its own think and passes over the
// others'.
#pragma once

#include <string>

#include "opponent/engine_event.h"
#include "opponent/think_lines.h"

namespace vorek {

class LiveThink {
public:
    enum class State {
        Thinking,
        Answered,  // the engine gave its move (or said why it has none: fault)
        Down,      // the engine died or stalled; fault says how
    };

    // A think of the id (EngineSession::analyse); 0 for none, which takes no event.
    explicit LiveThink(int id = 0) : id_(id) {}

    int id() const { return id_; }
    // Takes the event if it is this think's. True when what the window shows
    // of the think changed.
    bool take(const EngineEvent& event);

    State state() const { return state_; }
    const ThinkLines& lines() const { return lines_; }
    // The engine's answer; -1 before it, or when it had none.
    int answer() const { return answer_; }
    // Why the think has no answer: the session's words. Empty otherwise.
    const std::string& fault() const { return fault_; }
    // Whether the engine was stopped before its time (another position, a pause).
    bool stopped() const { return stopped_; }
    // The engine's last MESSAGE line in this think.
    const std::string& message() const { return message_; }

private:
    int id_;
    State state_ = State::Thinking;
    ThinkLines lines_;
    int answer_ = -1;
    bool stopped_ = false;
    std::string fault_;
    std::string message_;
};

}  // namespace vorek
