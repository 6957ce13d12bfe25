// A watch over an asked program's processes that outlives this process: should
// it die before it has ended them (SIGKILL, a crash), they die with it.
#pragma once

#include <sys/types.h>

#include <memory>

namespace vorek {

class ProcessCgroup;

class ProcessWarden {
public:
    // Starts a small process of its own session that waits on a socket only
    // this process holds; when the socket closes unannounced, it sends
    // SIGKILL to the process group of `leader`, the leader, and every process
    // of the cgroup when one is given, and exits. Start it once the leader
    // runs, and end it (the destructor) only after the leader's processes
    // have been ended and before the leader is collected. Null when it cannot
    // be started.
    static std::unique_ptr<ProcessWarden> watch(pid_t leader, const ProcessCgroup* cgroup);

    // Tells the warden that the processes have been ended, so that it exits
    // without a signal, and collects it. Once; the destructor does it when
    // it was not done.
    void release();
    ~ProcessWarden() { release(); }
    ProcessWarden(const ProcessWarden&) = delete;
    ProcessWarden& operator=(const ProcessWarden&) = delete;

private:
    ProcessWarden(pid_t pid, int socket) : pid_(pid), socket_(socket) {}

    pid_t pid_;
    int socket_;  // this process's end; -1 once released
};

}  // namespace vorek
