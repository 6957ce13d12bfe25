#include "files/file_snapshot.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "files/regular_file.h"
#include "files/replace_file.h"

namespace vorek {

namespace {

enum class Found { MISSING, KEPT, LEFT_OUT };

// The whole content of a regular file of at most the given size; opened
// without blocking, so a named pipe in the way is left out at once.
Found readWhole(const std::filesystem::path& path, std::size_t largest, std::string& bytes) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? Found::MISSING : Found::LEFT_OUT;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return Found::LEFT_OUT;
    const ReadFile file = openRegularFile(path);
    if (!file) return Found::LEFT_OUT;
    bytes.clear();
    char buffer[65536];
    std::size_t n;
    while (bytes.size() <= largest && (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, n);
    return bytes.size() <= largest && !std::ferror(file.get()) ? Found::KEPT : Found::LEFT_OUT;
}

bool holds(const std::filesystem::path& path, const std::string& bytes) {
    std::string now;
    return readWhole(path, bytes.size(), now) == Found::KEPT && now == bytes;
}

}  // namespace

FileSnapshot FileSnapshot::take(const std::filesystem::path& folder,
                                std::initializer_list<std::string_view> names) {
    FileSnapshot snapshot;
    for (std::string_view name : names) {
        const std::filesystem::path path = folder.empty() ? std::filesystem::path(name) : folder / name;
        std::string bytes;
        switch (readWhole(path, LARGEST_KEPT_FILE, bytes)) {
            case Found::MISSING: snapshot.entries_.push_back({path, std::nullopt}); break;
            case Found::KEPT: snapshot.entries_.push_back({path, std::move(bytes)}); break;
            case Found::LEFT_OUT: break;
        }
    }
    return snapshot;
}

bool FileSnapshot::restore() const {
    bool all = true;
    for (const Entry& entry : entries_) {
        if (entry.bytes) {
            if (!holds(entry.path, *entry.bytes)) all = replaceFile(entry.path, *entry.bytes) && all;
            continue;
        }
        struct stat st {};
        if (::lstat(entry.path.c_str(), &st) != 0) continue;  // still missing
        // Only a file is taken away; whatever else came in its place stays.
        if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))
            all = ::unlink(entry.path.c_str()) == 0 && all;
        else
            all = false;
    }
    return all;
}

}  // namespace vorek
