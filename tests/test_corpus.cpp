// Every position of the benchmarks' corpus is what its file says: a win of
// the side to move, by fours alone or by threats but not by fours, within
// its length, which the independent checker confirms against every defence.
// The length and the checker take some seconds over the whole corpus: the
// tests look at every win by fours and every fourth win by threats, of the
// harder files at a sample; under the sanitizers, which look for faults of
// memory rather than of verdicts, at a quarter of each file (all of them
// with VOREK_CHECK_WHOLE_CORPUS=1 in the environment).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "bench/corpus_file.h"
#include "search/threat_space/threat_solver.h"
#include "tests/proof_checker.h"
#include "tests/sanitized.h"
#include "tests/threat_search_support.h"

namespace vorek {
namespace {

using testing::Cells;
using testing::ProofChecker;

constexpr SolveBudget BUDGET{.maxNodes = 1'000'000};

// The solver's verdict for the side to move.
bool winsFor(const ThreatBoard& board, ThreatKind kind, int depth = UNLIMITED_DEPTH) {
    const SolveResult won = board.sideToMove() == PLAYER1 ? SolveResult::Proved : SolveResult::Disproved;
    return solveByThreats(board, BUDGET, {.kind = kind, .depth = depth}).result == won;
}

// A file, and which of its positions: those whose index leaves the shard
// when divided by the shards, so that each test takes a second or so; of
// those, in the harder files, every sampled-th.
struct Part {
    const char* file;
    std::size_t shard;
    std::size_t shards;
    std::size_t sampled = 1;
};

void PrintTo(const Part& part, std::ostream* out) { *out << part.file << " shard " << part.shard; }

class Corpus : public ::testing::TestWithParam<Part> {};

bool wholeCorpus() { return std::getenv("VOREK_CHECK_WHOLE_CORPUS") != nullptr; }

constexpr std::size_t SLOWER = testing::SANITIZED_SHARE;

// Which positions of the kind the length and the checker look at: every n-th.
std::size_t checkedEvery(ThreatKind kind) {
    if (wholeCorpus()) return 1;
    return SLOWER * (kind == ThreatKind::Fours ? 1 : 4);
}

// Which positions of the part the test looks at: every n-th.
std::size_t lookedAtEvery(const Part& part) {
    if (wholeCorpus()) return 1;
    return SLOWER * part.sampled;
}

TEST_P(Corpus, EveryPositionIsTheWinItsFileSays) {
    const Part part = GetParam();
    const std::vector<bench::CorpusPosition> positions =
        bench::readCorpusFile(std::string(VOREK_CORPUS_DIR) + "/" + part.file);
    ASSERT_FALSE(positions.empty());
    ProofChecker checkFours(testing::solverStrategy(ThreatKind::Fours));
    ProofChecker checkThreats(testing::solverStrategy(ThreatKind::Threats));
    const std::size_t step = part.shards * lookedAtEvery(part);
    for (std::size_t i = part.shard; i < positions.size(); i += step) {
        const bench::CorpusPosition& position = positions[i];
        const char attacker = position.board.sideToMove() == PLAYER1 ? 'x' : 'o';
        const bool fours = position.kind == ThreatKind::Fours;
        EXPECT_TRUE(winsFor(position.board, position.kind)) << position.name;
        EXPECT_EQ(winsFor(position.board, ThreatKind::Fours), fours) << position.name;
        if (i / step % checkedEvery(position.kind) != 0) continue;
        EXPECT_TRUE(winsFor(position.board, position.kind, position.length)) << position.name;
        ProofChecker& checker = fours ? checkFours : checkThreats;
        EXPECT_EQ(checker.check(testing::cellsOfBoard(position.board), attacker), "") << position.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus,
                         ::testing::Values(Part{"vcf.txt", 0, 2}, Part{"vcf.txt", 1, 2}, Part{"vct.txt", 0, 4},
                                           Part{"vct.txt", 1, 4}, Part{"vct.txt", 2, 4}, Part{"vct.txt", 3, 4},
                                           Part{"vcf_hard.txt", 0, 2, 3}, Part{"vcf_hard.txt", 1, 2, 3},
                                           Part{"vct_hard.txt", 0, 2, 2}, Part{"vct_hard.txt", 1, 2, 2},
                                           Part{"vct_wide.txt", 0, 2, 4}, Part{"vct_wide.txt", 1, 2, 4},
                                           Part{"shapes.txt", 0, 1}),
                         [](const auto& info) {
                             const std::string file = info.param.file;
                             return file.substr(0, file.find('.')) + std::to_string(info.param.shard);
                         });

}  // namespace
}  // namespace vorek
