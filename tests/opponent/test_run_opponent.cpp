// Running small AI programs written by the tests: result codes, what the
// program gets to see, and that nothing of it outlives the run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <tuple>

#include "opponent/process_cgroup.h"
#include "opponent/process_runner.h"
#include "tests/process_check.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Each test runs inside its own temporary folder, as the window runs in the
// folder of the position files.
class RunOpponentTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    fs::path previous = fs::current_path();

    void SetUp() override { fs::current_path(dir.path()); }
    void TearDown() override { fs::current_path(previous); }

    // A shell script, made executable; returns its full path.
    std::string script(const std::string& name, const std::string& body) {
        dir.write(name, "#!/bin/sh\n" + body + "\n");
        fs::permissions(dir / name, fs::perms::owner_all);
        return (dir / name).string();
    }
};

TEST_F(RunOpponentTest, ExitStatusGivesTheResult) {
    const struct {
        const char* body;
        int result;
    } cases[] = {
        {"exit 0", RUN_OK},          {"exit 1", RUN_FAILED},  {"exit 2", RUN_FAILED},
        {"exit 3", RUN_FAILED},      {"exit 255", RUN_FAILED},  // it ran: no "File not found"
        {"kill -SEGV $$", RUN_FAILED},
    };
    for (const auto& c : cases) EXPECT_EQ(RunOpponent(script("ai", c.body), 1100), c.result) << c.body;
}

TEST_F(RunOpponentTest, AnswerIsWrittenInTheWorkingDirectoryWithoutWaitingOutTheLimit) {
    const std::string ai = script("ai", "printf 10,9 > tah.dat");
    const Clock::time_point started = Clock::now();
    EXPECT_EQ(RunOpponent(ai, 9900), RUN_OK);
    EXPECT_LT(Clock::now() - started, 5s);
    EXPECT_EQ(dir.read("tah.dat"), "10,9");
}

TEST_F(RunOpponentTest, ProgramRunsInTheFolderGivenAndFindsRelativeNamesThere) {
    fs::create_directory(dir / "other");
    script("other/ai", "printf 3,4 > tah.dat");
    EXPECT_EQ(RunOpponent("./ai", 1100, dir / "other"), RUN_OK);
    EXPECT_EQ(dir.read("other/tah.dat"), "3,4");
    EXPECT_FALSE(fs::exists(dir / "tah.dat"));
    EXPECT_EQ(RunOpponent("./ai", 1100, dir / "missing"), RUN_NOT_STARTED);
}

TEST_F(RunOpponentTest, ProgramsThatCannotStartGiveNotStarted) {
    dir.write("plain", "#!/bin/sh\nexit 0\n");  // not executable
    fs::create_directory(dir / "folder");
    for (const std::string command :
         {"", "  \t ", "vorek-no-such-program", "./plain", "./folder", "./missing", "'ai", "\"\""})
        EXPECT_EQ(RunOpponent(command, 1100), RUN_NOT_STARTED) << command;
}

TEST_F(RunOpponentTest, ProgramGetsItsWordsAndIsFoundOnPath) {
    fs::create_directory(dir / "ai bin");
    const std::string ai = script("ai bin/list words", "for a; do printf '%s|' \"$a\"; done > words");
    const std::string longWord(300, 'w');  // the whole line is far over 254 characters
    EXPECT_EQ(RunOpponent("'" + ai + "' one \"two words\" three\\ four '' " + longWord, 1100), RUN_OK);
    EXPECT_EQ(dir.read("words"), "one|two words|three four||" + longWord + "|");

    const std::string path = std::getenv("PATH");
    ::setenv("PATH", ((dir / "ai bin").string() + ":" + path).c_str(), 1);
    const int result = RunOpponent("list\\ words found", 1100);
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(result, RUN_OK);
    EXPECT_EQ(dir.read("words"), "found|");
}

// A relative folder of PATH, or an empty entry, is taken from this
// process's working directory, as a shell takes it, not from the folder the
// program runs in.
TEST_F(RunOpponentTest, RelativePathEntriesAreTakenFromTheWorkingDirectory) {
    fs::create_directories(dir / "folder" / "bin");
    fs::create_directory(dir / "bin");
    script("bin/ai", "printf here > ran");
    script("folder/bin/ai", "printf folder > ran");
    script("local-ai", "printf empty-entry > ran");
    const std::string path = std::getenv("PATH");
    for (const auto& [entries, command, ran] : {std::tuple{"bin:/usr/bin", "ai", "here"},
                                                std::tuple{"/usr/bin::/bin", "local-ai", "empty-entry"}}) {
        ::setenv("PATH", entries, 1);
        const int result = RunOpponent(command, 1100, dir / "folder");
        ::setenv("PATH", path.c_str(), 1);
        EXPECT_EQ(result, RUN_OK) << entries;
        EXPECT_EQ(dir.read("folder/ran"), ran) << entries;
    }
}

