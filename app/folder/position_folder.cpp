#include "app/folder/position_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "files/position_files.h"

namespace vorek {

namespace {

namespace fs = std::filesystem;

fs::path absoluteFolder(const fs::path& folder) {
    std::error_code error;
    fs::path absolute = folder.empty() ? fs::current_path(error) : fs::absolute(folder, error);
    if (error) return folder;  // the working directory is gone; keep what was given
    absolute = absolute.lexically_normal();
    if (!absolute.has_filename() && absolute.has_relative_path()) absolute = absolute.parent_path();
    return absolute;
}

}  // namespace

PositionFolder::PositionFolder(const fs::path& folder)
    : path_(absoluteFolder(folder)),
      found_(FileSnapshot::take(path_, {BOARD_FILE, MOVE_FILE}, FileSnapshot::Spelling::Exact)) {}

bool PositionFolder::writePosition(const V2Board& board) {
    written_ = true;
    const bool boardWritten = writeFile(BOARD_FILE, boardFileBytes(board));
    const bool moveWritten = writeFile(MOVE_FILE, moveFileBytes(board));
    return boardWritten && moveWritten;
}

// The folder is written through the descriptor held since the window came to
// it; one that could not be reached then, and so found nothing, is opened now.
bool PositionFolder::writeFile(std::string_view name, std::string_view bytes) const {
    if (const FolderHandle* folder = found_.folder()) {
        if (found_.holdsLinkFound(name)) return folder->writeThrough(name, bytes);
        return folder->replace(name, bytes);
    }
    const std::optional<FolderHandle> folder = FolderHandle::open(path_);
    return folder && folder->replace(name, bytes);
}

void PositionFolder::keepAsFound() {
    found_ = FileSnapshot::take(path_, {BOARD_FILE, MOVE_FILE}, FileSnapshot::Spelling::Exact);
    written_ = false;
}

bool PositionFolder::putBack() {
    if (!written_) return true;
    written_ = !found_.restore().empty();
    return !written_;
}

std::optional<std::string> PositionFolder::whyUnusable(const fs::path& folder) {
    const std::string named = "cannot open the folder \"" + folder.string() + "\": ";
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (status.type() == fs::file_type::not_found) return named + "it does not exist";
    if (error) return named + error.message();
    if (!fs::is_directory(status)) return named + "it is not a folder";
    if (::access(folder.c_str(), R_OK | X_OK) != 0) return named + std::strerror(errno);
    return std::nullopt;
}

}  // namespace vorek
