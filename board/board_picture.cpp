#include "board/board_picture.h"

#include <stdexcept>

#include "board/candidates.h"

namespace vorek {

namespace {

constexpr Rgb stoneColor(int player) { return player == 1 ? COLOR_BLACK : COLOR_WHITE; }

void drawGrid(BoardCanvas& canvas) {
    canvas.setPenColor(COLOR_BLACK);
    for (int i = 0; i < BOARD_SIDE; ++i) {
        const int at = i * CELL_SIZE + GRID_FIRST;
        canvas.line(at, GRID_FIRST, at, GRID_END);
        canvas.line(GRID_FIRST, at, GRID_END, at);
    }
}

// An ellipse inside the cell of column, row, inset from its top left corner.
void cellEllipse(BoardCanvas& canvas, int column, int row, int inset, int end) {
    const int left = column * CELL_SIZE;
    const int top = row * CELL_SIZE;
    canvas.ellipse(left + inset, top + inset, left + end, top + end);
}

void drawStones(const V2Board& board, BoardCanvas& canvas) {
    for (int column = 0; column < BOARD_SIDE; ++column) {
        for (int row = 0; row < BOARD_SIDE; ++row) {
            const std::uint8_t flags = board.squares[squareAt(column, row)];
            if (isEmptySquare(flags)) continue;
            canvas.setBrushColor(stoneColor(stoneOwner(flags)));
            cellEllipse(canvas, column, row, STONE_INSET, STONE_END);
        }
    }
}

void drawCandidates(const V2Board& board, BoardCanvas& canvas) {
    canvas.setBrushColor(stoneColor(board.sideToMove == 1 ? 1 : 0));
    for (int i = 0; i < CandidateList.count; ++i) {
        const int square = CandidateList.squares[i];
        cellEllipse(canvas, columnOf(square), rowOf(square), DOT_INSET, DOT_END);
    }
}

}  // namespace

void drawBoard(V2Board& board, BoardCanvas& canvas) {
    generateCandidates(board);  // only the list is used, not the result
    canvas.setBrushStyle(BrushStyle::SOLID);
    canvas.setBrushColor(COLOR_YELLOW);
    canvas.fillRect(0, 0, PICTURE_SIZE, PICTURE_SIZE);
    drawGrid(canvas);
    drawStones(board, canvas);
    drawCandidates(board, canvas);
}

void drawMoveMark(BoardCanvas& canvas, int column, int row) {
    if (column < 0 || column >= BOARD_SIDE || row < 0 || row >= BOARD_SIDE)
        throw std::out_of_range("move " + std::to_string(column) + "," + std::to_string(row) +
                                " is off the board");
    canvas.setPenColor(COLOR_RED);
    canvas.setBrushStyle(BrushStyle::CLEAR);
    cellEllipse(canvas, column, row, STONE_INSET, STONE_END);
    canvas.setBrushStyle(BrushStyle::SOLID);
}

}  // namespace vorek
