// Running an operation of the engine, or one of the built programs, in a
// child process under limits: as an unprivileged user, with a cap on address
// space or on file size, and killed when it takes too long. The limits show
// what a fault does without the test process itself suffering it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

#include "tests/temp_dir.h"

namespace vorek::testing {

// The address sanitizer reserves terabytes of address space at start, so an
// address-space cap would stop it rather than the code under test.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool ADDRESS_SPACE_CAPS_WORK = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool ADDRESS_SPACE_CAPS_WORK = false;
#else
inline constexpr bool ADDRESS_SPACE_CAPS_WORK = true;
#endif
#else
inline constexpr bool ADDRESS_SPACE_CAPS_WORK = true;
#endif

struct ChildLimits {
    // Run as user and group 65534 ("nobody"); a test that is not root already
    // runs unprivileged and keeps its own user.
    bool unprivileged = false;
    // RLIMIT_AS: the address space the child holds when it starts plus this
    // many bytes; 0 for no cap. Not applied where caps do not work (see above).
    std::size_t extraAddressSpace = 0;
    // RLIMIT_DATA in bytes, for a program the child runs: its heap and other
    // private writable memory, but not the shared libraries it maps (a tool
    // linked with Qt maps more address space than any cap on that would
    // allow); 0 for no cap. Not applied where caps do not work.
    std::size_t dataSize = 0;
    // RLIMIT_FSIZE in bytes, with SIGXFSZ ignored so that writes fail instead;
    // 0 for no cap.
    std::size_t fileSize = 0;
    // The child is killed by SIGALRM after this long: a hang fails the test
    // instead of stalling it.
    unsigned seconds = 60;
    // Variables added to the child's environment, each "NAME=VALUE".
    std::vector<std::string> environment = {};
    // A program's stderr is a pipe that nobody reads: every write to it fails.
    bool stderrClosed = false;
    // SIGCHLD ignored, as a program inherits it from whoever starts it.
    bool sigchldIgnored = false;
};

struct ChildResult {
    int exitCode = -1;   // 128 + the signal number when the child was killed
    std::string report;  // what the operation returned; empty when all went as expected
    long addedKb = 0;    // how far the operation raised the child's peak resident memory
};

// Runs the operation in a forked child under the limits and returns what it
// said. The operation returns a description of what went wrong, or nothing.
ChildResult runInChild(const ChildLimits& limits, const std::function<std::string()>& operation);

struct ProgramRun {
    int exitCode = -1;  // 128 + the signal number when the program was killed
    std::string out;
    std::string err;
};

// Runs the program with the arguments in the folder cwd under the limits,
// stdin on /dev/null, and keeps what it printed.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::filesystem::path& cwd, const ChildLimits& limits);

// A program started as runProgram starts it, without waiting for it: the
// test signals it meanwhile, then waits for its end.
class StartedProgram {
public:
    StartedProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& cwd, const ChildLimits& limits);
    // Kills it if it was not waited for.
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    pid_t pid() const { return pid_; }
    // Waits for its end; what it printed.
    ProgramRun wait();

private:
    std::unique_ptr<TempDir> capture_;
    int out_;
    int err_;
    pid_t pid_;
};

// True when the unprivileged user can run the program (a build inside a
// private home folder cannot be reached by it).
bool unprivilegedCanRun(const std::string& program);

// Makes the folder and its files readable by everyone and writable by nobody
// but root, or, with writableFiles, leaves the files writable by everyone.
void makeReadOnly(const std::filesystem::path& folder, bool writableFiles = false);

}  // namespace vorek::testing
