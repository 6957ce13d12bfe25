// Asking small script engines for a move through the stdin/stdout protocol
// (and one program through the files): what they are sent, what their
// answers give, and that none is left running afterwards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "opponent/ask_opponent.h"
#include "opponent/ask_through_files.h"
#include "opponent/ask_through_pipes.h"
#include "tests/board_builder.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

struct RecordedLog : AskLog {
    Lines lines;
    std::vector<std::chrono::milliseconds> times;
    void line(std::string_view text, std::chrono::milliseconds sinceStart) override {
        lines.emplace_back(text);
        times.push_back(sinceStart);
    }
    bool has(std::string_view text) const { return std::find(lines.begin(), lines.end(), text) != lines.end(); }
};

// The ids of the processes still running in the process group (an engine
// leads its own). Zombies are left out: one whose parent died waits for the
// system to collect it.
std::vector<int> processesInGroup(pid_t group) {
    std::vector<int> members;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string text;
        if (!std::getline(stat, text)) continue;
        const std::size_t end = text.rfind(')');
        if (end == std::string::npos) continue;
        char state = 0;
        int parent = 0;
        int pgrp = 0;
        std::istringstream fields(text.substr(end + 1));
        if (fields >> state >> parent >> pgrp && pgrp == group && state != 'Z') members.push_back(std::stoi(entry.path().filename()));
    }
    return members;
}

class AskEngine : public ::testing::Test {
protected:
    testing::TempDir dir;
    RecordedLog log;

    // An engine script "pbrain-test" that records every line it reads in
    // "received" and its pid in "pid", answers START with `onStart` and BEGIN
    // or DONE with `onMove` (shell commands), and exits on END.
    std::string engine(const std::string& onStart, const std::string& onMove, const std::string& onEnd = "exit 0") {
        script("pbrain-test", "echo $$ > pid\n"
                              "while IFS= read -r line; do\n"
                              "  printf '%s\\n' \"$line\" >> received\n"
                              "  case \"$line\" in\n"
                              "    START*) " + onStart + " ;;\n"
                              "    BEGIN*|DONE*) " + onMove + " ;;\n"
                              "    END*) " + onEnd + " ;;\n"
                              "  esac\n"
                              "done");
        return "./pbrain-test";
    }

    void script(const std::string& name, const std::string& body) {
        dir.write(name, "#!/bin/sh\n" + body + "\n");
        fs::permissions(dir / name, fs::perms::owner_all);
    }

    AskOutcome ask(const std::string& command, int milliseconds = 1100, const V2Board* board = nullptr) {
        const auto empty = testing::boardFromRows({});
        return askOpponent(command, board ? *board : *empty, dir.path(), milliseconds, log);
    }

    // Waits for the engine's end; the time it took.
    Clock::duration awaitEnd(AskOutcome& outcome) {
        const Clock::time_point start = Clock::now();
        EXPECT_TRUE(outcome.engineEnded.valid());
        if (outcome.engineEnded.valid()) {
            EXPECT_EQ(outcome.engineEnded.wait_for(10s), std::future_status::ready);
        }
        return Clock::now() - start;
    }

    pid_t enginePid() const { return static_cast<pid_t>(std::stoi(dir.read("pid"))); }
};

