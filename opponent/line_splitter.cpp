#include "opponent/line_splitter.h"

#include <utility>

namespace vorek {

void LineSplitter::feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!partial_.empty()) complete_.push_back(std::exchange(partial_, {}));
        } else if (partial_.size() < LONGEST_LINE) {
            partial_ += c;
        }
    }
}

std::optional<std::string> LineSplitter::next() {
    if (complete_.empty()) return std::nullopt;
    std::string line = std::move(complete_.front());
    complete_.pop_front();
    return line;
}

std::optional<std::string> LineSplitter::finish() {
    if (partial_.empty()) return std::nullopt;
    return std::exchange(partial_, {});
}

}  // namespace vorek
