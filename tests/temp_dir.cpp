#include "tests/temp_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>

namespace vorek::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorek-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void TempDir::write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::read(std::string_view name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool TempDir::exists(std::string_view name) const {
    return std::filesystem::exists(path_ / name);
}

std::string TempDir::listing() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.insert(entry.path().filename().string());
    std::ostringstream out;
    for (const auto& name : names) out << name << ' ';
    return out.str();
}

FolderState folderState(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    FolderState state;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        struct stat st {};
        if (::lstat(entry.path().c_str(), &st) != 0) continue;
        std::ostringstream kind;
        kind << std::oct << (st.st_mode & 07777) << ' ';
        if (S_ISREG(st.st_mode)) {
            std::ifstream in(entry.path(), std::ios::binary);
            kind << "file " << std::string(std::istreambuf_iterator<char>(in), {});
        } else if (S_ISLNK(st.st_mode)) {
            kind << "link " << fs::read_symlink(entry.path()).string();
        } else if (S_ISDIR(st.st_mode)) {
            kind << "folder";
        } else if (S_ISFIFO(st.st_mode)) {
            kind << "pipe";
        } else {
            kind << "other";
        }
        state[fs::relative(entry.path(), folder).string()] = kind.str();
    }
    return state;
}

std::string boardFile(std::initializer_list<std::string_view> rows) {
    std::string text;
    auto row = rows.begin();
    for (int y = 0; y < 20; ++y) {
        std::string line(20, '-');
        if (row != rows.end()) {
            for (std::size_t x = 0; x < row->size() && x < 20; ++x)
                if ((*row)[x] != ' ') line[x] = (*row)[x];
            ++row;
        }
        text += line + "\r\n";
    }
    return text;
}

}  // namespace vorek::testing
