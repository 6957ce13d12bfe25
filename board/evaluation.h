// Threat evaluation: the square scan and what it tells. The judgement of
// squares into the lists is the board's own (V2Board::fromStones, play).
#pragma once

#include <array>
#include <cstdint>

#include "board/v2board.h"
#include "threats/player.h"
#include "threats/threat.h"

namespace vorek {

// Line order inside LineThreats and in every per-line loop.
enum Line { ROW, COLUMN, DIAGONAL, ANTIDIAGONAL, LINES };

constexpr int lineMask(int line) { return DIR_ROW >> line; }

// The eight line values of a square scan: player 1's row, column, diagonal
// and antidiagonal, then player 0's.
using LineThreats = std::array<Threat, 8>;

constexpr int lineThreatIndex(Player player, int line) { return (player == PLAYER1 ? 0 : 4) + line; }

// Both players' pattern codes of the four lines through a square, indexed
// [player][line], as the square scan finds them.
struct SquareCodes {
    std::array<std::array<std::int16_t, LINES>, 2> codes;

    const std::array<std::int16_t, LINES>& of(Player player) const { return codes[playerIndex(player)]; }
};

// The scan of one square, returned; its own content is not looked at.
SquareCodes scanCodes(const V2Board& board, int square);

// The scan of the square as it would be with one more stone, of the given
// player, on the other square (which must be empty and not the square
// itself); the board is not changed.
SquareCodes scanCodesWith(const V2Board& board, int square, int stoneSquare, Player stoneOwner);

// For every square, whether a stone lies within the scan's reach of it: four
// squares each way along each of its lines. A square without one has codes
// that depend on the edges of the board alone.
std::array<bool, BOARD_SQUARES> stonesInReach(const V2Board& board);

// The line values of the square: the codes of scanCodes with the square and
// each line's direction.
LineThreats scanSquare(const V2Board& board, int square);

// The first empty square, in index order, on which the side to move completes
// five; -1 if there is none. Works from the stones alone, so it also finds the
// square at which an evaluation stopped.
int fiveSquare(const V2Board& board);

}  // namespace vorek
