#include "cli/json_text.h"

#include <cstdio>

namespace vorek::cli {

std::string jsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + '"';
}

std::string winrateText(double winrate) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", winrate);
    return text;
}

}  // namespace vorek::cli
