// What a player's stone on an empty square makes: per line, one of a few
// kinds read from the pattern code of the line, and per square, the kinds of
// move the four lines add up to. The threat search needs nothing finer.
//
// In the words of threats/pattern_tables.h (the code as if the square held the
// player's stone): cn 0 completes five; cn 1 leaves a square that completes
// five (a four), two such squares on the line when tn is 0 (an open four);
// cn 2 with tn 1 leaves a line one move from an open four (an open or broken
// three); cn 2 with a larger tn leaves a line one move from a four (a closed
// three).
#pragma once

#include <array>
#include <cstdint>

#include "threats/pattern_tables.h"

namespace vorek {

enum LineKind : std::uint8_t {
    LINE_NOTHING = 0,
    LINE_CLOSED_THREE = 1,
    LINE_THREE = 2,
    LINE_FOUR = 3,
    LINE_OPEN_FOUR = 4,
    LINE_FIVE = 5,
};

constexpr int LINE_KIND_BITS = 3;
constexpr std::uint32_t LINE_KIND_MASK = (1u << LINE_KIND_BITS) - 1;
// One player's kinds of the four lines through a square, line i at bits
// 3i .. 3i + 2 (rows, columns, diagonals, antidiagonals).
constexpr int SQUARE_KIND_BITS = 4 * LINE_KIND_BITS;

// Flags of the kinds of move one stone makes. A move that completes five is
// that alone; the others may come together.
constexpr std::uint8_t MOVE_FIVE = 0x01;          // completes five
constexpr std::uint8_t MOVE_WIN = 0x02;           // leaves two squares that complete five
constexpr std::uint8_t MOVE_FOUR = 0x04;          // leaves one square or more that completes five
constexpr std::uint8_t MOVE_THREE = 0x08;         // leaves a line one move from an open four
constexpr std::uint8_t MOVE_CLOSED_THREE = 0x10;  // leaves a line one move from a four

namespace move_kinds {

constexpr LineKind kindOfCode(int code) {
    const int cn = cnTable[code];
    const int tn = tnTable[code];
    if (cn == 0) return LINE_FIVE;
    if (cn == 1) return tn == 0 ? LINE_OPEN_FOUR : LINE_FOUR;
    if (cn == 2) return tn == 1 ? LINE_THREE : LINE_CLOSED_THREE;
    return LINE_NOTHING;
}

constexpr std::array<LineKind, PATTERN_CODES> buildLineKinds() {
    std::array<LineKind, PATTERN_CODES> kinds{};
    // Codes 0 and 1 are combined threats of the lists, never a line's code.
    for (int code = 2; code < PATTERN_CODES; ++code) kinds[code] = kindOfCode(code);
    return kinds;
}

// Two fours on different lines leave two different five squares: the lines
// of a square meet only there.
constexpr std::uint8_t classOfKinds(unsigned kinds) {
    std::uint8_t flags = 0;
    int fours = 0;
    for (int line = 0; line < 4; ++line) {
        const unsigned kind = kinds >> (LINE_KIND_BITS * line) & LINE_KIND_MASK;
        if (kind == LINE_FIVE) flags |= MOVE_FIVE;
        if (kind == LINE_OPEN_FOUR) flags |= MOVE_WIN;
        if (kind == LINE_FOUR || kind == LINE_OPEN_FOUR) ++fours;
        if (kind == LINE_THREE) flags |= MOVE_THREE;
        if (kind == LINE_CLOSED_THREE) flags |= MOVE_CLOSED_THREE;
    }
    if (fours >= 1) flags |= MOVE_FOUR;
    if (fours >= 2) flags |= MOVE_WIN;
    return flags & MOVE_FIVE ? MOVE_FIVE : flags;
}

constexpr std::array<std::uint8_t, 1 << SQUARE_KIND_BITS> buildMoveClasses() {
    std::array<std::uint8_t, 1 << SQUARE_KIND_BITS> classes{};
    for (unsigned kinds = 0; kinds < classes.size(); ++kinds) classes[kinds] = classOfKinds(kinds);
    return classes;
}

}  // namespace move_kinds

inline constexpr std::array<LineKind, PATTERN_CODES> LINE_KIND_OF_CODE = move_kinds::buildLineKinds();
inline constexpr std::array<std::uint8_t, 1 << SQUARE_KIND_BITS> MOVE_CLASS_OF_KINDS =
    move_kinds::buildMoveClasses();

// Both players' kinds of the line through an empty square, read straight
// from the cells around it: indexed by the four cells before the square
// (bits 0..7, nearest highest, as they lie in the line word) and the four
// after it (bits 8..15, nearest lowest); player 0's kind in bits 0..2,
// player 1's in bits 3..5. The line codes and their kinds in one load, a
// quarter of the line codes' size. Built at compile time in move_kinds.cpp.
using LineKindPairs = std::array<std::uint8_t, 1 << 16>;
extern const LineKindPairs LINE_KIND_PAIRS;

}  // namespace vorek
