// AI programs written as a hostile author would, asked through the built
// vorek-cli: whatever they do to the folder of the position files, links out
// of it, folders, pipes, other names, writes after their time, children that
// outlive them, the folder is given back byte for byte, nothing outside it
// changes, and nothing they started runs once the ask is over.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "tests/faults/asked_folder.h"
#include "tests/process_check.h"

namespace vorek::testing {
namespace {

namespace fs = std::filesystem;

using HostileProgram = AskedFolder;

TEST_F(HostileProgram, WhatAFileProtocolProgramLeavesIsPutBack) {
    const struct {
        const char* what;
        const char* body;
        const char* out;  // the move printed, or "" for a failure
    } cases[] = {
        {"links to a file outside", "for f in tah.dat plocha.dat timeouts.dat; do rm -f $f; ln -s ../victim $f; done",
         ""},
        {"a link to a folder outside", "rm -f plocha.dat; ln -s ../outside plocha.dat; printf 0,0 > tah.dat", "0,0\n"},
        {"a folder", "rm -f plocha.dat; mkdir plocha.dat; printf 0,0 > tah.dat", "0,0\n"},
        {"a named pipe", "rm -f tah.dat; mkfifo tah.dat", ""},
        {"the answer under another case", "rm -f tah.dat; printf 0,0 > TAH.DAT; printf 9 > Timeouts.Dat", "0,0\n"},
        {"a child left running", "sleep 30 & echo $! >> PIDS\nprintf 0,0 > tah.dat", "0,0\n"},
        {"a descendant that left the process group",
         "setsid sh -c 'echo $$ >> PIDS; sleep 2; printf LATE > tah.dat' &\nsleep 0.2; printf 0,0 > tah.dat", "0,0\n"},
        {"a link to a file outside as its answer",
         "rm -f tah.dat; printf 0,0 > ../outside/a; ln -s ../outside/a tah.dat", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const FolderState before = folderState(base.path());
        const ProgramRun run = ask(program("ai", c.body));
        EXPECT_EQ(run.out, c.out) << run.err;
        EXPECT_EQ(run.exitCode, *c.out ? 0 : 1) << run.err;
        EXPECT_EQ(running(), std::vector<pid_t>{});
        fs::remove(base / "outside" / "a");
        EXPECT_EQ(folderState(base.path()), before);
    }
}

// A link the user keeps at a protocol name is read as before and is there
// again afterwards, its file untouched by the program's answer.
TEST_F(HostileProgram, LinkKeptAtAProtocolNameIsReadAndPutBack) {
    fs::rename(base / "F" / "plocha.dat", base / "board");
    fs::create_symlink("../board", base / "F" / "plocha.dat");
    const FolderState before = folderState(base.path());
    const ProgramRun run = ask(program("ai", "cp plocha.dat " + (tools / "seen").string() + "; printf 0,0 > plocha.dat"
                                                                                             "; printf 0,0 > tah.dat"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "0,0\n");
    EXPECT_EQ(tools.read("seen").size(), 440u);  // the position, written as a file for the program
    EXPECT_EQ(folderState(base.path()), before);
}

// A program still running at its limit is ended, a child of it that ignores
// SIGTERM killed after the grace, before the files are put back: nothing
// writes into them afterwards.
TEST_F(HostileProgram, WritesAfterTheLimitCannotUndoThePutBack) {
    const FolderState before = folderState(base.path());
    const ProgramRun run = ask(program("late", "( trap '' TERM; sleep 3; printf LATE > plocha.dat ) &\n"
                                               "echo $! >> PIDS\nsleep 3; printf LATE > tah.dat"));
    EXPECT_EQ(run.exitCode, 1);
    const std::regex log("(.*\n)*[0-9]+ ms the program is still running after 1100 ms; its process group got SIGTERM and, 1 s "
                         "later, SIGKILL\n[0-9]+ ms ended process [0-9]+ \\(late\\) with SIGTERM\n(.*\n)*"
                         "[0-9]+ ms killed process [0-9]+ \\(late\\) with SIGKILL\n(.*\n)*vorek-cli: ask: Timeout\n");
    EXPECT_TRUE(std::regex_match(run.err, log)) << run.err;
    EXPECT_EQ(running(), std::vector<pid_t>{});
    EXPECT_EQ(folderState(base.path()), before);
}

// vorek-cli ended by a process manager or a closed terminal ends the ask as
// Ctrl-C does: the program with what it started, and the files put back.
TEST_F(HostileProgram, EndRequestToTheToolEndsTheProgramAndPutsTheFilesBack) {
    for (const char* signal : {"INT", "TERM", "HUP"}) {
        SCOPED_TRACE(signal);
        const FolderState before = folderState(base.path());
        const ProgramRun run = ask(program("ai", std::string("printf LATE > plocha.dat\n"
                                                             "( trap '' TERM; sleep 30 ) & echo $! >> PIDS\n"
                                                             "kill -") + signal + " $PPID; sleep 30"),
                                   "9900");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.ends_with("vorek-cli: ask: interrupted; the program was ended\n")) << run.err;
        EXPECT_EQ(running(), std::vector<pid_t>{});
        EXPECT_EQ(folderState(base.path()), before);
    }
}

// Processes that leave the program's group and session, each ignoring
// SIGTERM, or that fork on as their parents exit, are all ended before the
// ask is over, both with a cgroup of the ask's own and as where the system
// allows none; what had to be ended is said.
TEST_F(HostileProgram, EveryProcessTheProgramStartedEndsWithTheAsk) {
    const std::string chain = program("chain", "trap '' TERM\n"
                                               "[ \"$1\" -gt 0 ] && setsid \"$0\" $(($1 - 1)) &\n"
                                               "sleep 30; printf LATE > ../victim");
    const std::string forker = program("forker", "[ \"$1\" -lt 2000 ] && \"$0\" $(($1 + 1)) &\nexit 0");
    const struct {
        const char* what;
        std::string body;
        const char* said;  // null: the last of a fast chain may be ended with its group, unnamed
    } cases[] = {
        {"25 sessions ignoring SIGTERM", "'" + chain + "' 25 &\nsleep 0.2; printf 9,9 > tah.dat", " ms killed process "},
        {"forks as its parents exit", "'" + forker + "' 0 &\nsleep 0.1; printf 9,9 > tah.dat", nullptr},
    };
    // Without the variable, a cgroup wherever this machine allows one.
    for (const std::vector<std::string>& environment : {std::vector<std::string>{}, {"VOREK_TEST_NO_CGROUP=1"}}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (environment.empty() ? "" : ", without a cgroup"));
            const FolderState before = folderState(base.path());
            const ProgramRun run = ask(program("ai", c.body), "3300", {.environment = environment});
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_EQ(run.out, "9,9\n");
            if (c.said) {
                EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
            }
            EXPECT_EQ(running(), std::vector<pid_t>{});
            const std::string started = tools.read("pids");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_EQ(tools.read("pids"), started);  // none left to start more
            EXPECT_EQ(folderState(base.path()), before);
        }
    }
}

TEST_F(HostileProgram, ProtocolFileThatIsNoFileStopsTheAskBeforeItStarts) {
    fs::remove(base / "F" / "tah.dat");
    ASSERT_EQ(::mkfifo((base / "F" / "tah.dat").c_str(), 0600), 0);
    fs::create_directory(base / "F" / "PLOCHA.DAT");
    const FolderState before = folderState(base.path());
    const ProgramRun run = ask(program("ai", "printf 0,0 > tah.dat"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.ends_with("vorek-cli: ask: \"F/PLOCHA.DAT\" is a folder; the program is not run, as the "
                                  "file could not be put back after it\n"))
        << run.err;
    EXPECT_EQ(tools.read("pids"), "");  // never started
    EXPECT_EQ(folderState(base.path()), before);
}

// A stdin/stdout engine: only a line after the position is its move, and
// what it started is ended with it even when it exits on END.
TEST_F(HostileProgram, EngineLinesBeforeThePositionAndChildrenAfterEnd) {
    const std::string engine = program("pbrain-hostile", "while IFS= read -r line; do\n"
                                                         "  case \"$line\" in\n"
                                                         "    START*) ( trap '' TERM; sleep 40; true ) &\n"
                                                         "      echo $! >> PIDS; printf 'OK\\r\\n0,0\\r\\n' ;;\n"
                                                         "    DONE*) echo 0,1 ;;\n"
                                                         "    END*) exit 0 ;;\n"
                                                         "  esac\n"
                                                         "done");
    const FolderState before = folderState(base.path());
    const ProgramRun run = ask(engine);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "0,1\n");
    EXPECT_NE(run.err.find(" ms < 0,0\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" ms passed over: it came before the engine was asked for its move\n"), std::string::npos);
    EXPECT_EQ(running(), std::vector<pid_t>{});
    EXPECT_EQ(folderState(base.path()), before);
}

// Control bytes, 8-bit control bytes (0x9B starts a control sequence on
// some terminals, alone or as UTF-8 C2 9B), any byte above 0x7E and invalid
// UTF-8 are all written \xHH: the log on stderr is plain ASCII.
TEST_F(HostileProgram, BytesOutsidePrintableAsciiInTheLogAreShownEscaped) {
    const ProgramRun run = ask(program("pbrain-bell", "read line; printf 'MESSAGE \\a\\033[2J\\2332J\\302\\2332J "
                                                      "\\303\\251\\377\\r\\nOK\\r\\n'"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(" ms < MESSAGE \\x07\\x1b[2J\\x9b2J\\xc2\\x9b2J \\xc3\\xa9\\xff\n"), std::string::npos)
        << run.err;
    EXPECT_TRUE(std::all_of(run.err.begin(), run.err.end(), [](char c) { return (c >= ' ' && c < 0x7F) || c == '\n'; }));
}

}  // namespace
}  // namespace vorek::testing
