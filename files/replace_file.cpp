#include "files/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/folder_handle.h"
#include "files/write_all.h"

namespace vorek {

namespace {

// Overwrites what the link points to, creating it when it is missing. A
// regular file keeps its old bytes when the new ones would not fit; a named
// pipe with no reader fails at once.
bool writeThroughLink(const std::filesystem::path& link, std::string_view bytes) {
    const int fd = ::open(link.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const bool written = regular ? overwriteWhole(fd, bytes) : writeAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

}  // namespace

bool replaceFile(const std::filesystem::path& target, std::string_view bytes) {
    const std::optional<FolderHandle> folder = FolderHandle::open(target.parent_path());
    if (!folder) return false;
    const std::string name = target.filename().string();
    const std::optional<struct stat> found = folder->entry(name);
    if (found && S_ISLNK(found->st_mode)) return writeThroughLink(target, bytes);
    return folder->replace(name, bytes);
}

}  // namespace vorek
