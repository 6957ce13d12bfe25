// Automatic proof-number search on an existing tree: grows it by a tree's
// rules (by default exactly the hand expansion's) until the start node is
// settled or a budget runs out.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "search/stat_node.h"
#include "search/tree_rules.h"

namespace vorek {

struct SolveBudget {
    std::uint64_t maxNodes = 0;      // nodes created; 0: no limit
    double maxSeconds = 0;           // 0: no limit
    std::size_t maxMemoryBytes = 0;  // the process's memory; 0: half of the machine's memory
    const std::atomic<bool>* cancel = nullptr;  // set from elsewhere to stop
};

enum class SolveResult { Proved, Disproved, Unknown };

// Why a solve ended.
enum class SolveStop {
    Settled,      // the start node is decided, or nothing is left to search
    Nodes,        // the node budget
    Seconds,      // the time budget
    Memory,       // the memory budget
    Interrupted,  // the cancel flag
};

struct SolveReport {
    SolveResult result = SolveResult::Unknown;
    SolveStop stopped = SolveStop::Settled;
    int move = -1;  // the proving move at the start node, when it is proved
    std::int32_t pn = 1;
    std::int32_t dn = 1;
    std::uint64_t nodes = 0;  // nodes created by this solve
    double seconds = 0;
    double rate = 0;        // nodes per second
    std::vector<int> line;  // the main line from the start node down to a leaf
    // A solve by threats that is decided: whether the win is by fours alone,
    // and the winner's moves along the line, his five included.
    bool foursOnly = false;
    int winnerMoves = 0;
};

// What a solve has reached so far; safe to read from another thread while
// the solve runs, refreshed at least every few milliseconds.
struct SolveProgress {
    std::uint64_t nodes = 0;
    double seconds = 0;
    std::int32_t pn = 1;  // the start node's numbers
    std::int32_t dn = 1;
};

// The most-proving child: at an OR node the first with the smallest positive
// pn, at an AND node the first with the smallest positive dn; null if none.
StatNode* mostProvingChild(const StatNode& node);

class Solver {
public:
    // A solve from the start node, which gets its board here if it has none.
    // The solve works on copies of positions only, never on a node's board,
    // so it may run on another thread than the one that made it.
    Solver(StatNode& start, const SolveBudget& budget, const TreeRules& rules = handTreeRules());
    ~Solver();
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    // Expands most-proving nodes until the start node is settled, the budget
    // is spent or the slice time has passed. True when the solve has ended
    // (settled or budget); false when only the slice is over.
    bool runSlice(std::chrono::nanoseconds slice);

    bool finished() const { return finished_; }
    SolveStop stopped() const { return stopped_; }

    // Progress figures, for the thread that runs the solve.
    std::uint64_t nodes() const { return nodes_; }
    double seconds() const { return std::chrono::duration<double>(busy_).count(); }
    double rate() const { return seconds() > 0 ? static_cast<double>(nodes()) / seconds() : 0; }
    // The same, for any thread.
    SolveProgress progress() const;

    SolveResult result() const;
    // The proving move at the start node when it is a proved OR node, else -1;
    // may run the generator on the start node's board.
    int provingMove() const;

    // All of the above and the main line, which walks the subtrees on it.
    SolveReport report() const;

private:
    bool budgetSpent();
    void expandOnce();
    // Makes the position of path_[depth] from the one above it.
    V2Board& positionAt(std::size_t depth);
    void publishProgress(std::chrono::steady_clock::duration busy);

    StatNode& start_;
    SolveBudget budget_;
    const TreeRules& rules_;
    std::size_t memoryLimit_;
    // The path of the last expansion from the start node down, and the
    // position of each of its nodes. The next walk down starts where the
    // last propagation stopped, since nothing above it has changed.
    std::vector<StatNode*> path_;
    std::vector<std::unique_ptr<V2Board>> positions_;
    std::size_t resume_ = 0;
    // Positions made on earlier walks down: most nodes below the resume point
    // were walked through before. A table with one place per hash of the node.
    struct KeptPosition {
        const StatNode* node = nullptr;
        std::unique_ptr<V2Board> position;
    };
    std::vector<KeptPosition> kept_;
    std::uint64_t nodes_ = 0;
    std::chrono::steady_clock::time_point sliceStart_;
    std::chrono::steady_clock::duration busy_{};  // time spent inside slices
    std::uint64_t expansions_ = 0;
    bool finished_ = false;
    SolveStop stopped_ = SolveStop::Settled;

    std::atomic<std::uint64_t> publishedNodes_{0};
    std::atomic<double> publishedSeconds_{0};
    std::atomic<std::int32_t> publishedPn_;
    std::atomic<std::int32_t> publishedDn_;
};

// "proved", "disproved" or "unknown".
std::string_view resultText(SolveResult result);

// Runs a whole solve at once.
SolveReport solve(StatNode& start, const SolveBudget& budget, const TreeRules& rules = handTreeRules());

// The memory the process holds now, in bytes (0 when it cannot be told).
std::size_t currentMemory();

// The machine's memory, in bytes (4 GB when it cannot be told).
std::size_t physicalMemory();

}  // namespace vorek
