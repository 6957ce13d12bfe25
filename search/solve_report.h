// What every solve takes and gives, whichever search runs it: the budget,
// the result, why it stopped, the report at the end and the progress on the
// way. Numbers are told as the tree stores them: -1 is infinite.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vorek {

struct SolveBudget {
    std::uint64_t maxNodes = 0;      // nodes searched; 0: no limit
    double maxSeconds = 0;           // 0: no limit
    std::size_t maxMemoryBytes = 0;  // the process's memory; 0: half of the machine's memory
    const std::atomic<bool>* cancel = nullptr;  // set from elsewhere to stop
};

enum class SolveResult { Proved, Disproved, Unknown };

// Why a solve ended.
enum class SolveStop {
    Settled,      // the start position is decided, or nothing is left to search
    Nodes,        // the node budget
    Seconds,      // the time budget
    Memory,       // the memory budget
    Interrupted,  // the cancel flag
};

struct SolveReport {
    SolveResult result = SolveResult::Unknown;
    SolveStop stopped = SolveStop::Settled;
    int move = -1;  // the proving move at the start node, when it is proved
    std::int32_t pn = 1;
    std::int32_t dn = 1;
    std::uint64_t nodes = 0;  // nodes searched by this solve
    double seconds = 0;
    double rate = 0;        // nodes per second
    std::vector<int> line;  // the main line from the start node down to a leaf
    // A solve by threats that is decided: whether the win is by fours alone,
    // and the winner's moves along the line, his five included.
    bool foursOnly = false;
    int winnerMoves = 0;
};

// What a solve has reached so far; safe to read from another thread while
// the solve runs, refreshed at least every few milliseconds.
struct SolveProgress {
    std::uint64_t nodes = 0;
    double seconds = 0;
    std::int32_t pn = 1;  // the start position's numbers
    std::int32_t dn = 1;
};

// "proved", "disproved" or "unknown".
std::string_view resultText(SolveResult result);

}  // namespace vorek
