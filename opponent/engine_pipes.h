// An engine that speaks the stdin/stdout protocol, running with its stdin and
// stdout on pipes: lines written to it, lines read from it by a deadline, and
// its end.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "opponent/child_process.h"
#include "opponent/line_splitter.h"
#include "opponent/process_cgroup.h"
#include "opponent/process_group.h"
#include "opponent/process_warden.h"

namespace vorek {

class EnginePipes {
public:
    // Time an engine is given to exit after its pipes are closed.
    static constexpr std::chrono::seconds EXIT_GRACE{1};

    // Starts the engine as startProgram does, in a process group of its own
    // and a cgroup of its own where the system allows one. A stop makes every
    // wait of send and readLine end at once as if late. Null when it cannot
    // be started.
    static std::unique_ptr<EnginePipes> start(const std::vector<std::string>& words,
                                              const std::filesystem::path& folder, const StopFlag* stop = nullptr);

    // Ends the engine as end() does, unless end() was called.
    ~EnginePipes();
    EnginePipes(const EnginePipes&) = delete;
    EnginePipes& operator=(const EnginePipes&) = delete;

    enum class Write {
        Done,    // the whole line is in the pipe
        Closed,  // the engine has closed its input, or ended
        Late,    // the engine has not taken the line by the deadline
    };

    // Writes the line and CR LF. Never raises SIGPIPE.
    Write send(std::string_view line, ChildClock::time_point deadline);

    enum class Read {
        Line,    // a line came
        Closed,  // the engine closed its output (or ended) before a line
        Late,    // no whole line by the deadline
    };

    // The next non-empty line the engine writes, without its line end (see
    // LineSplitter); at the end of its output also a last line without one.
    Read readLine(std::string& line, ChildClock::time_point deadline);

    // Closes both pipes and returns at once. On a thread of its own the engine
    // is given EXIT_GRACE to exit (unless the ask was stopped); then its
    // processes are ended, whether or not the engine has exited
    // (endProcessGroup: SIGTERM to whatever still runs, SIGKILL after
    // ENDING_GRACE), and the engine is collected. The future is ready once it
    // is, and what the ending did is in `report` (when given) by then.
    std::future<void> end(std::shared_ptr<GroupEnd> report = nullptr);

    pid_t pid() const { return pid_; }

private:
    EnginePipes(pid_t pid, std::unique_ptr<ProcessCgroup> cgroup, int toEngine, int fromEngine,
                const StopFlag* stop);

    pid_t pid_;
    std::unique_ptr<ProcessCgroup> cgroup_;  // null where the system allows none
    std::unique_ptr<ProcessWarden> warden_;  // null when none could be started
    int toEngine_;
    int fromEngine_;
    const StopFlag* stop_;
    bool closed_ = false;  // the engine's output has ended
    bool ended_ = false;   // end() was called
    LineSplitter lines_;
};

}  // namespace vorek