TEST_F(AskEngine, SendsStartInfoAndThePositionInCrLfLinesThenEnd) {
    const struct {
        const char* name;
        std::initializer_list<std::string_view> rows;
        Player sideToMove;
        std::string position;
    } cases[] = {
        {"empty board", {}, PLAYER1, "BEGIN\r\n"},
        {"equal counts", {"xo", "ox"}, PLAYER1, "BOARD\r\n0,0,1\r\n1,0,2\r\n1,1,1\r\n0,1,2\r\nDONE\r\n"},
        {"one more of the other side", {"xo", "o"}, PLAYER1, "BOARD\r\n1,0,2\r\n0,0,1\r\n0,1,2\r\nDONE\r\n"},
        {"three more of the other side", {"oxxxx"}, PLAYER0, "BOARD\r\n1,0,2\r\n2,0,2\r\n0,0,1\r\n3,0,2\r\n4,0,2\r\nDONE\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(dir / "received");
        log.lines.clear();
        log.times.clear();
        const auto board = testing::boardFromRows(c.rows, c.sideToMove);
        AskOutcome outcome = ask(engine("echo OK", "echo 10,9"), 3300, board.get());
        EXPECT_EQ(outcome.result, RUN_OK);
        ASSERT_TRUE(outcome.move.has_value());
        EXPECT_EQ(outcome.move->x * 100 + outcome.move->y, 1009);
        awaitEnd(outcome);
        EXPECT_EQ(dir.read("received"), "START 20\r\n"
                                        "INFO timeout_turn 3300\r\nINFO timeout_match 0\r\n"
                                        "INFO time_left 2147483647\r\nINFO max_memory 0\r\n"
                                        "INFO game_type 1\r\nINFO rule 0\r\n" +
                                            c.position + "END\r\n");
        EXPECT_TRUE(log.has("> START 20"));
        EXPECT_TRUE(log.has("< OK"));
        EXPECT_TRUE(log.has("< 10,9"));
        EXPECT_TRUE(std::is_sorted(log.times.begin(), log.times.end()));
    }
}

TEST_F(AskEngine, AnswerToStartMustBeOk) {
    const struct {
        const char* onStart;
        int result;
    } cases[] = {
        {"echo OK", RUN_OK},
        {"printf 'ok\\r'", RUN_OK},
        {"echo MESSAGE loading; sleep 0.3; echo DEBUG ready; echo OK", RUN_OK},  // a slow start that talks
        {"echo 'ERROR cannot start'", RUN_FAILED},
        {"echo 10,9", RUN_FAILED},
        {"exit 0", RUN_FAILED},
    };
    for (const auto& c : cases) {
        AskOutcome outcome = ask(engine(c.onStart, "echo 10,9"));
        EXPECT_EQ(outcome.result, c.result) << c.onStart;
        awaitEnd(outcome);
    }
}

TEST_F(AskEngine, LinesUpToTheMoveDecideTheResult) {
    const struct {
        const char* onMove;
        int result;
        int move;  // x * 100 + y
    } cases[] = {
        {"echo MESSAGE thinking; echo DEBUG depth 3; echo 3,4", RUN_OK, 304},
        {"printf '\\r\\n\\n5,6\\r\\n'", RUN_OK, 506},
        {"printf 3; sleep 0.2; printf ',4\\r'", RUN_OK, 304},  // one line in two writes, CR alone
        {"echo 25,-1", RUN_OK, 2499},                          // off the board: the caller decides
        {"echo 'ERROR no move'", RUN_FAILED, 0},
        {"echo 'UNKNOWN BEGIN'", RUN_FAILED, 0},
        {"echo OK", RUN_FAILED, 0},
        {"echo 'ten, nine'", RUN_FAILED, 0},
        {"exit 3", RUN_FAILED, 0},
        {"kill -KILL $$", RUN_FAILED, 0},
    };
    for (const auto& c : cases) {
        log.lines.clear();
        AskOutcome outcome = ask(engine("echo OK", c.onMove));
        EXPECT_EQ(outcome.result, c.result) << c.onMove;
        EXPECT_EQ(outcome.move.has_value(), c.result == RUN_OK) << c.onMove;
        if (outcome.move) {
            EXPECT_EQ(outcome.move->x * 100 + outcome.move->y, c.move) << c.onMove;
        }
        awaitEnd(outcome);
    }
    EXPECT_TRUE(log.has("the engine closed its output"));  // the one killed last
}

TEST_F(AskEngine, SilentEngineTimesOutAndIsTerminatedAndCollected) {
    // It sleeps (in a child of its own) instead of answering, and does not
    // read END.
    const Clock::time_point start = Clock::now();
    AskOutcome outcome = ask(engine("echo OK", "sleep 30"), 200);
    const Clock::duration asked = Clock::now() - start;
    EXPECT_EQ(outcome.result, RUN_TIMEOUT);
    EXPECT_GE(asked, 1200ms);  // 200 ms and the margin
    EXPECT_LT(asked, 2000ms);  // not held up by the ending
    EXPECT_TRUE(log.has("no move within 1200 ms"));
    const pid_t pid = enginePid();
    EXPECT_FALSE(processesInGroup(pid).empty());  // still there when the ask returns
    awaitEnd(outcome);
    EXPECT_EQ(processesInGroup(pid), std::vector<int>{});
}

TEST_F(AskEngine, EngineThatIgnoresEndAndTermIsKilled) {
    AskOutcome outcome = ask(engine("trap '' TERM; echo OK", "echo 1,1", "while :; do sleep 0.1; done"));
    EXPECT_EQ(outcome.result, RUN_OK);
    const pid_t pid = enginePid();
    const Clock::duration ending = awaitEnd(outcome);
    EXPECT_GE(ending, 1500ms);  // a grace, SIGTERM, a grace, SIGKILL
    EXPECT_EQ(processesInGroup(pid), std::vector<int>{});
}

TEST_F(AskEngine, EngineThatClosesItsInputGivesAiErrorWithoutSigpipe) {
    AskOutcome outcome = ask(engine("exec 0<&-; echo OK; sleep 1", "echo 1,1"));
    EXPECT_EQ(outcome.result, RUN_FAILED);
    EXPECT_TRUE(log.has("the engine no longer reads its input"));
    awaitEnd(outcome);
}

TEST_F(AskEngine, FloodOfOutputIsReadOnButNotAllLogged) {
    AskOutcome outcome = ask(engine("echo OK",
                                    "printf 'MESSAGE '; head -c 100000 /dev/zero | tr '\\0' m; echo;"
                                    "i=0; while [ $i -lt 3000 ]; do echo MESSAGE $i; i=$((i+1)); done; echo 1,2"),
                             5500);
    EXPECT_EQ(outcome.result, RUN_OK);
    const auto received = std::count_if(log.lines.begin(), log.lines.end(),
                                        [](const std::string& line) { return line.starts_with("< "); });
    EXPECT_EQ(received, LOGGED_LINES);
    EXPECT_TRUE(log.has("further lines are read but not logged"));
    awaitEnd(outcome);
}

TEST_F(AskEngine, ProgramThatCannotStartIsFileNotFound) {
    dir.write("pbrain-plain", "#!/bin/sh\necho OK\n");  // not executable
    for (const char* command : {"./pbrain-missing", "./pbrain-plain", "pbrain-vorek-no-such-engine"}) {
        AskOutcome outcome = ask(command);
        EXPECT_EQ(outcome.result, RUN_NOT_STARTED) << command;
        EXPECT_FALSE(outcome.engineEnded.valid()) << command;
    }
}

// A stop (Ctrl-C in vorek-cli) ends the ask at once, through either
// protocol, and ends the program with it.
TEST_F(AskEngine, StopEndsTheAskAndTheProgram) {
    script("slow.sh", "echo $$ > pid\nexec sleep 30");
    for (const std::string& command : {engine("echo OK", "sleep 30"), std::string("./slow.sh")}) {
        SCOPED_TRACE(command);
        std::atomic<bool> stop{false};
        std::thread stopper([&stop] {
            std::this_thread::sleep_for(300ms);
            stop = true;
        });
        const auto empty = testing::boardFromRows({});
        const Clock::time_point start = Clock::now();
        AskOutcome outcome = askOpponent(command, *empty, dir.path(), 9900, log, &stop);
        stopper.join();
        EXPECT_LT(Clock::now() - start, 900ms);
        EXPECT_EQ(outcome.result, RUN_FAILED);
        if (outcome.engineEnded.valid()) awaitEnd(outcome);
        EXPECT_EQ(processesInGroup(enginePid()), std::vector<int>{});
    }
    EXPECT_TRUE(log.has("the ask was interrupted"));
}

TEST(AskProtocol, ProgramNameChoosesTheProtocol) {
    for (const char* pipes : {"pbrain-x", "/opt/ai/PBRAIN-X --level 3", "'my ai/Pbrain-x'", "./pbrain-"})
        EXPECT_TRUE(speaksStdinProtocol(pipes)) << pipes;
    for (const char* files : {"vorek-ai", "pbrain-x/engine", "xpbrain-x", "sh pbrain-x", "pbrain", "", "'pbrain-x"})
        EXPECT_FALSE(speaksStdinProtocol(files)) << files;
}

TEST(AskProtocol, TimeoutDigitIsWholeStepsFromOneToNine) {
    const int cases[][2] = {{1, 1}, {1099, 1}, {1100, 1}, {2199, 1}, {3300, 3}, {5500, 5}, {9900, 9}, {60000, 9}};
    for (const auto& [milliseconds, digit] : cases) EXPECT_EQ(timeoutDigit(milliseconds), digit) << milliseconds;
}

TEST_F(AskEngine, FileProtocolLogShowsTheFilesTheRunAndTheAnswer) {
    script("answer.sh", "printf '10,9' > tah.dat");
    const auto board = testing::boardFromRows({"x"}, PLAYER0);
    const AskOutcome outcome = ask("./answer.sh", 3300, board.get());
    EXPECT_EQ(outcome.result, RUN_OK);
    EXPECT_FALSE(outcome.engineEnded.valid());
    ASSERT_EQ(log.lines.size(), 25u);
    EXPECT_EQ(log.lines[0], "file protocol: ./answer.sh");
    EXPECT_EQ(log.lines[1], "wrote \"tah.dat\": o, and \"plocha.dat\":");
    EXPECT_EQ(log.lines[2], "  x-------------------");  // player 1's stone
    EXPECT_EQ(log.lines[22], "wrote \"timeouts.dat\": 3, 2147483647");
    EXPECT_EQ(log.lines[23], "the program exited with code 0");
    EXPECT_EQ(log.lines[24], "\"tah.dat\" holds \"10,9\": the move 10,9");
}

}  // namespace
}  // namespace vorek
