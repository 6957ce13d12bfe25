// What an engine session tells its front end, as it happens. Every event names
// the think it belongs to (EngineSession::analyse numbers them from 1; 0: none),
// so that a front end that has moved on to another position can pass over
// what the engine still says about the last one.
#pragma once

#include <string>
#include <variant>

#include "opponent/engine_line.h"

namespace vorek {

// One of the engine's best lines, as it improves: an INFO block. Its line
// keeps only the moves that can be played in turn from the position (each
// on an empty square); the first is the line's move.
struct SearchEvent {
    int think = 0;
    SearchLine line;
};

// A root move the engine is looking at (MESSAGE REALTIME), on the board;
// -1 for REFRESH.
struct RealtimeEvent {
    int think = 0;
    RealtimeKind kind = RealtimeKind::Refresh;
    int square = -1;
};

// A MESSAGE line for the user.
struct MessageEvent {
    int think = 0;
    std::string text;
};

// The end of a think: the engine's move, a square that was empty, or why
// there is none.
struct AnswerEvent {
    int think = 0;
    int square = -1;      // -1: no move (see fault)
    bool stopped = false;  // the think was stopped before its time (stop(), or another position)
    // Why square is -1: the answer was off the board or on a stone, or the
    // think ended before the engine began it. Empty with a move.
    std::string fault;
};

enum class EngineDown {
    NotStarted,  // the program could not be started again
    NoStart,     // no OK to START in time, or another answer
    Exited,      // it closed its output or ended
    Stalled,     // it gave no move in time even when told to stop, or took no input: it was ended
};

// The engine is gone, and the think under way (or waiting for it) with it.
// The next analyse starts it again.
struct EngineDownEvent {
    int think = 0;
    EngineDown why = EngineDown::Exited;
    std::string detail;  // for the user: "the engine exited with code 3", ...
};

using EngineEvent = std::variant<SearchEvent, RealtimeEvent, MessageEvent, AnswerEvent, EngineDownEvent>;

// The think an event belongs to.
inline int thinkOf(const EngineEvent& event) {
    return std::visit([](const auto& e) { return e.think; }, event);
}

// Whether the event ends its think: its answer, or the engine's end.
inline bool endsThink(const EngineEvent& event) {
    return std::holds_alternative<AnswerEvent>(event) || std::holds_alternative<EngineDownEvent>(event);
}

}  // namespace vorek
