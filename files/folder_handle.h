// A folder held by a descriptor, and the entries in it worked on by their
// names alone. What is done through it stays in that folder even when its
// path is renamed or replaced by a link meanwhile, and nothing done through it
// follows a symbolic link found at one of its names, unless it says so.
#pragma once

#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/regular_file.h"

namespace vorek {

// Which file an entry is: the same device and inode is the same file,
// whatever name it stands at now.
struct FileId {
    dev_t device;
    ino_t inode;
    static FileId of(const struct stat& st) { return {st.st_dev, st.st_ino}; }
    bool operator==(const FileId&) const = default;
};

// What a file is besides its bytes, for a new file written to stand for it.
struct FileAttributes {
    mode_t mode;  // permissions, 07777 at most
    uid_t owner;
    gid_t group;
    timespec modified;
    static FileAttributes of(const struct stat& st) {
        return {static_cast<mode_t>(st.st_mode & 07777), st.st_uid, st.st_gid, st.st_mtim};
    }
};

class FolderHandle {
public:
    // The folder (empty: the working directory) held open; nullopt when it
    // is not a folder or cannot be reached.
    static std::optional<FolderHandle> open(const std::filesystem::path& folder);

    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    // The path it was opened by, for messages.
    const std::filesystem::path& path() const { return path_; }

    // The entry at the name itself (a link, not what it points to);
    // nullopt when there is none or it cannot be looked at.
    std::optional<struct stat> entry(std::string_view name) const;

    // The names of the entries equal to `name` but for the case of ASCII
    // letters, `name` itself among them when it is there, sorted. Empty when
    // the folder cannot be listed.
    std::vector<std::string> namesLike(std::string_view name) const;

    // The regular file at the name, opened for reading without blocking;
    // null for a link, a named pipe or anything else but a regular file.
    ReadFile openFile(std::string_view name) const;

    // The text of the link at the name; nullopt when it is no link.
    std::optional<std::string> linkText(std::string_view name) const;

    // Puts a new regular file holding the bytes at the name: written under a
    // temporary name in the folder and renamed over whatever is there (a
    // file, a link itself, a named pipe). It gets the permissions `mode`, or
    // without one those of a regular file it replaces. Where no file can be
    // written (a read-only folder, a full disk) a regular file of one link at
    // the name is overwritten in place, whole or not at all, and anything
    // else is left. A folder at the name is left as it is. True when the name
    // now holds exactly the bytes.
    bool replace(std::string_view name, std::string_view bytes, std::optional<mode_t> mode = std::nullopt) const;

    // The same for a file that stands for another: the new file gets the
    // attributes (the owner and group where this process may give them, the
    // modification time), and the in-place fallback writes only into the
    // file `inPlace`, when it still stands at the name with one link; never
    // with nullopt. On failure errno says why.
    bool replaceAs(std::string_view name, std::string_view bytes, const FileAttributes& attributes,
                   std::optional<FileId> inPlace) const;

    // Renames the entry at the name itself (a file, a link) to the first free
    // name of `base`, `base` with ".1", ".2", ... after it, never over
    // anything; the name it got, or nullopt (errno says why).
    std::optional<std::string> moveAside(std::string_view name, std::string_view base) const;

    // Renames the entry `from` over whatever stands at `to` but a folder.
    // True when it did; errno says why not.
    bool moveOver(std::string_view from, std::string_view to) const;

    // Gives the file at the name, when it is still the file `id`, the
    // attributes' permissions, owner and group (as far as this process may)
    // and modification time. True when it is that file.
    bool setAttributes(std::string_view name, FileId id, const FileAttributes& attributes) const;

    // Writes the bytes into what the link at the name points to, in place,
    // making it when it is missing: a regular file whole or not at all, a
    // named pipe without a reader failing at once. For a link the caller
    // trusts to lead where the user keeps the file. True when they were
    // written.
    bool writeThrough(std::string_view name, std::string_view bytes) const;

    // Puts a symbolic link with that text at the name in the same way,
    // renamed over whatever is there but a folder. True when it is there.
    bool relink(std::string_view name, const std::string& text) const;

    // Takes away whatever is at the name: a file, a link, a named pipe, a
    // folder only when it is empty. True when nothing is there afterwards.
    bool remove(std::string_view name) const;

    // Writes a new regular file holding the bytes under a name that is free,
    // `base` or `base` with ".1", ".2", ... after it, with the attributes
    // when given; the name, or nullopt when none could be written.
    std::optional<std::string> writeNew(std::string_view base, std::string_view bytes,
                                        const FileAttributes* attributes = nullptr) const;

    int descriptor() const { return fd_; }

private:
    FolderHandle(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}

    // A new file of the bytes, the mode and the attributes when given,
    // renamed over the name; errno says why not.
    bool writeAndRename(std::string_view name, std::string_view bytes, std::optional<mode_t> mode,
                        const FileAttributes* attributes) const;
    // Overwrites the regular file at the name, when it is the file `id` and
    // has one link, whole or not at all.
    bool overwriteInPlace(std::string_view name, FileId id, std::string_view bytes,
                          const FileAttributes* attributes) const;

    int fd_;
    std::filesystem::path path_;
};

}  // namespace vorek
