// Writing a small file so that readers see either the old or the new content.
#pragma once

#include <filesystem>
#include <string_view>

namespace vorek {

// Writes bytes to a temporary file beside the target and renames it over the
// target. If no temporary file can be made there (a read-only folder), or the
// target is a symbolic link, the target is written in place instead. True when
// the target now holds exactly the bytes.
bool replaceFile(const std::filesystem::path& target, std::string_view bytes);

}  // namespace vorek
