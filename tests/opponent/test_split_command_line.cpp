// Splitting a typed command line into words as a POSIX shell does.
#include <gtest/gtest.h>

#include "opponent/process_runner.h"

namespace vorek {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateWordsAndQuotesKeepThemTogether) {
    const struct {
        std::string_view text;
        Words words;
    } cases[] = {
        {"", {}},
        {" \t\n ", {}},
        {"  ai\tone  two\n", {"ai", "one", "two"}},
        {"'my ai' \"two words\" three\\ four", {"my ai", "two words", "three four"}},
        {"a'b'\"c\"d\\e", {"abcde"}},
        {"'' \"\" x", {"", "", "x"}},
        {"$HOME ~ *.dat `cmd` a;b >out #c", {"$HOME", "~", "*.dat", "`cmd`", "a;b", ">out", "#c"}},
        {"'a\\b \"c\"'", {"a\\b \"c\""}},
        {"\"a\\\"b\\\\c\\$d\\e\\'f\"", {"a\"b\\c$d\\e\\'f"}},
        {"one\\\ntwo \\\n three", {"onetwo", "three"}},
        {"\"a\\\nb\" \"c\nd\"", {"ab", "c\nd"}},
    };
    for (const auto& c : cases) {
        const auto words = splitCommandLine(c.text);
        ASSERT_TRUE(words) << c.text;
        EXPECT_EQ(*words, c.words) << c.text;
    }
}

TEST(SplitCommandLine, UnterminatedQuoteTrailingBackslashAndNulAreRefused) {
    using namespace std::string_view_literals;
    for (const std::string_view text :
         {"'abc"sv, "ai \"abc"sv, "ai abc\\"sv, "\"abc\\\""sv, "\"abc\\"sv, "ai\0x"sv})
        EXPECT_FALSE(splitCommandLine(text)) << text;
}

}  // namespace
}  // namespace vorek
