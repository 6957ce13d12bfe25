#include "tests/faults/position_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vorek::testing {

namespace fs = std::filesystem;

fs::path example(const std::string& name) { return fs::path(VOREK_EXAMPLES_DIR) / name; }

void copyExample(const std::string& name, const TempDir& dir) {
    for (const char* file : {"plocha.dat", "tah.dat"})
        fs::copy_file(example(name) / file, dir / file, fs::copy_options::overwrite_existing);
}

FolderContents contentsOf(const fs::path& folder) {
    FolderContents contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory()) {
            contents[name] = "<folder>";
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        contents[name] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return contents;
}

FolderIdentity identityOf(const fs::path& folder) {
    FolderIdentity identity;
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat st {};
        if (::lstat(entry.path().c_str(), &st) != 0) continue;
        identity[entry.path().filename().string()] =
            "inode " + std::to_string(st.st_ino) + " mode " + std::to_string(st.st_mode) + " owner " +
            std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid) + " links " + std::to_string(st.st_nlink) +
            " time " + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
    }
    return identity;
}

void writeSparse(const fs::path& file, const std::string& text, std::size_t size) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                    ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    if (fd >= 0) ::close(fd);
    if (!ok) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace vorek::testing
