// A line on stderr that shows how long work is going on, rewritten in place a
// few times a second, only when stderr is a terminal.
#pragma once

#include <chrono>
#include <string>

namespace vorek::cli {

class ProgressLine {
public:
    // Shows nothing at all unless stderr is a terminal.
    ProgressLine();
    // Clears the line.
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool shown() const { return terminal_; }
    // Replaces the line's text.
    void show(const std::string& text);

    // How often the line is worth rewriting.
    static constexpr std::chrono::milliseconds EVERY{200};

private:
    bool terminal_;
    std::size_t width_ = 0;  // characters on the line now
};

}  // namespace vorek::cli
