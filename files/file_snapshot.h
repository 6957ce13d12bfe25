// The protocol files of a folder as they were at one moment, to put back
// exactly later: the same bytes, the same links, or no file where there was
// none, whatever was done to the folder meanwhile.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/folder_handle.h"

namespace vorek {

class FileSnapshot {
public:
    // Files above this size are not kept.
    static constexpr std::size_t LARGEST_KEPT_FILE = std::size_t{16} << 20;

    // Which names are kept.
    enum class Spelling {
        AnyCase,  // each name, and every entry named like it but for case
        Exact,    // each name alone
    };

    // Holds the folder (empty: the working directory) open and reads each
    // named entry in it (and, with Spelling::AnyCase, every entry whose name
    // differs from one only in case). A regular file, or a link to one, is
    // kept: its bytes, and for a link its text and which file it points to;
    // a link to nothing is kept as a link. A missing name is remembered as
    // missing. Anything else (a folder, a named pipe, a device, a link to one
    // of those, a file above LARGEST_KEPT_FILE or one that cannot be read) is
    // left out, listed in leftOut(), and never touched.
    static FileSnapshot take(const std::filesystem::path& folder, std::initializer_list<std::string_view> names,
                             Spelling spelling = Spelling::AnyCase);

    // Remembers nothing; restore does nothing.
    FileSnapshot() = default;

    struct LeftOut {
        std::string name;
        std::string why;  // "is a named pipe", "is a folder", ...
    };
    const std::vector<LeftOut>& leftOut() const { return leftOut_; }

    // The folder held since take(); null when it could not be opened (then
    // nothing is remembered).
    const FolderHandle* folder() const { return folder_ ? &*folder_ : nullptr; }

    // Whether the name holds the link kept for it still: a link of the same
    // text. False for a name where anything else, or nothing, was found.
    bool holdsLinkFound(std::string_view name) const;

    // Puts the bytes at the kept name for a while (the files of an ask),
    // keeping what stands there so that restore() gives back that very file
    // or link, with its inode, owner, permissions, links and time:
    // - a file or link found is renamed aside to a free name, "NAME.saved",
    //   "NAME.saved.1", ... (where it stays should the process end before
    //   restore), and a new file of the bytes, with the permissions of the
    //   file found, is made at the name;
    // - where nothing can be renamed aside (a read-only folder, every such
    //   name taken), a regular file that holds the bytes already is left as
    //   it is; otherwise the name gets a new file renamed over it, or failing
    //   that the regular file found, when it alone has it, is overwritten in
    //   place, whole or not at all.
    // A name found missing gets a new file. True when the name holds the bytes.
    bool writeForNow(std::string_view name, std::string_view bytes);

    // What becomes of the bytes found of a file that cannot be put back.
    enum class Blocked {
        Report,        // only said; the caller keeps the snapshot to try again
        WriteBeside,   // also kept under a free name beside it, "NAME.saved",
                       // "NAME.saved.1", ..., or failing every name, in a file
                       // of the user's runtime or temporary folder; said where
    };

    // Puts back every remembered entry in the folder held since take(),
    // never following a link but to write the bytes of a remembered link
    // back into the very file it pointed to:
    // - an entry renamed aside by writeForNow, still as found, is renamed
    //   back over whatever stands at its name (an empty folder is removed
    //   first): the file or link itself is back. One that was changed is
    //   taken away and put back as below;
    // - a file: unless a regular file at its name holds its bytes already
    //   (then only its permissions, owner, group and time are set back where
    //   they differ), a new file of its bytes and attributes renamed over
    //   whatever stands there (a file, a link, a named pipe; an empty folder
    //   is removed first). Where no file can be written, the file found is
    //   overwritten in place, but only when it stands at the name still and
    //   has one link, as when it was found;
    // - a link: the same link, put back in the same way, and the file it
    //   points to given its bytes back when it is still the file found;
    // - a missing name, and with Spelling::AnyCase a name differing from a
    //   remembered one only in case that was not there: whatever stands
    //   there taken away (a folder only when empty).
    // `beforeEach` is called with each remembered name before it is put back.
    // One line for each name not put back, naming it and saying why (and
    // where its bytes are); empty when every remembered entry is as it was.
    std::vector<std::string> restore(Blocked blocked = Blocked::Report,
                                     const std::function<void(std::string_view name)>& beforeEach = {}) const;

private:
    enum class Kind { Missing, File, Link };

    struct Entry {
        explicit Entry(std::string entryName) : name(std::move(entryName)) {}
        std::string name;
        Kind kind = Kind::Missing;
        std::string bytes;               // File, and a Link to a file
        FileId id{};                     // File, Link: the entry itself
        FileAttributes attributes{};     // File
        nlink_t links = 0;               // File: its number of links
        std::string linkText;            // Link
        std::optional<FileId> target;    // Link: the file it pointed to; nullopt for nothing
        // File, Link: where writeForNow renamed it, until restore brings it back
        mutable std::optional<std::string> aside;
    };

    // How an entry renamed aside came back.
    enum class Return { Back, Stuck, Changed };

    void keep(const std::string& name);
    Entry* kept(std::string_view name);
    std::optional<std::string> restoreEntry(const Entry& entry, Blocked blocked) const;
    std::optional<std::string> restoreFile(const Entry& entry, Blocked blocked) const;
    std::optional<std::string> restoreLink(const Entry& entry) const;
    std::optional<std::string> restoreLinkTarget(const Entry& entry) const;
    Return bringBack(const Entry& entry, std::string& why) const;
    bool asideAsFound(const Entry& entry) const;
    std::string keepElsewhere(const Entry& entry) const;
    std::optional<std::string> takeAway(const std::string& name) const;
    bool remembers(std::string_view name) const;
    std::string named(std::string_view name) const;

    std::optional<FolderHandle> folder_;
    std::vector<std::string> names_;  // as given to take(), when any case of them is kept
    std::vector<Entry> entries_;
    std::vector<LeftOut> leftOut_;
};

}  // namespace vorek
