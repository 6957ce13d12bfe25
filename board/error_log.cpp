#include "board/error_log.h"

#include <cstdio>
#include <string>

namespace vorek {

void appendErrorLog(std::string_view line) {
    std::FILE* log = std::fopen(ERROR_LOG_FILE, "ab");
    if (log == nullptr) return;
    const std::string text = std::string(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), log);
    std::fflush(log);
    std::fclose(log);
}

}  // namespace vorek
