// A progress line on stderr for long work, redrawn in place; shown only when
// stderr is a terminal, so that logs and pipes get none of it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <thread>

namespace vorek::cli {

class ProgressLine {
public:
    // Shows nothing unless stderr is a terminal.
    ProgressLine();
    // Erases the line, leaving the cursor where the line began.
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Whether the line is shown at all: stderr is a terminal.
    bool shown() const { return terminal_; }
    // Replaces the line with the text (one line, no line end).
    void show(std::string_view text);

    // How often the line is worth rewriting.
    static constexpr std::chrono::milliseconds EVERY{200};

private:
    void write(std::string_view bytes) const;

    bool terminal_;
    std::size_t width_ = 0;  // characters of the line now shown
};

// Runs the work on a thread of its own while this one shows text() on a
// progress line every ProgressLine::EVERY, when stderr is a terminal;
// otherwise runs it here. The work's result. text() is called while the work
// runs, so it must read only what is safe to read meanwhile.
template <typename Work, typename Text>
auto runShowingProgress(Work work, Text text) {
    ProgressLine progress;
    if (!progress.shown()) return work();
    std::atomic<bool> done{false};
    decltype(work()) result;
    std::thread worker([&] {
        result = work();
        done.store(true, std::memory_order_release);
    });
    const auto tick = std::chrono::milliseconds(10);
    for (auto waited = tick; !done.load(std::memory_order_acquire); waited += tick) {
        std::this_thread::sleep_for(tick);
        if (waited >= ProgressLine::EVERY) {
            progress.show(text());
            waited = {};
        }
    }
    worker.join();
    return result;
}

// "[#####...............] position 5 of 20, 2.5 s": a bar of 20 steps filled
// for the positions done before this one, and the seconds since the start.
std::string positionProgressText(int position, int positions, double seconds);

}  // namespace vorek::cli
