// The record of one ask: every line sent to the AI program and received from
// it, and what was done on its behalf, each with the time since the ask
// began. It is what an engine's author needs to see why an ask failed.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace vorek {

// Where the lines of an ask go. The ask calls it on its own thread, in order.
class AskLog {
public:
    virtual ~AskLog() = default;

    // One line: "> " and a line sent, "< " and a line received, or a plain
    // note (a file written, how the program ended, what was read).
    virtual void line(std::string_view text, std::chrono::milliseconds sinceStart) = 0;
};

// A line as a text log shows it: the milliseconds, "ms" and the line.
std::string formatLogLine(std::string_view text, std::chrono::milliseconds sinceStart);

// The text with every byte outside printable ASCII (below 0x20, 0x7F and
// above: control bytes, 8-bit control bytes such as 0x9B, UTF-8 and invalid
// bytes alike) written as \xHH, so that what a program sends cannot act on
// the terminal or page that shows it.
std::string escapeForLog(std::string_view text);

// Stamps the lines it is given with the time since it was made, escaped
// (escapeForLog).
class AskTimeline {
public:
    explicit AskTimeline(AskLog& log) : log_(log), start_(std::chrono::steady_clock::now()) {}

    void operator()(std::string_view text) const {
        log_.line(escapeForLog(text), std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - start_));
    }

private:
    AskLog& log_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace vorek
