#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorek {

ReadFile openRegularFile(const std::filesystem::path& path) {
    return regularFileOf(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
}

ReadFile regularFileOf(int fd) {
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) ::close(fd);
    return ReadFile(file);
}

}  // namespace vorek
