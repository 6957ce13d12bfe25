// Writing a small file so that readers see either the old or the new content.
#pragma once

#include <filesystem>
#include <string_view>

namespace vorek {

// Writes bytes to a temporary file beside the target and renames it over the
// target (FolderHandle::replace). A target that is a symbolic link is the
// user's way of keeping the file elsewhere: the file it points to is written
// in place instead. True when the target now holds exactly the bytes.
bool replaceFile(const std::filesystem::path& target, std::string_view bytes);

}  // namespace vorek
