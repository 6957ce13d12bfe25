// The best lines of one think as they improve: the latest report of each
// line by its index, and when a round of them (one report of every line the
// engine reports) is complete. What an analysis shows at any moment.
#pragma once

#include <cstdint>
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

    // The latest value the reports give of the whole think (speed, time):
    // the last line's first, the lines being reported in order.
    template <typename Value>
    std::optional<Value> latest(std::optional<Value> SearchLine::*member) const {
        for (auto line = lines_.rbegin(); line != lines_.rend(); ++line)
            if (*line && (**line).*member) return (**line).*member;
        return std::nullopt;
    }
    // The nodes of the whole think: the latest total, else the latest line's.
    std::optional<std::int64_t> nodes() const {
        const std::optional<std::int64_t> total = latest(&SearchLine::totalNodes);
        return total ? total : latest(&SearchLine::nodes);
    }

private:
    std::vector<std::optional<SearchLine>> lines_;
};

}  // namespace vorek
