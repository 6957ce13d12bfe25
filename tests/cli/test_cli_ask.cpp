// vorek-cli ask: the bundled engine's moves through the stdin/stdout
// protocol, a file-protocol program with the folder put back, the log, and
// each failure's message and exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "tests/cli/cli_run.h"
#include "tests/temp_dir.h"

namespace vorek::testing {
namespace {

namespace fs = std::filesystem;

class CliAsk : public ::testing::Test {
protected:
    TempDir dir;

    // Runs in the folder, so that "./program" names a script written there.
    CliRun ask(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"ask", "--dir", dir.path().string()});
        return runCli(arguments, dir.path());
    }

    void script(const std::string& name, const std::string& body) {
        dir.write(name, "#!/bin/sh\n" + body + "\n");
        fs::permissions(dir / name, fs::perms::owner_all);
    }
};

TEST_F(CliAsk, BundledEngineBlocksAnOpenFourAndCompletesItsOwnFive) {
    const struct {
        const char* name;
        std::initializer_list<std::string_view> rows;
        const char* mover;
        std::vector<std::string> moves;  // each is right
    } cases[] = {
        {"open four of o, x to move", {"", "", "", "            x", "", "", "", "", "", "      oooo", "",
                                       "       x", "        x"}, "x", {"5,9\n", "10,9\n"}},
        {"fours of both, o to move: its five", {"", "", "", "", "", "       x", "       x", "       x",
                                                "       x", "      oooo"}, "o", {"5,9\n", "10,9\n"}},
        {"fours of both, x to move: its five", {"", "", "", "", "", "       x", "       x", "       x",
                                                "       x", "      oooo"}, "x", {"7,4\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("plocha.dat", boardFile(c.rows));
        dir.write("tah.dat", c.mover);
        const CliRun run = ask({"--ms", "1100", VOREK_PBRAIN_PATH});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(std::find(c.moves.begin(), c.moves.end(), run.out), c.moves.end()) << run.out;
        EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(dir.listing(), "plocha.dat tah.dat ");  // nothing written into the folder
}

TEST_F(CliAsk, GameRecordPositionIsAskedInTheWorkingDirectory) {
    script("answer.sh", "cp plocha.dat seen-board; cp tah.dat seen-move; printf 0,0 > tah.dat");
    const std::string game = example("games/o-wins-in-row-12.psq").string() + ":2";
    const CliRun run = runCli({"ask", "--game", game, "./answer.sh"}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "0,0\n");
    // x at 10,10 and o at 11,12, from 1; x, the letter to move, is player 1.
    EXPECT_EQ(dir.read("seen-board"), boardFile({"", "", "", "", "", "", "", "", "", "         x", "",
                                                 "          o"}));
    EXPECT_EQ(dir.read("seen-move"), "x");
    EXPECT_FALSE(dir.exists("plocha.dat"));  // put back: there was none

    const CliRun both = ask({"--game", game, "./answer.sh"});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_TRUE(both.err.starts_with("vorek-cli: ask: give --dir or --game, not both\n")) << both.err;
}

TEST_F(CliAsk, FileProtocolProgramGetsTheFilesAndTheFolderIsPutBack) {
    dir.write("plocha.dat", boardFile({"xo"}));
    dir.write("tah.dat", "o\r\n");
    // The program keeps what it was given and answers its arguments.
    script("answer.sh", "cp plocha.dat seen-board; cp tah.dat seen-move; cp timeouts.dat seen-time\n"
                        "printf '%s,%s' \"$1\" \"$2\" > tah.dat");
    const CliRun run = ask({"--ms", "3500", "./answer.sh", "4", "--dir"});
    EXPECT_EQ(run.exitCode, 1);  // "--dir" is the program's: its answer 4,--dir is no move
    EXPECT_EQ(run.err, "vorek-cli: ask: the program left no move in \"tah.dat\"\nvorek-cli: ask: AI Error\n");

    const CliRun answered = ask({"--ms", "3500", "--log", "./answer.sh", "3", "4"});
    EXPECT_EQ(answered.exitCode, 0) << answered.err;
    EXPECT_EQ(answered.out, "3,4\n");
    EXPECT_EQ(dir.read("seen-time"), "3\r\n2147483647\r\n");
    EXPECT_EQ(dir.read("seen-move"), "x");  // "o" was read as player 1, which is written "x"
    EXPECT_EQ(dir.read("seen-board"), boardFile({"ox"}));
    EXPECT_EQ(dir.read("plocha.dat"), boardFile({"xo"}));  // as found
    EXPECT_EQ(dir.read("tah.dat"), "o\r\n");
    EXPECT_FALSE(dir.exists("timeouts.dat"));
    const std::vector<std::string> log = linesOf(answered.err);
    ASSERT_EQ(log.size(), 25u) << answered.err;
    EXPECT_TRUE(log[0].ends_with(" ms file protocol: " + (dir / "answer.sh").string() + " 3 4")) << log[0];
    EXPECT_TRUE(log[24].ends_with(" ms \"tah.dat\" holds \"3,4\": the move 3,4")) << log[24];
}

// The program runs in DIR, but a relative path names it from where the user is.
TEST_F(CliAsk, RelativeProgramPathIsTakenFromTheWorkingDirectory) {
    const TempDir here;
    fs::create_directory(here / "bin");
    fs::create_symlink(VOREK_PBRAIN_PATH, here / "bin" / "pbrain-vorek");
    dir.write("plocha.dat", boardFile({}));
    dir.write("tah.dat", "x");
    const CliRun run = runCli({"ask", "--dir", dir.path().string(), "--ms", "200", "bin/pbrain-vorek"}, here.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "10,10\n");
}

TEST_F(CliAsk, EachFailureHasItsMessageAndExitsOne) {
    dir.write("plocha.dat", boardFile({"x"}));
    dir.write("tah.dat", "x");
    script("pbrain-refuses", "read line; echo OK; while read line; do case \"$line\" in DONE*) echo 'ERROR no';; "
                             "END*) exit 0;; esac; done");
    script("slow.sh", "sleep 2");
    script("off-board.sh", "printf 20,0 > tah.dat");
    script("minus-one.sh", "exit 255");
    script("on-stone.sh", "printf 0,0 > tah.dat");
    const struct {
        std::string command;
        std::string err;
    } cases[] = {
        {"./pbrain-missing", "vorek-cli: ask: File not found\n"},
        {"./pbrain-refuses", "vorek-cli: ask: AI Error\n"},
        {"./slow.sh", "(vorek-cli: ask: ended process [0-9]+ \\((slow\\.sh|sleep)\\) with SIGTERM\n){2}"
                      "vorek-cli: ask: Timeout\n"},
        {"./minus-one.sh", "vorek-cli: ask: the program exited with code 255\nvorek-cli: ask: AI Error\n"},
        {"./off-board.sh", "vorek-cli: ask: the answer 20,0 is off the board\nvorek-cli: ask: AI Error\n"},
        {"./on-stone.sh", "vorek-cli: ask: the answer 0,0 is on a stone\nvorek-cli: ask: AI Error\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = ask({"--ms", "300", c.command});
        EXPECT_EQ(run.exitCode, 1) << c.command;
        EXPECT_EQ(run.out, "") << c.command;
        EXPECT_TRUE(std::regex_match(run.err, std::regex(c.err))) << c.command << ": " << run.err;
    }
}

TEST_F(CliAsk, MisusesExitTwo) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"--ms", "0", "x"}, {"--ms", "1.5", "x"}, {"--ms", "3600001", "x"},
          {"--verbose", "x"}}) {
        const CliRun run = ask(arguments);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_TRUE(run.err.find("usage: vorek-cli ask") != std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace vorek::testing
