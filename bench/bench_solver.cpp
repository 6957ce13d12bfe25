// Solving speed (nodes per second) and tree size (bytes per node held by the
// tree: nodes, boards, children arrays and list items).
#include <benchmark/benchmark.h>

#include "bench/positions.h"
#include "bench/exact_tree_rules.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"
#include "search/solver.h"

namespace vorek::bench {
namespace {


// The window's rules solve in the tree over the board itself; the exact rules
// in a tree of their own over the same position.
void solveBoard(benchmark::State& state, const V2Board& board, std::uint64_t maxNodes, bool exact) {
    SolveReport last;
    double bytesPerNode = 0;
    for (auto _ : state) {
        auto root = exact ? exactRoot(board) : std::make_unique<StatNode>(board.clone());
        SolveBudget budget;
        budget.maxNodes = maxNodes;
        last = solve(*root, budget, exact ? exactTreeRules() : handTreeRules());
        state.PauseTiming();
        bytesPerNode = static_cast<double>(treeBytes(*root)) / static_cast<double>(treeNodes(*root));
        root.reset();
        state.ResumeTiming();
    }
    state.counters["nodes"] = static_cast<double>(last.nodes);
    state.counters["nodes/s"] = last.rate;
    state.counters["bytes/node"] = bytesPerNode;
    state.counters["proved"] = last.result == SolveResult::Proved;
    state.SetLabel(last.result == SolveResult::Proved      ? "proved"
                   : last.result == SolveResult::Disproved ? "disproved"
                                                           : "unknown");
}

void BM_SolveExample(benchmark::State& state, const char* example, std::uint64_t maxNodes) {
    solveBoard(state, *examplePosition(example), maxNodes, false);
}
BENCHMARK_CAPTURE(BM_SolveExample, middlegame, "middlegame", 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveExample, opening_300k, "opening", 300000)->Unit(benchmark::kMillisecond);

void BM_SolveHard(benchmark::State& state) {
    solveBoard(state, *hardPosition(static_cast<int>(state.range(0))), 1000000, false);
}
BENCHMARK(BM_SolveHard)->DenseRange(0, HARD_POSITIONS - 1)->Unit(benchmark::kMillisecond);

// The same positions by the exact tree rules, the solver before threat-space
// search. The second hard position is one the window's rules prove by an
// estimate: no forced win is found in it.
void BM_SolveExactExample(benchmark::State& state, const char* example, std::uint64_t maxNodes) {
    solveBoard(state, *examplePosition(example), maxNodes, true);
}
BENCHMARK_CAPTURE(BM_SolveExactExample, middlegame, "middlegame", 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveExactExample, opening_300k, "opening", 300000)->Unit(benchmark::kMillisecond);

void BM_SolveExactHard(benchmark::State& state) {
    solveBoard(state, *hardPosition(static_cast<int>(state.range(0))), 1000000, true);
}
BENCHMARK(BM_SolveExactHard)->DenseRange(0, HARD_POSITIONS - 1)->Unit(benchmark::kMillisecond);

// The same positions by threat-space search, as vorek-cli solve runs it (a
// table of its own each time).
void solveByThreatsBench(benchmark::State& state, const V2Board& board, std::uint64_t maxNodes) {
    SolveReport last;
    for (auto _ : state) last = solveByThreats(threatBoardOf(board), SolveBudget{.maxNodes = maxNodes});
    state.counters["nodes"] = static_cast<double>(last.nodes);
    state.counters["nodes/s"] = last.rate;
    state.SetLabel(std::string(resultText(last.result)) + (last.result == SolveResult::Unknown && last.stopped == SolveStop::Settled ? " exhausted" : ""));
}

void BM_SolveThreatsExample(benchmark::State& state, const char* example) {
    solveByThreatsBench(state, *examplePosition(example), 1000000);
}
BENCHMARK_CAPTURE(BM_SolveThreatsExample, middlegame, "middlegame")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveThreatsExample, opening, "opening")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SolveThreatsExample, model_estimate, "model-estimate")->Unit(benchmark::kMillisecond);

void BM_SolveThreatsHard(benchmark::State& state) {
    solveByThreatsBench(state, *hardPosition(static_cast<int>(state.range(0))), 1000000);
}
BENCHMARK(BM_SolveThreatsHard)->DenseRange(0, HARD_POSITIONS - 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorek::bench
