// An engine kept running that gives its view of one position after another,
// each think waited for: what vorek-cli game --engine and the window's game
// analysis ask of an engine for every position of a game.
#pragma once

#include <atomic>
#include <future>
#include <optional>
#include <string>

#include "opponent/engine_event_queue.h"
#include "opponent/engine_session.h"
#include "opponent/think_end.h"

namespace vorek {

// What the engine made of one position.
struct EngineView {
    std::optional<Evaluation> eval;  // of its best line, for the side to move
    std::optional<double> winrate;   // the same, 0..1
    int best = -1;                   // its move; -1: none
};

// The think's end as a view: its move with its best line's evaluation and win
// rate; nullopt when it gave no move (ThinkEnd::failure says why).
std::optional<EngineView> viewOf(const ThinkEnd& end);

// The engine's time for each position viewed where the user sets none.
inline constexpr int ENGINE_VIEW_MILLISECONDS = 1000;

class EngineViewer {
public:
    // Nothing is started before the first think.
    explicit EngineViewer(EngineSetup setup, AskLog* log = nullptr);
    // Ends the engine as end() does, and waits for it.
    ~EngineViewer();
    EngineViewer(const EngineViewer&) = delete;
    EngineViewer& operator=(const EngineViewer&) = delete;

    // Has the engine think on the position for `milliseconds`, a line asked,
    // and waits for the end; an interrupt stops the think (it then answers
    // what it has). Nullopt when the program cannot be started.
    std::optional<ThinkEnd> think(const V2Board& position, int milliseconds, const std::atomic<bool>* interrupt);

    // Ends the engine (EngineSession::end); no think afterwards.
    std::future<void> end() { return session_.end(); }

private:
    EngineEventQueue queue_;  // before the session, which pushes into it
    EngineSession session_;
};

}  // namespace vorek
