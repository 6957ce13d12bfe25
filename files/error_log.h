// The append-only log "vorek-error.log" in the working directory.
#pragma once

#include <string_view>

namespace vorek {

inline constexpr const char* ERROR_LOG_FILE = "vorek-error.log";

// Appends one line: opens the log, writes the text and a line end, closes it.
// A log that cannot be written is ignored.
void appendErrorLog(std::string_view line);

}  // namespace vorek
