// The engine's view of every position of the game's line, on a thread of its
// own beside the threat search of "Analyse Game": one engine kept running,
// one think a position (opponent/engine_viewer.h, as vorek-cli game --engine
// has it), the views taken by the window as they come.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "files/game_record.h"
#include "opponent/engine_viewer.h"

namespace vorek {

// One position's view: none when the engine gave no move (failure says why).
struct SeenPosition {
    int id = 0;
    std::optional<EngineView> view;
    std::string failure;
};

class EngineViewRun {
public:
    // Starts the engine's thinks on the positions of the record, position k
    // standing for the game's move ids[k] (ids[0] the empty board), each for
    // `milliseconds`; a position with a five is passed over.
    EngineViewRun(GameRecord record, std::vector<int> ids, EngineSetup setup, int milliseconds);
    // Stops the think under way, ends the engine and waits for the thread.
    ~EngineViewRun();
    EngineViewRun(const EngineViewRun&) = delete;
    EngineViewRun& operator=(const EngineViewRun&) = delete;

    // The views that came since the last call.
    std::vector<SeenPosition> take();
    // Every position has been seen, or the run was stopped or could not start the engine.
    bool done() const { return done_.load(std::memory_order_acquire); }
    int positions() const { return static_cast<int>(ids_.size()); }
    int seen() const { return seen_.load(); }
    // Why the engine could not be started; empty otherwise. Once done.
    const std::string& startFailure() const { return startFailure_; }

private:
    void run();

    GameRecord record_;
    std::vector<int> ids_;
    EngineSetup setup_;
    int milliseconds_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> done_{false};
    std::atomic<int> seen_{0};
    std::string startFailure_;
    std::mutex lock_;
    std::vector<SeenPosition> waiting_;
    std::thread worker_;
};

}  // namespace vorek
