// Character tests and case folding for the ASCII text of position files, game
// records and protocol lines: the same in every locale, and for any char.
#pragma once

#include <string_view>

namespace vorek {

// Space, tab, line ends, vertical tab and form feed.
constexpr bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

constexpr bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// The letter in lower case; any other character as it is.
constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the texts are the same but for the case of ASCII letters.
constexpr bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// Whether the text begins with the prefix but for the case of ASCII letters.
constexpr bool beginsIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && sameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The text without the ASCII spaces at either end.
constexpr std::string_view trimmedAscii(std::string_view text) {
    while (!text.empty() && isAsciiSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isAsciiSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The next word, up to an ASCII space, taken from the front of the text with
// the spaces before it; empty when only spaces are left.
constexpr std::string_view takeAsciiWord(std::string_view& text) {
    text = trimmedAscii(text);
    std::size_t end = 0;
    while (end < text.size() && !isAsciiSpace(text[end])) ++end;
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

}  // namespace vorek
