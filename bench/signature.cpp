#include "bench/signature.h"

#include "bench/corpus_file.h"
#include "bench/exact_tree_rules.h"
#include "bench/positions.h"
#include "search/solver.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::bench {

namespace {

enum class Rules { Window, Exact };

// The window's rules solve in a tree over the position itself; the exact
// rules in a tree of their own over the same stones.
std::uint64_t nodesOfSolve(const V2Board& position, Rules rules, std::uint64_t maxNodes) {
    const bool exact = rules == Rules::Exact;
    const std::unique_ptr<StatNode> root = exact ? exactRoot(position) : std::make_unique<StatNode>(position.clone());
    SolveBudget budget;
    budget.maxNodes = maxNodes;
    return solve(*root, budget, exact ? exactTreeRules() : handTreeRules()).nodes;
}

std::uint64_t nodesOfThreatSolve(const ThreatBoard& position, ThreatKind kind, std::uint64_t maxNodes) {
    SolveBudget budget;
    budget.maxNodes = maxNodes;
    return solveByThreats(position, budget, {.kind = kind}).nodes;
}

// Every STEP-th position of a corpus file, from the first.
std::vector<CorpusPosition> sampleOfCorpus(const std::string& file, std::size_t step) {
    std::vector<CorpusPosition> all = readCorpusFile(std::string(VOREK_CORPUS_DIR) + "/" + file);
    std::vector<CorpusPosition> sample;
    for (std::size_t i = 0; i < all.size(); i += step) sample.push_back(std::move(all[i]));
    return sample;
}

// The threat search on the examples, by fours and by threats, and on a
// sample of the corpus: its wins by fours and by threats as they are, and
// each with the other side to move, whose solve must refute every move.
void addThreatSolves(std::vector<SignatureSolve>& solves, std::uint64_t maxNodes) {
    const auto add = [&](const std::string& name, const ThreatBoard& position, ThreatKind kind) {
        solves.push_back({name + (kind == ThreatKind::Fours ? " fours" : " threats"),
                          nodesOfThreatSolve(position, kind, maxNodes)});
    };
    for (const char* example : {"middlegame", "opening", "forced-win", "model-estimate"}) {
        const ThreatBoard position = threatBoardOf(*examplePosition(example));
        add(example, position, ThreatKind::Fours);
        add(example, position, ThreatKind::Threats);
    }
    for (const auto& [file, step] : {std::pair{"vcf.txt", 60}, std::pair{"vct.txt", 20}, std::pair{"shapes.txt", 2}}) {
        for (const CorpusPosition& won : sampleOfCorpus(file, step)) {
            add(won.name, won.board, won.kind);
            ThreatBoard passed = won.board;
            passed.setSideToMove(opponent(passed.sideToMove()));
            add(won.name + " passed", passed, ThreatKind::Threats);
        }
    }
}

// Enough nodes for the examples to be settled and for the hard positions to
// go deep, few enough for a test under the sanitizers.
constexpr std::uint64_t MAX_NODES = 10'000;

}  // namespace

std::vector<SignatureSolve> signatureSolves() {
    std::vector<SignatureSolve> solves;
    const auto add = [&solves](const std::string& name, const V2Board& position) {
        solves.push_back({name + " window", nodesOfSolve(position, Rules::Window, MAX_NODES)});
        solves.push_back({name + " exact", nodesOfSolve(position, Rules::Exact, MAX_NODES)});
    };
    for (const char* example : {"middlegame", "opening", "forced-win", "model-estimate"})
        add(example, *examplePosition(example));
    for (int i = 0; i < HARD_POSITIONS; ++i) add("hard " + std::to_string(i), *hardPosition(i));
    addThreatSolves(solves, MAX_NODES);
    return solves;
}

std::uint64_t searchSignature(const std::vector<SignatureSolve>& solves) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const SignatureSolve& solve : solves) {
        for (int byte = 0; byte < 8; ++byte) {
            hash ^= (solve.nodes >> (8 * byte)) & 0xFF;
            hash *= 0x100000001b3ull;
        }
    }
    return hash;
}

}  // namespace vorek::bench
