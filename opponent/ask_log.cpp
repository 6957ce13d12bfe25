#include "opponent/ask_log.h"

namespace vorek {

std::string formatLogLine(std::string_view text, std::chrono::milliseconds sinceStart) {
    std::string line = std::to_string(sinceStart.count());
    line += " ms ";
    line += text;
    return line;
}

}  // namespace vorek
