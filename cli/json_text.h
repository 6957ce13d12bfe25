// Texts in the JSON that commands print, and the numbers written alike in
// JSON and in plain lines.
#pragma once

#include <string>
#include <string_view>

namespace vorek::cli {

// The text as a JSON string, quotes included: quotes, backslashes and control
// bytes escaped, and each byte from 0x80 up written as \u00XX, so that the
// output is valid JSON whatever bytes the text holds (an engine's message
// need not be UTF-8).
std::string jsonString(std::string_view text);

// The texts as a JSON array of strings, each as jsonString writes it:
// ["6,12","5,13"], [] for none.
template <typename Texts>
std::string jsonStrings(const Texts& texts) {
    std::string json = "[";
    for (const auto& text : texts) (json += json.size() > 1 ? "," : "") += jsonString(text);
    return json + ']';
}

// A win rate with three decimals: "0.625".
std::string winrateText(double winrate);

}  // namespace vorek::cli
