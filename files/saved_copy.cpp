#include "files/saved_copy.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "files/write_all.h"

namespace vorek {

namespace {

std::optional<std::filesystem::path> writeInto(const char* folder, std::string_view name, std::string_view bytes) {
    if (folder == nullptr || *folder == '\0') return std::nullopt;
    std::string stem(name);
    std::replace(stem.begin(), stem.end(), '/', '_');
    std::string path = (std::filesystem::path(folder) / ("vorek-saved-" + stem + "-XXXXXX")).string();
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);  // made with permissions 0600
    if (fd < 0) return std::nullopt;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) == 0 && written) return path;
    ::unlink(path.c_str());
    return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> writeSavedCopy(std::string_view name, std::string_view bytes) {
    const char* const folders[] = {std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"), "/tmp"};
    for (const char* folder : folders)
        if (std::optional<std::filesystem::path> saved = writeInto(folder, name, bytes)) return saved;
    return std::nullopt;
}

}  // namespace vorek
