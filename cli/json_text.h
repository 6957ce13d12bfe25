// Texts in the JSON that commands print.
#pragma once

#include <string>
#include <string_view>

namespace vorek::cli {

// The text as a JSON string, quotes included: quotes, backslashes and control
// bytes escaped, and each byte from 0x80 up written as \u00XX, so that the
// output is valid JSON whatever bytes the text holds (an engine's message
// need not be UTF-8).
std::string jsonString(std::string_view text);

}  // namespace vorek::cli
