// Speed of the square scan, the full evaluation, copying and playing a move.
#include <benchmark/benchmark.h>

#include "bench/positions.h"
#include "board/evaluation.h"
#include "board/moves.h"

namespace vorek::bench {
namespace {

void BM_ScanSquare(benchmark::State& state) {
    auto board = sixtyStones();
    int s = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanSquare(*board, s));
        s = (s + 37) % BOARD_SQUARES;
    }
}
BENCHMARK(BM_ScanSquare);

// The whole making of a position from its stones: mostly the evaluation of
// every empty square.
void evaluateFresh(benchmark::State& state, const V2Board& source) {
    const Stones stones = source.stones();
    for (auto _ : state) benchmark::DoNotOptimize(V2Board::fromStones(stones, source.sideToMove()));
}

void BM_EvaluateAllMiddleGame(benchmark::State& state) {
    evaluateFresh(state, *examplePosition("middlegame"));
}
BENCHMARK(BM_EvaluateAllMiddleGame);

void BM_EvaluateAllSixtyStones(benchmark::State& state) { evaluateFresh(state, *sixtyStones()); }
BENCHMARK(BM_EvaluateAllSixtyStones);

void BM_Clone(benchmark::State& state) {
    auto board = sixtyStones();
    for (auto _ : state) benchmark::DoNotOptimize(board->clone());
}
BENCHMARK(BM_Clone);

void BM_ChildAfterMove(benchmark::State& state) {
    auto board = sixtyStones();
    std::vector<int> empties;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (isEmptySquare(board->flags(s)) && (board->flags(s) & SQ_SIDE)) empties.push_back(s);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(board->played(empties[i]));
        i = (i + 1) % empties.size();
    }
    state.counters["live squares"] = static_cast<double>(empties.size());
}
BENCHMARK(BM_ChildAfterMove);

}  // namespace
}  // namespace vorek::bench
