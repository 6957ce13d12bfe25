// Zobrist keys: one random 64-bit number per player and square, made at
// compile time. A position's key is the exclusive or of its stones' numbers,
// so a move changes it with one more exclusive or, and positions reached in
// different orders share a key.
#pragma once

#include <array>
#include <cstdint>

#include "threats/player.h"
#include "threats/threat.h"

namespace vorek {

namespace zobrist {

// SplitMix64: a fixed sequence of well-mixed numbers from a counter.
constexpr std::uint64_t mix(std::uint64_t n) {
    std::uint64_t z = n * 0x9E3779B97F4A7C15ull + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

constexpr std::array<std::array<std::uint64_t, BOARD_SQUARES>, 2> buildStoneKeys() {
    std::array<std::array<std::uint64_t, BOARD_SQUARES>, 2> keys{};
    for (int player = 0; player < 2; ++player)
        for (int s = 0; s < BOARD_SQUARES; ++s) keys[player][s] = mix(static_cast<std::uint64_t>(player * BOARD_SQUARES + s));
    return keys;
}

}  // namespace zobrist

// Entry [player][square].
inline constexpr std::array<std::array<std::uint64_t, BOARD_SQUARES>, 2> STONE_KEYS = zobrist::buildStoneKeys();

inline constexpr std::uint64_t stoneKey(Player player, int square) { return STONE_KEYS[playerIndex(player)][square]; }

// Further numbers for what is not a stone: the side to move, and the search
// a table entry belongs to.
inline constexpr std::uint64_t PLAYER1_TO_MOVE_KEY = zobrist::mix(2 * BOARD_SQUARES);
inline constexpr std::uint64_t PLAYER1_ATTACKS_KEY = zobrist::mix(2 * BOARD_SQUARES + 1);
inline constexpr std::uint64_t FOURS_ONLY_KEY = zobrist::mix(2 * BOARD_SQUARES + 2);
// The attacker's position in a search of threats restricted to the threats
// that only a search of fours finds.
inline constexpr std::uint64_t WIDER_THREATS_KEY = zobrist::mix(2 * BOARD_SQUARES + 3);
// A search of threats whose threats threaten wins by fours of at most `depth`
// moves: its entries are its own.
constexpr std::uint64_t threatDepthKey(int depth) { return zobrist::mix(2 * BOARD_SQUARES + 4 + static_cast<std::uint64_t>(depth)); }

}  // namespace vorek
