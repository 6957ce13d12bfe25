// Move numbers written on the stones of the board picture, in a small digit
// font of the picture's own, so that a picture is the same pixels wherever it
// is drawn and needs no font from the system.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "board/board_canvas.h"
#include "threats/threat.h"

namespace vorek {

// Per square, the number to write on its stone; 0 writes none.
using MoveNumbers = std::array<std::uint16_t, BOARD_SQUARES>;

// Numbers above this are not written: they would not fit on a stone.
constexpr int LARGEST_SHOWN_NUMBER = 9999;

// Numbers the squares of the moves in order, the first with firstNumber; a
// number outside 1..LARGEST_SHOWN_NUMBER is not written. A square off the
// board is rejected with std::out_of_range.
void numberStones(MoveNumbers& numbers, std::span<const int> squares, int firstNumber);

// Writes the number, 1..LARGEST_SHOWN_NUMBER, in the digit glyphs as filled
// rectangles of the brush colour given, centred on the pixel centreX,
// centreY; one or two digits in double size. Leaves the brush in that colour.
void drawGlyphNumber(BoardCanvas& canvas, int centreX, int centreY, int number, Rgb color);

}  // namespace vorek
