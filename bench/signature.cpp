#include "bench/signature.h"

#include "bench/positions.h"
#include "bench/exact_tree_rules.h"
#include "search/solver.h"

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
