#include "tests/real_engine.h"

#include <unistd.h>

namespace vorek::testing {

std::optional<std::filesystem::path> realEngine() {
    const std::filesystem::path checkout = VOREK_SOURCE_DIR;
    for (const std::filesystem::path& shared : {checkout.parent_path(), checkout.parent_path().parent_path()}) {
        const std::filesystem::path engine = shared / "shared" / "engines" / "pbrain-rapfi";
        if (::access(engine.c_str(), X_OK) == 0) return engine;
    }
    return std::nullopt;
}

}  // namespace vorek::testing
