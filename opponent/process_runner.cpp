#include "opponent/process_runner.h"

#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>

#include <cstring>

#include "opponent/child_process.h"
#include "opponent/process_cgroup.h"
#include "opponent/process_group.h"
#include "opponent/process_warden.h"

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

// ---- Waiting ----------------------------------------------------------------

// The result and a description of how a program ended, from its wait status.
RunReport ended(const std::optional<int>& collected) {
    // A status that is gone tells nothing of how it ended.
    if (!collected) return {RUN_FAILED, "ended; its exit status is unknown", {}};
    const int status = *collected;
    if (WIFSIGNALED(status)) return {RUN_FAILED, "ended by signal " + std::to_string(WTERMSIG(status)), {}};
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return {code == 0 ? RUN_OK : RUN_FAILED, "exited with code " + std::to_string(code), {}};
}

// What ending the group did, for the log; empty when nothing of it ran.
std::string endingText(const GroupEnd& end) {
    if (!end.terminated) return {};
    std::string text = "; its process group got SIGTERM";
    if (end.killed) text += " and, " + std::to_string(ENDING_GRACE.count()) + " s later, SIGKILL";
    return text;
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

RunReport runOpponentProgram(std::string_view commandLine, int milliseconds, const std::filesystem::path& folder,
                             const StopFlag* stop) {
    std::optional<pid_t> pid;
    std::unique_ptr<ProcessCgroup> cgroup;
    try {
        const std::optional<std::vector<std::string>> words = splitCommandLine(commandLine);
        if (!words || words->empty()) return {RUN_NOT_STARTED, "could not be started: the command line names none", {}};
        cgroup = ProcessCgroup::make();
        // It runs only while this thread waits for it.
        const ChildSetup setup{.cgroupProcs = cgroup ? cgroup->procsDescriptor() : -1, .endsWithCaller = true};
        pid = startProgram(*words, folder, setup);
    } catch (const std::exception&) {
        return {RUN_FAILED, "could not be started for want of memory", {}};
    }
    if (!pid) return {RUN_NOT_STARTED, std::string("could not be started: ") + std::strerror(errno), {}};
    std::unique_ptr<ProcessWarden> warden = ProcessWarden::watch(*pid, cgroup.get());
    const auto limit = std::chrono::milliseconds(std::max(milliseconds, 0));
    const bool exited = endsBy(*pid, ChildClock::now() + limit, stop);
    // Nothing the program started outlives the ask, so that nothing can
    // touch the folder once the ask is over.
    GroupEnd end = endProcessGroup(*pid, cgroup.get(), warden.get());
    RunReport report;
    if (exited) {
        report = ended(end.leaderStatus);
    } else if (stopped(stop)) {
        report = {RUN_FAILED, "was stopped: the ask was interrupted", {}};
    } else {
        report = {RUN_TIMEOUT, "is still running after " + std::to_string(limit.count()) + " ms", {}};
    }
    report.how += endingText(end);
    report.end = std::move(end);
    return report;
}

RunResult RunOpponent(std::string_view commandLine, int milliseconds, const std::filesystem::path& folder) {
    return runOpponentProgram(commandLine, milliseconds, folder).result;
}

}  // namespace vorek
