// A cgroup of an asked program's own, where the system lets this process
// make one: every process the program starts stays in it, whatever process
// group or session it moves to, so that all of them can be found and ended
// at once.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace vorek {

class ProcessCgroup {
public:
    // A new, empty cgroup under the one this process is in, in the cgroup v2
    // hierarchy; null where there is none or this process may not make one
    // there (or move a child into it).
    static std::unique_ptr<ProcessCgroup> make();

    // Ends whatever still runs in it (kill) and removes it.
    ~ProcessCgroup();
    ProcessCgroup(const ProcessCgroup&) = delete;
    ProcessCgroup& operator=(const ProcessCgroup&) = delete;

    // Its "cgroup.procs", open for writing: a child process that writes "0"
    // into it moves itself in (ChildSetup::cgroupProcs).
    int procsDescriptor() const { return procs_; }

    // Its "cgroup.kill", open for writing: "1" written into it kills every
    // process in it; -1 where the system has none.
    int killDescriptor() const { return killer_; }

    // The processes in it now.
    std::vector<pid_t> members() const;

    // True while a process that has not ended is in it.
    bool populated() const;

    // SIGKILL to every process in it, and to every one they start meanwhile
    // (its "cgroup.kill"; where the system has none, to each member again
    // until none is left or a few rounds have passed).
    void kill() const;

private:
    ProcessCgroup(int parent, std::string name, int folder, int procs, int killer)
        : parent_(parent), name_(std::move(name)), folder_(folder), procs_(procs), killer_(killer) {}

    int parent_;        // the cgroup it was made in
    std::string name_;  // its name there
    int folder_;        // the cgroup itself
    int procs_;         // its cgroup.procs, for writing
    int killer_;        // its cgroup.kill, for writing; -1 where the system has none
};

}  // namespace vorek
