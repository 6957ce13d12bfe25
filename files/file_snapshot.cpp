#include "files/file_snapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/write_all.h"

namespace vorek {

namespace {

// The whole content of an open file, read from its start; nullopt when it
// cannot be read or is larger than `largest`.
std::optional<std::string> readWhole(int fd, std::size_t largest) {
    std::string bytes;
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > largest) return std::nullopt;
        at += n;
    }
}

bool holds(int fd, const std::string& bytes) { return readWhole(fd, bytes.size()) == bytes; }

bool sameFile(const struct stat& st, const FileSnapshot::FileId& id) {
    return S_ISREG(st.st_mode) && st.st_dev == id.device && st.st_ino == id.inode;
}

std::string kindText(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder";
    if (S_ISFIFO(mode)) return "is a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device";
    if (S_ISSOCK(mode)) return "is a socket";
    return "is not a file";
}

std::string tooLargeOrUnreadable(int error) {
    if (error != 0) return std::string("cannot be read: ") + std::strerror(error);
    return "is larger than " + std::to_string(FileSnapshot::LARGEST_KEPT_FILE >> 20) + " MB";
}

}  // namespace

FileSnapshot FileSnapshot::take(const std::filesystem::path& folder, std::initializer_list<std::string_view> names,
                                Spelling spelling) {
    FileSnapshot snapshot;
    snapshot.folder_ = FolderHandle::open(folder);
    if (!snapshot.folder_) return snapshot;
    for (const std::string_view name : names) {
        std::vector<std::string> found;
        if (spelling == Spelling::AnyCase) {
            snapshot.names_.emplace_back(name);
            found = snapshot.folder_->namesLike(name);
        }
        if (std::find(found.begin(), found.end(), name) == found.end()) found.emplace_back(name);
        for (const std::string& each : found) snapshot.keep(each);
    }
    return snapshot;
}

void FileSnapshot::keep(const std::string& name) {
    const std::optional<struct stat> st = folder_->entry(name);
    if (!st) {
        if (errno == ENOENT)
            entries_.push_back(Entry{name});
        else
            leftOut_.push_back({name, std::string("cannot be looked at: ") + std::strerror(errno)});
        return;
    }
    const int dir = folder_->descriptor();
    Entry entry{name};
    struct stat target = *st;
    if (S_ISLNK(st->st_mode)) {
        entry.kind = Kind::Link;
        entry.linkText = folder_->linkText(name).value_or(std::string());
        if (::fstatat(dir, name.c_str(), &target, 0) != 0) {
            if (errno != ENOENT) {
                leftOut_.push_back({name, std::string("is a link that cannot be followed: ") + std::strerror(errno)});
                return;
            }
            entries_.push_back(std::move(entry));  // a link to nothing
            return;
        }
        if (!S_ISREG(target.st_mode)) {
            leftOut_.push_back({name, "is a link to something other than a file"});
            return;
        }
    } else if (S_ISREG(st->st_mode)) {
        entry.kind = Kind::File;
        entry.mode = st->st_mode & 07777;
    } else {
        leftOut_.push_back({name, kindText(st->st_mode)});
        return;
    }
    // Opened as looked at: the entry itself for a file, what the link points
    // to for a link, without waiting on anything.
    const int noFollow = entry.kind == Kind::File ? O_NOFOLLOW : 0;
    const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noFollow);
    struct stat opened {};
    if (fd < 0 || ::fstat(fd, &opened) != 0 || opened.st_dev != target.st_dev || opened.st_ino != target.st_ino) {
        const int error = fd < 0 ? errno : EAGAIN;  // changed while looked at
        if (fd >= 0) ::close(fd);
        leftOut_.push_back({name, std::string("cannot be read: ") + std::strerror(error)});
        return;
    }
    errno = 0;
    std::optional<std::string> bytes = readWhole(fd, LARGEST_KEPT_FILE);
    const int error = errno;
    ::close(fd);
    if (!bytes) {
        leftOut_.push_back({name, tooLargeOrUnreadable(error)});
        return;
    }
    entry.bytes = std::move(*bytes);
    if (entry.kind == Kind::Link) entry.target = FileId{opened.st_dev, opened.st_ino};
    entries_.push_back(std::move(entry));
}

