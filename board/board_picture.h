// Three read-only views of a board for the window: the board picture with the
// generator's candidate dots, the threat report of one square, and the lines
// of one player's threat list. The engine draws through a small canvas of its
// own, so it stays free of any window toolkit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "board/v2board.h"

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

// Runs the move generator on the board (which sets and clears its transient
// marks) and paints the whole picture: background, grid, stones, and the
// generator's candidates as dots in the colour of the side to move.
void drawBoard(V2Board& board, BoardCanvas& canvas);

// Circles the cell of column, row in red, leaving what is under it visible.
// Coordinates outside the board are rejected with std::out_of_range.
void drawMoveMark(BoardCanvas& canvas, int column, int row);

// "{cn=C tn=T}/{cn=C tn=T}": the best-ranked item of the square in player 0's
// list, then in player 1's; an empty pair of braces for a list without one.
// A square outside 0..399 is rejected with std::out_of_range.
std::string squareReport(const V2Board& board, int square);

// "[S] cn=C tn=T" for one threat item.
std::string threatListLine(const ThreatListItem& item);

// Something that takes lines at its end, like a list box.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void addLine(std::string_view line) = 0;
};

// Appends one line per item of the player's list, best-ranked first. The sink
// is not cleared first. A player other than 0 or 1 is rejected with
// std::out_of_range.
void fillThreatList(const V2Board& board, LineSink& sink, int player);

}  // namespace vorek
