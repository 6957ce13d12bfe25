#include "opponent/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <thread>

namespace vorek {

namespace {

// What a started child reports on its pipe when it cannot run the program:
// the error number of the step that failed. The pipe closes unread at a
// successful exec.
[[noreturn]] void failChild(int report) {
    const int error = errno;
    (void)!::write(report, &error, sizeof error);
    ::_exit(127);
}

// The descriptor moved above the standard streams, so that the child's
// dup2 onto 0, 1 and 2 cannot overwrite it.
int aboveStandardStreams(int fd) {
    if (fd < 0 || fd > STDERR_FILENO) return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

// In the child: `source` (or /dev/null when it is -1) as descriptor `target`.
bool stream(int target, int source, int mode) {
    if (source >= 0) return ::dup2(source, target) == target;
    const int null = ::open("/dev/null", mode);
    if (null < 0) return false;
    if (null == target) return true;
    const bool moved = ::dup2(null, target) == target;
    ::close(null);
    return moved;
}

// In the child: every descriptor from 3 on closes at the exec.
void closeOthersAtExec() {
#ifdef SYS_close_range
    if (::syscall(SYS_close_range, 3U, ~0U, 4U /* CLOSE_RANGE_CLOEXEC */) == 0) return;
#endif
    const long most = std::min(::sysconf(_SC_OPEN_MAX), 65536L);
    for (int fd = 3; fd < most; ++fd) (void)::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

// The child's side of startProgram, between fork and exec: only calls that
// are safe in the child of a process with threads.
[[noreturn]] void runChild(const char* path, char* const* argv, const char* folder, const ChildSetup& setup,
                           pid_t parent, int report) {
    if (setup.cgroupProcs >= 0) (void)!::write(setup.cgroupProcs, "0\n", 2);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) (void)::sigaction(signal, &standard, nullptr);
    if (::setpgid(0, 0) != 0) failChild(report);
    if (setup.endsWithCaller && (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)) failChild(report);
    if (!stream(STDIN_FILENO, setup.input, O_RDONLY) || !stream(STDOUT_FILENO, setup.output, O_WRONLY) ||
        !stream(STDERR_FILENO, -1, O_WRONLY))
        failChild(report);
    if (folder != nullptr && ::chdir(folder) != 0) failChild(report);
    closeOthersAtExec();
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(path, argv, environ);
    failChild(report);
}

bool mayRun(const std::filesystem::path& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::faccessat(AT_FDCWD, file.c_str(), X_OK, AT_EACCESS) == 0;
}

// The folders a name without a slash is looked for in.
std::string searchPath() {
    if (const char* path = std::getenv("PATH")) return path;
    std::string standard(::confstr(_CS_PATH, nullptr, 0), '\0');
    if (standard.empty()) return "/bin:/usr/bin";
    ::confstr(_CS_PATH, standard.data(), standard.size());
    standard.pop_back();  // its NUL
    return standard;
}

}  // namespace

std::optional<std::string> programPath(const std::string& name) {
    if (name.empty()) return std::nullopt;
    if (name.find('/') != std::string::npos) return name;
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    const std::string path = searchPath();
    for (std::size_t begin = 0;;) {
        const std::size_t end = std::min(path.find(':', begin), path.size());
        const std::filesystem::path folder = path.substr(begin, end - begin);
        const std::filesystem::path file = (folder.is_absolute() ? folder : here / folder) / name;
        if ((folder.is_absolute() || !error) && mayRun(file)) return file.string();
        if (end == path.size()) return std::nullopt;
        begin = end + 1;
    }
}

int openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

SignalsHeld::SignalsHeld() {
    sigset_t all;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous_);
}

SignalsHeld::~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

void keepChildStatuses() {
    struct sigaction now {};
    if (::sigaction(SIGCHLD, nullptr, &now) != 0) return;
    const bool ignored = (now.sa_flags & SA_SIGINFO) == 0 && now.sa_handler == SIG_IGN;
    if (!ignored && (now.sa_flags & SA_NOCLDWAIT) == 0) return;
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    ::sigaction(SIGCHLD, &standard, nullptr);
}

bool hasEnded(pid_t pid) {
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return errno != EINTR;
    return info.si_pid == pid;
}

std::optional<pid_t> startProgram(const std::vector<std::string>& words, const std::filesystem::path& folder,
                                  const ChildSetup& setup) {
    if (words.empty()) return std::nullopt;
    // Every program's end is read from its exit status (and the warden's,
    // forked after it).
    keepChildStatuses();
    const std::optional<std::string> path = programPath(words.front());
    if (!path) {
        errno = ENOENT;
        return std::nullopt;
    }
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return std::nullopt;
    report[0] = aboveStandardStreams(report[0]);
    report[1] = aboveStandardStreams(report[1]);
    pid_t pid = -1;
    if (report[0] >= 0 && report[1] >= 0) {
        const SignalsHeld held;
        const pid_t parent = ::getpid();
        pid = ::fork();
        if (pid == 0) runChild(path->c_str(), argv.data(), folder.empty() ? nullptr : folder.c_str(), setup, parent,
                               report[1]);
    }
    if (report[1] >= 0) ::close(report[1]);
    int error = 0;
    ssize_t got = -1;
    if (pid > 0)
        while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
        }
    if (report[0] >= 0) ::close(report[0]);
    if (pid <= 0) return std::nullopt;
    if (got == 0) return pid;  // the exec closed the pipe
    collectChild(pid);
    errno = got == static_cast<ssize_t>(sizeof error) ? error : EIO;
    return std::nullopt;
}

std::optional<int> collectChild(pid_t pid) {
    int status = 0;
    pid_t reaped;
    while ((reaped = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    if (reaped != pid) return std::nullopt;
    return status;
}

bool readyBy(int fd, short events, ChildClock::time_point deadline, const StopFlag* stop) {
    pollfd entry{fd, events, 0};
    for (;;) {
        if (stopped(stop)) return false;
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - ChildClock::now());
        if (left.count() <= 0) return false;
        if (stop != nullptr) left = std::min(left, STOP_LOOK);
        const int ready = ::poll(&entry, 1, static_cast<int>(std::min<std::int64_t>(left.count(), INT32_MAX)));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return true;  // the read or write that follows fails
    }
}

// With a pidfd the wait sleeps until the child ends; without one (older
// kernels) the child is looked at every few milliseconds.
bool endsBy(pid_t pid, ChildClock::time_point deadline, const StopFlag* stop) {
    constexpr auto STEP = std::chrono::milliseconds(10);
    const int pidfd = openPidfd(pid);
    if (pidfd >= 0) {
        readyBy(pidfd, POLLIN, deadline, stop);  // the child behind a pidfd has ended when it reads
        ::close(pidfd);
    }
    for (;;) {
        if (hasEnded(pid)) return true;
        const ChildClock::time_point now = ChildClock::now();
        if (now >= deadline || stopped(stop)) return false;
        std::this_thread::sleep_for(std::min<ChildClock::duration>(STEP, deadline - now));
    }
}

}  // namespace vorek
