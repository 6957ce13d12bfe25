#include "tests/process_check.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vorek::testing {

namespace {

struct ProcessState {
    char state = 0;  // 0 when /proc does not list it
    pid_t group = 0;
};

// "pid (name) state parent group ..." from /proc/PID/stat; the name may hold
// anything, so the fields are read after its last ')'.
ProcessState stateOf(const std::filesystem::path& stat) {
    std::ifstream in(stat);
    std::string text;
    if (!std::getline(in, text)) return {};
    const std::size_t end = text.rfind(')');
    if (end == std::string::npos) return {};
    ProcessState process;
    pid_t parent = 0;
    std::istringstream fields(text.substr(end + 1));
    fields >> process.state >> parent >> process.group;
    return process;
}

bool runs(const ProcessState& process) { return process.state != 0 && process.state != 'Z' && process.state != 'X'; }

}  // namespace

bool isRunning(pid_t pid) { return runs(stateOf("/proc/" + std::to_string(pid) + "/stat")); }

std::vector<pid_t> runningOf(const std::string& pids) {
    std::vector<pid_t> running;
    std::istringstream in(pids);
    for (pid_t pid = 0; in >> pid;)
        if (isRunning(pid)) running.push_back(pid);
    return running;
}

std::vector<pid_t> runningInGroupOf(pid_t group) {
    std::vector<pid_t> running;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.front() < '1' || name.front() > '9') continue;
        const ProcessState process = stateOf(entry.path() / "stat");
        if (process.group == group && runs(process)) running.push_back(std::stoi(name));
    }
    return running;
}

}  // namespace vorek::testing
