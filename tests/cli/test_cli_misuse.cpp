// vorek-cli's help and misuse: exit codes, and what goes to stdout and stderr.
#include <gtest/gtest.h>

#include <regex>

#include "tests/cli/cli_run.h"

namespace vorek::testing {
namespace {

std::string usageOf(const std::vector<std::string>& helpArguments) {
    const CliRun help = runCli(helpArguments);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.err, "");
    return help.out;
}

TEST(CliHelp, ToolAndEachCommandPrintTheirUsageToStdout) {
    const std::string tool = usageOf({"--help"});
    EXPECT_TRUE(tool.starts_with("usage: vorek-cli COMMAND")) << tool;
    for (const std::string command : {"tables", "show", "tree", "solve", "game", "picture", "analyse"}) {
        EXPECT_NE(tool.find("\n  " + command + " "), std::string::npos) << command;
        const std::string usage = usageOf({command, "--help"});
        EXPECT_TRUE(usage.starts_with("usage: vorek-cli " + command)) << usage;
    }
    // --help wins over whatever else is on the line.
    EXPECT_EQ(usageOf({"show", "--dir", "/nonexistent", "400", "--help"}),
              usageOf({"show", "--help"}));
    EXPECT_TRUE(std::regex_match(usageOf({"--version"}),
                                 std::regex("vorek-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")));
}

struct MisuseCase {
    std::string name;
    std::vector<std::string> arguments;
    std::string message;                // the first line on stderr
    std::vector<std::string> helpLine;  // the usage that follows it
};

void PrintTo(const MisuseCase& c, std::ostream* out) { *out << c.name; }

class CliMisuse : public ::testing::TestWithParam<MisuseCase> {};

TEST_P(CliMisuse, OneLineThenTheUsageOnStderrExit2AndNothingOnStdout) {
    const MisuseCase& c = GetParam();
    const CliRun run = runCli(c.arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.message + "\n" + usageOf(c.helpLine));
}

const std::string FORCED_WIN = example("forced-win").string();
const std::string GAME = example("games/o-wins-in-row-12.psq").string();

INSTANTIATE_TEST_SUITE_P(
    Cases, CliMisuse,
    ::testing::Values(
        MisuseCase{"NoCommand", {}, "vorek-cli: no command given", {"--help"}},
        MisuseCase{
            "UnknownCommand", {"frobnicate"}, "vorek-cli: unknown command frobnicate", {"--help"}},
        MisuseCase{
            "UnknownToolOption", {"--verbose"}, "vorek-cli: unknown option --verbose", {"--help"}},
        MisuseCase{"TablesWithOperand",
                   {"tables", "0"},
                   "vorek-cli: tables: takes no arguments, got '0'",
                   {"tables", "--help"}},
        MisuseCase{"TablesWithDir",
                   {"tables", "--dir", "."},
                   "vorek-cli: tables: unknown option --dir",
                   {"tables", "--help"}},
        MisuseCase{"UnknownOption",
                   {"show", "--depth", "3"},
                   "vorek-cli: show: unknown option --depth",
                   {"show", "--help"}},
        MisuseCase{"MissingValue",
                   {"show", "--dir"},
                   "vorek-cli: show: option --dir needs a value",
                   {"show", "--help"}},
        MisuseCase{"MoveOffTheBoard",
                   {"show", "--dir", FORCED_WIN, "400"},
                   "vorek-cli: show: bad MOVE '400': give a square index 0..399 or x,y with "
                   "column and row 0..19",
                   {"show", "--help"}},
        MisuseCase{"MoveRowOffTheBoard",
                   {"show", "--dir", FORCED_WIN, "3,20"},
                   "vorek-cli: show: bad MOVE '3,20': give a square index 0..399 or x,y with "
                   "column and row 0..19",
                   {"show", "--help"}},
        // 11,8 holds a stone of the example; the valid first move is not printed.
        MisuseCase{"MoveOnAStone",
                   {"show", "--dir", FORCED_WIN, "0", "11,8"},
                   "vorek-cli: show: MOVE '11,8': square 171 holds a stone",
                   {"show", "--help"}},
        MisuseCase{"MoveTwiceOnOneSquare",
                   {"show", "--dir", FORCED_WIN, "5,5", "105"},
                   "vorek-cli: show: MOVE '105': square 105 holds a stone",
                   {"show", "--help"}},
        MisuseCase{"MalformedPath",
                   {"tree", "--dir", FORCED_WIN, "0..1"},
                   "vorek-cli: tree: bad PATH '0..1': give root, or child indices from the root "
                   "separated by dots",
                   {"tree", "--help"}},
        MisuseCase{"DirAndGame",
                   {"show", "--dir", FORCED_WIN, "--game", GAME},
                   "vorek-cli: show: give --dir or --game, not both",
                   {"show", "--help"}},
        MisuseCase{"GamePositionPastTheLastMove",
                   {"tree", "--game", GAME + ":17"},
                   "vorek-cli: tree: --game '" + GAME + ":17': the game has 16 moves; K runs from 0 to 16",
                   {"tree", "--help"}},
        MisuseCase{"GamePositionTooLargeToRead",
                   {"solve", "--game", GAME + ":99999999999"},
                   "vorek-cli: solve: --game '" + GAME + ":99999999999': the game has 16 moves; K runs from 0 to 16",
                   {"solve", "--help"}},
        MisuseCase{"GameWithoutFile",
                   {"show", "--game=:3"},
                   "vorek-cli: show: bad --game ':3': give FILE.psq or FILE.psq:K",
                   {"show", "--help"}},
        MisuseCase{"GameCommandWithoutRecord",
                   {"game", "--nodes", "10"},
                   "vorek-cli: game: needs a game record FILE.psq",
                   {"game", "--help"}},
        MisuseCase{"GameCommandWithTwoRecords",
                   {"game", GAME, "other.psq"},
                   "vorek-cli: game: takes one FILE.psq, got 'other.psq' as well",
                   {"game", "--help"}},
        MisuseCase{"GameCommandTakesNoPosition",
                   {"game", GAME, "--dir", "."},
                   "vorek-cli: game: unknown option --dir",
                   {"game", "--help"}},
        MisuseCase{"GameEngineTimeWithoutEngine",
                   {"game", GAME, "--ms", "100"},
                   "vorek-cli: game: --ms needs --engine",
                   {"game", "--help"}},
        MisuseCase{"AnalyseWithoutEngine",
                   {"analyse", "--dir", FORCED_WIN},
                   "vorek-cli: analyse: needs the engine: --engine PROGRAM",
                   {"analyse", "--help"}},
        MisuseCase{"AnalyseEngineUnclosedQuote",
                   {"analyse", "--engine", "\"pbrain-x"},
                   "vorek-cli: analyse: bad --engine '\"pbrain-x': give the engine's program and its arguments",
                   {"analyse", "--help"}},
        MisuseCase{"AnalyseMoveWithoutGame",
                   {"analyse", "--engine", "pbrain-x", "--move", "3"},
                   "vorek-cli: analyse: --move needs --game",
                   {"analyse", "--help"}},
        MisuseCase{"AnalyseMovePastTheGame",
                   {"analyse", "--engine", "pbrain-x", "--game", GAME, "--move", "17"},
                   "vorek-cli: analyse: bad --move '17': the game has 16 moves; K runs from 0 to 16",
                   {"analyse", "--help"}},
        MisuseCase{"AnalyseTooManyLines",
                   {"analyse", "--engine", "pbrain-x", "--multipv", "21"},
                   "vorek-cli: analyse: bad --multipv '21': give a whole number of lines, 1..20",
                   {"analyse", "--help"}},
        // The example's root is decided at once, so expanding it makes no children.
        MisuseCase{"PathBeyondTheTree",
                   {"tree", "--dir", FORCED_WIN, "root", "0"},
                   "vorek-cli: tree: PATH '0' leads nowhere: node root has no children",
                   {"tree", "--help"}}),
    [](const ::testing::TestParamInfo<MisuseCase>& info) { return info.param.name; });

TEST(CliOutput, OutputThatCannotBeWrittenIsAFailure) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const CliRun run = runCli({"tables"}, {}, "/dev/full");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vorek-cli: cannot write the output\n");
}

}  // namespace
}  // namespace vorek::testing
