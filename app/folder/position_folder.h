// The folder whose position files the window works on. It keeps "plocha.dat"
// and "tah.dat" as they were when the window came to the folder, and knows
// whether the window has written them since, so that leaving the folder gives
// the user back exactly the files they had.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_snapshot.h"
#include "board/v2board.h"

namespace vorek {

class PositionFolder {
public:
    // Works on the folder (empty: the working directory), taken as an absolute
    // path now, and keeps its position files as they are now.
    explicit PositionFolder(const std::filesystem::path& folder = {});

    // The folder as an absolute path without a trailing separator.
    const std::filesystem::path& path() const { return path_; }

    // Replaces the position files with the board's position; from now on
    // they count as written, even when the write fails half-way. A link the
    // folder held at a file's name when the window came to it, and holds
    // still, is the user's way of keeping the file elsewhere: the file it
    // points to is written. Anything else at the name, a link made since
    // among them (an AI program may leave one), gets a new regular file
    // written beside it and renamed over it, never followed. True when both
    // files were written.
    bool writePosition(const V2Board& board);

    // Counts the position files as written from now on: another writer
    // writes them here for the window (an ask through the file protocol).
    void noteWritten() { written_ = true; }

    // The position files as they are now become the ones found: the user
    // saved a position here, which leaving the folder must not undo.
    void keepAsFound();

    // Where the window has written the position files, puts back what was
    // found: the same bytes, or no file where there was none. Files the window
    // never wrote stay as they are, and so does "timeouts.dat". True when the
    // files are as found or were never written.
    bool putBack();

    // Why the folder cannot be worked on, as one line naming it: it must be a
    // folder this process may list and enter. Nullopt when it can.
    static std::optional<std::string> whyUnusable(const std::filesystem::path& folder);

private:
    bool writeFile(std::string_view name, std::string_view bytes) const;

    std::filesystem::path path_;
    FileSnapshot found_;
    bool written_ = false;
};

}  // namespace vorek
