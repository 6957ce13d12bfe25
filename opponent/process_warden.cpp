#include "opponent/process_warden.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "opponent/child_process.h"
#include "opponent/process_cgroup.h"

namespace vorek {

namespace {

// What this process says to the warden once the processes are ended.
constexpr char ENDED = 'e';

// Closes the descriptors from `first` to `last`.
void closeRange(unsigned first, unsigned last) {
    if (first > last) return;
#ifdef SYS_close_range
    if (::syscall(SYS_close_range, first, last, 0U) == 0) return;
#endif
    const long most = std::min(::sysconf(_SC_OPEN_MAX), 65536L);
    for (long fd = first; fd <= static_cast<long>(last) && fd < most; ++fd) ::close(static_cast<int>(fd));
}

// In the warden: only the socket and the cgroup's kill file (-1: none) stay
// open; the standard streams go to /dev/null, so that no reader of this
// process's output waits for the warden.
void keepOnly(int socket, int cgroupKill) {
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        for (int stream = 0; stream <= 2; ++stream)
            if (null != stream) ::dup2(null, stream);
        if (null > 2 && null != socket && null != cgroupKill) ::close(null);
    }
    const unsigned low = static_cast<unsigned>(std::min(socket, cgroupKill < 0 ? socket : cgroupKill));
    const unsigned high = static_cast<unsigned>(std::max(socket, cgroupKill));
    closeRange(3, low - 1);
    closeRange(low + 1, high - 1);
    closeRange(high + 1, ~0U);
}

// The warden's whole life, between fork and _exit: calls that are safe in
// the child of a process with threads only. Every signal stays held back but
// SIGKILL, and its own session keeps it out of the terminal's and this
// process's group.
[[noreturn]] void wardenLife(int socket, pid_t leader, int cgroupKill) {
    ::setsid();
    keepOnly(socket, cgroupKill);
    char said = 0;
    ssize_t got;
    while ((got = ::read(socket, &said, 1)) < 0 && errno == EINTR) {
    }
    if (got != 1 || said != ENDED) {
        ::kill(-leader, SIGKILL);
        ::kill(leader, SIGKILL);
        if (cgroupKill >= 0) (void)!::write(cgroupKill, "1", 1);
    }
    ::_exit(0);
}

}  // namespace

std::unique_ptr<ProcessWarden> ProcessWarden::watch(pid_t leader, const ProcessCgroup* cgroup) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return nullptr;
    const int cgroupKill = cgroup != nullptr ? cgroup->killDescriptor() : -1;
    pid_t pid;
    {
        const SignalsHeld held;
        pid = ::fork();
        if (pid == 0) {
            ::close(ends[0]);
            wardenLife(ends[1], leader, cgroupKill);
        }
    }
    ::close(ends[1]);
    if (pid < 0) {
        ::close(ends[0]);
        return nullptr;
    }
    return std::unique_ptr<ProcessWarden>(new ProcessWarden(pid, ends[0]));
}

void ProcessWarden::release() {
    if (socket_ < 0) return;
    (void)::send(socket_, &ENDED, 1, MSG_NOSIGNAL);
    ::close(socket_);
    socket_ = -1;
    collectChild(pid_);
}

}  // namespace vorek
