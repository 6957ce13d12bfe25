// The square flag bits that the threat list operations keep in step with the lists.
#pragma once

#include <array>
#include <cstdint>

#include "threats/player.h"
#include "threats/threat.h"

namespace vorek {

constexpr std::uint8_t SQ_IN_LIST1 = 0x04;  // the square may have items in player 1's list
constexpr std::uint8_t SQ_IN_LIST0 = 0x08;  // the same for player 0's list
constexpr std::uint8_t SQ_DOUBLE1 = 0x20;   // the square has a second item in player 1's list
constexpr std::uint8_t SQ_DOUBLE0 = 0x40;   // the same for player 0's list

constexpr std::uint8_t inListFlag(Player player) { return player == PLAYER1 ? SQ_IN_LIST1 : SQ_IN_LIST0; }
constexpr std::uint8_t secondItemFlag(Player player) { return player == PLAYER1 ? SQ_DOUBLE1 : SQ_DOUBLE0; }

// The flag bytes of all squares of a board.
using SquareBytes = std::array<std::uint8_t, BOARD_SQUARES>;

}  // namespace vorek
