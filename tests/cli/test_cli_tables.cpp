// vorek-cli tables: one line per pattern code, byte for byte.
#include <gtest/gtest.h>

#include "tests/cli/cli_run.h"

namespace vorek::testing {
namespace {

TEST(CliTables, OneLinePerCodeInOrderWithThirteenFields) {
    const CliRun run = runCli({"tables"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 1024u);
    for (int code = 0; code < 1024; ++code) {
        const std::string& line = lines[code];
        ASSERT_TRUE(line.starts_with(std::to_string(code) + " ")) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), ' '), 12) << line;
    }
}

TEST(CliTables, TellingRowsAreExact) {
    const std::vector<std::string> lines = linesOf(runCli({"tables"}).out);
    ASSERT_EQ(lines.size(), 1024u);
    const std::pair<int, const char*> rows[] = {
        {0, "0 0 2 500096 0 0 0 0 0 0 0 0 0"},       // double threat
        {1, "1 0 1 583444 0 0 0 0 0 0 0 0 0"},       // double four
        {63, "63 0 0 36756910 0 0 0 0 0 0 0 0 0"},   // xxxxx
        {94, "94 0 1 5250988 1 0 0 0 0 1 0 0 0"},    // .xxxx.
        {221, "221 0 1 5250988 0 1 0 0 0 1 0 0 0"},  // x.xxx.x
        {47, "47 1 1 291722 5 0 0 0 0 0 0 0 0"},     // .xxxx
        {78, "78 1 2 218792 1 5 0 0 0 1 0 0 0"},     // ..xxx.
        {156, "156 1 2 250048 0 1 0 0 0 1 0 0 0"},   // ..xxx..
        {39, "39 2 2 11908 4 4 0 0 0 0 0 0 0"},      // ..xxx
        {64, "64 4 5 18 1 2 2 2 2 1 0 0 0"},         // ......
        {528, "528 3 4 568 0 0 0 1 0 1 0 0 0"},      // ....x....
        {3, "3 6 6 1 0 0 0 0 0 0 0 0 0"},            // x
        {92, "92 1 2 218792 1 0 0 0 5 1 0 0 0"},     // .xxx.. (open three, one side short)
    };
    for (const auto& [code, line] : rows) EXPECT_EQ(lines[code], line);
}

}  // namespace
}  // namespace vorek::testing
