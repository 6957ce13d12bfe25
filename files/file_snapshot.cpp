#include "files/file_snapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/saved_copy.h"
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

bool sameFile(const struct stat& st, const FileId& id) { return S_ISREG(st.st_mode) && FileId::of(st) == id; }

// Whether the file looks other than the attributes say: its permissions,
// owner, group or time.
bool looksOther(const struct stat& st, const FileAttributes& kept) {
    return (st.st_mode & 07777) != kept.mode || st.st_uid != kept.owner || st.st_gid != kept.group ||
           st.st_mtim.tv_sec != kept.modified.tv_sec || st.st_mtim.tv_nsec != kept.modified.tv_nsec;
}

bool isFolder(const std::optional<struct stat>& st) { return st && S_ISDIR(st->st_mode); }

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
    entry.id = FileId::of(*st);
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
        entry.attributes = FileAttributes::of(*st);
        entry.links = st->st_nlink;
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

FileSnapshot::Entry* FileSnapshot::kept(std::string_view name) {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.name == name; });
    return found == entries_.end() ? nullptr : &*found;
}

bool FileSnapshot::writeForNow(std::string_view name, std::string_view bytes) {
    if (!folder_) return false;
    Entry* entry = kept(name);
    const std::optional<struct stat> now = folder_->entry(name);
    // Missing, or no longer what was found: nothing of the user's to keep.
    if (entry == nullptr || entry->kind == Kind::Missing || !now || FileId::of(*now) != entry->id)
        return folder_->replace(name, bytes);
    const std::optional<mode_t> mode =
        entry->kind == Kind::File ? std::optional<mode_t>(entry->attributes.mode) : std::nullopt;
    // Aside even when it holds the bytes already: what the program then
    // writes goes into a file of the ask's, not the user's.
    if (!entry->aside) {
        entry->aside = folder_->moveAside(name, std::string(name) + ".saved");
        if (entry->aside) {
            if (folder_->replace(name, bytes, mode)) return true;
            // No new file can be written: the one found comes back, to be
            // written in place below.
            if (!folder_->moveOver(*entry->aside, name)) return false;
            entry->aside.reset();
        }
    }
    if (entry->kind == Kind::File && entry->bytes == bytes) return true;
    return folder_->replace(name, bytes, mode);
}

std::vector<std::string> FileSnapshot::restore(Blocked blocked,
                                               const std::function<void(std::string_view name)>& beforeEach) const {
    std::vector<std::string> problems;
    if (!folder_) return problems;
    for (const Entry& entry : entries_) {
        if (beforeEach) beforeEach(entry.name);
        if (std::optional<std::string> problem = restoreEntry(entry, blocked)) problems.push_back(std::move(*problem));
    }
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

bool FileSnapshot::asideAsFound(const Entry& entry) const {
    const std::optional<struct stat> there = folder_->entry(*entry.aside);
    if (!there || FileId::of(*there) != entry.id) return false;
    if (entry.kind == Kind::Link) return S_ISLNK(there->st_mode) && folder_->linkText(*entry.aside) == entry.linkText;
    const ReadFile file = folder_->openFile(*entry.aside);
    return file && holds(::fileno(file.get()), entry.bytes);
}

// The entry renamed aside goes back to its name when it is still as found;
// one that was changed is not the user's and goes.
FileSnapshot::Return FileSnapshot::bringBack(const Entry& entry, std::string& why) const {
    if (!asideAsFound(entry)) {
        folder_->remove(*entry.aside);
        entry.aside.reset();
        return Return::Changed;
    }
    if (isFolder(folder_->entry(entry.name)) && !folder_->remove(entry.name)) {
        why = "a folder that is not empty stands there";
        return Return::Stuck;
    }
    if (!folder_->moveOver(*entry.aside, entry.name)) {
        why = std::strerror(errno);
        return Return::Stuck;
    }
    entry.aside.reset();
    const std::optional<struct stat> back = folder_->entry(entry.name);
    if (entry.kind == Kind::File && back && looksOther(*back, entry.attributes))
        folder_->setAttributes(entry.name, entry.id, entry.attributes);
    return Return::Back;
}

std::optional<std::string> FileSnapshot::restoreFile(const Entry& entry, Blocked blocked) const {
    std::string why;
    if (entry.aside) {
        const Return back = bringBack(entry, why);
        if (back == Return::Back) return std::nullopt;
        if (back == Return::Stuck)
            return "could not put back " + named(entry.name) + ": " + why + "; the bytes found are in " +
                   named(*entry.aside);
    }
    const std::optional<struct stat> now = folder_->entry(entry.name);
    if (now && S_ISREG(now->st_mode)) {
        const ReadFile file = folder_->openFile(entry.name);
        if (file && holds(::fileno(file.get()), entry.bytes)) {
            if (looksOther(*now, entry.attributes)) folder_->setAttributes(entry.name, FileId::of(*now), entry.attributes);
            return std::nullopt;
        }
    }
    const std::optional<FileId> inPlace = entry.links == 1 ? std::optional<FileId>(entry.id) : std::nullopt;
    if (isFolder(now) && !folder_->remove(entry.name))
        why = "a folder that is not empty stands there";
    else if (folder_->replaceAs(entry.name, entry.bytes, entry.attributes, inPlace))
        return std::nullopt;
    else
        why = std::strerror(errno);
    std::string problem = "could not put back " + named(entry.name) + ": " + why;
    if (blocked == Blocked::WriteBeside) problem += "; " + keepElsewhere(entry);
    return problem;
}

std::string FileSnapshot::keepElsewhere(const Entry& entry) const {
    if (const std::optional<std::string> saved = folder_->writeNew(entry.name + ".saved", entry.bytes, &entry.attributes))
        return "the bytes found are in " + named(*saved);
    if (const std::optional<std::filesystem::path> copy = writeSavedCopy(entry.name, entry.bytes))
        return "the bytes found are in \"" + copy->string() + "\"";
    return "the bytes found could not be kept";
}

std::optional<std::string> FileSnapshot::restoreLink(const Entry& entry) const {
    std::string why;
    const Return back = entry.aside ? bringBack(entry, why) : Return::Changed;
    if (back == Return::Stuck)
        return "could not put back the link " + named(entry.name) + ": " + why + "; the link found is in " +
               named(*entry.aside);
    if (back == Return::Changed) {
        const std::optional<struct stat> now = folder_->entry(entry.name);
        const bool sameLink = now && S_ISLNK(now->st_mode) && folder_->linkText(entry.name) == entry.linkText;
        if (!sameLink) {
            if (isFolder(now) && !folder_->remove(entry.name))
                return "could not put back the link " + named(entry.name) +
                       ": a folder that is not empty stands there";
            if (!folder_->relink(entry.name, entry.linkText))
                return "could not put back the link " + named(entry.name) + ": " + std::strerror(errno);
        }
    }
    return restoreLinkTarget(entry);
}

// The bytes go back only into the very file that the link pointed to,
// looked at before it is opened, so that nothing else is ever opened.
std::optional<std::string> FileSnapshot::restoreLinkTarget(const Entry& entry) const {
    if (!entry.target) return std::nullopt;
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
    if (S_ISDIR(now->st_mode) && (errno == ENOTEMPTY || errno == EEXIST))
        return "could not take away " + named(name) + ": a folder that is not empty stands there";
    return "could not take away " + named(name) + ": " + std::strerror(errno);
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
