#include "opponent/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <thread>

namespace vorek {

namespace {

// The file actions and attributes of a hidden start: stdin and stdout as the
// setup says, stderr on /dev/null, no other descriptor inherited, default
// signal dispositions, an empty signal mask (the window may ignore SIGPIPE
// or block signals) and a process group of its own.
class SpawnSettings {
public:
    SpawnSettings() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attributes_);
    }
    ~SpawnSettings() {
        ::posix_spawnattr_destroy(&attributes_);
        ::posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    // 0, or the error number of the first setting that failed. A non-empty
    // folder becomes the program's working directory.
    int prepare(const std::filesystem::path& folder, const ChildSetup& setup) {
        sigset_t all;
        sigset_t none;
        ::sigfillset(&all);
        ::sigemptyset(&none);
        const short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP;
        int error = stream(0, setup.input, O_RDONLY);
        if (!error) error = stream(1, setup.output, O_WRONLY);
        if (!error) error = ::posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0);
        if (!error) error = ::posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
        if (!error && !folder.empty()) error = ::posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str());
        if (!error) error = ::posix_spawnattr_setsigdefault(&attributes_, &all);
        if (!error) error = ::posix_spawnattr_setsigmask(&attributes_, &none);
        if (!error) error = ::posix_spawnattr_setpgroup(&attributes_, 0);
        if (!error) error = ::posix_spawnattr_setflags(&attributes_, flags);
        return error;
    }

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    // The child's descriptor `target` from `source`, or /dev/null when source is -1.
    int stream(int target, int source, int mode) {
        if (source < 0) return ::posix_spawn_file_actions_addopen(&actions_, target, "/dev/null", mode, 0);
        return ::posix_spawn_file_actions_adddup2(&actions_, source, target);
    }

    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

int openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

}  // namespace

bool hasEnded(pid_t pid) {
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return errno != EINTR;
    return info.si_pid == pid;
}

std::optional<pid_t> startProgram(const std::vector<std::string>& words, const std::filesystem::path& folder,
                                  const ChildSetup& setup) {
    if (words.empty()) return std::nullopt;
    SpawnSettings settings;
    if (settings.prepare(folder, setup) != 0) return std::nullopt;
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], settings.actions(), settings.attributes(), argv.data(), environ) != 0)
        return std::nullopt;
    return pid;
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
