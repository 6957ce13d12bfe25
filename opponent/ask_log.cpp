#include "opponent/ask_log.h"

namespace vorek {

std::string formatLogLine(std::string_view text, std::chrono::milliseconds sinceStart) {
    std::string line = std::to_string(sinceStart.count());
    line += " ms ";
    line += text;
    return line;
}

std::string escapeForLog(std::string_view text) {
    constexpr char HEX[] = "0123456789abcdef";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            escaped += c;
            continue;
        }
        escaped += "\\x";
        escaped += HEX[byte >> 4];
        escaped += HEX[byte & 0xF];
    }
    return escaped;
}

}  // namespace vorek
