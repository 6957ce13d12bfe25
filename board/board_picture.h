// The board picture: the stones and the squares the move generator would try,
// painted on the engine's canvas.
#pragma once

#include "board/board_canvas.h"
#include "board/v2board.h"

namespace vorek {

// Runs the move generator on the board (which sets and clears its transient
// marks) and paints the whole picture: background, grid, stones, and the
// generator's candidates as dots in the colour of the side to move.
void drawBoard(V2Board& board, BoardCanvas& canvas);

// Circles the cell of column, row in red, leaving what is under it visible.
// Coordinates outside the board are rejected with std::out_of_range.
void drawMoveMark(BoardCanvas& canvas, int column, int row);

}  // namespace vorek
