// Both players' pattern codes of one line through a square, read from the
// four cells on each side of it: the square scan's table.
//
// A cell is 2 bits (empty, player 1's stone, player 0's stone, or a wall off
// the board). Each half-line's four cells are turned into each player's part
// of the code by table lookup; a wall ends a walk just as an opponent stone
// does. The code is the one the pattern tables know (threats/pattern_tables.h),
// with the square itself counted as the player's stone.
#pragma once

#include <array>
#include <cstdint>

#include "threats/player.h"

namespace vorek {

// Cell values.
constexpr unsigned CELL_EMPTY = 0;
constexpr unsigned CELL_PLAYER1 = 1;
constexpr unsigned CELL_PLAYER0 = 2;
constexpr unsigned CELL_WALL = 3;

// The cell of a player's stone: 1 for player 1, 2 for player 0.
constexpr unsigned cellOfPlayer(Player player) { return player == PLAYER1 ? CELL_PLAYER1 : CELL_PLAYER0; }

// Index: the four cells before the square, nearest in the highest bits, then
// the four after it, nearest in the lowest bits. Entry: player 0's code in the
// low 16 bits, player 1's in the high 16 bits.
using LineCodes = std::array<std::uint32_t, 1 << 16>;

// The table, built at compile time once, in line_codes.cpp: building it takes
// a couple of seconds of the compiler's constant evaluation, too much to spend
// in every file that includes this one. One load a line; most scans touch
// only a small part of the table.
extern const LineCodes LINE_CODES;

// How the table is built: for the tables derived from it at compile time.
namespace line_codes {

constexpr unsigned cellAt(unsigned word, int k) { return (word >> (2 * k)) & 3u; }
constexpr bool isOwnCell(unsigned cell, int player) { return cell == (player ? CELL_PLAYER1 : CELL_PLAYER0); }
constexpr bool isBlockingCell(unsigned cell, int player) {
    return cell == CELL_WALL || cell == (player ? CELL_PLAYER0 : CELL_PLAYER1);
}

// Far side: the code so far, starting from the scanned square as the player's
// stone (1), each further square one bit higher, then the start marker.
constexpr std::array<std::array<std::uint8_t, 256>, 2> buildFarCodes() {
    std::array<std::array<std::uint8_t, 256>, 2> codes{};
    for (int player = 0; player < 2; ++player) {
        for (unsigned word = 0; word < 256; ++word) {
            unsigned code = 1;
            unsigned bit = 2;
            for (int k = 0; k < 4 && !isBlockingCell(cellAt(word, k), player); ++k) {
                if (isOwnCell(cellAt(word, k), player)) code += bit;
                bit <<= 1;
            }
            codes[player][word] = static_cast<std::uint8_t>(code + bit);
        }
    }
    return codes;
}

// Near side: how many squares the segment takes, and their bits in line order.
struct NearPart {
    std::uint8_t length;
    std::uint8_t bits;
};
constexpr std::array<std::array<NearPart, 256>, 2> buildNearParts() {
    std::array<std::array<NearPart, 256>, 2> parts{};
    for (int player = 0; player < 2; ++player) {
        for (unsigned word = 0; word < 256; ++word) {
            unsigned length = 0;
            unsigned bits = 0;
            for (int k = 0; k < 4 && !isBlockingCell(cellAt(word, k), player); ++k) {
                bits = (bits << 1) | (isOwnCell(cellAt(word, k), player) ? 1u : 0u);
                ++length;
            }
            parts[player][word] = {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(bits)};
        }
    }
    return parts;
}

// The cells before a square lie in its line word with the nearest highest:
// the far-side table is indexed by them in that order.
constexpr unsigned reverseCells(unsigned word) {
    return (word & 3u) << 6 | (word >> 2 & 3u) << 4 | (word >> 4 & 3u) << 2 | (word >> 6 & 3u);
}
constexpr std::array<std::array<std::uint8_t, 256>, 2> buildFarCodesBefore() {
    const auto nearestFirst = buildFarCodes();
    std::array<std::array<std::uint8_t, 256>, 2> codes{};
    for (int player = 0; player < 2; ++player)
        for (unsigned word = 0; word < 256; ++word) codes[player][word] = nearestFirst[player][reverseCells(word)];
    return codes;
}

// One player's code of a line (player 0 or 1), by the cells before the
// square as buildFarCodesBefore takes them and those after it as
// buildNearParts does, from those two tables.
constexpr unsigned codeOf(const std::array<std::array<std::uint8_t, 256>, 2>& far,
                          const std::array<std::array<NearPart, 256>, 2>& near, int player, unsigned before,
                          unsigned after) {
    const NearPart part = near[player][after];
    return static_cast<unsigned>(far[player][before] << part.length) | part.bits;
}

}  // namespace line_codes

}  // namespace vorek
