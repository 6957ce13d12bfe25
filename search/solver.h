// Automatic proof-number search on an existing tree: grows it with exactly the
// hand expansion's rules until the start node is decided or a budget runs out.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "search/stat_node.h"

namespace vorek {

struct SolveBudget {
    std::uint64_t maxNodes = 0;   // nodes created; 0: no limit
    double maxSeconds = 0;        // 0: no limit
    std::size_t maxMemoryBytes = 0; // peak process memory; 0: half of the machine's memory
    const std::atomic<bool>* cancel = nullptr;  // set from elsewhere to stop
};

enum class SolveResult { Proved, Disproved, Unknown };

struct SolveReport {
    SolveResult result = SolveResult::Unknown;
    int move = -1;  // the proving move at the start node, when it is proved
    std::int32_t pn = 1;
    std::int32_t dn = 1;
    std::uint64_t nodes = 0;  // nodes created by this solve
    double seconds = 0;
    double rate = 0;        // nodes per second
    std::vector<int> line;  // the main line from the start node down to a leaf
};

// The most-proving child: at an OR node the first with the smallest positive
// pn, at an AND node the first with the smallest positive dn; null if none.
StatNode* mostProvingChild(const StatNode& node);

class Solver {
public:
    Solver(StatNode& start, const SolveBudget& budget);

    // Expands most-proving nodes until the start node is decided, the budget
    // is spent or the slice time has passed. True when the solve has ended
    // (decided or budget); false when only the slice is over.
    bool runSlice(std::chrono::nanoseconds slice);

    bool finished() const { return finished_; }

    // Cheap progress figures, for showing while the solve goes on.
    std::uint64_t nodes() const { return NodeSerial - serialAtStart_; }
    double seconds() const { return std::chrono::duration<double>(busy_).count(); }
    double rate() const { return seconds() > 0 ? static_cast<double>(nodes()) / seconds() : 0; }
    SolveResult result() const;
    // The proving move at the start node when it is a proved OR node, else -1;
    // may run the generator on the start node's board.
    int provingMove() const;

    // All of the above and the main line, which walks the subtrees on it.
    SolveReport report() const;

private:
    bool budgetSpent();
    void expandOnce();

    StatNode& start_;
    SolveBudget budget_;
    std::size_t memoryLimit_;
    std::uint32_t serialAtStart_;
    std::chrono::steady_clock::time_point sliceStart_;
    std::chrono::steady_clock::duration busy_{};  // time spent inside slices
    std::uint64_t expansions_ = 0;
    bool finished_ = false;
};

// Runs a whole solve at once.
SolveReport solve(StatNode& start, const SolveBudget& budget);

}  // namespace vorek
