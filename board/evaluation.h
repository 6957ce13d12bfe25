// Threat evaluation: the square scan, the judgement of one square, the
// re-evaluation around a move and the full evaluation of a board.
#pragma once

#include <array>
#include <cstdint>

#include "board/v2board.h"
#include "threats/threat.h"

namespace vorek {

// Line order inside lineThreats and in every per-line loop.
enum Line { ROW, COLUMN, DIAGONAL, ANTIDIAGONAL, LINES };

constexpr int lineMask(int line) { return DIR_ROW >> line; }

// The eight line values of the last scan on this thread: player 1's row,
// column, diagonal and antidiagonal, then player 0's. Valid until the next
// scan on the same thread.
extern thread_local std::array<Threat, 8> lineThreats;

constexpr int lineThreatIndex(int player, int line) { return (player ? 0 : 4) + line; }

// Both players' pattern codes of the four lines through a square, indexed
// [player][line], as the square scan finds them.
struct SquareCodes {
    std::array<std::array<std::int16_t, LINES>, 2> codes;
};

// The scan of one square, returned; its own content is not looked at.
SquareCodes scanCodes(const V2Board& board, int square);

// The scan of the square as it would be with one more stone, of the given
// player, on the other square (which must be empty and not the square
// itself); the board is not changed.
SquareCodes scanCodesWith(const V2Board& board, int square, int stoneSquare, int stoneOwner);

// For every square, whether a stone lies within the scan's reach of it: four
// squares each way along each of its lines. A square without one has codes
// that depend on the edges of the board alone.
std::array<bool, BOARD_SQUARES> stonesInReach(const V2Board& board);

// Fills lineThreats for the square with the values of scanCodes.
void scanSquare(const V2Board& board, int square);

// Re-judges one empty square and updates both lists and its flags. True when
// the side to move completes five there; nothing is then recorded for it.
bool evaluateSquare(V2Board& board, int square);

// Re-judges the empty squares whose lines the stone just placed on the square
// can have changed; stops and returns true at a square where the side now to
// move completes five.
bool reevaluateAround(V2Board& board, int square);

// Judges every empty square of a freshly read board, in index order; stops and
// returns true at the first where the side to move completes five.
bool evaluateAll(V2Board& board);

// The first empty square, in index order, on which the side to move completes
// five; -1 if there is none. Works from the stones alone, so it also finds the
// square at which an evaluation stopped.
int fiveSquare(const V2Board& board);

}  // namespace vorek
