// vorek-cli analyse and game --engine with small script engines: the rounds of
// lines, the messages and the end in both forms, mate claims checked by the
// threat search, failures; then the real engine, when it is there.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/real_engine.h"
#include "tests/script_engine.h"
#include "tests/temp_dir.h"

namespace vorek::testing {
namespace {

namespace fs = std::filesystem;

const std::string GAME = example("games/o-wins-in-row-12.psq").string();
const std::string IGNORED_FOUR = example("games/ignored-four.psq").string();

class CliEngine : public ::testing::Test {
protected:
    TempDir dir;

    // The script engine of tests/script_engine.h.
    std::string engine(const std::string& cases) { return writeScriptEngine(dir, cases).string(); }

    CliRun analyse(const std::string& engine, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"analyse", "--engine", engine});
        return runCli(arguments);
    }
};

const char* const TWO_LINES =
    "    YXNBEST*) echo 'INFO PV 0'; echo 'INFO NUMPV 2'; echo 'INFO DEPTH 3'; echo 'INFO SELDEPTH 5';"
    " echo 'INFO TOTALNODES 1200'; echo 'INFO TOTALTIME 4'; echo 'INFO SPEED 300000'; echo 'INFO EVAL 35';"
    " echo 'INFO WINRATE 0.55'; echo 'INFO BESTLINE 9,9 10,10'; echo 'INFO PV DONE';"
    " echo 'INFO PV 1'; echo 'INFO NUMPV 2'; echo 'INFO DEPTH 3'; echo 'INFO EVAL -10';"
    " echo 'INFO BESTLINE h8 9,9'; echo 'INFO PV DONE'; echo 'MESSAGE depth 3 done'; echo 9,9 ;;";

TEST_F(CliEngine, AnalysePrintsTheRoundsTheMessagesAndTheEnd) {
    const std::string program = engine(TWO_LINES);
    const std::vector<std::string> position{"--game", GAME, "--move", "0", "--ms", "700", "--multipv", "2"};
    const CliRun plain = analyse(program, position);
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(plain.out,
              "depth 3 seldepth 5 nodes 1200 speed 300000 time 4\n"
              "pv 1 9,9 eval 35 winrate 0.550 line 9,9 10,10\n"
              "pv 2 7,7 eval -10 line 7,7 9,9\n"
              "message depth 3 done\n"
              "best 9,9\n"
              "eval 35\n"
              "winrate 0.550\n"
              "line 9,9 10,10\n");
    const std::string received = dir.read("received");
    EXPECT_NE(received.find("INFO timeout_turn 700\r\nYXBOARD\r\nDONE\r\nYXNBEST 2\r\n"), std::string::npos);

    std::vector<std::string> json = position;
    json.push_back("--json");
    const CliRun objects = analyse(program, json);
    EXPECT_EQ(objects.exitCode, 0) << objects.err;
    EXPECT_EQ(objects.out,
              R"({"depth":3,"seldepth":5,"nodes":1200,"speed":300000,"time":4,"pv":[)"
              R"({"move":"9,9","eval":"35","winrate":0.550,"line":["9,9","10,10"]},)"
              R"({"move":"7,7","eval":"-10","winrate":null,"line":["7,7","9,9"]}]})"
              "\n"
              R"({"message":"depth 3 done"})"
              "\n"
              R"({"best":"9,9","eval":"35","winrate":0.550,"line":["9,9","10,10"]})"
              "\n");
}

// The engine claims what the file "claim" says; our search judges it.
TEST_F(CliEngine, MateClaimIsCheckedByTheThreatSearch) {
    const std::string program = engine("    YXNBEST*) echo 'INFO PV 0'; echo \"INFO EVAL $(cat claim)\";"
                                       " echo 'INFO PV DONE'; echo 0,0 ;;");
    TempDir oToMove;  // the forced win with the other side to move: it loses
    std::ifstream board(example("forced-win") / "plocha.dat", std::ios::binary);
    oToMove.write("plocha.dat", std::string(std::istreambuf_iterator<char>(board), {}));
    oToMove.write("tah.dat", "o");
    const struct {
        std::string folder;
        const char* claim;
        std::string summary;
    } cases[] = {
        {example("forced-win").string(), "+M5",
         "mate claim: proved by threats in 5 (line 11,10 11,7 8,10 7,10 12,10)"},
        {oToMove.path().string(), "-M10", "mate claim: proved by threats in 16 (line 8,10 11,7 "},
        {example("opening").string(), "+M3", "mate claim: not proved (exhausted)"},
        {example("forced-win").string(), "-M4",
         "mate claim: not proved (refuted: the side to move wins by threats, line 11,10 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.claim);
        dir.write("claim", c.claim);
        const CliRun run = analyse(program, {"--dir", c.folder});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const std::vector<std::string> lines = linesOf(run.out);
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(lines.back().starts_with(c.summary)) << run.out;
    }
    dir.write("claim", "+M5");
    const CliRun json = analyse(program, {"--dir", example("forced-win").string(), "--json"});
    EXPECT_TRUE(json.out.ends_with(R"("mate_check":{"claim":"+M5","result":"proved","plies":5,)"
                                   R"("line":["11,10","11,7","8,10","7,10","12,10"]}})"
                                   "\n"))
        << json.out;
}

TEST_F(CliEngine, AnalyseFailuresExitOneWithTheReason) {
    const struct {
        const char* onThink;
        std::string message;
    } cases[] = {
        {"exit 3", "no move from the engine: the engine exited with code 3"},
        {"echo 99,0", "no move from the engine: the answer 99,0 is off the board"},
    };
    for (const auto& c : cases) {
        const CliRun run = analyse(engine(std::string("    YXNBEST*) ") + c.onThink + " ;;"), {"--game", GAME});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "vorek-cli: analyse: " + c.message + "\n");
    }
    const CliRun missing = analyse((dir / "missing").string(), {"--game", GAME});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "vorek-cli: analyse: cannot start the engine '" + (dir / "missing").string() + "'\n");
}

