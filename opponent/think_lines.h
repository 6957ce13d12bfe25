// The best lines of one think as they improve: the latest report of each
// line by its index, and when a round of them (one report of every line the
// engine reports) is complete. What an analysis shows at any moment.
#pragma once

#include <optional>
#include <vector>

#include "opponent/engine_line.h"

namespace vorek {

class ThinkLines {
public:
    // Takes a report. True when it completes a round: it is the last of the
    // lines the engine reports (its count, or its own index + 1 without one).
    // Lines beyond that count are dropped.
    bool take(SearchLine line);

    // The lines by index; one not reported yet is empty.
    const std::vector<std::optional<SearchLine>>& lines() const { return lines_; }
    // Line 0, the engine's best, once reported.
    const SearchLine* best() const { return lines_.empty() || !lines_.front() ? nullptr : &*lines_.front(); }

private:
    std::vector<std::optional<SearchLine>> lines_;
};

}  // namespace vorek
