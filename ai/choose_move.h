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

// The nodes a solve may search: a table of about 48 MB at most.
constexpr std::uint64_t SOLVE_NODES = 1'000'000;

struct SolvingLimits {
    std::uint64_t nodes;                 // nodes the solver may make
    std::chrono::duration<double> time;  // time it may take; zero: no solving
    std::size_t memory = 0;              // the process's memory in bytes; 0: the solver's default
};

struct MoveChoice {
    std::optional<int> move;           // nullopt when no square is empty
    std::optional<SolveReport> solve;  // nullopt when there was no time to solve
    // The move is one after which the opponent, who would win by threats
    // were it his move, has no win by threats.
    bool defends = false;
};

// Solves the position (made by V2Board::fromStones, player 1 to move) by
// threat-space search within the limits. When the side to move wins by
// threats, the first move of the win. Otherwise, when the opponent would win
// by threats were it his move, a move found to leave him none; when every
// move loses, the toughest defence found. Otherwise the move generator's
// first listed square (the forced block or the best candidate); should the
// generator list no empty square, the empty square nearest the centre.
MoveChoice chooseMove(const V2Board& position, const SolvingLimits& limits);

// One line about the solve behind the choice, for a manager's log: its
// result, nodes and seconds, and the turn time.
std::string describeChoice(const MoveChoice& choice, std::chrono::milliseconds turn);

}  // namespace vorek
