#include "opponent/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <system_error>
#include <thread>
#include <utility>

namespace vorek {

namespace {

// ---- Word splitting ---------------------------------------------------------

constexpr std::size_t NO_END = std::string_view::npos;

constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Inside double quotes a backslash escapes only these; before any other
// character it stands for itself.
constexpr bool escapedInDoubleQuotes(char c) {
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

// Appends the single-quoted text starting at i (after the opening quote);
// returns the index after the closing quote, or NO_END when there is none.
std::size_t readSingleQuoted(std::string_view text, std::size_t i, std::string& word) {
    const std::size_t close = text.find('\'', i);
    if (close == NO_END) return NO_END;
    word.append(text.substr(i, close - i));
    return close + 1;
}

// The same for double-quoted text; an escaped newline is removed.
std::size_t readDoubleQuoted(std::string_view text, std::size_t i, std::string& word) {
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') return i + 1;
        if (c == '\\' && i + 1 < text.size() && escapedInDoubleQuotes(text[i + 1])) {
            c = text[++i];
            if (c == '\n') continue;
        }
        word += c;
    }
    return NO_END;
}

// ---- Starting the program ---------------------------------------------------

// The file actions and attributes of a hidden start: the standard streams on
// /dev/null, no other descriptor inherited, default signal dispositions and
// an empty signal mask (the window may ignore SIGPIPE or block signals).
class SpawnSettings {
public:
    SpawnSettings() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attributes_);
    }
    ~SpawnSettings() {
        ::posix_spawnattr_destroy(&attributes_);
        ::posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    // 0, or the error number of the first setting that failed. A non-empty
    // folder becomes the program's working directory.
    int prepare(const std::filesystem::path& folder) {
        sigset_t all;
        sigset_t none;
        ::sigfillset(&all);
        ::sigemptyset(&none);
        int error = ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
        if (!error) error = ::posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0);
        if (!error) error = ::posix_spawn_file_actions_adddup2(&actions_, 1, 2);
        if (!error) error = ::posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
        if (!error && !folder.empty()) error = ::posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str());
        if (!error) error = ::posix_spawnattr_setsigdefault(&attributes_, &all);
        if (!error) error = ::posix_spawnattr_setsigmask(&attributes_, &none);
        if (!error)
            error = ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        return error;
    }

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// Starts the program named by the first word, searched on PATH as execvp does,
// in the folder (empty: this program's working directory) with this program's
// environment. Exec failures (not found, not executable, no such folder) come
// back as the spawn's error.
std::optional<pid_t> startProgram(const std::vector<std::string>& words, const std::filesystem::path& folder) {
    SpawnSettings settings;
    if (settings.prepare(folder) != 0) return std::nullopt;
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], settings.actions(), settings.attributes(), argv.data(), environ) != 0)
        return std::nullopt;
    return pid;
}

// ---- Waiting ----------------------------------------------------------------

using Clock = std::chrono::steady_clock;

int resultOfStatus(int status) {
    if (!WIFEXITED(status)) return RUN_FAILED;  // ended by a signal
    switch (WEXITSTATUS(status)) {
        case 0: return RUN_OK;
        case 255: return RUN_NOT_STARTED;
        default: return RUN_FAILED;
    }
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

// Sleeps until the child behind the pidfd ends, the deadline passes, or poll
// fails.
void sleepUntilEnd(int pidfd, Clock::time_point deadline) {
    pollfd entry{pidfd, POLLIN, 0};
    int ready;
    do {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        ready = ::poll(&entry, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    } while (ready < 0 && errno == EINTR);
}

// Collects the child if it has ended, looking again every few milliseconds
// until the deadline; RUN_TIMEOUT (not collected) when it is still running
// then. A status that is gone (children reaped by the system because SIGCHLD
// is ignored) tells nothing of how it ended: RUN_FAILED.
int collectBy(pid_t pid, Clock::time_point deadline) {
    constexpr auto STEP = std::chrono::milliseconds(10);
    for (;;) {
        int status = 0;
        const pid_t reaped = ::waitpid(pid, &status, WNOHANG);
        if (reaped == pid) return resultOfStatus(status);
        if (reaped < 0 && errno != EINTR) return RUN_FAILED;
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return RUN_TIMEOUT;
        std::this_thread::sleep_for(std::min<Clock::duration>(STEP, deadline - now));
    }
}

// Waits for the child until the deadline. With a pidfd the wait sleeps until
// the child ends; without one (older kernels) the child is looked at every
// few milliseconds.
int waitUntil(pid_t pid, Clock::time_point deadline) {
    const int pidfd = openPidfd(pid);
    if (pidfd >= 0) {
        sleepUntilEnd(pidfd, deadline);
        ::close(pidfd);
    }
    return collectBy(pid, deadline);
}

// Leaves the child running and collects it whenever it ends, so that it does
// not stay behind as a zombie. Only this pid is waited for.
void reapWhenEnded(pid_t pid) {
    try {
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until this program ends.
    }
}

}  // namespace

std::optional<std::vector<std::string>> splitCommandLine(std::string_view text) {
    if (text.find('\0') != NO_END) return std::nullopt;
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a quote starts a word even when nothing follows
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '\n') {
            i += 2;  // a line continuation joins the two lines
            continue;
        }
        if (isBlank(c)) {
            if (inWord) words.push_back(std::exchange(word, {}));
            inWord = false;
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            i = readSingleQuoted(text, i + 1, word);
        } else if (c == '"') {
            i = readDoubleQuoted(text, i + 1, word);
        } else if (c == '\\') {
            if (i + 1 == text.size()) return std::nullopt;
            word += text[i + 1];
            i += 2;
        } else {
            word += c;
            ++i;
        }
        if (i == NO_END) return std::nullopt;
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

int RunOpponent(std::string_view commandLine, int milliseconds, const std::filesystem::path& folder) {
    try {
        const std::optional<std::vector<std::string>> words = splitCommandLine(commandLine);
        if (!words || words->empty()) return RUN_NOT_STARTED;
        const std::optional<pid_t> pid = startProgram(*words, folder);
        if (!pid) return RUN_NOT_STARTED;
        const auto limit = std::chrono::milliseconds(std::max(milliseconds, 0));
        const int result = waitUntil(*pid, Clock::now() + limit);
        if (result == RUN_TIMEOUT) reapWhenEnded(*pid);
        return result;
    } catch (const std::exception&) {
        return RUN_FAILED;  // no memory to prepare the start
    }
}

}  // namespace vorek
