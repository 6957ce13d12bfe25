#include "files/replace_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "files/write_all.h"

namespace vorek {

namespace {

// Whether size bytes can be written from the start of the open file without
// failing part way: within the process's file size limit, and with the room
// reserved where the file system can reserve it (the file is not changed).
bool fitsInPlace(int fd, std::size_t size) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && size > limit.rlim_cur)
        return false;
    if (size == 0) return true;
    return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0 || errno == EOPNOTSUPP;
}

// Overwrites the target where it is. A regular file keeps its old bytes when
// the new ones would not fit, and is cut to its new length only once every
// byte is written.
bool writeInPlace(const std::filesystem::path& target, std::string_view bytes) {
    // Without blocking: a named pipe with no reader fails at once.
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    bool written = (!regular || fitsInPlace(fd, bytes.size())) && writeAll(fd, bytes);
    if (regular) written = written && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    return ::close(fd) == 0 && written;
}

// Opens a new, unique file beside the target, or returns -1.
int openTemporary(const std::filesystem::path& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = target.string() + "." + std::to_string(::getpid()) + "." +
               std::to_string(counter++) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

bool replaceFile(const std::filesystem::path& target, std::string_view bytes) {
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (exists && S_ISLNK(old.st_mode)) return writeInPlace(target, bytes);

    std::string temporary;
    const int fd = openTemporary(target, temporary);
    if (fd < 0) return writeInPlace(target, bytes);
    if (exists && S_ISREG(old.st_mode)) (void)::fchmod(fd, old.st_mode & 07777);
    bool ok = writeAll(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace vorek
