// vorek-cli show: the position after the moves as the engine sees it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "tests/cli/cli_run.h"
#include "tests/temp_dir.h"
#include "threats/pattern_tables.h"

namespace vorek::testing {
namespace {

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; in >> field;) fields.push_back(field);
    return fields;
}

// The output of show, cut into its sections.
struct Shown {
    std::map<std::string, std::string> heads;  // "read", "side", ...: the rest of the line
    std::vector<std::string> moves;            // "SQ WIN" per move line
    std::vector<std::vector<int>> flags;       // [row][column]
    std::vector<std::vector<std::string>> lists[2];
    std::vector<int> generated;  // result, count, squares
};

Shown parseShow(const std::string& out) {
    Shown shown;
    const std::vector<std::string> lines = linesOf(out);
    std::size_t i = 0;
    for (; i < lines.size() && lines[i] != "flags"; ++i) {
        const std::size_t blank = lines[i].find(' ');
        const std::string key = lines[i].substr(0, blank);
        const std::string rest = lines[i].substr(blank + 1);
        if (key == "move")
            shown.moves.push_back(rest);
        else
            shown.heads[key] = rest;
    }
    for (int row = 0; row < 20 && ++i < lines.size(); ++row) {
        std::vector<int> bytes;
        for (const std::string& hex : fieldsOf(lines[i]))
            bytes.push_back(std::stoi(hex, nullptr, 16));
        shown.flags.push_back(bytes);
    }
    for (int player : {0, 1}) {
        const auto head = fieldsOf(lines.at(++i));
        EXPECT_EQ(head.at(0), "list" + std::to_string(player));
        for (int n = std::stoi(head.at(1)); n > 0; --n)
            shown.lists[player].push_back(fieldsOf(lines.at(++i)));
    }
    const auto generate = fieldsOf(lines.at(++i));
    EXPECT_EQ(generate.at(0), "generate");
    for (std::size_t f = 1; f < generate.size(); ++f)
        shown.generated.push_back(std::stoi(generate[f]));
    EXPECT_EQ(i + 1, lines.size()) << "nothing follows the generate line";
    return shown;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CliShow, EmptyFolderGivesAnEmptyBoardEvaluatedInFull) {
    const TempDir empty;
    const CliRun run = runCli({"show", "--dir", empty.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string expected = "read 0\nevaluate 0\nside 1\nstones 0\nflags\n";
    std::string quietRow = "01";  // no line near a stone: every square is quiet
    for (int column = 1; column < 20; ++column) quietRow += " 01";
    for (int row = 0; row < 20; ++row) expected += quietRow + "\n";
    expected += "list0 0\nlist1 0\ngenerate 0 1 210\n";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
}

TEST(CliShow, MoveThatLeavesTheOpponentAFiveReportsIt) {
    const TempDir dir;
    dir.write("plocha.dat", boardFile({"oooo"}));
    dir.write("tah.dat", "x");
    const CliRun far = runCli({"show", "--dir", dir.path().string(), "19,19"});
    ASSERT_EQ(far.exitCode, 0) << far.err;
    EXPECT_EQ(parseShow(far.out).moves, std::vector<std::string>{"399 0"});

    // Next to the open end of the four: the re-judged square 4 completes five for o.
    const CliRun near = runCli({"show", "--dir", dir.path().string(), "6,0"});
    ASSERT_EQ(near.exitCode, 0) << near.err;
    EXPECT_TRUE(near.out.starts_with("read 1\nevaluate 0\nmove 6 1\nside 0\nstones 5\n"))
        << near.out;
}

TEST(CliShow, MovesAlternateSidesAndShowInTheFlags) {
    const TempDir dir;
    dir.write("plocha.dat", boardFile({}));
    dir.write("tah.dat", "x");
    const CliRun run = runCli({"show", "--dir", dir.path().string(), "10,10", "231", "0,19"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Shown shown = parseShow(run.out);
    EXPECT_EQ(shown.moves, (std::vector<std::string>{"210 0", "231 0", "380 0"}));
    EXPECT_EQ(shown.heads.at("side"), "0");
    EXPECT_EQ(shown.heads.at("stones"), "3");
    EXPECT_EQ(shown.flags[10][10], 0x02);  // player 1's stone
    EXPECT_EQ(shown.flags[11][11], 0x00);  // player 0's stone
    EXPECT_EQ(shown.flags[19][0], 0x02);
    EXPECT_EQ(shown.flags[0][19], 0x01);  // far from every stone: empty and quiet
}

TEST(CliShow, FiveAtOnceForThePlayerToMoveShowsInTheEvaluation) {
    const TempDir dir;
    dir.write("plocha.dat", boardFile({"xxxx"}));
    dir.write("tah.dat", "x");
    const CliRun run = runCli({"show", "--dir", dir.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(parseShow(run.out).heads.at("evaluate"), "1");
}

TEST(CliShow, WorkingDirectoryIsTheDefaultFolder) {
    const TempDir dir;
    dir.write("plocha.dat", boardFile({"", "", "   x"}));
    dir.write("tah.dat", "x");
    const CliRun run = runCli({"show"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Shown shown = parseShow(run.out);
    EXPECT_EQ(shown.heads.at("read"), "1");
    EXPECT_EQ(shown.heads.at("stones"), "1");
    EXPECT_EQ(shown.flags[2][3], 0x02);
}

// Everything show prints about an example agrees with the files and the tables:
// the stones with the board file (the player named in "tah.dat" is player 1),
// the list items with the pattern tables, the rank order and the square flags.
void expectConsistentWithFiles(const std::string& name) {
    SCOPED_TRACE(name);
    const CliRun run = runCli({"show", "--dir", example(name).string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Shown shown = parseShow(run.out);
    EXPECT_EQ(shown.heads.at("read"), "1");
    EXPECT_EQ(shown.heads.at("side"), "1");

    const std::vector<std::string> rows = linesOf(readFile(example(name) / "plocha.dat"));
    const char named = readFile(example(name) / "tah.dat").front() == 'o' ? 'o' : 'x';
    int stones = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const char c = rows.at(y).at(x);
            const int flags = shown.flags.at(y).at(x);
            if (c == '-') {
                EXPECT_EQ(flags & 0x01, 0x01) << x << "," << y;
            } else {
                ++stones;
                EXPECT_EQ(flags & 0x03, c == named ? 0x02 : 0x00) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(shown.heads.at("stones"), std::to_string(stones));

    for (int player : {0, 1}) {
        std::int64_t previousRank = -1;
        for (const auto& item : shown.lists[player]) {
            ASSERT_EQ(item.size(), 6u);
            const int sq = std::stoi(item[0]);
            const int code = std::stoi(item[1]);
            EXPECT_EQ(item[3], std::to_string(cnTable[code]));
            EXPECT_EQ(item[4], std::to_string(tnTable[code]));
            EXPECT_EQ(item[5], std::to_string(weightTable[code]));
            const int directionMask = std::stoi(item[2]);
            EXPECT_TRUE(directionMask >= 1 && directionMask <= 15);
            const int flags = shown.flags.at(sq / 20).at(sq % 20);
            EXPECT_EQ(flags & 0x01, 0x01) << "item on a stone at " << sq;
            EXPECT_NE(flags & (player ? 0x04 : 0x08), 0) << "in-list flag missing at " << sq;
            EXPECT_LE(previousRank, rankKeyTable[code]) << "out of rank order at " << sq;
            previousRank = rankKeyTable[code];
        }
    }

    ASSERT_GE(shown.generated.size(), 2u);
    EXPECT_EQ(shown.generated.size(), 2u + shown.generated[1]);
    for (std::size_t i = 2; i < shown.generated.size(); ++i) {
        const int sq = shown.generated[i];
        EXPECT_EQ(shown.flags.at(sq / 20).at(sq % 20) & 0x01, 0x01) << "candidate on a stone";
    }
}

TEST(CliShow, ExamplesAgreeWithTheirFilesAndTheTables) {
    for (const char* name : {"opening", "middlegame", "forced-win"})
        expectConsistentWithFiles(name);
}

TEST(CliShow, ForcedWinExampleIsWonAtOnce) {
    const CliRun run = runCli({"show", "--dir", example("forced-win").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(parseShow(run.out).generated, (std::vector<int>{1, 1, 211}));
}

}  // namespace
}  // namespace vorek::testing
