// A last place for bytes that could not be kept in their own folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace vorek {

// Writes the bytes into a new file "vorek-saved-NAME-XXXXXX" (X: letters
// chosen to make it free) that only this user may read, in the user's
// runtime folder ($XDG_RUNTIME_DIR), or where that cannot be done, in the
// temporary folder ($TMPDIR, else /tmp). Its path, or nullopt when neither
// could take them.
std::optional<std::filesystem::path> writeSavedCopy(std::string_view name, std::string_view bytes);

}  // namespace vorek
