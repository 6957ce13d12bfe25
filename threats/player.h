// The two players. Player 1 is the side to move in the position read from
// the files (the root of a tree), player 0 the other; threat lists, stones
// and proof numbers are told by these two names.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>

namespace vorek {

enum class Player : std::uint8_t {};

inline constexpr Player PLAYER0{0};
inline constexpr Player PLAYER1{1};

// Both players, player 0 first, for a loop over them.
inline constexpr std::array<Player, 2> PLAYERS{PLAYER0, PLAYER1};

// 0 or 1: the place of the player's entry in anything kept per player.
constexpr int playerIndex(Player player) { return static_cast<int>(player); }

// The player of the number, which must be 0 or 1.
constexpr Player playerOf(int index) {
    assert(index == 0 || index == 1);
    return Player(index);
}

constexpr Player opponent(Player player) { return Player(1 - playerIndex(player)); }

}  // namespace vorek
