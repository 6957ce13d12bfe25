// Ending an asked program together with everything it started: its process
// group, and in a process that adopts orphans, whatever left the group.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <vector>

namespace vorek {

// Time the processes of an ended ask have after SIGTERM before SIGKILL.
constexpr std::chrono::seconds ENDING_GRACE{1};

// The processes of the group that are still running: zombies, which have
// ended and wait to be collected, are left out. Read from /proc.
std::vector<pid_t> runningInGroup(pid_t group);

struct GroupEnd {
    // The leader's wait status; nullopt when it could not be collected
    // (reaped by the system because SIGCHLD is ignored).
    std::optional<int> leaderStatus;
    bool terminated = false;  // something still ran and got SIGTERM
    bool killed = false;      // something still ran after ENDING_GRACE and got SIGKILL
};

// Ends the process group of the child `leader`, which leads it, whether or
// not the leader has ended: while any of its processes runs, the group and
// the leader get SIGTERM, and after ENDING_GRACE whatever still runs gets
// SIGKILL; then the leader is collected. The leader must not have been
// collected before: while it is not, its id and its group's cannot be taken
// by another process. Returns at once when nothing of the group runs, and
// after at most about twice ENDING_GRACE otherwise.
GroupEnd endProcessGroup(pid_t leader);

// Makes this process the one that collects its orphaned descendants
// (PR_SET_CHILD_SUBREAPER) instead of the system's first process, so that a
// process that left its program's group on purpose (setsid) still ends as
// this process's child once its parents have gone. True when it does.
bool adoptOrphans();

// Ends every child process of this one with SIGTERM, ENDING_GRACE and
// SIGKILL (a child that leads a process group, with its group) and collects
// it; then again for the orphans adopted meanwhile, until none is left. Only
// for a process that has no child of its own left to wait for.
void endAdoptedProcesses();

}  // namespace vorek