// The engine counts the stones it is given and calls that many tens its
// evaluation, with no win rate: by evaluation, each move loses the mover
// 20 x its stones + 10, the later moves the most.
TEST_F(CliEngine, GameGivesEachPositionTheEnginesViewAndListsTheLargestDrops) {
    const std::string program = engine(
        "    YXBOARD*) n=0; board=1 ;;\n"
        "    DONE*) board= ;;\n"
        "    [0-9]*) if [ -n \"$board\" ]; then n=$((n+1)); fi ;;\n"
        "    YXNBEST*) echo 'INFO PV 0'; echo \"INFO EVAL $((n*10))\"; echo 'INFO PV DONE'; echo 0,0 ;;");
    const CliRun run = runCli({"game", IGNORED_FOUR, "--nodes", "1000", "--engine", program, "--ms", "300"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 18u) << run.out;
    EXPECT_TRUE(lines[0].ends_with(" 0 - 1,1")) << lines[0];
    EXPECT_TRUE(lines[10].ends_with(" 100 - 1,1")) << lines[10];
    EXPECT_EQ(lines[11].substr(0, 8), "summary ");
    EXPECT_EQ(lines[12], "largest drops eval");
    EXPECT_EQ(lines[13].substr(0, lines[13].find(" threats")), "10 o 14,10 engine 90 -100");
    EXPECT_EQ(lines[17].substr(0, lines[17].find(" threats")), "6 o 9,10 engine 50 -60");
    EXPECT_EQ(linesOf(dir.read("pids")).size(), 1u);  // one engine for the whole game

    const CliRun json = runCli({"game", IGNORED_FOUR, "--nodes", "1000", "--engine", program, "--json"});
    const std::vector<std::string> objects = linesOf(json.out);
    ASSERT_EQ(objects.size(), 12u) << json.out;
    EXPECT_TRUE(objects[1].ends_with(R"(,"eval":"10","winrate":null,"best":"1,1"})")) << objects[1];
    EXPECT_NE(objects[11].find(R"("largest_drops":[{"move":10,"side":"o","played":"14,10",)"
                               R"("engine":{"by":"eval","before":"90","after":"-100"},"threats":[)"),
              std::string::npos)
        << objects[11];
}

TEST(CliRealEngine, AnalysePrintsUpdatesAndAProvedMateClaim) {
    const std::optional<fs::path> real = realEngine();
    if (!real) GTEST_SKIP() << "the open-source engine is not there";
    const CliRun run = runCli({"analyse", "--engine", real->string(), "--ms", "3000", "--dir",
                               example("middlegame").string(), "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end() - 1, [](const std::string& line) {
        return line.starts_with(R"({"depth":)") && !line.starts_with(R"({"depth":null)") &&
               line.find(R"("line":[")") != std::string::npos;
    })) << run.out;
    EXPECT_TRUE(lines.back().starts_with(R"({"best":"6,12")")) << lines.back();
    EXPECT_NE(lines.back().find(R"("mate_check":{"claim":"+M)"), std::string::npos) << lines.back();
    EXPECT_NE(lines.back().find(R"("result":"proved")"), std::string::npos) << lines.back();
}

TEST(CliRealEngine, GameGivesEveryPositionAnEvaluation) {
    const std::optional<fs::path> real = realEngine();
    if (!real) GTEST_SKIP() << "the open-source engine is not there";
    const CliRun run =
        runCli({"game", GAME, "--nodes", "1000", "--engine", real->string(), "--ms", "100", "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 18u);
    // The empty board gets the engine's move at once, without a search.
    for (std::size_t i = 1; i < 16; ++i) EXPECT_EQ(lines[i].find(R"("eval":null)"), std::string::npos) << lines[i];
    EXPECT_NE(lines[15].find(R"("eval":"+M1")"), std::string::npos) << lines[15];  // o makes five
    EXPECT_NE(lines[16].find(R"("eval":null,"winrate":null,"best":null)"), std::string::npos) << lines[16];
}

}  // namespace
}  // namespace vorek::testing
