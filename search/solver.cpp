#include "search/solver.h"

#include <cassert>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "board/moves.h"

namespace vorek {

namespace {

using Clock = std::chrono::steady_clock;

// Expansions between two looks at the clock for the end of a slice.
constexpr std::uint64_t CLOCK_CHECK_EVERY = 16;
// Places of the table of kept positions (a power of two; a few megabytes).
constexpr std::size_t KEPT_POSITIONS = 4096;

std::size_t keptPlace(const StatNode* node) {
    const auto bits = reinterpret_cast<std::uintptr_t>(node) >> 3;
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 40) & (KEPT_POSITIONS - 1);
}

std::uint64_t subtreeSize(const StatNode& root) {
    std::uint64_t size = 0;
    std::vector<const StatNode*> pending{&root};
    while (!pending.empty()) {
        const StatNode* node = pending.back();
        pending.pop_back();
        ++size;
        for (std::uint32_t i = 0; i < node->childCount; ++i) pending.push_back(node->child(i));
    }
    return size;
}

// The child with the most nodes below it: the toughest defence.
StatNode* largestChild(const StatNode& node) {
    StatNode* best = nullptr;
    std::uint64_t bestSize = 0;
    for (std::uint32_t i = 0; i < node.childCount; ++i) {
        const std::uint64_t size = subtreeSize(*node.child(i));
        if (size > bestSize) {
            best = node.child(i);
            bestSize = size;
        }
    }
    return best;
}

StatNode* firstProvedChild(const StatNode& node) {
    for (std::uint32_t i = 0; i < node.childCount; ++i)
        if (node.child(i)->pn == 0) return node.child(i);
    return nullptr;
}

StatNode* mainLineChild(const StatNode& node, const TreeRules& rules) {
    if (!node.isOr()) return largestChild(node);
    if (StatNode* proved = firstProvedChild(node)) return proved;
    if (StatNode* proving = rules.mostProvingChild(node)) return proving;
    return largestChild(node);
}

// The winning move of a proved OR node: its first proved child, or, for a node
// decided without children, the five or the generator's winning square.
int winningMove(StatNode& node) {
    if (node.childCount > 0) {
        const StatNode* proved = firstProvedChild(node);
        return proved ? proved->move : -1;
    }
    const V2Board& position = node.ensureBoard();
    if (const int five = fiveSquare(position); five >= 0) return five;
    CandidateList candidates;
    return generateCandidates(position, candidates) == GENERATE_WIN ? candidates[0] : -1;
}

}  // namespace

StatNode* mostProvingChild(const StatNode& node) {
    assert(node.childCount == 0 || node.isExpanded());
    StatNode* best = nullptr;
    std::int32_t bestValue = 0;
    for (std::uint32_t i = 0; i < node.childCount; ++i) {
        StatNode* child = node.child(i);
        const std::int32_t value = node.isOr() ? child->pn : child->dn;
        if (value > 0 && (best == nullptr || value < bestValue)) {
            best = child;
            bestValue = value;
        }
    }
    return best;
}

Solver::Solver(StatNode& start, const SolveBudget& budget, const TreeRules& rules)
    : SolveJob(budget, MemoryUse::Grows), start_(start), rules_(rules), path_{&start}, kept_(KEPT_POSITIONS) {
    positions_.push_back(start.ensureBoard().clone());
    control_.showNumbers(start.pn, start.dn);
    control_.publish();
}

Solver::~Solver() = default;

V2Board& Solver::positionAt(std::size_t depth) {
    if (positions_.size() <= depth) positions_.push_back(std::make_unique<V2Board>());
    V2Board& position = *positions_[depth];
    const StatNode* node = path_[depth];
    KeptPosition& kept = kept_[keptPlace(node)];
    if (kept.node == node) {
        position.copyFrom(*kept.position);
        return position;
    }
    position.copyFrom(*positions_[depth - 1]);
    position.play(node->move);
    if (kept.position == nullptr) kept.position = std::make_unique<V2Board>();
    kept.position->copyFrom(position);
    kept.node = node;
    return position;
}

void Solver::expandOnce() {
    std::size_t depth = resume_;
    StatNode* node = path_[depth];
    while (node->isExpanded()) {
        node = rules_.mostProvingChild(*node);
        if (node == nullptr) {  // numbers out of step with the children: nothing to expand
            finished_ = true;
            return;
        }
        ++depth;
        path_.resize(depth + 1);
        path_[depth] = node;
        positionAt(depth);
    }
    rules_.expand(*node, *positions_[depth]);
    ++expansions_;

    const StatNode* last = rules_.propagate(*node);
    control_.showNumbers(start_.pn, start_.dn);
    control_.countNodes(node->childCount);
    resume_ = 0;
    for (std::size_t d = depth; d > 0; --d) {
        if (path_[d] == last) {
            resume_ = d;
            break;
        }
    }
}

bool Solver::runSlice(std::chrono::nanoseconds slice) {
    assert(slice.count() >= 0);
    if (finished_) return true;
    // The budget may be spent before anything is done: a cancel, the memory.
    if (!started_) {
        started_ = true;
        control_.checkNow();
    }
    const Clock::time_point sliceStart = Clock::now();
    while (!finished_) {
        if (rules_.settled(start_) || control_.stopped()) {
            finished_ = true;
            break;
        }
        expandOnce();
        if (expansions_ % CLOCK_CHECK_EVERY == 0 && Clock::now() - sliceStart >= slice) break;
    }
    control_.publish();
    return finished_;
}

SolveReport Solver::run() {
    while (!runSlice(std::chrono::hours(1))) {
    }
    return report();
}

SolveStop Solver::stopped() const { return rules_.settled(start_) ? SolveStop::Settled : control_.reason(); }

SolveResult Solver::result() const {
    if (start_.pn == 0) return SolveResult::Proved;
    if (start_.dn == 0) return SolveResult::Disproved;
    return SolveResult::Unknown;
}

int Solver::provingMove() const {
    return result() == SolveResult::Proved && start_.isOr() ? winningMove(start_) : -1;
}

SolveReport Solver::report() const {
    SolveReport r;
    r.pn = start_.pn;
    r.dn = start_.dn;
    r.result = result();
    r.stopped = stopped();
    // As far as the last slice went.
    const SolveProgress reached = control_.progress();
    r.nodes = reached.nodes;
    r.seconds = reached.seconds;
    r.rate = r.seconds > 0 ? static_cast<double>(r.nodes) / r.seconds : 0;
    r.move = provingMove();
    for (const StatNode* node = &start_; node->childCount > 0;) {
        node = mainLineChild(*node, rules_);
        if (node == nullptr) break;
        r.line.push_back(node->move);
    }
    return r;
}

SolveReport solve(StatNode& start, const SolveBudget& budget, const TreeRules& rules) {
    return Solver(start, budget, rules).run();
}

}  // namespace vorek
