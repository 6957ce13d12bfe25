// The move vorek-ai plays in a position.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "board/v2board.h"
#include "search/solver.h"

namespace vorek {

// The nodes a solve may make: about 70 MB of tree at most, and few enough
// nodes to free well inside the time left after solving.
constexpr std::uint64_t SOLVE_NODES = 1'000'000;

struct SolvingLimits {
    std::uint64_t nodes;                 // nodes the solver may make
    std::chrono::duration<double> time;  // time it may take; zero: no solving
    std::size_t memory = 0;              // the process's memory in bytes; 0: the solver's default
};

struct MoveChoice {
    std::optional<int> move;           // nullopt when no square is empty
    std::optional<SolveReport> solve;  // nullopt when there was no time to solve
};

// Solves the position (made by V2Board::fromStones, player 1 to move) within
// the limits. When it is proved, the proving move: the five, or the first
// move of a forced win. Otherwise the move generator's first listed square
// (the forced block or the best candidate); should the generator list no
// empty square, the empty square nearest the centre.
MoveChoice chooseMove(const V2Board& position, const SolvingLimits& limits);

// One line about the solve behind the choice, for a manager's log: its
// result, nodes and seconds, and the turn time.
std::string describeChoice(const MoveChoice& choice, std::chrono::milliseconds turn);

}  // namespace vorek
