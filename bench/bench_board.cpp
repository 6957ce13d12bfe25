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
        scanSquare(*board, s);
        benchmark::DoNotOptimize(lineThreats);
        s = (s + 37) % BOARD_SQUARES;
    }
}
BENCHMARK(BM_ScanSquare);

// Re-reads the squares only; the evaluation itself is what is timed.
void evaluateFresh(benchmark::State& state, const V2Board& source) {
    V2Board board;
    for (auto _ : state) {
        state.PauseTiming();
        board.threats[0].clear();
        board.threats[1].clear();
        board.squares = source.squares;
        for (auto& flags : board.squares)
            if (isEmptySquare(flags)) flags = EMPTY_LIVE_SQUARE;
        board.sideToMove = source.sideToMove;
        board.stoneCount = source.stoneCount;
        state.ResumeTiming();
        benchmark::DoNotOptimize(evaluateAll(board));
    }
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
        if (isEmptySquare(board->squares[s]) && (board->squares[s] & SQ_SIDE)) empties.push_back(s);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(childAfterMove(*board, empties[i]));
        i = (i + 1) % empties.size();
    }
    state.counters["live squares"] = static_cast<double>(empties.size());
}
BENCHMARK(BM_ChildAfterMove);

}  // namespace
}  // namespace vorek::bench
