// vorek-cli ask interrupted, failing or sharing its output: signals at chosen
// moments of the ask and of the put-back, a closed log pipe, the tool killed
// outright, a put-back the program made impossible. Whatever happens, the
// files found are the very files found (bytes, inodes, permissions, owners,
// links, times) or are kept where the tool says, and nothing of the program
// runs afterwards.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/faults/asked_folder.h"

namespace vorek::testing {
namespace {

namespace fs = std::filesystem;

using InterruptedAsk = AskedFolder;

// The moment the tool writes into the FIFO when it reaches it; empty when it
// does not within ten seconds.
std::string momentReached(const fs::path& fifo) {
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    pollfd entry{fd, POLLIN, 0};
    std::string said;
    char buffer[64];
    while (::poll(&entry, 1, 10'000) > 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        said.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return said;
}

// Lets the tool held at a moment go on.
void release(const fs::path& fifo) {
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) ::close(fd);
}

// Before the put-back, between two of its files and after it, every request
// to end, however many, only stops the ask: the put-back is done whole and
// the tool says it was interrupted.
TEST_F(InterruptedAsk, SignalsDuringThePutBackOnlyStopTheAsk) {
    const fs::path fifo = tools / "moments";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string ai = program("ai", "printf 9,9 > tah.dat; printf LATE > plocha.dat");
    for (const char* moment : {"put-back plocha.dat", "put-back tah.dat", "put-back done"}) {
        SCOPED_TRACE(moment);
        const FolderState before = folderState(base.path());
        const FolderIdentity found = identityOf(base / "F");
        StartedProgram tool(CLI_PROGRAM, askArguments(ai, "1100"), base.path(),
                            {.environment = {"VOREK_TEST_PAUSE=" + fifo.string(),
                                             std::string("VOREK_TEST_PAUSE_AT=") + moment}});
        ASSERT_EQ(momentReached(fifo), std::string(moment) + "\n");
        for (const int signal : {SIGTERM, SIGINT, SIGINT, SIGHUP, SIGQUIT, SIGPIPE}) ::kill(tool.pid(), signal);
        release(fifo);
        const ProgramRun run = tool.wait();
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.ends_with("vorek-cli: ask: interrupted; the files were put back\n")) << run.err;
        EXPECT_EQ(folderState(base.path()), before);
        EXPECT_EQ(identityOf(base / "F"), found);
        EXPECT_EQ(running(), std::vector<pid_t>{});
    }
}

// While the program runs, repeated requests to end and Ctrl-\ end the
// program and put the files back, as one Ctrl-C does.
TEST_F(InterruptedAsk, RepeatedSignalsWhileTheProgramRunsEndItAndPutTheFilesBack) {
    for (const char* signals : {"INT $PPID; kill -INT", "QUIT $PPID; kill -TERM $PPID; kill -HUP"}) {
        SCOPED_TRACE(signals);
        const FolderState before = folderState(base.path());
        const FolderIdentity found = identityOf(base / "F");
        const ProgramRun run = ask(program("ai", std::string("printf LATE > plocha.dat\n"
                                                             "sleep 30 & echo $! >> PIDS\n"
                                                             "kill -") + signals + " $PPID; sleep 30"),
                                   "9900");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.ends_with("vorek-cli: ask: interrupted; the program was ended\n")) << run.err;
        EXPECT_EQ(running(), std::vector<pid_t>{});
        EXPECT_EQ(folderState(base.path()), before);
        EXPECT_EQ(identityOf(base / "F"), found);
    }
}

// A well-behaved program answers and changes nothing else: the files found
// are left the very same files, their second link and old time included.
TEST_F(InterruptedAsk, AWellBehavedProgramLeavesTheFilesFoundAsTheyWere) {
    if (::geteuid() == 0) ::chown((base / "F" / "plocha.dat").c_str(), 65534, 65534);
    const FolderState before = folderState(base.path());
    const FolderIdentity found = identityOf(base / "F");
    const ProgramRun run = ask(program("ai", "cmp -s plocha.dat ../linked && printf 9,9 > tah.dat"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "9,9\n");
    EXPECT_EQ(folderState(base.path()), before);
    EXPECT_EQ(identityOf(base / "F"), found);
}

// The tool killed outright: the program and what it started die with it,
// and the files found wait, the very same files, under "NAME.saved".
TEST_F(InterruptedAsk, KilledOutrightTheProgramDiesWithItAndTheFilesFoundWaitAside) {
    const FolderIdentity found = identityOf(base / "F");
    const std::string plocha = base.read("F/plocha.dat");
    const ProgramRun run = ask(program("ai", "( trap '' TERM; sleep 1; printf LATE > tah.dat ) & echo $! >> PIDS\n"
                                             "setsid sh -c 'echo $$ >> PIDS; sleep 1; printf LATE > plocha.dat' &\n"
                                             "sleep 0.2; kill -KILL $PPID; sleep 30"));
    EXPECT_EQ(run.exitCode, 128 + SIGKILL);
    EXPECT_EQ(runningAfterAWhile(), std::vector<pid_t>{});
    const FolderIdentity now = identityOf(base / "F");
    ASSERT_TRUE(now.contains("plocha.dat.saved") && now.contains("tah.dat.saved")) << base.listing();
    EXPECT_EQ(now.at("plocha.dat.saved"), found.at("plocha.dat"));
    EXPECT_EQ(now.at("tah.dat.saved"), found.at("tah.dat"));
    EXPECT_EQ(base.read("F/plocha.dat.saved"), plocha);
    EXPECT_NE(base.read("F/tah.dat"), "LATE");
}

// A log nobody reads any more ends the log, nothing else.
TEST_F(InterruptedAsk, ClosedLogPipeStopsOnlyTheLog) {
    const FolderState before = folderState(base.path());
    const FolderIdentity found = identityOf(base / "F");
    const ProgramRun run = ask(program("ai", "( sleep 30 ) & echo $! >> PIDS\nprintf 9,9 > tah.dat"), "1100",
                               {.stderrClosed = true});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "9,9\n");
    EXPECT_EQ(running(), std::vector<pid_t>{});
    EXPECT_EQ(folderState(base.path()), before);
    EXPECT_EQ(identityOf(base / "F"), found);
}

// A SIGCHLD ignored by whoever started the tool does not hide how the
// program ended.
TEST_F(InterruptedAsk, InheritedIgnoredSigchldStillGivesTheExitStatus) {
    const ProgramRun run = ask(program("ai", "printf 9,9 > tah.dat"), "1100", {.sigchldIgnored = true});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "9,9\n");
    EXPECT_NE(run.err.find(" ms the program exited with code 0\n"), std::string::npos) << run.err;
}

