// Move numbers written on the stones of the board picture, in a small digit
// font of the picture's own, so that a picture is the same pixels wherever it
// is drawn and needs no font from the system.
#pragma once

#include "board/move_numbers.h"
#include "picture/board_canvas.h"

namespace vorek {

// Writes the number, 1..LARGEST_SHOWN_NUMBER, in the digit glyphs as filled
// rectangles of the brush colour given, centred on the pixel centreX,
// centreY; one or two digits in double size. Leaves the brush in that colour.
void drawGlyphNumber(BoardCanvas& canvas, int centreX, int centreY, int number, Rgb color);

}  // namespace vorek
