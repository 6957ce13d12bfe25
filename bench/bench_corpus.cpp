// The solvers on the corpus of won positions (bench/corpus): for each set,
// how many are solved within the budget of vorek-cli solve, the total,
// median and longest time, the nodes, the rate, and the table's bytes per
// node (entries made, at a quarter of a bucket each). The tree solver by the exact
// rules (before threat-space search) runs on the same sets, for the figures
// before and after. One table serves every position of a set, emptied
// before each.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/corpus_file.h"
#include "bench/exact_tree_rules.h"
#include "search/solver.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::bench {
namespace {

constexpr SolveBudget BUDGET{.maxNodes = 1'000'000, .maxSeconds = 10};
// Big enough for the budget's nodes; kept from one position to the next.
constexpr std::size_t TABLE_BYTES = std::size_t{64} << 20;

enum class Solver { Threats, ExactTree };

const std::vector<CorpusPosition>& corpus(const std::string& name) {
    static std::vector<std::pair<std::string, std::vector<CorpusPosition>>> read;
    for (const auto& [file, positions] : read)
        if (file == name) return positions;
    return read.emplace_back(name, readCorpusFile(std::string(VOREK_CORPUS_DIR) + "/" + name)).second;
}

std::unique_ptr<V2Board> engineBoardOf(const ThreatBoard& position) {
    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const unsigned cell = position.cell(s);
        if (cell != CELL_EMPTY) stones.put(s, cell == CELL_PLAYER1 ? PLAYER1 : PLAYER0);
    }
    return V2Board::fromStones(stones, position.sideToMove());
}

struct Outcome {
    bool solved = false;
    double seconds = 0;
    std::uint64_t nodes = 0;
    std::size_t tableEntries = 0;
};

Outcome solveOne(const CorpusPosition& position, Solver solver, TranspositionTable& table) {
    const bool player1 = position.board.sideToMove() == PLAYER1;
    const SolveResult won = player1 ? SolveResult::Proved : SolveResult::Disproved;
    const auto start = std::chrono::steady_clock::now();
    Outcome outcome;
    if (solver == Solver::Threats) {
        ThreatSolver threats(position.board, BUDGET, {.kind = position.kind}, &table);
        const SolveReport report = threats.run();
        outcome.solved = report.result == won;
        outcome.nodes = report.nodes;
        outcome.tableEntries = table.entries();
    } else {
        const std::unique_ptr<StatNode> root = exactRoot(engineBoardOf(position.board));
        const SolveReport report = solve(*root, BUDGET, exactTreeRules());
        outcome.solved = report.result == won;
        outcome.nodes = report.nodes;
    }
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

void BM_Corpus(benchmark::State& state, const char* file, Solver solver) {
    const std::vector<CorpusPosition>& positions = corpus(file);
    TranspositionTable table(TABLE_BYTES);
    std::vector<Outcome> outcomes;
    for (auto _ : state) {
        outcomes.clear();
        for (const CorpusPosition& position : positions) outcomes.push_back(solveOne(position, solver, table));
    }
    std::vector<double> times;
    double total = 0;
    std::uint64_t nodes = 0;
    std::size_t entries = 0;
    int solved = 0;
    for (const Outcome& o : outcomes) {
        times.push_back(o.seconds);
        total += o.seconds;
        nodes += o.nodes;
        entries += o.tableEntries;
        solved += o.solved;
    }
    std::sort(times.begin(), times.end());
    state.counters["positions"] = static_cast<double>(positions.size());
    state.counters["solved"] = solved;
    state.counters["total_s"] = total;
    state.counters["median_ms"] = times.empty() ? 0 : 1000 * times[times.size() / 2];
    state.counters["max_ms"] = times.empty() ? 0 : 1000 * times.back();
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["nodes/s"] = total > 0 ? static_cast<double>(nodes) / total : 0;
    // A table entry takes a share of its bucket.
    constexpr double ENTRY_BYTES = static_cast<double>(TranspositionTable::BUCKET_BYTES) / TranspositionTable::BUCKET;
    if (solver == Solver::Threats)
        state.counters["bytes/node"] = nodes ? ENTRY_BYTES * static_cast<double>(entries) / static_cast<double>(nodes) : 0;
}

BENCHMARK_CAPTURE(BM_Corpus, vcf_threat_space, "vcf.txt", Solver::Threats)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Corpus, vct_threat_space, "vct.txt", Solver::Threats)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Corpus, vcf_hard_threat_space, "vcf_hard.txt", Solver::Threats)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Corpus, vct_hard_threat_space, "vct_hard.txt", Solver::Threats)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Corpus, vct_wide_threat_space, "vct_wide.txt", Solver::Threats)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Corpus, shapes_threat_space, "shapes.txt", Solver::Threats)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Corpus, vcf_exact_tree_before, "vcf.txt", Solver::ExactTree)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Corpus, vct_exact_tree_before, "vct.txt", Solver::ExactTree)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Corpus, shapes_exact_tree_before, "shapes.txt", Solver::ExactTree)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorek::bench
