// The flag bits of one square byte of a board.
#pragma once

#include <cstdint>

#include "threats/list_flags.h"

namespace vorek {

constexpr std::uint8_t SQ_EMPTY = 0x01;  // the square holds no stone
// On a stone: set for player 1's stone. On an empty square: set while the square
// is live, clear while it is quiet (no line through it is within two stones of a win).
constexpr std::uint8_t SQ_SIDE = 0x02;
constexpr std::uint8_t SQ_CANDIDATE = 0x10;  // listed by the running move generator

constexpr std::uint8_t EMPTY_LIVE_SQUARE = SQ_EMPTY | SQ_SIDE;
constexpr std::uint8_t PLAYER1_STONE = SQ_SIDE;
constexpr std::uint8_t PLAYER0_STONE = 0x00;

constexpr bool isEmptySquare(std::uint8_t flags) { return (flags & SQ_EMPTY) != 0; }

// Owner of the stone on a square that is not empty: 1 or 0.
constexpr int stoneOwner(std::uint8_t flags) { return (flags & SQ_SIDE) ? 1 : 0; }

constexpr int columnOf(int square) { return square % BOARD_SIDE; }
constexpr int rowOf(int square) { return square / BOARD_SIDE; }
constexpr int squareAt(int column, int row) { return row * BOARD_SIDE + column; }
// Whether the column and row, each from 0, name a square of the board.
constexpr bool onBoard(int column, int row) {
    return column >= 0 && column < BOARD_SIDE && row >= 0 && row < BOARD_SIDE;
}

}  // namespace vorek
