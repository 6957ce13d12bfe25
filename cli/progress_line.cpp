#include "cli/progress_line.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "files/write_all.h"

namespace vorek::cli {

namespace {

constexpr int BAR_STEPS = 20;
constexpr const char* FULL_BAR = "####################";
constexpr const char* EMPTY_BAR = "....................";

}  // namespace

ProgressLine::ProgressLine() : terminal_(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
    if (width_ == 0) return;
    std::string blank(width_ + 2, ' ');
    blank.front() = '\r';
    blank.back() = '\r';
    write(blank);
}

void ProgressLine::show(std::string_view text) {
    if (!terminal_) return;
    std::string line = "\r";
    line += text;
    // Blanks over what a longer line before left.
    if (text.size() < width_) line += std::string(width_ - text.size(), ' ');
    width_ = std::max(width_, text.size());
    write(line);
}

void ProgressLine::write(std::string_view bytes) const {
    (void)writeAll(STDERR_FILENO, bytes);  // a progress line is not worth failing for
}

std::string positionProgressText(int position, int positions, double seconds) {
    const int filled = positions > 0 ? (position - 1) * BAR_STEPS / positions : 0;
    char text[128];
    std::snprintf(text, sizeof text, "[%.*s%.*s] position %d of %d, %.1f s", filled, FULL_BAR,
                  BAR_STEPS - filled, EMPTY_BAR, position, positions, seconds);
    return text;
}

}  // namespace vorek::cli