std::vector<std::string> FileSnapshot::restore(Blocked blocked) const {
    std::vector<std::string> problems;
    if (!folder_) return problems;
    for (const Entry& entry : entries_)
        if (std::optional<std::string> problem = restoreEntry(entry, blocked)) problems.push_back(std::move(*problem));
    for (const std::string& name : names_)
        for (const std::string& now : folder_->namesLike(name))
            if (!remembers(now))
                if (std::optional<std::string> problem = takeAway(now)) problems.push_back(std::move(*problem));
    return problems;
}

std::optional<std::string> FileSnapshot::restoreEntry(const Entry& entry, Blocked blocked) const {
    switch (entry.kind) {
        case Kind::Missing: return takeAway(entry.name);
        case Kind::File: return restoreFile(entry, blocked);
        case Kind::Link: return restoreLink(entry);
    }
    return std::nullopt;
}

std::optional<std::string> FileSnapshot::restoreFile(const Entry& entry, Blocked blocked) const {
    const std::optional<struct stat> now = folder_->entry(entry.name);
    if (now && S_ISREG(now->st_mode) && (now->st_mode & 07777) == entry.mode) {
        const ReadFile file = folder_->openFile(entry.name);
        if (file && holds(::fileno(file.get()), entry.bytes)) return std::nullopt;
    }
    if (now && S_ISDIR(now->st_mode) && !folder_->remove(entry.name)) {
        std::string problem = "could not put back " + named(entry.name) + ": a folder that is not empty stands there";
        if (blocked == Blocked::WriteBeside) {
            const std::optional<std::string> saved = folder_->writeNew(entry.name + ".saved", entry.bytes);
            problem += saved ? "; the bytes found are in " + named(*saved) : "; the bytes found could not be kept";
        }
        return problem;
    }
    if (folder_->replace(entry.name, entry.bytes, entry.mode)) return std::nullopt;
    return "could not put back " + named(entry.name);
}

std::optional<std::string> FileSnapshot::restoreLink(const Entry& entry) const {
    const std::optional<struct stat> now = folder_->entry(entry.name);
    const bool sameLink = now && S_ISLNK(now->st_mode) && folder_->linkText(entry.name) == entry.linkText;
    if (!sameLink) {
        if (now && S_ISDIR(now->st_mode) && !folder_->remove(entry.name))
            return "could not put back the link " + named(entry.name) + ": a folder that is not empty stands there";
        if (!folder_->relink(entry.name, entry.linkText)) return "could not put back the link " + named(entry.name);
    }
    if (!entry.target) return std::nullopt;
    // The bytes go back only into the very file that the link pointed to,
    // looked at before it is opened, so that nothing else is ever opened.
    const int dir = folder_->descriptor();
    struct stat st {};
    const std::string moved =
        "the link " + named(entry.name) + " is back, but the file it points to is no longer the one found";
    if (::fstatat(dir, entry.name.c_str(), &st, 0) != 0 || !sameFile(st, *entry.target)) return moved;
    const int fd = ::openat(dir, entry.name.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "could not put back the file that the link " + named(entry.name) + " points to";
    const bool same = ::fstat(fd, &st) == 0 && sameFile(st, *entry.target);
    const bool back = same && (holds(fd, entry.bytes) || overwriteWhole(fd, entry.bytes));
    ::close(fd);
    if (!same) return moved;
    if (!back) return "could not put back the file that the link " + named(entry.name) + " points to";
    return std::nullopt;
}

bool FileSnapshot::holdsLinkFound(std::string_view name) const {
    const auto kept = std::find_if(entries_.begin(), entries_.end(),
                                   [&](const Entry& e) { return e.name == name && e.kind == Kind::Link; });
    if (kept == entries_.end()) return false;
    const std::optional<struct stat> now = folder_->entry(name);
    return now && S_ISLNK(now->st_mode) && folder_->linkText(name) == kept->linkText;
}

std::optional<std::string> FileSnapshot::takeAway(const std::string& name) const {
    const std::optional<struct stat> now = folder_->entry(name);
    if (!now || folder_->remove(name)) return std::nullopt;
    if (S_ISDIR(now->st_mode))
        return "could not take away " + named(name) + ": a folder that is not empty stands there";
    return "could not take away " + named(name);
}

bool FileSnapshot::remembers(std::string_view name) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.name == name; }) ||
           std::any_of(leftOut_.begin(), leftOut_.end(), [&](const LeftOut& e) { return e.name == name; });
}

std::string FileSnapshot::named(std::string_view name) const {
    const std::filesystem::path& folder = folder_->path();
    std::string text(1, '"');
    text += folder.empty() ? std::string(name) : (folder / name).string();
    text += '"';
    return text;
}

}  // namespace vorek
