#include "search/solver.h"

#include <cassert>
#include <unistd.h>

#include <cstdio>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "board/moves.h"

namespace vorek {

namespace {

using Clock = std::chrono::steady_clock;

// Room kept free below the memory limit: more than the expansions between two
// checks can allocate.
constexpr std::size_t MEMORY_MARGIN = 64u << 20;
constexpr std::uint64_t MEMORY_CHECK_EVERY = 256;
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

std::size_t physicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return std::size_t{4} << 30;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize);
}

std::size_t currentMemory() {
    // The resident set, in pages, is the second field of /proc/self/statm.
    std::FILE* statm = std::fopen("/proc/self/statm", "re");
    if (statm == nullptr) return 0;
    unsigned long long size = 0;
    unsigned long long resident = 0;
    const int read = std::fscanf(statm, "%llu %llu", &size, &resident);
    std::fclose(statm);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (read != 2 || pageSize <= 0) return 0;
    return static_cast<std::size_t>(resident) * static_cast<std::size_t>(pageSize);
}

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
    : start_(start),
      budget_(budget),
      rules_(rules),
      memoryLimit_(budget.maxMemoryBytes ? budget.maxMemoryBytes : physicalMemory() / 2),
      path_{&start},
      kept_(KEPT_POSITIONS),
      publishedPn_(start.pn),
      publishedDn_(start.dn) {
    assert(budget.maxSeconds >= 0);
    positions_.push_back(start.ensureBoard().clone());
}

Solver::~Solver() = default;

bool Solver::budgetSpent() {
    if (budget_.cancel && budget_.cancel->load(std::memory_order_relaxed)) {
        stopped_ = SolveStop::Interrupted;
        return true;
    }
    if (budget_.maxNodes && nodes_ >= budget_.maxNodes) {
        stopped_ = SolveStop::Nodes;
        return true;
    }
    if (budget_.maxSeconds > 0 && expansions_ % CLOCK_CHECK_EVERY == 0) {
        const std::chrono::duration<double> busy = busy_ + (Clock::now() - sliceStart_);
        if (busy.count() >= budget_.maxSeconds) {
            stopped_ = SolveStop::Seconds;
            return true;
        }
    }
    if (expansions_ % MEMORY_CHECK_EVERY == 0 && currentMemory() + MEMORY_MARGIN >= memoryLimit_) {
        stopped_ = SolveStop::Memory;
        return true;
    }
    return false;
}

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
    nodes_ += node->childCount;
    ++expansions_;

    const StatNode* last = rules_.propagate(*node);
    resume_ = 0;
    for (std::size_t d = depth; d > 0; --d) {
        if (path_[d] == last) {
            resume_ = d;
            break;
        }
    }
}

void Solver::publishProgress(std::chrono::steady_clock::duration busy) {
    publishedNodes_.store(nodes_, std::memory_order_relaxed);
    publishedSeconds_.store(std::chrono::duration<double>(busy).count(), std::memory_order_relaxed);
    publishedPn_.store(start_.pn, std::memory_order_relaxed);
    publishedDn_.store(start_.dn, std::memory_order_relaxed);
}

SolveProgress Solver::progress() const {
    return {publishedNodes_.load(std::memory_order_relaxed), publishedSeconds_.load(std::memory_order_relaxed),
            publishedPn_.load(std::memory_order_relaxed), publishedDn_.load(std::memory_order_relaxed)};
}

bool Solver::runSlice(std::chrono::nanoseconds slice) {
    assert(slice.count() >= 0);
    if (finished_) return true;
    sliceStart_ = Clock::now();
    while (!finished_) {
        if (rules_.settled(start_) || budgetSpent()) {
            finished_ = true;
            break;
        }
        expandOnce();
        if (expansions_ % CLOCK_CHECK_EVERY == 0) {
            const Clock::duration inSlice = Clock::now() - sliceStart_;
            publishProgress(busy_ + inSlice);
            if (inSlice >= slice) break;
        }
    }
    busy_ += Clock::now() - sliceStart_;
    publishProgress(busy_);
    return finished_;
}

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
    r.stopped = stopped_;
    r.nodes = nodes();
    r.seconds = seconds();
    r.rate = rate();
    r.move = provingMove();
    for (const StatNode* node = &start_; node->childCount > 0;) {
        node = mainLineChild(*node, rules_);
        if (node == nullptr) break;
        r.line.push_back(node->move);
    }
    return r;
}

std::string_view resultText(SolveResult result) {
    switch (result) {
        case SolveResult::Proved: return "proved";
        case SolveResult::Disproved: return "disproved";
        case SolveResult::Unknown: break;
    }
    return "unknown";
}

SolveReport solve(StatNode& start, const SolveBudget& budget, const TreeRules& rules) {
    Solver solver(start, budget, rules);
    while (!solver.runSlice(std::chrono::hours(1))) {
    }
    return solver.report();
}

}  // namespace vorek
