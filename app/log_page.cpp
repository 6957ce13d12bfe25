#include "app/log_page.h"

#include <QPlainTextEdit>

namespace vorek {

void LogPage::clear() { memo_.clear(); }

// A queued call runs on the thread of its context object, in the order the
// calls were made, and not at all once that object is destroyed.
void LogPage::line(std::string_view text, std::chrono::milliseconds sinceStart) {
    const std::string formatted = formatLogLine(text, sinceStart);
    QString shown = QString::fromLocal8Bit(formatted.data(), static_cast<qsizetype>(formatted.size()));
    QPlainTextEdit* memo = &memo_;
    QMetaObject::invokeMethod(
        memo, [memo, shown = std::move(shown)] { memo->appendPlainText(shown); }, Qt::QueuedConnection);
}

}  // namespace vorek
