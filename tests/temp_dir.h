// A fresh folder per test, removed afterwards, with small file helpers.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace vorek::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    void write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;  // empty when missing
    bool exists(std::string_view name) const;
    // Names of every entry in the folder, sorted.
    std::string listing() const;

private:
    std::filesystem::path path_;
};

// Every entry under the folder, in its sub-folders too, by its path from the
// folder: its kind and permissions, and a file's bytes or a link's text.
// Links are not followed and named pipes not opened, so that two states
// compare equal only when the folders are the same byte for byte.
using FolderState = std::map<std::string, std::string>;
FolderState folderState(const std::filesystem::path& folder);

// The position files of a board given as 20 text rows (missing rows empty),
// with CR LF line ends, as an AI would leave them.
std::string boardFile(std::initializer_list<std::string_view> rows);

}  // namespace vorek::testing
