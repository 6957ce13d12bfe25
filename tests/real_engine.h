// The open-source engine that tests of engine features may run when it is
// there (in "shared/engines" beside the checkout, or beside the folder that
// holds it); tests that use it skip when it is not.
#pragma once

#include <filesystem>
#include <optional>

namespace vorek::testing {

// The engine's path, when it is there and can be run.
std::optional<std::filesystem::path> realEngine();

}  // namespace vorek::testing
