#include "opponent/think_lines.h"

namespace vorek {

bool ThinkLines::take(SearchLine line) {
    const auto index = static_cast<std::size_t>(line.index);
    const std::size_t count = line.count > 0 ? static_cast<std::size_t>(line.count) : index + 1;
    if (index >= count) return false;  // a line beyond the count the engine gives with it
    lines_.resize(count);
    lines_[index] = std::move(line);
    return index + 1 == count;
}

}  // namespace vorek
