#include "files/folder_handle.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <utility>

#include "files/ascii_text.h"
#include "files/write_all.h"

namespace vorek {

namespace {

// Attempts at a free temporary or new name before giving up.
constexpr int NAME_ATTEMPTS = 100;

bool isFolder(const std::optional<struct stat>& st) { return st && S_ISDIR(st->st_mode); }
bool isRegular(const std::optional<struct stat>& st) { return st && S_ISREG(st->st_mode); }

// A name for a temporary entry beside `name`, unique within this process and
// unlikely to be taken by another.
std::string temporaryName(std::string_view name) {
    static std::atomic<unsigned> counter{0};
    return std::string(name) + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
}

// `base`, then `base` with ".1", ".2", ... after it.
std::string numbered(std::string_view base, int n) {
    return n == 0 ? std::string(base) : std::string(base) + "." + std::to_string(n);
}

// The owner and group where this process may give them: root any, others
// a group of their own. Given before the permissions, which a change of
// owner may take set-id bits from.
void giveOwner(int fd, const FileAttributes& attributes) {
    if (::fchown(fd, attributes.owner, attributes.group) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), attributes.group);
}

// After the last write, which sets the time anew.
void giveTime(int fd, const FileAttributes& attributes) {
    const timespec times[2] = {{0, UTIME_OMIT}, attributes.modified};
    (void)::futimens(fd, times);
}

}  // namespace

