// The "Log" page: the exchange of the last ask of an AI program, one line
// each as formatLogLine gives it.
#pragma once

#include <chrono>
#include <string_view>

#include "opponent/ask_log.h"

class QPlainTextEdit;

namespace vorek {

class LogPage final : public AskLog {
public:
    // Writes into the page's text box, which must outlive every call of
    // line; a line still on its way when the box goes is dropped.
    explicit LogPage(QPlainTextEdit& memo) : memo_(memo) {}

    // Empties the page. Call on the window's thread.
    void clear();

    // Appends the line on the window's thread, after every line given
    // before it; returns at once. Any thread may call it.
    void line(std::string_view text, std::chrono::milliseconds sinceStart) override;

private:
    QPlainTextEdit& memo_;
};

}  // namespace vorek
