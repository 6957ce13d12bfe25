#include "search/root_build.h"

#include "board/evaluation.h"
#include "files/position_files.h"
#include "search/numbers.h"

namespace vorek {

RootBuild buildRootNode(const std::filesystem::path& dir) {
    auto board = std::make_unique<V2Board>();
    const bool read = readPosition(*board, dir);
    RootBuild build = buildRootNode(std::move(board));
    build.read = read;
    return build;
}

RootBuild buildRootNode(std::unique_ptr<V2Board> board) {
    RootBuild build;
    build.read = true;
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
