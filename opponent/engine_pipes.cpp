#include "opponent/engine_pipes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>
#include <thread>

#include "opponent/process_group.h"

namespace vorek {

namespace {

void closeDescriptor(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// The descriptor moved above the standard streams, so that the child's
// dup2 onto 0 and 1 can never overwrite one pipe end with the other.
int aboveStandardStreams(int fd) {
    if (fd > STDERR_FILENO) return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

// A pipe with both ends close-on-exec, so that no other child inherits them.
bool makePipe(int ends[2]) {
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    ends[0] = aboveStandardStreams(ends[0]);
    ends[1] = aboveStandardStreams(ends[1]);
    if (ends[0] >= 0 && ends[1] >= 0) return true;
    closeDescriptor(ends[0]);
    closeDescriptor(ends[1]);
    return false;
}

void setNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

// While it lives, SIGPIPE is held back on this thread; one that a write to a
// closed pipe raises meanwhile is taken back before the mask is restored, so
// that it neither kills this program nor reaches a handler of the caller.
class SigpipeHeld {
public:
    SigpipeHeld() {
        ::sigemptyset(&pipe_);
        ::sigaddset(&pipe_, SIGPIPE);
        ::pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
        sigset_t pending;
        ::sigpending(&pending);
        pendingBefore_ = ::sigismember(&pending, SIGPIPE) == 1;
    }
    ~SigpipeHeld() {
        sigset_t pending;
        ::sigpending(&pending);
        if (!pendingBefore_ && ::sigismember(&pending, SIGPIPE) == 1) {
            const timespec none{};
            while (::sigtimedwait(&pipe_, nullptr, &none) < 0 && errno == EINTR) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t pipe_;
    sigset_t previous_;
    bool pendingBefore_ = false;
};

// The engine's pipes are closed: it gets the grace to exit (none when the
// ask was stopped), then its group is ended, whether or not it has exited,
// so that nothing it started outlives it.
GroupEnd finishEngine(pid_t pid, const ProcessCgroup* cgroup, ProcessWarden* warden,
                      std::chrono::milliseconds grace) {
    endsBy(pid, ChildClock::now() + grace);
    return endProcessGroup(pid, cgroup, warden);
}

}  // namespace

std::unique_ptr<EnginePipes> EnginePipes::start(const std::vector<std::string>& words,
                                                const std::filesystem::path& folder, const StopFlag* stop) {
    int input[2];   // the engine's stdin
    int output[2];  // the engine's stdout
    if (!makePipe(input)) return nullptr;
    if (!makePipe(output)) {
        closeDescriptor(input[0]);
        closeDescriptor(input[1]);
        return nullptr;
    }
    std::unique_ptr<ProcessCgroup> cgroup = ProcessCgroup::make();
    const std::optional<pid_t> pid =
        startProgram(words, folder, ChildSetup{.input = input[0], .output = output[1],
                                               .cgroupProcs = cgroup ? cgroup->procsDescriptor() : -1});
    closeDescriptor(input[0]);
    closeDescriptor(output[1]);
    if (!pid) {
        closeDescriptor(input[1]);
        closeDescriptor(output[0]);
        return nullptr;
    }
    setNonBlocking(input[1]);
    setNonBlocking(output[0]);
    return std::unique_ptr<EnginePipes>(new EnginePipes(*pid, std::move(cgroup), input[1], output[0], stop));
}

EnginePipes::EnginePipes(pid_t pid, std::unique_ptr<ProcessCgroup> cgroup, int toEngine, int fromEngine,
                         const StopFlag* stop)
    : pid_(pid),
      cgroup_(std::move(cgroup)),
      warden_(ProcessWarden::watch(pid, cgroup_.get())),
      toEngine_(toEngine),
      fromEngine_(fromEngine),
      stop_(stop) {}

EnginePipes::~EnginePipes() {
    if (!ended_) end();
}

EnginePipes::Write EnginePipes::send(std::string_view line, ChildClock::time_point deadline) {
    if (toEngine_ < 0) return Write::Closed;
    std::string bytes(line);
    bytes += "\r\n";
    const SigpipeHeld held;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const ssize_t written = ::write(toEngine_, rest.data(), rest.size());
        if (written > 0) {
            rest.remove_prefix(static_cast<std::size_t>(written));
        } else if (written < 0 && errno == EAGAIN) {
            if (!readyBy(toEngine_, POLLOUT, deadline, stop_)) return Write::Late;
        } else if (!(written < 0 && errno == EINTR)) {
            return Write::Closed;  // EPIPE: the engine no longer reads
        }
    }
    return Write::Done;
}

EnginePipes::Read EnginePipes::readLine(std::string& line, ChildClock::time_point deadline) {
    char buffer[65536];
    for (;;) {
        std::optional<std::string> next = lines_.next();
        if (!next && closed_) next = lines_.finish();
        if (next) {
            line = std::move(*next);
            return Read::Line;
        }
        if (closed_) return Read::Closed;
        if (!readyBy(fromEngine_, POLLIN, deadline, stop_)) return Read::Late;
        const ssize_t count = ::read(fromEngine_, buffer, sizeof buffer);
        if (count > 0) {
            lines_.feed(std::string_view(buffer, static_cast<std::size_t>(count)));
        } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
            closed_ = true;
        }
    }
}

std::future<void> EnginePipes::end(std::shared_ptr<GroupEnd> report) {
    ended_ = true;
    closeDescriptor(toEngine_);
    closeDescriptor(fromEngine_);
    auto gone = std::make_shared<std::promise<void>>();
    std::future<void> ended = gone->get_future();
    const pid_t pid = pid_;
    std::shared_ptr<ProcessCgroup> cgroup = std::move(cgroup_);
    std::shared_ptr<ProcessWarden> warden = std::move(warden_);
    const std::chrono::milliseconds grace = stopped(stop_) ? std::chrono::milliseconds(0) : EXIT_GRACE;
    // The cgroup goes before the future is ready, so that nothing of the
    // engine is left once it is.
    auto finish = [pid, cgroup, warden, gone, report](std::chrono::milliseconds exitGrace) mutable {
        GroupEnd end = finishEngine(pid, cgroup.get(), warden.get(), exitGrace);
        warden.reset();
        cgroup.reset();
        if (report) *report = std::move(end);
        gone->set_value();
    };
    try {
        std::thread(finish, grace).detach();
    } catch (const std::system_error&) {
        finish(std::chrono::milliseconds(0));  // no thread to spare: ended here, without its grace
    }
    return ended;
}

}  // namespace vorek
