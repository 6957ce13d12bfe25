#include "search/root_build.h"

namespace vorek {

RootBuild buildRootNode(const std::filesystem::path&) {
    return RootBuild{std::make_unique<StatNode>(std::make_unique<V2Board>())};
}

}  // namespace vorek
