#include "tests/faults/child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "tests/temp_dir.h"

namespace vorek::testing {

namespace {

namespace fs = std::filesystem;

constexpr uid_t NOBODY = 65534;
constexpr int SETUP_FAILED = 126;

int exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

std::size_t addressSpaceNow() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

long peakKb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// In the child: applies the limits; false when one cannot be set.
bool applyLimits(const ChildLimits& limits) {
    ::alarm(limits.seconds);
    if (limits.fileSize > 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{limits.fileSize, limits.fileSize};
        if (::setrlimit(RLIMIT_FSIZE, &cap) != 0) return false;
    }
    if (limits.extraAddressSpace > 0 && ADDRESS_SPACE_CAPS_WORK) {
        const rlim_t size = addressSpaceNow() + limits.extraAddressSpace;
        const rlimit cap{size, size};
        if (::setrlimit(RLIMIT_AS, &cap) != 0) return false;
    }
    if (limits.dataSize > 0 && ADDRESS_SPACE_CAPS_WORK) {
        const rlimit cap{limits.dataSize, limits.dataSize};
        if (::setrlimit(RLIMIT_DATA, &cap) != 0) return false;
    }
    if (limits.sigchldIgnored) ::signal(SIGCHLD, SIG_IGN);
    for (const std::string& variable : limits.environment) ::putenv(const_cast<char*>(variable.c_str()));
    if (limits.unprivileged && ::geteuid() == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(NOBODY) != 0 || ::setuid(NOBODY) != 0) return false;
    }
    return true;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

int openCapture(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) throw std::runtime_error("cannot make " + file.string());
    return fd;
}

}  // namespace

ChildResult runInChild(const ChildLimits& limits, const std::function<std::string()>& operation) {
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(channel[0]);
        if (!applyLimits(limits)) ::_exit(SETUP_FAILED);
        const long before = peakKb();
        std::string report;
        try {
            report = operation();
        } catch (const std::exception& e) {
            report = std::string("threw: ") + e.what();
        } catch (...) {
            report = "threw";
        }
        // The first line carries the memory the operation added.
        writeAll(channel[1], std::to_string(peakKb() - before) + "\n" + report);
        ::_exit(0);
    }
    ::close(channel[1]);
    const std::string said = readAll(channel[0]);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);

    ChildResult result;
    result.exitCode = exitCodeOf(status);
    const std::size_t lineEnd = said.find('\n');
    if (lineEnd != std::string::npos) {
        result.addedKb = std::stol(said.substr(0, lineEnd));
        result.report = said.substr(lineEnd + 1);
    }
    return result;
}

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const fs::path& cwd, const ChildLimits& limits) {
    StartedProgram started(program, arguments, cwd, limits);
    return started.wait();
}

StartedProgram::StartedProgram(const std::string& program, const std::vector<std::string>& arguments,
                               const fs::path& cwd, const ChildLimits& limits)
    : capture_(std::make_unique<TempDir>()),
      out_(openCapture(*capture_ / "out")),
      err_(openCapture(*capture_ / "err")) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        const int nothing = ::open("/dev/null", O_RDONLY);
        int unread[2] = {-1, -1};
        if (limits.stderrClosed && ::pipe(unread) == 0) ::close(unread[0]);
        const int err = limits.stderrClosed ? unread[1] : err_;
        if (nothing < 0 || err < 0 || ::dup2(nothing, STDIN_FILENO) < 0 || ::dup2(out_, STDOUT_FILENO) < 0 ||
            ::dup2(err, STDERR_FILENO) < 0 || ::chdir(cwd.c_str()) != 0 || !applyLimits(limits))
            ::_exit(SETUP_FAILED);
        ::execv(program.c_str(), argv.data());
        ::_exit(SETUP_FAILED);
    }
}

StartedProgram::~StartedProgram() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        wait();
    }
}

ProgramRun StartedProgram::wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    ::close(out_);
    ::close(err_);
    return ProgramRun{exitCodeOf(status), capture_->read("out"), capture_->read("err")};
}

bool unprivilegedCanRun(const std::string& program) {
    const ChildResult result = runInChild({.unprivileged = true}, [&] {
        return ::access(program.c_str(), X_OK) == 0 ? std::string() : std::string("no access");
    });
    return result.exitCode == 0 && result.report.empty();
}

void makeReadOnly(const fs::path& folder, bool writableFiles) {
    const auto files = static_cast<fs::perms>(writableFiles ? 0666 : 0444);
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) fs::permissions(entry.path(), files);
    fs::permissions(folder, static_cast<fs::perms>(0555));
}

}  // namespace vorek::testing
