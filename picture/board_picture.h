// The board picture: the stones and the squares the move generator would try,
// painted on the engine's canvas.
#pragma once

#include <vector>

#include "board/move_numbers.h"
#include "board/v2board.h"
#include "picture/board_canvas.h"

namespace vorek {

// What the picture may show beyond the stones and the dots. The default
// options give the picture as it always was.
struct PictureOptions {
    // Off: player 1's stones are black and player 0's white, so the side to
    // move at the root is black. On: the stones of blackLetter are black and
    // the other letter's white whoever is to move, and the dots take the
    // colour of the side to move's letter.
    bool coloursByLetter = false;
    char player1Letter = 'x';  // the letter of player 1's stones: 'x' or 'o'
    char blackLetter = 'x';    // with coloursByLetter: the letter drawn black, 'x' or 'o'
    MoveNumbers moveNumbers{};  // written on the stones, white on black, black on white
    // The square of the move that led to the position, or -1. Its stone gets
    // a small red dot in its centre, or, where it carries a number, a red
    // frame around its cell (a red number would be lost on a black stone).
    int lastMove = -1;
    // The stones of a five that ended the game, ringed in blue.
    std::vector<int> fiveSquares;
    // A square to point out, such as a proving move, ringed in green; -1 for none.
    int hint = -1;
};

// Paints the whole picture: background, grid, stones, their numbers, the last
// move's mark, the five's rings, the move generator's candidates as dots in
// the colour of the side to move, and the hint's ring.
void drawBoard(const V2Board& board, BoardCanvas& canvas, const PictureOptions& options = {});

// Circles the cell of column, row in red, two pixels thick inside the
// stone's box, leaving what is under it visible. Coordinates outside the
// board are rejected with std::out_of_range.
void drawMoveMark(BoardCanvas& canvas, int column, int row);

}  // namespace vorek
