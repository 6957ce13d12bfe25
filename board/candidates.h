// The candidate move generator: decides a position at once (win or loss for the
// side to move) or lists, in order, the moves worth trying.
#pragma once

#include <array>
#include <cstdint>

#include "board/v2board.h"

namespace vorek {

constexpr int GENERATE_WIN = 1;    // the side to move wins by force; the list holds the winning move
constexpr int GENERATE_LOSS = -1;  // the side to move cannot stop the opponent; the list holds the opponent's square
constexpr int GENERATE_OPEN = 0;   // the list holds the candidates in order

struct CandidateRecord {
    std::int32_t count = 0;
    // Entries 0 .. count-1 are the candidates; later entries are scratch.
    std::array<std::int32_t, BOARD_SQUARES> squares{};
};

// The output of the last generator run on this thread, valid until the next
// run on it. Each thread has its own, so that a solve can run beside the window.
extern thread_local CandidateRecord CandidateList;

// The cut-off of the scored fill: 1% of the best score, with 0.01 taken as the
// single-precision constant 0.0099999998 and the product truncated.
constexpr std::int64_t scoreThreshold(std::int64_t best) {
    return static_cast<std::int64_t>(static_cast<double>(best) * static_cast<double>(0.01f));
}

// Runs the generator on the board. The only change it makes to the board is
// the transient SQ_CANDIDATE marks, all cleared again before it returns.
int generateCandidates(V2Board& board);

// Appends the square to CandidateList and marks it, unless it is marked already.
bool pushCandidate(V2Board& board, int square);

// Pushes the squares where the defender can answer the attacker's threat t, and
// returns how many defending squares it found, those already listed included.
int addDefences(V2Board& board, Threat t, int defender);

// Appends up to n squares chosen by their pattern score for both players.
void addScoredCandidates(V2Board& board, int n);

// Clears SQ_CANDIDATE on CandidateList entries from .. count-1.
void clearCandidateMarks(V2Board& board, int from);

}  // namespace vorek
