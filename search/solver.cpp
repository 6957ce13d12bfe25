#include "search/solver.h"

#include <sys/resource.h>
#include <unistd.h>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "search/numbers.h"

namespace vorek {

namespace {

using Clock = std::chrono::steady_clock;

// Room kept free below the memory limit: more than the expansions between two
// checks can allocate.
constexpr std::size_t MEMORY_MARGIN = 64u << 20;
constexpr std::uint64_t MEMORY_CHECK_EVERY = 256;
constexpr std::uint64_t CLOCK_CHECK_EVERY = 16;

std::size_t halfOfPhysicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return std::size_t{1} << 31;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / 2;
}

// The peak memory of the process so far. Freed trees stay with the allocator
// for reuse, so the peak is what a growing tree has to pass. One system call,
// whatever the state of the heap.
std::size_t peakMemory() {
    struct rusage usage {};
    if (::getrusage(RUSAGE_SELF, &usage) != 0) return 0;
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
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

StatNode* mainLineChild(const StatNode& node) {
    if (!node.isOr()) return largestChild(node);
    if (StatNode* proved = firstProvedChild(node)) return proved;
    if (StatNode* proving = mostProvingChild(node)) return proving;
    return largestChild(node);
}

// The winning move of a proved OR node: its first proved child, or, for a node
// decided without children, the five or the generator's winning square.
int winningMove(StatNode& node) {
    if (node.childCount > 0) {
        const StatNode* proved = firstProvedChild(node);
        return proved ? proved->move : -1;
    }
    if (const int five = fiveSquare(*node.board); five >= 0) return five;
    return generateCandidates(*node.board) == GENERATE_WIN ? CandidateList.squares[0] : -1;
}

}  // namespace

StatNode* mostProvingChild(const StatNode& node) {
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

Solver::Solver(StatNode& start, const SolveBudget& budget)
    : start_(start),
      budget_(budget),
      memoryLimit_(budget.maxMemoryBytes ? budget.maxMemoryBytes : halfOfPhysicalMemory()),
      serialAtStart_(NodeSerial) {}

bool Solver::budgetSpent() {
    if (budget_.cancel && budget_.cancel->load(std::memory_order_relaxed)) return true;
    if (budget_.maxNodes && NodeSerial - serialAtStart_ >= budget_.maxNodes) return true;
    if (budget_.maxSeconds > 0 && expansions_ % CLOCK_CHECK_EVERY == 0) {
        const std::chrono::duration<double> busy = busy_ + (Clock::now() - sliceStart_);
        if (busy.count() >= budget_.maxSeconds) return true;
    }
    if (expansions_ % MEMORY_CHECK_EVERY == 0 && peakMemory() + MEMORY_MARGIN >= memoryLimit_) return true;
    return false;
}

void Solver::expandOnce() {
    StatNode* node = &start_;
    while (node->isExpanded()) {
        node = mostProvingChild(*node);
        if (node == nullptr) {  // numbers out of step with the children: nothing to expand
            finished_ = true;
            return;
        }
    }
    expandAndPropagate(*node);
    ++expansions_;
}

bool Solver::runSlice(std::chrono::nanoseconds slice) {
    if (finished_) return true;
    sliceStart_ = Clock::now();
    while (!finished_) {
        if (start_.isDecided() || budgetSpent()) {
            finished_ = true;
            break;
        }
        expandOnce();
        if (expansions_ % CLOCK_CHECK_EVERY == 0 && Clock::now() - sliceStart_ >= slice) break;
    }
    busy_ += Clock::now() - sliceStart_;
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
    r.nodes = nodes();
    r.seconds = seconds();
    r.rate = rate();
    r.move = provingMove();
    for (const StatNode* node = &start_; node->childCount > 0;) {
        node = mainLineChild(*node);
        if (node == nullptr) break;
        r.line.push_back(node->move);
    }
    return r;
}

SolveReport solve(StatNode& start, const SolveBudget& budget) {
    Solver solver(start, budget);
    while (!solver.runSlice(std::chrono::hours(1))) {
    }
    return solver.report();
}

}  // namespace vorek
