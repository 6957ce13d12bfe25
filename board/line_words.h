// The stones of every line of the board as one word of 2-bit cells, so that
// the square scan reads the four squares on each side of a square along a
// line with a shift and a mask instead of eight reads.
//
// A line is a row, a column, a diagonal (towards the lower right) or an
// antidiagonal (towards the lower left). Its squares are numbered from the
// end with the smaller column (for a column: the top), the side a pattern
// code starts from. Cell p of the line sits at bits 2 (p + 4) and 2 (p + 4) + 1
// of its word; the four cells before the line's first square and after its
// last are walls, so no read runs off the board.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>

#include "board/square_flags.h"
#include "threats/line_codes.h"

namespace vorek {

constexpr int ROW_LINES = BOARD_SIDE;
constexpr int DIAGONAL_LINES = 2 * BOARD_SIDE - 1;
constexpr int LINE_WORDS = 2 * ROW_LINES + 2 * DIAGONAL_LINES;
constexpr int LINE_PADDING = 4;  // wall cells on each side of a line

using LineWords = std::array<std::uint64_t, LINE_WORDS>;

// Where a square lies on one of its four lines: the word, and the bit of its
// own cell in it.
struct LinePlace {
    std::uint8_t word;
    std::uint8_t bit;
};

namespace line_words {

// The line of square (x, y) in direction 0..3 (row, column, diagonal,
// antidiagonal), the line's length and the square's position on it.
struct LineOf {
    int word;
    int length;
    int position;
};

constexpr LineOf lineOf(int x, int y, int direction) {
    switch (direction) {
        case 0: return {y, BOARD_SIDE, x};
        case 1: return {ROW_LINES + x, BOARD_SIDE, y};
        case 2: {
            const int d = x - y;  // -19..19
            const int first = d > 0 ? d : 0;
            return {2 * ROW_LINES + d + BOARD_SIDE - 1, BOARD_SIDE - (d < 0 ? -d : d), x - first};
        }
        default: {
            const int a = x + y;  // 0..38
            const int first = a > BOARD_SIDE - 1 ? a - (BOARD_SIDE - 1) : 0;
            const int off = a - (BOARD_SIDE - 1);
            return {2 * ROW_LINES + DIAGONAL_LINES + a, BOARD_SIDE - (off < 0 ? -off : off), x - first};
        }
    }
}

constexpr std::array<std::array<LinePlace, 4>, BOARD_SQUARES> buildPlaces() {
    std::array<std::array<LinePlace, 4>, BOARD_SQUARES> places{};
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        for (int direction = 0; direction < 4; ++direction) {
            const LineOf line = lineOf(columnOf(s), rowOf(s), direction);
            places[s][direction] = {static_cast<std::uint8_t>(line.word),
                                    static_cast<std::uint8_t>(2 * (line.position + LINE_PADDING))};
        }
    }
    return places;
}

// Every line with its squares empty and walls around them.
constexpr LineWords buildEmptyLines() {
    LineWords words{};
    for (int word = 0; word < LINE_WORDS; ++word) {
        int length = BOARD_SIDE;
        if (word >= 2 * ROW_LINES) {
            const int d = (word - 2 * ROW_LINES) % DIAGONAL_LINES - (BOARD_SIDE - 1);
            length = BOARD_SIDE - (d < 0 ? -d : d);
        }
        std::uint64_t bits = 0;
        for (int p = -LINE_PADDING; p < length + LINE_PADDING; ++p)
            if (p < 0 || p >= length) bits |= std::uint64_t{CELL_WALL} << (2 * (p + LINE_PADDING));
        words[word] = bits;
    }
    return words;
}

}  // namespace line_words

inline constexpr std::array<std::array<LinePlace, 4>, BOARD_SQUARES> LINE_PLACES = line_words::buildPlaces();
inline constexpr LineWords EMPTY_LINES = line_words::buildEmptyLines();

// The cell of a stone of the player.
constexpr unsigned stoneCell(Player owner) { return owner == PLAYER1 ? CELL_PLAYER1 : CELL_PLAYER0; }

// The cell of a square's flag byte.
constexpr unsigned cellOfFlags(std::uint8_t flags) {
    return isEmptySquare(flags) ? CELL_EMPTY : stoneCell(stoneOwner(flags));
}

// Puts the cell of a stone on an empty square into its four lines.
inline void placeInLines(LineWords& words, int square, unsigned cell) {
    assert(isSquare(square));
    for (const LinePlace place : LINE_PLACES[square]) words[place.word] |= std::uint64_t{cell} << place.bit;
}

// The four cells before a square on its line, nearest in the highest bits,
// and the four after it, nearest in the lowest bits.
constexpr unsigned cellsBefore(std::uint64_t word, LinePlace place) {
    return static_cast<unsigned>(word >> (place.bit - 8)) & 0xFFu;
}
constexpr unsigned cellsAfter(std::uint64_t word, LinePlace place) {
    return static_cast<unsigned>(word >> (place.bit + 2)) & 0xFFu;
}

}  // namespace vorek
