#include "opponent/process_group.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "opponent/child_process.h"

namespace vorek {

namespace {

// How often the processes are looked at while they are given time to end.
constexpr std::chrono::milliseconds LOOK_EVERY{10};
// Rounds of ending adopted processes before the rest is left: a program
// that keeps starting new ones faster than they are killed.
constexpr int MOST_ROUNDS = 20;

struct ProcessEntry {
    pid_t pid;
    char state;  // 'Z' for a zombie
    pid_t parent;
    pid_t group;
};

// One line of /proc/PID/stat: "pid (name) state parent group ...". The name
// may hold anything, so the fields are read after its last ')'.
std::optional<ProcessEntry> readProcess(int procFolder, const char* pid) {
    char path[64];
    std::snprintf(path, sizeof path, "%s/stat", pid);
    const int fd = ::openat(procFolder, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    char text[512];
    const ssize_t length = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (length <= 0) return std::nullopt;
    text[length] = '\0';
    const char* nameEnd = std::strrchr(text, ')');
    if (nameEnd == nullptr || nameEnd[1] != ' ' || nameEnd[2] == '\0') return std::nullopt;
    ProcessEntry entry{static_cast<pid_t>(std::atoi(text)), nameEnd[2], 0, 0};
    char* rest = nullptr;
    entry.parent = static_cast<pid_t>(std::strtol(nameEnd + 3, &rest, 10));
    entry.group = static_cast<pid_t>(std::strtol(rest, nullptr, 10));
    return entry;
}

// Every process this one can see, as /proc lists them now.
std::vector<ProcessEntry> allProcesses() {
    std::vector<ProcessEntry> processes;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return processes;
    while (const dirent* found = ::readdir(proc)) {
        if (found->d_name[0] < '1' || found->d_name[0] > '9') continue;
        if (const std::optional<ProcessEntry> entry = readProcess(::dirfd(proc), found->d_name))
            processes.push_back(*entry);
    }
    ::closedir(proc);
    return processes;
}

std::vector<pid_t> childrenOf(pid_t parent) {
    std::vector<pid_t> children;
    for (const ProcessEntry& p : allProcesses())
        if (p.parent == parent) children.push_back(p.pid);
    return children;
}

// The leader itself too: it may have left its group.
void signalGroup(pid_t leader, int signal) {
    ::kill(-leader, signal);
    ::kill(leader, signal);
}

bool groupEnded(pid_t leader) { return hasEnded(leader) && runningInGroup(leader).empty(); }

bool groupEndsBy(pid_t leader, ChildClock::time_point deadline) {
    for (;;) {
        if (groupEnded(leader)) return true;
        if (ChildClock::now() >= deadline) return false;
        std::this_thread::sleep_for(LOOK_EVERY);
    }
}

bool allEnded(const std::vector<pid_t>& children) {
    return std::all_of(children.begin(), children.end(), hasEnded);
}

// A child that leads a process group, with its group; its id cannot be
// taken by another process while it is not collected.
void signalChild(pid_t child, int signal) {
    if (::getpgid(child) == child) ::kill(-child, signal);
    ::kill(child, signal);
}

}  // namespace

std::vector<pid_t> runningInGroup(pid_t group) {
    std::vector<pid_t> running;
    for (const ProcessEntry& p : allProcesses())
        if (p.group == group && p.state != 'Z' && p.state != 'X') running.push_back(p.pid);
    return running;
}

GroupEnd endProcessGroup(pid_t leader) {
    GroupEnd end;
    if (!groupEnded(leader)) {
        end.terminated = true;
        signalGroup(leader, SIGTERM);
        if (!groupEndsBy(leader, ChildClock::now() + ENDING_GRACE)) {
            end.killed = true;
            signalGroup(leader, SIGKILL);
            // SIGKILL cannot be held off; one in an uninterruptible wait
            // ends as soon as it wakes.
            groupEndsBy(leader, ChildClock::now() + ENDING_GRACE);
        }
    }
    end.leaderStatus = collectChild(leader);
    return end;
}

bool adoptOrphans() { return ::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0; }

void endAdoptedProcesses() {
    for (int round = 0; round < MOST_ROUNDS; ++round) {
        const std::vector<pid_t> children = childrenOf(::getpid());
        if (children.empty()) return;
        if (!allEnded(children)) {
            for (const pid_t child : children) signalChild(child, SIGTERM);
            const ChildClock::time_point deadline = ChildClock::now() + ENDING_GRACE;
            while (!allEnded(children) && ChildClock::now() < deadline) std::this_thread::sleep_for(LOOK_EVERY);
            for (const pid_t child : children)
                if (!hasEnded(child)) signalChild(child, SIGKILL);
        }
        for (const pid_t child : children) collectChild(child);
    }
}

}  // namespace vorek
