// The flag bits of one square byte of a board.
#pragma once

#include <cstdint>

#include "threats/list_flags.h"
#include "threats/player.h"
#include "threats/square.h"

namespace vorek {

constexpr std::uint8_t SQ_EMPTY = 0x01;  // the square holds no stone
// On a stone: set for player 1's stone. On an empty square: set while the square
// is live, clear while it is quiet (no line through it is within two stones of a win).
constexpr std::uint8_t SQ_SIDE = 0x02;
// Listed by the move generator. The generator keeps its marks in the caller's
// CandidateList, so a board's square never has this bit.
constexpr std::uint8_t SQ_CANDIDATE = 0x10;

constexpr std::uint8_t EMPTY_LIVE_SQUARE = SQ_EMPTY | SQ_SIDE;
constexpr std::uint8_t PLAYER1_STONE = SQ_SIDE;
constexpr std::uint8_t PLAYER0_STONE = 0x00;

constexpr bool isEmptySquare(std::uint8_t flags) { return (flags & SQ_EMPTY) != 0; }

// Owner of the stone on a square that is not empty.
constexpr Player stoneOwner(std::uint8_t flags) { return (flags & SQ_SIDE) ? PLAYER1 : PLAYER0; }

// The flag byte of a stone of the player.
constexpr std::uint8_t stoneFlags(Player owner) { return owner == PLAYER1 ? PLAYER1_STONE : PLAYER0_STONE; }

}  // namespace vorek
