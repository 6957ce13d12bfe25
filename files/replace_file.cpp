#include "files/replace_file.h"

#include <sys/stat.h>

#include "files/folder_handle.h"

namespace vorek {

bool replaceFile(const std::filesystem::path& target, std::string_view bytes) {
    const std::optional<FolderHandle> folder = FolderHandle::open(target.parent_path());
    if (!folder) return false;
    const std::string name = target.filename().string();
    const std::optional<struct stat> found = folder->entry(name);
    if (found && S_ISLNK(found->st_mode)) return folder->writeThrough(name, bytes);
    return folder->replace(name, bytes);
}

}  // namespace vorek
