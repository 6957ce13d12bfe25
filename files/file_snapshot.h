// The protocol files of a folder as they were at one moment, to put back
// exactly later: the same bytes, or no file where there was none.
#pragma once

#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorek {

class FileSnapshot {
public:
    // Files above this size are not kept; restore leaves them as they are then.
    static constexpr std::size_t LARGEST_KEPT_FILE = std::size_t{16} << 20;

    // Reads each named file in the folder (empty: the working directory). A
    // missing name is remembered as missing; a name that is not a regular file
    // (a folder, a pipe) or cannot be read is left out and never touched.
    static FileSnapshot take(const std::filesystem::path& folder, std::initializer_list<std::string_view> names);

    // Puts every remembered file back: its bytes where it was there, no file
    // where it was missing. A file that already holds those bytes is not
    // rewritten. True when every remembered file is as it was.
    bool restore() const;

private:
    struct Entry {
        std::filesystem::path path;
        std::optional<std::string> bytes;  // nullopt: there was no file
    };
    std::vector<Entry> entries_;
};

}  // namespace vorek
