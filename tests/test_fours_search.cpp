// The depth-first search of wins by fours against the table it shares: its
// refutations under a limit on the moves must not stand for a deeper search,
// its proofs hold for every deeper one, and the winning line is read whole
// even from a table that keeps almost nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/corpus_file.h"
#include "search/threat_space/proof_search.h"

namespace vorek {
namespace {

// Every n-th win by fours of the harder corpus, the longer ones among them.
std::vector<bench::CorpusPosition> someWinsByFours() {
    const std::vector<bench::CorpusPosition> all =
        bench::readCorpusFile(std::string(VOREK_CORPUS_DIR) + "/vcf_hard.txt");
    std::vector<bench::CorpusPosition> some;
    for (std::size_t i = 0; i < all.size(); i += 12) some.push_back(all[i]);
    return some;
}

// Whether the line, played from the position, ends with the attacker's five
// and every defender move in it is the block of the four before.
bool endsInFive(ThreatBoard board, const std::vector<int>& line) {
    const Player attacker = board.sideToMove();
    for (const int move : line) {
        if (!board.isEmpty(move)) return false;
        if (board.sideToMove() != attacker && !board.moves(attacker).fives.contains(move)) return false;
        board.makeMove(move);
    }
    return playerWithFive(board) == attacker;
}

TEST(FoursSearch, LimitsOnTheMovesAndASharedTableGiveTheSameVerdicts) {
    TranspositionTable table(std::size_t{4} << 20);
    for (const bench::CorpusPosition& position : someWinsByFours()) {
        ThreatBoard board = position.board;
        SearchControl control(SolveBudget{.maxNodes = 1'000'000});
        ProofSearch search(board, table, control);
        // Shortest first, then none, then deeper, then shorter again: each
        // answer comes partly from what the earlier ones left in the table.
        EXPECT_TRUE(search.prove(ThreatKind::Fours, position.length).proved()) << position.name;
        EXPECT_TRUE(search.prove(ThreatKind::Fours, position.length - 1).disproved()) << position.name;
        EXPECT_TRUE(search.prove(ThreatKind::Fours).proved()) << position.name;
        EXPECT_TRUE(search.prove(ThreatKind::Fours, position.length + 1).proved()) << position.name;
        EXPECT_TRUE(search.prove(ThreatKind::Fours, position.length - 1).disproved()) << position.name;
        const std::vector<int> line = search.winningLine(ThreatKind::Fours, position.length);
        EXPECT_EQ(line.size(), static_cast<std::size_t>(2 * position.length - 1)) << position.name;
        EXPECT_TRUE(endsInFive(position.board, line)) << position.name;
    }
}

TEST(FoursSearch, TheWinningLineIsWholeFromATableOfOneBucket) {
    int checked = 0;
    for (const bench::CorpusPosition& position : someWinsByFours()) {
        TranspositionTable table(TranspositionTable::BUCKET_BYTES);
        ThreatBoard board = position.board;
        SearchControl control(SolveBudget{.maxNodes = 200'000});
        ProofSearch search(board, table, control);
        // Some proofs take too long without a table to speak of.
        if (!search.prove(ThreatKind::Fours).proved()) continue;
        ++checked;
        EXPECT_TRUE(endsInFive(position.board, search.winningLine(ThreatKind::Fours))) << position.name;
    }
    EXPECT_GE(checked, 20);
}

// A budget that runs out leaves the position undecided: neither a proof nor
// a refutation of the whole, and a later search with room decides it.
TEST(FoursSearch, ANodeLimitLeavesItOpen) {
    TranspositionTable table(std::size_t{4} << 20);
    for (const bench::CorpusPosition& position : someWinsByFours()) {
        ThreatBoard board = position.board;
        SearchControl control(SolveBudget{.maxNodes = 1'000'000});
        ProofSearch search(board, table, control);
        const ProofNumbers cut = search.prove(ThreatKind::Fours, UNLIMITED_DEPTH, control.nodes() + 2);
        EXPECT_FALSE(cut.disproved()) << position.name;
        EXPECT_TRUE(search.prove(ThreatKind::Fours).proved()) << position.name;
    }
}

}  // namespace
}  // namespace vorek
