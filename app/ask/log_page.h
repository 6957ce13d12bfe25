// The "Log" page: the exchange of the last ask of an AI program, one line
// each as formatLogLine gives it.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "opponent/ask_log.h"

class QPlainTextEdit;

namespace vorek {

class LogPage final : public AskLog {
public:
    // Writes into the page's text box, which must outlive the page.
    explicit LogPage(QPlainTextEdit& memo) : memo_(memo) {}

    // Empties the page. Call on the window's thread.
    void clear();

    // Keeps the line for the page; returns at once. Any thread may call it.
    void line(std::string_view text, std::chrono::milliseconds sinceStart) override;

    // Appends the lines kept so far, in the order they came. Call on the
    // window's thread, as often as the page should follow the exchange.
    void show();

private:
    QPlainTextEdit& memo_;
    std::mutex lock_;
    std::vector<std::string> waiting_;
};

}  // namespace vorek
