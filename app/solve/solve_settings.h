// The budgets and the rules of the window's solves, kept between runs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorek {

// A quarter of the machine's memory, and at most 2 GB.
std::size_t defaultSolveMemory();

// A solve ends within a minute unless told otherwise.
constexpr double DEFAULT_SOLVE_SECONDS = 60;

struct SolveSettings {
    std::uint64_t maxNodes = 0;                   // nodes made; 0: no limit
    double maxSeconds = DEFAULT_SOLVE_SECONDS;    // 0: no limit
    std::size_t maxMemoryBytes = defaultSolveMemory();
    // The exact rules (proved only by a real forced win, in a tree of their
    // own), or the window's own rules, growing the window's tree.
    bool exact = true;

    // The settings saved last, with defaults for whatever is missing or bad.
    static SolveSettings load();
    void save() const;
};

}  // namespace vorek