// The same for an engine kept running by analyse: its exit is told, not
// taken for output that merely closed.
TEST_F(InterruptedAsk, InheritedIgnoredSigchldStillGivesTheEnginesExitStatus) {
    const std::string engine = program("engine", "read line; echo OK; read line; exit 3");
    const ProgramRun run = runProgram(CLI_PROGRAM, {"analyse", "--dir", "F", "--ms", "500", "--engine", engine},
                                      base.path(), {.sigchldIgnored = true});
    EXPECT_NE(run.err.find("the engine exited with code 3\n"), std::string::npos) << run.err;
    EXPECT_EQ(running(), std::vector<pid_t>{});
}

// A program that makes the put-back impossible (the folder read-only, every
// "NAME.saved" name taken) makes the ask fail with each file named and where
// its bytes are: the very file found, or a copy in the runtime folder.
TEST_F(InterruptedAsk, FailedPutBackNamesEachFileAndWhereItsBytesAre) {
    if (!unprivilegedCanRun(CLI_PROGRAM)) GTEST_SKIP() << "user 65534 cannot reach " << CLI_PROGRAM;
    const TempDir runtime;
    for (const fs::path& dir : {base.path(), tools.path(), runtime.path()}) {
        fs::permissions(dir, fs::perms::all);
        ::chown(dir.c_str(), 65534, 65534);
    }
    base.write("F/timeouts.dat.saved", "");
    for (int n = 1; n < 100; ++n) base.write("F/timeouts.dat.saved." + std::to_string(n), "");
    for (const auto& entry : fs::recursive_directory_iterator(base.path()))
        ::lchown(entry.path().c_str(), 65534, 65534);
    const FolderIdentity found = identityOf(base / "F");
    const ProgramRun run = ask(program("ai", "printf 9,9 > tah.dat; rm timeouts.dat; chmod 555 ."), "1100",
                               {.unprivileged = true, .environment = {"XDG_RUNTIME_DIR=" + runtime.path().string()}});
    fs::permissions(base / "F", fs::perms::owner_all);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    const std::string copy = runtime.listing();
    ASSERT_TRUE(copy.starts_with("vorek-saved-timeouts.dat-")) << copy;
    EXPECT_EQ(runtime.read(copy.substr(0, copy.size() - 1)), "7\r\n");
    const std::string notBack =
        "vorek-cli: ask: could not put back \"F/plocha.dat\": Permission denied; the bytes found are in "
        "\"F/plocha.dat.saved\"\n"
        "vorek-cli: ask: could not put back \"F/tah.dat\": Permission denied; the bytes found are in \"F/tah.dat.saved\"\n"
        "vorek-cli: ask: could not put back \"F/timeouts.dat\": Permission denied; the bytes found are in \"" +
        (runtime / copy.substr(0, copy.size() - 1)).string() +
        "\"\n"
        "vorek-cli: ask: the files found could not all be put back\n";
    EXPECT_TRUE(run.err.ends_with(notBack)) << run.err;
    const FolderIdentity now = identityOf(base / "F");
    EXPECT_EQ(now.at("plocha.dat.saved"), found.at("plocha.dat"));
    EXPECT_EQ(now.at("tah.dat.saved"), found.at("tah.dat"));
    EXPECT_EQ(running(), std::vector<pid_t>{});
}

}  // namespace
}  // namespace vorek::testing
