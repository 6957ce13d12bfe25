#include "app/ask/log_page.h"

#include <QPlainTextEdit>

namespace vorek {

void LogPage::clear() { memo_.clear(); }

// The ask's thread only hands lines over; the window's thread alone touches
// the text box.
void LogPage::line(std::string_view text, std::chrono::milliseconds sinceStart) {
    std::string formatted = formatLogLine(text, sinceStart);
    const std::lock_guard<std::mutex> hold(lock_);
    waiting_.push_back(std::move(formatted));
}

void LogPage::show() {
    std::vector<std::string> lines;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        lines.swap(waiting_);
    }
    for (const std::string& line : lines)
        memo_.appendPlainText(QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size())));
}

}  // namespace vorek
