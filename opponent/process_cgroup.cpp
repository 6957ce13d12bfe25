#include "opponent/process_cgroup.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <thread>

namespace vorek {

namespace {

// Rounds of SIGKILL to the members where the system has no cgroup.kill.
constexpr int KILL_ROUNDS = 100;
constexpr std::chrono::milliseconds KILL_WAIT{2};

// A field of /proc/self/mountinfo, its octal escapes ("\040" for a space) undone.
std::string unescaped(const std::string& field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            text += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

// Where the cgroup v2 hierarchy is mounted, with the cgroup its root is.
struct Mount {
    std::string root;
    std::string point;
};

std::optional<Mount> unifiedMount() {
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        const std::size_t dash = line.find(" - ");
        if (dash == std::string::npos) continue;
        std::istringstream after(line.substr(dash + 3));
        std::string type;
        if (!(after >> type) || type != "cgroup2") continue;
        std::istringstream before(line.substr(0, dash));
        std::string id, parent, device, root, point;
        if (before >> id >> parent >> device >> root >> point) return Mount{unescaped(root), unescaped(point)};
    }
    return std::nullopt;
}

// This process's cgroup in that hierarchy: the "0::" line.
std::optional<std::string> ownCgroup() {
    std::ifstream groups("/proc/self/cgroup");
    for (std::string line; std::getline(groups, line);)
        if (line.starts_with("0::/")) return line.substr(3);
    return std::nullopt;
}

// The folder of this process's cgroup.
std::optional<std::string> ownCgroupFolder() {
    const std::optional<Mount> mount = unifiedMount();
    const std::optional<std::string> own = ownCgroup();
    if (!mount || !own) return std::nullopt;
    if (mount->root == "/") return mount->point + *own;
    if (*own != mount->root && !own->starts_with(mount->root + "/")) return std::nullopt;
    return mount->point + own->substr(mount->root.size());
}

constexpr std::string_view NAME_PREFIX = "vorek-ask-";

std::string newName() {
    static std::atomic<unsigned> counter{0};
    return std::string(NAME_PREFIX) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// The cgroups that asks of processes no longer running left in the folder
// (a process killed outright cannot remove its own; its warden has killed
// what ran in it): the empty ones are removed. One that something still runs
// in stays, for its owner may run in another pid namespace.
void removeLeftBehind(int parent) {
    const int listing = ::openat(parent, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing < 0 ? nullptr : ::fdopendir(listing);
    if (entries == nullptr) {
        if (listing >= 0) ::close(listing);
        return;
    }
    while (const dirent* found = ::readdir(entries)) {
        const std::string_view name = found->d_name;
        if (!name.starts_with(NAME_PREFIX)) continue;
        const pid_t owner = static_cast<pid_t>(std::atol(found->d_name + NAME_PREFIX.size()));
        if (owner <= 0 || ::kill(owner, 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(parent, found->d_name, AT_REMOVEDIR);
    }
    ::closedir(entries);
}

bool writeText(int fd, const char* text) {
    const std::size_t length = std::char_traits<char>::length(text);
    return fd >= 0 && ::write(fd, text, length) == static_cast<ssize_t>(length);
}

std::string readText(int folder, const char* name) {
    const int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return text;
}

}  // namespace

std::unique_ptr<ProcessCgroup> ProcessCgroup::make() {
#ifdef VOREK_TEST_HOOKS
    // The tests try the ways without a cgroup on machines that allow one too.
    if (std::getenv("VOREK_TEST_NO_CGROUP") != nullptr) return nullptr;
#endif
    const std::optional<std::string> own = ownCgroupFolder();
    if (!own) return nullptr;
    const int parent = ::open(own->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) return nullptr;
    removeLeftBehind(parent);
    const std::string name = newName();
    if (::mkdirat(parent, name.c_str(), 0755) != 0) {
        ::close(parent);
        return nullptr;
    }
    const int folder = ::openat(parent, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const int procs = folder < 0 ? -1 : ::openat(folder, "cgroup.procs", O_WRONLY | O_CLOEXEC);
    const int killer = folder < 0 ? -1 : ::openat(folder, "cgroup.kill", O_WRONLY | O_CLOEXEC);
    // Moving a process needs the right to write the cgroup.procs of this
    // process's own cgroup too.
    if (procs < 0 || ::faccessat(parent, "cgroup.procs", W_OK, AT_EACCESS) != 0) {
        for (const int fd : {killer, procs, folder})
            if (fd >= 0) ::close(fd);
        ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
        ::close(parent);
        return nullptr;
    }
    return std::unique_ptr<ProcessCgroup>(new ProcessCgroup(parent, name, folder, procs, killer));
}

ProcessCgroup::~ProcessCgroup() {
    if (populated()) kill();
    for (int round = 0; round < KILL_ROUNDS && populated(); ++round) std::this_thread::sleep_for(KILL_WAIT);
    for (const int fd : {killer_, procs_, folder_})
        if (fd >= 0) ::close(fd);
    ::unlinkat(parent_, name_.c_str(), AT_REMOVEDIR);
    ::close(parent_);
}

std::vector<pid_t> ProcessCgroup::members() const {
    std::vector<pid_t> pids;
    std::istringstream text(readText(folder_, "cgroup.procs"));
    for (pid_t pid = 0; text >> pid;) pids.push_back(pid);
    return pids;
}

bool ProcessCgroup::populated() const {
    const std::string events = readText(folder_, "cgroup.events");
    return events.find("populated 1") != std::string::npos;
}

void ProcessCgroup::kill() const {
    if (writeText(killer_, "1")) return;
    for (int round = 0; round < KILL_ROUNDS && populated(); ++round) {
        for (const pid_t pid : members()) ::kill(pid, SIGKILL);
        std::this_thread::sleep_for(KILL_WAIT);
    }
}

}  // namespace vorek
