#include "search/root_build.h"

#include "board/evaluation.h"
#include "board/position_files.h"
#include "search/numbers.h"

namespace vorek {

RootBuild buildRootNode(const std::filesystem::path& dir) {
    RootBuild build;
    auto board = std::make_unique<V2Board>();
    build.read = readPosition(*board, dir);
    build.fiveAtOnce = evaluateAll(*board);
    build.root = std::make_unique<StatNode>(std::move(board));
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
