// The files a manager of the file protocol writes beside the position files
// for vorek-ai, besides them: its limits and its message file.
#pragma once

#include <filesystem>
#include <string_view>

#include "ai/engine_limits.h"

namespace vorek {

inline constexpr const char* INFO_FILE = "info.dat";
inline constexpr const char* MESSAGE_FILE = "msg.dat";

// The limits in dir (empty: the working directory): the turn time from the
// first item of "timeouts.dat" (turnFromTimeoutsLine), the time left from the
// first item of its second line when below UNLIMITED_TIME_LEFT; then each
// "key value" line of "INFO.DAT" (applyInfo), so that its timeout_turn wins.
// Both are found under any case (findProtocolFile); a file that is missing,
// not a regular file or unreadable gives nothing.
EngineLimits readManagerFiles(const std::filesystem::path& dir = {});

// Replaces "MSG.DAT" (any case) in dir with the line and CR LF, when the
// manager has made that file; otherwise writes nothing. True when written.
bool writeManagerMessage(std::string_view line, const std::filesystem::path& dir = {});

}  // namespace vorek
