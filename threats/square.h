// The squares of the 20 x 20 board: an index 0..399 row by row from the top
// left corner, or a point by its column x and row y, each 0..19.
#pragma once

#include <cassert>

namespace vorek {

constexpr int BOARD_SIDE = 20;
constexpr int BOARD_SQUARES = BOARD_SIDE * BOARD_SIDE;

// Whether the index names a square of the board.
constexpr bool isSquare(int square) { return square >= 0 && square < BOARD_SQUARES; }

// Whether the column and row, each from 0, name a square of the board.
constexpr bool onBoard(int column, int row) {
    return column >= 0 && column < BOARD_SIDE && row >= 0 && row < BOARD_SIDE;
}

constexpr int columnOf(int square) {
    assert(isSquare(square));
    return square % BOARD_SIDE;
}
constexpr int rowOf(int square) {
    assert(isSquare(square));
    return square / BOARD_SIDE;
}
constexpr int squareAt(int column, int row) {
    assert(onBoard(column, row));
    return row * BOARD_SIDE + column;
}

// A square by its column and row.
struct Point {
    int x;  // column, from 0 at the left
    int y;  // row, from 0 at the top

    friend constexpr bool operator==(const Point&, const Point&) = default;
};

constexpr bool onBoard(Point p) { return onBoard(p.x, p.y); }
constexpr Point pointOf(int square) { return {columnOf(square), rowOf(square)}; }
constexpr int squareAt(Point p) { return squareAt(p.x, p.y); }

}  // namespace vorek
