// The drawing surface the board picture is painted on, and the picture's
// geometry. The engine draws through this small canvas of its own, so it stays
// free of any window toolkit.
#pragma once

#include <cstdint>

namespace vorek {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;

    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb COLOR_BLACK{0, 0, 0};
constexpr Rgb COLOR_WHITE{255, 255, 255};
constexpr Rgb COLOR_YELLOW{255, 255, 0};
constexpr Rgb COLOR_RED{255, 0, 0};
constexpr Rgb COLOR_BLUE{0, 64, 255};
constexpr Rgb COLOR_GREEN{0, 160, 0};

enum class BrushStyle { SOLID, CLEAR };

// A drawing surface with a pen (1 pixel wide) and a brush. Rectangles are given
// by their left, top, right and bottom edges; the right and bottom edges are
// not part of the shape.
class BoardCanvas {
public:
    virtual ~BoardCanvas() = default;
    virtual void setPenColor(Rgb color) = 0;
    virtual void setBrushColor(Rgb color) = 0;
    virtual void setBrushStyle(BrushStyle style) = 0;
    // Fills the rectangle with the brush colour; no outline.
    virtual void fillRect(int left, int top, int right, int bottom) = 0;
    // A line in the pen colour from the first point up to, not including, the second.
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // An ellipse in the rectangle: outlined with the pen, filled with the brush
    // unless the brush style is clear.
    virtual void ellipse(int left, int top, int right, int bottom) = 0;
    // Writes the number (1..9999; others are not written) centred on the
    // pixel centreX, centreY in the colour, small enough to sit inside a
    // stone; the brush may be left in that colour. This one writes it in the
    // picture's own digit glyphs (picture/stone_numbers.h) as filled
    // rectangles, the same pixels wherever it is drawn; a canvas with fonts
    // may write it in one.
    virtual void number(int centreX, int centreY, int number, Rgb color);
};

// Picture geometry: 20 x 20 cells of 20 pixels around the grid crossings.
constexpr int PICTURE_SIZE = 401;
constexpr int CELL_SIZE = 20;
constexpr int GRID_FIRST = 10;   // pixel of the first grid line
constexpr int GRID_END = 391;    // grid lines stop before this pixel
constexpr int STONE_INSET = 1;   // a stone's box runs from the cell's corner + 1 ...
constexpr int STONE_END = 20;    // ... to + 20
constexpr int DOT_INSET = 6;     // a candidate dot's box: + 6 ...
constexpr int DOT_END = 15;      // ... to + 15
constexpr int MARK_INSET = 7;    // the last move's dot on its stone: + 7 ...
constexpr int MARK_END = 14;     // ... to + 14

}  // namespace vorek
