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

// The children of the process, from the lists the system keeps for each of
// its threads: far quicker to read than all of /proc, so that a chain of
// processes that fork as their parents exit cannot stay ahead of it. Nullopt
// where the system keeps none.
std::optional<std::vector<pid_t>> childrenOf(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* threads = ::opendir(tasks.c_str());
    if (threads == nullptr) return std::vector<pid_t>{};  // it has gone
    std::vector<pid_t> children;
    bool listed = false;
    while (const dirent* thread = ::readdir(threads)) {
        if (thread->d_name[0] < '1' || thread->d_name[0] > '9') continue;
        const std::string list = tasks + "/" + thread->d_name + "/children";
        const int fd = ::open(list.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        listed = true;
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
        ::close(fd);
        for (char* at = text.data(); *at != '\0';) {
            char* after = nullptr;
            const long child = std::strtol(at, &after, 10);
            if (after == at) break;
            children.push_back(static_cast<pid_t>(child));
            at = after;
        }
    }
    ::closedir(threads);
    if (!listed && ::access("/proc/self/task", F_OK) == 0) {
        const std::string own = "/proc/self/task/" + std::to_string(::gettid()) + "/children";
        if (::access(own.c_str(), F_OK) != 0) return std::nullopt;
    }
    return children;
}

// One look at the processes of a program, running ones only, never
// `ancestor` itself.
class Look {
public:
    explicit Look(pid_t ancestor) : ancestor_(ancestor) {}

    // Takes the processes descended from `ancestor` or from one taken.
    void descendants() {
        if (!descendantsByLists()) descendantsByParents(all());
    }

    // Takes the children of this process that `belongs` takes.
    template <typename Belongs>
    void ownChildren(const Belongs& belongs) {
        for (const pid_t child : childrenOf(::getpid()).value_or(std::vector<pid_t>{}))
            if (std::optional<ProcessEntry> entry = readProcess(child); entry && belongs(*entry)) add(*entry);
    }

    // Takes the processes of all /proc that `belongs` takes.
    template <typename Belongs>
    void scan(const Belongs& belongs) {
        for (const ProcessEntry& p : all())
            if (belongs(p)) add(p);
    }

    // Takes the process, read now.
    void add(pid_t pid) {
        if (!seen_.contains(pid))
            if (std::optional<ProcessEntry> entry = readProcess(pid)) add(*entry);
    }

    std::vector<ProcessEntry> found() && { return std::move(found_); }

private:
    const std::vector<ProcessEntry>& all() {
        if (!scanned_) all_ = allProcesses();
        scanned_ = true;
        return all_;
    }

    void add(const ProcessEntry& p) {
        if (p.pid != ancestor_ && running(p) && seen_.insert(p.pid).second) found_.push_back(p);
    }

    // The roots are the ancestor and every process taken so far.
    std::vector<pid_t> roots() const {
        std::vector<pid_t> pids{ancestor_};
        for (const ProcessEntry& p : found_) pids.push_back(p.pid);
        return pids;
    }

    bool descendantsByLists() {
        std::vector<pid_t> next = roots();
        for (std::size_t i = 0; i < next.size(); ++i) {
            const std::optional<std::vector<pid_t>> children = childrenOf(next[i]);
            if (!children) return false;
            for (const pid_t child : *children) {
                add(child);
                next.push_back(child);
            }
        }
        return true;
    }

    void descendantsByParents(const std::vector<ProcessEntry>& all) {
        const std::vector<pid_t> from = roots();
        const std::unordered_set<pid_t> rootSet(from.begin(), from.end());
        std::unordered_map<pid_t, pid_t> parents;
        for (const ProcessEntry& p : all) parents.emplace(p.pid, p.parent);
        for (const ProcessEntry& p : all) {
            pid_t up = p.parent;
            for (std::size_t step = 0; up > 1 && !rootSet.contains(up) && step < parents.size(); ++step) {
                const auto parent = parents.find(up);
                up = parent == parents.end() ? 0 : parent->second;
            }
            if (rootSet.contains(up)) add(p);
        }
    }

    pid_t ancestor_;
    bool scanned_ = false;
    std::vector<ProcessEntry> all_;
    std::unordered_set<pid_t> seen_;
    std::vector<ProcessEntry> found_;
};

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
// found and nothing is `busy` or the grace has passed; then SIGKILL, with
// `killAll` first, until the same or the bound has passed. Whatever is
// left survives. `busy` says that something runs that `find` may not have
// seen (a process started between its looks).
template <typename Find, typename KillAll, typename Busy>
void endAll(GroupEnd& end, const Find& find, const KillAll& killAll, const Busy& busy) {
    Signalled signalled(end);
    std::vector<ProcessEntry> left = find();
    const ChildClock::time_point graceEnd = ChildClock::now() + ENDING_GRACE;
    while ((!left.empty() || busy()) && ChildClock::now() < graceEnd) {
        signalled.send(left, SIGTERM);
        std::this_thread::sleep_for(left.empty() ? KILL_LOOK : LOOK_EVERY);
        left = find();
    }
    const ChildClock::time_point bound = ChildClock::now() + KILL_BOUND;
    while ((!left.empty() || busy()) && ChildClock::now() < bound) {
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

GroupEnd endProcessGroup(pid_t leader, const ProcessCgroup* cgroup, ProcessWarden* warden) {
    GroupEnd end;
    // The group's members and the cgroup's, besides the leader's descendants;
    // the cgroup's read after the scan, so that none started meanwhile is
    // missed.
    const auto find = [&] {
        const auto inGroup = [&](const ProcessEntry& p) { return p.group == leader; };
        Look look(leader);
        look.scan(inGroup);
        // Quicker looks after the slow one: what this process adopted
        // meanwhile, the cgroup's, then everything descended from them all.
        look.ownChildren(inGroup);
        if (cgroup != nullptr)
            for (const pid_t pid : cgroup->members()) look.add(pid);
        look.descendants();
        std::vector<ProcessEntry> left = std::move(look).found();
        if (!hasEnded(leader))
            if (std::optional<ProcessEntry> self = readProcess(leader); self && running(*self))
                left.insert(left.begin(), *self);
        return left;
    };
    const auto killAll = [&] {
        if (cgroup != nullptr) cgroup->kill();
        ::kill(-leader, SIGKILL);
    };
    endAll(end, find, killAll, [&] { return cgroup != nullptr && cgroup->populated(); });
    // Whatever of the group no look caught, the group's id held by the
    // leader not yet collected: the system signals all of it at once.
    ::kill(-leader, SIGKILL);
    if (warden != nullptr) warden->release();
    end.leaderStatus = collectChild(leader);
    return end;
}

bool adoptOrphans() { return ::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0; }

GroupEnd endAdoptedProcesses() {
    GroupEnd end;
    const pid_t self = ::getpid();
    const auto find = [&] {
        Look look(self);
        look.descendants();
        return std::move(look).found();
    };
    // A child left after the ended ones are collected runs, seen or not.
    endAll(end, find, [] {}, collectEndedChildren);
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
