// Speed of the generator and of expansion, and the size of a grown tree.
#include <benchmark/benchmark.h>

#include <deque>

#include "bench/positions.h"
#include "board/candidates.h"
#include "search/numbers.h"

namespace vorek::bench {
namespace {

void BM_GenerateCandidates(benchmark::State& state, const char* example) {
    auto board = examplePosition(example);
    CandidateList candidates;
    for (auto _ : state) benchmark::DoNotOptimize(generateCandidates(*board, candidates));
    state.counters["candidates"] = candidates.count();
}
BENCHMARK_CAPTURE(BM_GenerateCandidates, opening, "opening");
BENCHMARK_CAPTURE(BM_GenerateCandidates, middlegame, "middlegame");
BENCHMARK_CAPTURE(BM_GenerateCandidates, forced_win, "forced-win");

void BM_ExpandMiddleGameRoot(benchmark::State& state) {
    auto board = examplePosition("middlegame");
    for (auto _ : state) {
        state.PauseTiming();
        auto root = std::make_unique<StatNode>(board->clone());
        state.ResumeTiming();
        root->expand();
        state.PauseTiming();
        state.counters["children"] = root->childCount;
        root.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExpandMiddleGameRoot);

// The first leaf, in breadth-first order, that can still be expanded.
StatNode* firstOpenLeaf(StatNode* root) {
    std::deque<StatNode*> queue{root};
    while (!queue.empty()) {
        StatNode* node = queue.front();
        queue.pop_front();
        if (!node->isExpanded() && !node->isDecided()) return node;
        for (std::uint32_t i = 0; i < node->childCount; ++i) queue.push_back(node->child(i));
    }
    return nullptr;
}


// Grows the middle-game tree to 10,000 nodes by expanding the first open leaf
// again and again; reports the time and the bytes the tree holds per node.
void BM_GrowTenThousandNodes(benchmark::State& state) {
    auto board = examplePosition("middlegame");
    double bytesPerNode = 0;
    for (auto _ : state) {
        auto root = std::make_unique<StatNode>(board->clone());
        while (root->treeNodes() < 10000) {
            StatNode* leaf = firstOpenLeaf(root.get());
            if (leaf == nullptr) break;
            expandAndPropagate(*leaf);
        }
        state.PauseTiming();
        const std::uint32_t nodes = root->treeNodes();
        bytesPerNode = static_cast<double>(treeBytes(*root)) / static_cast<double>(treeNodes(*root));
        state.counters["nodes"] = nodes;
        root.reset();
        state.ResumeTiming();
    }
    state.counters["bytes/node"] = bytesPerNode;
}
BENCHMARK(BM_GrowTenThousandNodes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorek::bench
