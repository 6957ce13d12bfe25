// Ending an asked program together with everything it started: its process
// group, the processes descended from it, its cgroup where it has one, and
// in a process that adopts orphans, whatever left them all.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vorek {

class ProcessCgroup;
class ProcessWarden;

// Time the processes of an ended ask have after SIGTERM before SIGKILL.
constexpr std::chrono::seconds ENDING_GRACE{1};
// Time whatever still runs after SIGKILL is given to end, at most, before it
// is left as a survivor (one in an uninterruptible wait on a device).
constexpr std::chrono::seconds KILL_BOUND{2};

// A process that ending a program had to signal.
struct EndedProcess {
    pid_t pid;
    std::string name;  // its command name as the system gives it: any bytes
    int signal;        // the last signal it got: SIGTERM, or SIGKILL
};

struct GroupEnd {
    // The leader's wait status; nullopt when it could not be collected
    // (reaped by the system because SIGCHLD is ignored), or there is no leader.
    std::optional<int> leaderStatus;
    bool terminated = false;  // something still ran and got SIGTERM
    bool killed = false;      // something still ran after ENDING_GRACE and got SIGKILL
    // Every process that still ran and was signalled, in the order found.
    std::vector<EndedProcess> ended;
    // Those of them that still ran at the bound.
    std::vector<EndedProcess> survivors;
};

// Ends the processes of the child `leader`, which leads a process group,
// whether or not the leader has ended: the leader, its group, every running
// process descended from it, and every process of the cgroup when one is
// given. While any of them runs, each gets SIGTERM; after ENDING_GRACE
// whatever still runs, and whatever they start meanwhile, gets SIGKILL, again
// until none is left or KILL_BOUND has passed; then the warden watching them,
// when one is given, is released, and the leader is collected.
// A process is signalled only while it is the one found (its pidfd), never
// one that took its id. The leader must not have been collected before:
// while it is not, its id and its group's cannot be taken by another
// process. Returns at once when nothing of it runs, and after at most
// ENDING_GRACE + KILL_BOUND otherwise.
GroupEnd endProcessGroup(pid_t leader, const ProcessCgroup* cgroup = nullptr, ProcessWarden* warden = nullptr);

// Makes this process the one that collects its orphaned descendants
// (PR_SET_CHILD_SUBREAPER) instead of the system's first process, so that a
// process that left its program's group on purpose (setsid) still ends as
// this process's child once its parents have gone. True when it does.
bool adoptOrphans();

// Ends every process descended from this one in the same way (SIGTERM,
// ENDING_GRACE, then SIGKILL) and collects each child, again and again for
// the orphans adopted meanwhile, however many rounds that takes, until none
// is left or ENDING_GRACE + KILL_BOUND has passed. Only for a process that
// has no child of its own left to wait for.
GroupEnd endAdoptedProcesses();

// What ending processes did, for a log or a message: a line for each
// process signalled, up to a dozen and then how many more, and one for each
// that survived; empty when nothing had to be signalled. Names are escaped
// as a log shows them.
std::vector<std::string> endingLines(const GroupEnd& end);

}  // namespace vorek
