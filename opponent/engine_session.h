// A long-lived engine of the stdin/stdout protocol: started once, given one
// position after another to think on, its search streamed as events, stopped
// at will, started again after it dies, and ended with whatever it started.
//
// The exchange, in order:
// - START 20, answered OK within START_LIMIT; then INFO timeout_match 0,
//   time_left, max_memory, game_type 1, rule 0, SHOW_DETAIL 3 (the stream)
//   and thread_num when one is set;
// - each think: INFO timeout_turn when it changed, then YXBOARD, the stones
//   as after BOARD and DONE (the position, no move asked), and YXNBEST N
//   (think, report the N best lines, answer a move). An engine whose ERROR or
//   UNKNOWN answer names YXBOARD or YXNBEST (or says nothing more) does not
//   know them: from then on it gets BEGIN or BOARD ... DONE instead, which
//   asks for its move;
// - a stop: YXSTOP, and STOP half of STOP_LIMIT later; the engine answers
//   its move;
// - the end: END, then the engine's pipes are closed and its process group
//   ended as an ask ends it (EnginePipes::end).
//
// Lines from the engine are read on a thread of the session's own and turned
// into events (opponent/engine_event.h), handed to the sink on that thread in
// the order they came. The sink may call analyse and stop, but not end.
#pragma once

#include <bitset>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "board/v2board.h"
#include "opponent/ask_log.h"
#include "opponent/child_process.h"
#include "opponent/engine_event.h"
#include "opponent/engine_line.h"

namespace vorek {

struct EngineSetup {
    std::vector<std::string> words;  // the program (searched on PATH unless it holds a slash) and its arguments
    std::filesystem::path folder;    // where it runs; empty: the working directory
    std::uint64_t maxMemory = 0;     // INFO max_memory in bytes; 0: no limit
    int threads = 0;                 // INFO thread_num, sent when above 0
};

struct ThinkRequest {
    int milliseconds = 1000;  // INFO timeout_turn: the time of the think
    int lines = 1;            // YXNBEST: the best lines to report, 1 or more
};

// Time after a stop (or after a think's own time and ANSWER_MARGIN) in which
// the engine must answer; STOP follows YXSTOP half of it later. An engine
// that does not answer by then is ended as stalled.
constexpr std::chrono::milliseconds STOP_LIMIT{1000};

// Time the engine has to take a line sent to it.
constexpr std::chrono::milliseconds SEND_LIMIT{2000};

class EngineSession {
public:
    using Sink = std::function<void(EngineEvent)>;

    // Nothing is started yet. The log, when given, gets the exchange as an
    // ask's log does ("> " sent, "< " received, notes), on either thread but
    // never two lines at once; it must not call the session.
    EngineSession(EngineSetup setup, Sink sink, AskLog* log = nullptr);
    // Ends the engine as end() does, without waiting for it.
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    // Starts the engine unless it runs: START now, the INFO lines once it
    // answers OK. False when the program cannot be started.
    bool start();

    // Thinks on the board's position, whose side to move is the engine's. A
    // think under way is stopped first (its answer comes, stopped); an engine
    // that is down is started again. Returns at once with the think's id, from
    // 1 on; 0 when the program cannot be started. The think ends with an
    // AnswerEvent or an EngineDownEvent of its id, or is passed over for a
    // later analyse made before it began.
    int analyse(const V2Board& board, const ThinkRequest& request);

    // Stops the think under way, which then answers (AnswerEvent, stopped),
    // and drops one waiting to begin.
    void stop();

    // Sends END and ends the engine with its process group (EnginePipes::end),
    // after the reading thread has stopped; no event comes afterwards. The
    // future is ready once every engine the session started has ended. Not
    // from the sink.
    std::future<void> end();

private:
    struct Run;
    struct Think;
    enum class State { Down, Starting, Idle, Thinking, Stopping, Ended };
    enum class Commands { Untried, Extended, Plain };
    using Events = std::vector<EngineEvent>;

    bool startEngine();
    void readFrom(std::shared_ptr<Run> run);
    ChildClock::time_point nextLook() const;
    void take(std::string_view line, Events& events);
    void takeWhileThinking(const EngineLine& parsed, Events& events);
    void lookAtClock(Events& events);
    void sendSetup();
    void begin(std::unique_ptr<Think> think);
    void answer(const EngineLine& parsed, Events& events);
    void endThink(AnswerEvent answer, Events& events);
    void requestStop(ChildClock::time_point answerBy);
    void fallBackToBoard(Events& events);
    void down(EngineDown why, const std::string& detail, Events& events);
    bool send(const std::vector<std::string>& lines);
    void note(std::string_view text) const;
    void received(std::string_view line);
    void deliver(Events& events) const;

    const EngineSetup setup_;
    const Sink sink_;
    std::optional<AskTimeline> log_;

    mutable std::mutex mutex_;
    State state_ = State::Down;
    Commands commands_ = Commands::Untried;
    std::shared_ptr<Run> run_;                  // the engine now running
    std::vector<std::thread> readers_;          // one per engine started, joined by end()
    std::vector<std::future<void>> endings_;    // one per engine ended
    std::unique_ptr<Think> current_;            // the think under way
    std::unique_ptr<Think> waiting_;            // the think to begin when the engine is free
    ChildClock::time_point deadline_{};         // Starting: OK; Thinking, Stopping: the answer
    ChildClock::time_point stopAgainAt_{};      // Stopping: when STOP follows YXSTOP
    bool stopAgainSent_ = false;
    bool stalledInput_ = false;                 // a line was not taken: the reader ends the engine
    bool streamed_ = false;                     // the think under way has streamed something
    int sentTimeout_ = -1;                      // the timeout_turn the engine has; -1: none
    int lastThink_ = 0;
    int receivedLines_ = 0;                     // logged in this think
    SearchLineReader blocks_;
};

}  // namespace vorek