std::optional<FolderHandle> FolderHandle::open(const std::filesystem::path& folder) {
    // O_PATH needs no permission to read the folder, only to reach it.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    return FolderHandle(fd, folder);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

FolderHandle::~FolderHandle() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<struct stat> FolderHandle::entry(std::string_view name) const {
    struct stat st {};
    if (::fstatat(fd_, std::string(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return st;
}

std::vector<std::string> FolderHandle::namesLike(std::string_view name) const {
    std::vector<std::string> names;
    const int listing = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return names;
    DIR* entries = ::fdopendir(listing);
    if (entries == nullptr) {
        ::close(listing);
        return names;
    }
    while (const dirent* found = ::readdir(entries))
        if (sameIgnoringCase(found->d_name, name)) names.emplace_back(found->d_name);
    ::closedir(entries);
    std::sort(names.begin(), names.end());
    return names;
}

ReadFile FolderHandle::openFile(std::string_view name) const {
    const int fd = ::openat(fd_, std::string(name).c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    return regularFileOf(fd);
}

std::optional<std::string> FolderHandle::linkText(std::string_view name) const {
    char text[PATH_MAX];
    const ssize_t length = ::readlinkat(fd_, std::string(name).c_str(), text, sizeof text);
    if (length < 0 || static_cast<std::size_t>(length) == sizeof text) return std::nullopt;
    return std::string(text, static_cast<std::size_t>(length));
}

bool FolderHandle::replace(std::string_view name, std::string_view bytes, std::optional<mode_t> mode) const {
    const std::optional<struct stat> old = entry(name);
    if (isFolder(old)) return false;
    if (!mode && isRegular(old)) mode = old->st_mode & 07777;
    if (writeAndRename(name, bytes, mode, nullptr)) return true;
    // No file can be written here: only a regular file at the name itself is
    // overwritten, never what a link points to, never a pipe, never a file
    // that another name shares.
    return isRegular(old) && overwriteInPlace(name, FileId::of(*old), bytes, nullptr);
}

bool FolderHandle::replaceAs(std::string_view name, std::string_view bytes, const FileAttributes& attributes,
                             std::optional<FileId> inPlace) const {
    const std::optional<struct stat> old = entry(name);
    if (isFolder(old)) {
        errno = EISDIR;
        return false;
    }
    if (writeAndRename(name, bytes, attributes.mode, &attributes)) return true;
    const int error = errno;
    if (inPlace && isRegular(old) && FileId::of(*old) == *inPlace && overwriteInPlace(name, *inPlace, bytes, &attributes))
        return true;
    errno = error;
    return false;
}

bool FolderHandle::writeAndRename(std::string_view name, std::string_view bytes, std::optional<mode_t> mode,
                                  const FileAttributes* attributes) const {
    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        const std::string temporary = temporaryName(name);
        const int fd = ::openat(fd_, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return false;
        if (attributes) giveOwner(fd, *attributes);
        if (mode) (void)::fchmod(fd, *mode & 07777);
        bool written = writeAll(fd, bytes);
        if (written && attributes) giveTime(fd, *attributes);
        int error = errno;
        if (::close(fd) != 0 && written) {
            written = false;
            error = errno;
        }
        if (written && ::renameat(fd_, temporary.c_str(), fd_, std::string(name).c_str()) == 0) return true;
        if (written) error = errno;
        ::unlinkat(fd_, temporary.c_str(), 0);
        errno = error;
        return false;
    }
    errno = EEXIST;
    return false;
}

bool FolderHandle::overwriteInPlace(std::string_view name, FileId id, std::string_view bytes,
                                    const FileAttributes* attributes) const {
    const int fd = ::openat(fd_, std::string(name).c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool written = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && FileId::of(st) == id && st.st_nlink == 1;
    if (!written) errno = EBUSY;
    written = written && overwriteWhole(fd, bytes);
    if (written && attributes) {
        giveOwner(fd, *attributes);
        (void)::fchmod(fd, attributes->mode);
        giveTime(fd, *attributes);
    }
    const int error = errno;
    written = ::close(fd) == 0 && written;
    if (!written) errno = error;
    return written;
}

std::optional<std::string> FolderHandle::moveAside(std::string_view name, std::string_view base) const {
    const std::string from(name);
    for (int n = 0; n < NAME_ATTEMPTS; ++n) {
        const std::string aside = numbered(base, n);
        if (::renameat2(fd_, from.c_str(), fd_, aside.c_str(), RENAME_NOREPLACE) == 0) return aside;
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

bool FolderHandle::moveOver(std::string_view from, std::string_view to) const {
    if (isFolder(entry(to))) {
        errno = EISDIR;
        return false;
    }
    return ::renameat(fd_, std::string(from).c_str(), fd_, std::string(to).c_str()) == 0;
}

// Opened as a path alone, so that a file of any permissions can be given
// them back; /proc reaches the file behind such a descriptor.
bool FolderHandle::setAttributes(std::string_view name, FileId id, const FileAttributes& attributes) const {
    const int fd = ::openat(fd_, std::string(name).c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool same = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && FileId::of(st) == id;
    if (same) {
        if (::fchownat(fd, "", attributes.owner, attributes.group, AT_EMPTY_PATH) != 0)
            (void)::fchownat(fd, "", static_cast<uid_t>(-1), attributes.group, AT_EMPTY_PATH);
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        (void)::chmod(path.c_str(), attributes.mode);
        const timespec times[2] = {{0, UTIME_OMIT}, attributes.modified};
        (void)::utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
    ::close(fd);
    return same;
}

bool FolderHandle::writeThrough(std::string_view name, std::string_view bytes) const {
    const int fd = ::openat(fd_, std::string(name).c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const bool written = regular ? overwriteWhole(fd, bytes) : writeAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

bool FolderHandle::relink(std::string_view name, const std::string& text) const {
    if (isFolder(entry(name))) {
        errno = EISDIR;
        return false;
    }
    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        const std::string temporary = temporaryName(name);
        if (::symlinkat(text.c_str(), fd_, temporary.c_str()) != 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        if (::renameat(fd_, temporary.c_str(), fd_, std::string(name).c_str()) == 0) return true;
        const int error = errno;
        ::unlinkat(fd_, temporary.c_str(), 0);
        errno = error;
        return false;
    }
    errno = EEXIST;
    return false;
}

bool FolderHandle::remove(std::string_view name) const {
    const std::string target(name);
    struct stat found {};
    if (::fstatat(fd_, target.c_str(), &found, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    return ::unlinkat(fd_, target.c_str(), S_ISDIR(found.st_mode) ? AT_REMOVEDIR : 0) == 0;
}

std::optional<std::string> FolderHandle::writeNew(std::string_view base, std::string_view bytes,
                                                  const FileAttributes* attributes) const {
    for (int n = 0; n < NAME_ATTEMPTS; ++n) {
        const std::string name = numbered(base, n);
        const int fd = ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                attributes ? 0600 : 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return std::nullopt;
        if (attributes) {
            giveOwner(fd, *attributes);
            (void)::fchmod(fd, attributes->mode);
        }
        bool written = writeAll(fd, bytes);
        if (written && attributes) giveTime(fd, *attributes);
        written = ::close(fd) == 0 && written;
        if (written) return name;
        ::unlinkat(fd_, name.c_str(), 0);
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace vorek
