// The corpus maker's steps that make wins harder: a threat taken back makes
// the shortest win one move longer, decoys make it no shorter, and the win
// stays of its kind, which the independent checker confirms.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "bench/corpus_file.h"
#include "bench/corpus_harder.h"
#include "bench/corpus_solves.h"
#include "tests/proof_checker.h"
#include "tests/threat_search_support.h"

namespace vorek {
namespace {

void expectCheckedWin(const bench::Puzzle& puzzle, ThreatKind kind, const std::string& name) {
    EXPECT_TRUE(bench::isPuzzle(puzzle.board, kind)) << name;
    testing::ProofChecker checker(testing::solverStrategy(kind));
    EXPECT_EQ(checker.check(testing::cellsOfBoard(puzzle.board), testing::stoneOf(puzzle.board.sideToMove())), "") << name;
}

TEST(CorpusHarder, TakenBackAndDecoyedWinsKeepTheirKindAndGrowNoShorter) {
    struct Case {
        const char* file;
        std::size_t index;
    };
    const Case cases[] = {{"vcf.txt", 0}, {"vcf.txt", 7}, {"vct.txt", 0}, {"vct.txt", 5}};
    std::mt19937 random(1);
    int steps = 0;
    for (const Case& c : cases) {
        const bench::CorpusPosition position =
            bench::readCorpusFile(std::string(VOREK_CORPUS_DIR) + "/" + c.file).at(c.index);
        const bench::Puzzle puzzle{position.board, position.length};
        if (const auto longer = bench::longerByOneThreat(puzzle, position.kind, random)) {
            ++steps;
            EXPECT_EQ(longer->length, position.length + 1) << position.name;
            EXPECT_EQ(bench::winWithin(longer->board, position.kind, position.length), bench::Found::NoWin)
                << position.name;
            expectCheckedWin(*longer, position.kind, position.name + " taken back");
        }
        if (const auto decoyed = bench::withDecoys(puzzle, position.kind, random)) {
            ++steps;
            EXPECT_GE(decoyed->length, position.length) << position.name;
            EXPECT_EQ(decoyed->board.stones(), position.board.stones() + 2) << position.name;
            expectCheckedWin(*decoyed, position.kind, position.name + " with decoys");
        }
    }
    EXPECT_GE(steps, 4);
}

}  // namespace
}  // namespace vorek
