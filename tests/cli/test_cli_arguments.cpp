// The command-line parsers of vorek-cli: options, MOVE and PATH.
#include <gtest/gtest.h>

#include <array>

#include "cli/arguments.h"

namespace vorek::cli {
namespace {

TEST(CliMove, SquareIndexOrColumnCommaRow) {
    EXPECT_EQ(parseMove("0"), 0);
    EXPECT_EQ(parseMove("399"), 399);
    EXPECT_EQ(parseMove("007"), 7);
    EXPECT_EQ(parseMove("10,10"), 210);
    EXPECT_EQ(parseMove("19,0"), 19);  // column first
    EXPECT_EQ(parseMove("0,19"), 380);
}

TEST(CliMove, AnythingOffTheBoardOrNotPlainDigitsIsRefused) {
    for (const char* text : {"400", "-1", "+5", "20,0", "0,20", "19,-0", "1,", ",1", "1,2,3", " 5",
                             "5 ", "", "0x10", "1e2", "3.4", "99999999999999999999", "a1"})
        EXPECT_EQ(parseMove(text), std::nullopt) << text;
}

TEST(CliPath, RootOrDottedChildIndices) {
    EXPECT_EQ(parsePath("root"), std::vector<int>{});
    EXPECT_EQ(parsePath("0"), std::vector<int>{0});
    EXPECT_EQ(parsePath("0.3"), (std::vector<int>{0, 3}));
    EXPECT_EQ(parsePath("12.0.7"), (std::vector<int>{12, 0, 7}));
}

TEST(CliPath, MalformedPathsAreRefused) {
    for (const char* text : {"", "Root", "root.0", "0.root", ".0", "0.", "0..1", "-1", "1.-2", "a",
                             "0 .1", "0,1", "99999999999999999999"})
        EXPECT_EQ(parsePath(text), std::nullopt) << text;
}

constexpr std::array<std::string_view, 2> VALUE_OPTIONS{"--dir", "--out"};

std::variant<CommandArguments, Misuse> parse(std::vector<std::string_view> arguments) {
    return parseCommandArguments(arguments, VALUE_OPTIONS);
}

std::string misuseOf(std::vector<std::string_view> arguments) {
    const auto parsed = parse(std::move(arguments));
    const auto* bad = std::get_if<Misuse>(&parsed);
    return bad ? bad->message : "(accepted)";
}

TEST(CliOptions, ValuesInBothFormsAndOperandsInOrder) {
    const auto parsed = parse({"5", "--dir", "pos", "-7", "--out=a.png", "3,4"});
    const auto& arguments = std::get<CommandArguments>(parsed);
    EXPECT_EQ(arguments.value("--dir"), "pos");
    EXPECT_EQ(arguments.value("--out"), "a.png");
    EXPECT_EQ(arguments.value("--help"), std::nullopt);
    // A dash before a digit is an operand, which the command then judges.
    EXPECT_EQ(arguments.operands, (std::vector<std::string>{"5", "-7", "3,4"}));
    EXPECT_FALSE(arguments.help);
    EXPECT_EQ(folderOption(arguments), "pos");
}

TEST(CliOptions, HelpAnywhereAndNoFolderMeansTheWorkingDirectory) {
    const auto parsed = parse({"1", "--help"});
    EXPECT_TRUE(std::get<CommandArguments>(parsed).help);
    EXPECT_EQ(folderOption(std::get<CommandArguments>(parsed)), std::filesystem::path());
}

TEST(CliOptions, DoubleDashOrAFirstOperandEndsTheOptions) {
    const auto afterDashes = parse({"--dir", "a", "--", "--out", "--"});
    EXPECT_EQ(std::get<CommandArguments>(afterDashes).operands, (std::vector<std::string>{"--out", "--"}));
    const std::vector<std::string_view> commandLine{"--dir", "a", "engine", "--dir", "b", "--help"};
    const auto parsed = parseCommandArguments(commandLine, VALUE_OPTIONS, {}, true);
    const auto& arguments = std::get<CommandArguments>(parsed);
    EXPECT_EQ(arguments.value("--dir"), "a");
    EXPECT_FALSE(arguments.help);
    EXPECT_EQ(arguments.operands, (std::vector<std::string>{"engine", "--dir", "b", "--help"}));
}

TEST(CliOptions, MisusesNameTheOption) {
    EXPECT_EQ(misuseOf({"--depth", "3"}), "unknown option --depth");
    EXPECT_EQ(misuseOf({"-x"}), "unknown option -x");
    EXPECT_EQ(misuseOf({"--directory=a"}), "unknown option --directory");
    EXPECT_EQ(misuseOf({"1", "--dir"}), "option --dir needs a value");
    EXPECT_EQ(misuseOf({"--dir="}), "option --dir needs a value");
    EXPECT_EQ(misuseOf({"--dir", ""}), "option --dir needs a value");
    EXPECT_EQ(misuseOf({"--dir", "a", "--dir=b"}), "option --dir is given twice");
}

}  // namespace
}  // namespace vorek::cli
