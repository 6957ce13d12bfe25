#include "opponent/process_group.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "opponent/ask_log.h"
#include "opponent/child_process.h"
#include "opponent/process_cgroup.h"
#include "opponent/process_warden.h"

namespace vorek {

namespace {

// How often the processes are looked at while they are given time to end.
constexpr std::chrono::milliseconds LOOK_EVERY{10};
// How long SIGKILL is given before the processes are looked at again.
constexpr std::chrono::milliseconds KILL_LOOK{1};
// Processes named one by one in endingLines.
constexpr std::size_t MOST_NAMED = 12;

struct ProcessEntry {
    pid_t pid = 0;
    char state = 0;  // 'Z' for a zombie
    pid_t parent = 0;
    pid_t group = 0;
    unsigned long long start = 0;  // when it started: with the pid, which process it is
    std::string name;
};

bool running(const ProcessEntry& p) { return p.state != 'Z' && p.state != 'X'; }

// One line of /proc/PID/stat: "pid (name) state parent group ...". The name
// may hold anything, so the fields are read after its last ')'.
std::optional<ProcessEntry> readProcess(int procFolder, const char* pid) {
    char path[64];
    std::snprintf(path, sizeof path, "%s/stat", pid);
    const int fd = ::openat(procFolder, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    char text[1024];
    const ssize_t length = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (length <= 0) return std::nullopt;
    text[length] = '\0';
    const char* nameStart = std::strchr(text, '(');
    const char* nameEnd = std::strrchr(text, ')');
    if (nameStart == nullptr || nameEnd == nullptr || nameEnd < nameStart || nameEnd[1] != ' ' || nameEnd[2] == '\0')
        return std::nullopt;
    ProcessEntry entry;
    entry.pid = static_cast<pid_t>(std::atoi(text));
    entry.name.assign(nameStart + 1, nameEnd);
    entry.state = nameEnd[2];
    char* rest = nullptr;
    entry.parent = static_cast<pid_t>(std::strtol(nameEnd + 3, &rest, 10));
    entry.group = static_cast<pid_t>(std::strtol(rest, &rest, 10));
    // Fields 6 to 21, then the start time.
    for (int field = 6; field <= 21 && rest != nullptr; ++field) std::strtoll(rest, &rest, 10);
    entry.start = rest == nullptr ? 0 : std::strtoull(rest, nullptr, 10);
    return entry;
}

std::optional<ProcessEntry> readProcess(pid_t pid) {
    const int proc = ::open("/proc", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0) return std::nullopt;
    std::optional<ProcessEntry> entry = readProcess(proc, std::to_string(pid).c_str());
    ::close(proc);
    return entry;
}

// Every process this one can see, as /proc lists them now.
std::vector<ProcessEntry> allProcesses() {
    std::vector<ProcessEntry> processes;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return processes;
    while (const dirent* found = ::readdir(proc)) {
        if (found->d_name[0] < '1' || found->d_name[0] > '9') continue;
        if (std::optional<ProcessEntry> entry = readProcess(::dirfd(proc), found->d_name))
            processes.push_back(std::move(*entry));
    }
    ::closedir(proc);
    return processes;
}

// The running processes among them that descend from `ancestor` or that
// `belongs` takes; the ancestor itself is not among them.
template <typename Belongs>
std::vector<ProcessEntry> runningOf(pid_t ancestor, const Belongs& belongs) {
    std::vector<ProcessEntry> all = allProcesses();
    std::unordered_map<pid_t, pid_t> parents;
    for (const ProcessEntry& p : all) parents.emplace(p.pid, p.parent);
    const auto descends = [&](pid_t pid) {
        for (std::size_t step = 0; step <= parents.size(); ++step) {
            const auto up = parents.find(pid);
            if (up == parents.end() || up->second <= 1) return false;
            if (up->second == ancestor) return true;
            pid = up->second;
        }
        return false;
    };
    std::erase_if(all, [&](const ProcessEntry& p) {
        return p.pid == ancestor || !running(p) || !(belongs(p) || descends(p.pid));
    });
    return all;
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

// Signals the process when it is still the one found: its pidfd, opened
// first, holds it, and its start time says that it is the same.
void signalProcess(const ProcessEntry& process, int signal) {
    const int pidfd = openPidfd(process.pid);
    if (pidfd < 0 && errno != ENOSYS) return;  // gone
    const std::optional<ProcessEntry> now = readProcess(process.pid);
    if (now && now->start == process.start) {
#ifdef SYS_pidfd_send_signal
        if (pidfd >= 0) ::syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0);
#endif
        if (pidfd < 0) ::kill(process.pid, signal);
    }
    if (pidfd >= 0) ::close(pidfd);
}

// The processes signalled so far, each with the last signal it got.
class Signalled {
public:
    explicit Signalled(GroupEnd& end) : end_(end) {}

    // Signals each process, once with each signal.
    void send(const std::vector<ProcessEntry>& processes, int signal) {
        for (const ProcessEntry& p : processes) {
            const auto [at, added] = index_.try_emplace(key(p), end_.ended.size());
            if (added) end_.ended.push_back({p.pid, p.name, signal});
            EndedProcess& record = end_.ended[at->second];
            if (!added && record.signal == signal) continue;
            record.signal = signal;
            signalProcess(p, signal);
        }
        if (signal == SIGTERM && !processes.empty()) end_.terminated = true;
        if (signal == SIGKILL && !processes.empty()) end_.killed = true;
    }

    void survive(const std::vector<ProcessEntry>& processes) {
        for (const ProcessEntry& p : processes) {
            const auto at = index_.find(key(p));
            end_.survivors.push_back({p.pid, p.name, at == index_.end() ? 0 : end_.ended[at->second].signal});
        }
    }

private:
    static std::pair<pid_t, unsigned long long> key(const ProcessEntry& p) { return {p.pid, p.start}; }

    GroupEnd& end_;
    std::map<std::pair<pid_t, unsigned long long>, std::size_t> index_;
};

// SIGTERM to what `find` finds, again to what appears, until nothing is
// found or the grace has passed; then SIGKILL, with `killAll` first, until
// nothing is found or the bound has passed. Whatever is left survives.
template <typename Find, typename KillAll>
void endAll(GroupEnd& end, const Find& find, const KillAll& killAll) {
    Signalled signalled(end);
    std::vector<ProcessEntry> left = find();
    const ChildClock::time_point graceEnd = ChildClock::now() + ENDING_GRACE;
    while (!left.empty() && ChildClock::now() < graceEnd) {
        signalled.send(left, SIGTERM);
        std::this_thread::sleep_for(LOOK_EVERY);
        left = find();
    }
    const ChildClock::time_point bound = ChildClock::now() + KILL_BOUND;
    while (!left.empty() && ChildClock::now() < bound) {
        killAll();
        signalled.send(left, SIGKILL);
        std::this_thread::sleep_for(KILL_LOOK);
        left = find();
    }
    signalled.survive(left);
}

// Collects every child of this process that has ended; true when some
// child is left (running, or stopped).
bool collectEndedChildren() {
    for (;;) {
        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, WNOHANG);
        if (pid > 0) continue;
        if (pid < 0 && errno == EINTR) continue;
        return pid == 0;
    }
}

std::string signalName(int signal) {
    switch (signal) {
        case SIGTERM: return "SIGTERM";
        case SIGKILL: return "SIGKILL";
        default: return "signal " + std::to_string(signal);
    }
}

std::string processText(const EndedProcess& p) {
    return "process " + std::to_string(p.pid) + " (" + escapeForLog(p.name) + ")";
}

}  // namespace

std::vector<pid_t> runningInGroup(pid_t group) {
    std::vector<pid_t> pids;
    for (const ProcessEntry& p : allProcesses())
        if (p.group == group && running(p)) pids.push_back(p.pid);
    return pids;
}

GroupEnd endProcessGroup(pid_t leader, const ProcessCgroup* cgroup, ProcessWarden* warden) {
    GroupEnd end;
    const auto find = [&] {
        std::unordered_set<pid_t> inCgroup;
        if (cgroup != nullptr)
            for (const pid_t pid : cgroup->members()) inCgroup.insert(pid);
        std::vector<ProcessEntry> left =
            runningOf(leader, [&](const ProcessEntry& p) { return p.group == leader || inCgroup.contains(p.pid); });
        if (!hasEnded(leader))
            if (std::optional<ProcessEntry> self = readProcess(leader); self && running(*self))
                left.insert(left.begin(), *self);
        return left;
    };
    const auto killAll = [&] {
        if (cgroup != nullptr) cgroup->kill();
        ::kill(-leader, SIGKILL);
    };
    endAll(end, find, killAll);
    if (warden != nullptr) warden->release();
    end.leaderStatus = collectChild(leader);
    return end;
}

bool adoptOrphans() { return ::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0; }

GroupEnd endAdoptedProcesses() {
    GroupEnd end;
    const pid_t self = ::getpid();
    bool childrenLeft = collectEndedChildren();
    const auto find = [&] {
        childrenLeft = collectEndedChildren();
        return runningOf(self, [](const ProcessEntry&) { return false; });
    };
    endAll(end, find, [] {});
    // Children that were stopped or between their end and their collection.
    const ChildClock::time_point bound = ChildClock::now() + KILL_BOUND;
    while (childrenLeft && end.survivors.empty() && ChildClock::now() < bound) {
        std::this_thread::sleep_for(KILL_LOOK);
        childrenLeft = collectEndedChildren();
    }
    return end;
}

std::vector<std::string> endingLines(const GroupEnd& end) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < end.ended.size() && i < MOST_NAMED; ++i) {
        const EndedProcess& p = end.ended[i];
        lines.push_back((p.signal == SIGKILL ? "killed " : "ended ") + processText(p) + " with " +
                        signalName(p.signal));
    }
    if (end.ended.size() > MOST_NAMED)
        lines.push_back("and " + std::to_string(end.ended.size() - MOST_NAMED) + " more processes");
    for (const EndedProcess& p : end.survivors) lines.push_back(processText(p) + " still runs after SIGKILL");
    return lines;
}

}  // namespace vorek
