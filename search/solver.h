// Automatic proof-number search on an existing tree: grows it by a tree's
// rules (by default exactly the hand expansion's) until the start node is
// settled or a budget runs out.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "search/solve_job.h"
#include "search/solve_report.h"
#include "search/stat_node.h"
#include "search/tree_rules.h"

namespace vorek {

// The most-proving child: at an OR node the first with the smallest positive
// pn, at an AND node the first with the smallest positive dn; null if none.
StatNode* mostProvingChild(const StatNode& node);

class Solver final : public SolveJob {
public:
    // A solve from the start node, which gets its board here if it has none.
    // The solve works on copies of positions only, never on a node's board,
    // so it may run on another thread than the one that made it.
    Solver(StatNode& start, const SolveBudget& budget, const TreeRules& rules = handTreeRules());
    ~Solver() override;

    // Expands most-proving nodes until the start node is settled, the budget
    // is spent or the slice time has passed. True when the solve has ended
    // (settled or budget); false when only the slice is over.
    bool runSlice(std::chrono::nanoseconds slice);
    // Runs slices until the solve has ended; its report.
    SolveReport run() override;

    bool finished() const { return finished_; }
    SolveStop stopped() const;

    SolveResult result() const;
    // The proving move at the start node when it is a proved OR node, else -1;
    // may run the generator on the start node's board.
    int provingMove() const;

    // All of the above and the main line, which walks the subtrees on it.
    SolveReport report() const;

private:
    void expandOnce();
    // Makes the position of path_[depth] from the one above it.
    V2Board& positionAt(std::size_t depth);

    StatNode& start_;
    const TreeRules& rules_;
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
    std::uint64_t expansions_ = 0;
    bool started_ = false;
    bool finished_ = false;
};

// Runs a whole solve at once.
SolveReport solve(StatNode& start, const SolveBudget& budget, const TreeRules& rules = handTreeRules());

}  // namespace vorek
