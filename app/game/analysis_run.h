// "Analyse Game" on a thread of its own: every position of the game's line
// judged in turn by threat-space search, as `vorek-cli game` judges a
// record, with one table for the whole line. The window takes the verdicts
// as they come and goes on meanwhile.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "search/game_analysis.h"

namespace vorek {

class AnalysisRun {
public:
    // Starts judging the positions of the record, position k standing for
    // the game's move ids[k] (ids[0] the empty board), each within the
    // budget (its cancel flag is the run's own).
    AnalysisRun(GameRecord record, std::vector<int> ids, SolveBudget budget);
    // Stops the search at once and waits for the thread.
    ~AnalysisRun();
    AnalysisRun(const AnalysisRun&) = delete;
    AnalysisRun& operator=(const AnalysisRun&) = delete;

    // The verdicts that came since the last call, each with its position's id.
    std::vector<std::pair<int, PositionVerdict>> take();
    // Every position has been judged, or the run was stopped.
    bool done() const { return done_.load(std::memory_order_acquire); }
    // The positions to judge, and those judged so far.
    int positions() const { return static_cast<int>(ids_.size()); }
    int judged() const { return judged_.load(); }

private:
    GameRecord record_;
    std::vector<int> ids_;
    SolveBudget budget_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> done_{false};
    std::atomic<int> judged_{0};
    std::mutex lock_;
    std::vector<std::pair<int, PositionVerdict>> waiting_;
    std::thread worker_;
};

}  // namespace vorek
