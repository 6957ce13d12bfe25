// The rules of the tree a user grows by hand, as the solver follows them.
#include "search/numbers.h"
#include "search/solver.h"
#include "search/tree_rules.h"

namespace vorek {

namespace {

class HandTreeRules final : public TreeRules {
public:
    void expand(StatNode& node, const V2Board& position) const override { node.expand(position); }
    StatNode* propagate(StatNode& node) const override { return propagateNumbers(&node); }
    NodeNumbers numbersOf(const StatNode& node) const override { return updatedNumbers(node); }
    StatNode* mostProvingChild(const StatNode& node) const override { return vorek::mostProvingChild(node); }
    bool settled(const StatNode& node) const override { return node.isDecided(); }
};

}  // namespace

const TreeRules& handTreeRules() {
    static const HandTreeRules rules;
    return rules;
}

}  // namespace vorek
