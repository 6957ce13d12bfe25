#include "search/root_build.h"

#include <cassert>

#include "search/numbers.h"

namespace vorek {

RootBuild buildRootNode(std::unique_ptr<V2Board> position) {
    assert(position != nullptr);
    RootBuild build;
    // Its judging stopped at a five of the side to move.
    build.fiveAtOnce = !position->listsWhole();
    build.root = std::make_unique<StatNode>(std::move(position));
    updateNumbers(*build.root);
    if (build.fiveAtOnce) {
        // Player 1 is to move and completes five: decided like a child whose
        // move leaves an immediate five. Its lists stop at that square, so it
        // must never be expanded.
        build.root->pn = 0;
        build.root->dn = INFINITE_NUMBER;
    }
    return build;
}

}  // namespace vorek