// Where this process may make a cgroup, the program runs in one of its own;
// elsewhere (or told not to by the tests) in this process's.
TEST_F(RunOpponentTest, ProgramRunsInACgroupOfItsOwnWhereTheSystemAllowsOne) {
    const bool allowed = ProcessCgroup::make() != nullptr;
    const std::string ai = script("ai", "grep '^0::' /proc/self/cgroup > cgroup");
    for (const bool told : {false, true}) {
        if (told) ::setenv("VOREK_TEST_NO_CGROUP", "1", 1);
        EXPECT_EQ(RunOpponent(ai, 1100), RUN_OK);
        ::unsetenv("VOREK_TEST_NO_CGROUP");
        const std::string cgroup = dir.read("cgroup");
        EXPECT_EQ(cgroup.find("/vorek-ask-") != std::string::npos, allowed && !told) << cgroup;
    }
}

TEST_F(RunOpponentTest, ProgramRunsWithStreamsOnDevNullAndNothingElseInherited) {
    const int leaked = ::fcntl(STDOUT_FILENO, F_DUPFD, 100);  // no close-on-exec
    ASSERT_GE(leaked, 100);
    const std::string ai = script("ai", "s=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                                        "echo \"$s\" > streams\n"
                                        "if [ -e /proc/$$/fd/" + std::to_string(leaked) +
                                        " ]; then echo inherited >> streams; fi");
    const int result = RunOpponent(ai, 1100);
    ::close(leaked);
    EXPECT_EQ(result, RUN_OK);
    EXPECT_EQ(dir.read("streams"), "/dev/null\n/dev/null\n/dev/null\n");
}

TEST_F(RunOpponentTest, ProgramGetsDefaultSignalHandlingWhateverThisProgramSet) {
    const std::string ignored = script("term", "kill -TERM $$\nexit 0");
    const std::string blocked = script("usr1", "kill -USR1 $$\nexit 0");
    struct sigaction ignore {};
    struct sigaction before {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGTERM, &ignore, &before);
    sigset_t usr1;
    sigset_t mask;
    ::sigemptyset(&usr1);
    ::sigaddset(&usr1, SIGUSR1);
    ::pthread_sigmask(SIG_BLOCK, &usr1, &mask);
    const int ignoredResult = RunOpponent(ignored, 1100);
    const int blockedResult = RunOpponent(blocked, 1100);
    ::pthread_sigmask(SIG_SETMASK, &mask, nullptr);
    ::sigaction(SIGTERM, &before, nullptr);
    EXPECT_EQ(ignoredResult, RUN_FAILED);
    EXPECT_EQ(blockedResult, RUN_FAILED);
}

// Once RunOpponent returns, nothing the program started runs: not what it
// left behind when it exited, not what ignores SIGTERM at the limit.
TEST_F(RunOpponentTest, ProgramIsEndedWithWhatItStartedWhenItExitsOrAtTheLimit) {
    const struct {
        const char* body;
        int result;
        std::chrono::milliseconds least, most;
    } cases[] = {
        {"sleep 30 &\necho $! >> pid\nexit 0", RUN_OK, 0ms, 900ms},
        {"sleep 30 &\necho $! >> pid\nexec sleep 30", RUN_TIMEOUT, 1100ms, 2000ms},
        {"( trap '' TERM; sleep 3; printf late > tah.dat ) &\necho $! >> pid\nexec sleep 30", RUN_TIMEOUT, 2100ms,
         3000ms},  // killed after the grace
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const std::string ai = script("ai", std::string("echo $$ > pid\n") + c.body);
        const Clock::time_point started = Clock::now();
        EXPECT_EQ(RunOpponent(ai, 1100), c.result);
        const Clock::duration waited = Clock::now() - started;
        EXPECT_GE(waited, c.least);
        EXPECT_LT(waited, c.most);
        EXPECT_EQ(testing::runningOf(dir.read("pid")), std::vector<pid_t>{});
        errno = 0;
        EXPECT_EQ(::waitpid(std::stoi(dir.read("pid")), nullptr, WNOHANG), -1);  // collected
        EXPECT_EQ(errno, ECHILD);
    }
    EXPECT_FALSE(dir.exists("tah.dat"));
}

}  // namespace
}  // namespace vorek
