#include "cli/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace vorek::cli {

ProgressLine::ProgressLine() : terminal_(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
    if (!terminal_ || width_ == 0) return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(width_), "");
    std::fflush(stderr);
}

void ProgressLine::show(const std::string& text) {
    if (!terminal_) return;
    // Blanks cover what a longer earlier text left.
    const int padding = width_ > text.size() ? static_cast<int>(width_ - text.size()) : 0;
    std::fprintf(stderr, "\r%s%*s", text.c_str(), padding, "");
    std::fflush(stderr);
    width_ = text.size() + static_cast<std::size_t>(padding);
}

}  // namespace vorek::cli
