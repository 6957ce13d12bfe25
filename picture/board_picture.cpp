#include "picture/board_picture.h"

#include <stdexcept>

#include "board/candidates.h"
#include "picture/stone_numbers.h"

namespace vorek {

namespace {

// The fill of a player's stones: by player, or by the letter they play.
Rgb stoneColor(Player player, const PictureOptions& options) {
    if (!options.coloursByLetter) return player == PLAYER1 ? COLOR_BLACK : COLOR_WHITE;
    const bool playsBlack = (options.player1Letter == options.blackLetter) == (player == PLAYER1);
    return playsBlack ? COLOR_BLACK : COLOR_WHITE;
}

Rgb contrastColor(Rgb fill) { return fill == COLOR_BLACK ? COLOR_WHITE : COLOR_BLACK; }

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

void drawStones(const V2Board& board, BoardCanvas& canvas, const PictureOptions& options) {
    for (int column = 0; column < BOARD_SIDE; ++column) {
        for (int row = 0; row < BOARD_SIDE; ++row) {
            const int square = squareAt(column, row);
            if (board.isEmpty(square)) continue;
            canvas.setBrushColor(stoneColor(board.stoneAt(square), options));
            cellEllipse(canvas, column, row, STONE_INSET, STONE_END);
        }
    }
}

// The centre pixel of a cell, where its stone's number goes.
int cellCentre(int columnOrRow) { return columnOrRow * CELL_SIZE + CELL_SIZE / 2; }

bool numberShownOn(int square, const PictureOptions& options) {
    const int number = options.moveNumbers[static_cast<std::size_t>(square)];
    return number >= 1 && number <= LARGEST_SHOWN_NUMBER;
}

// The numbers on the stones, in the order the stones were drawn, each in
// the colour that stands out on its stone.
void drawMoveNumbers(const V2Board& board, BoardCanvas& canvas, const PictureOptions& options) {
    for (int column = 0; column < BOARD_SIDE; ++column) {
        for (int row = 0; row < BOARD_SIDE; ++row) {
            const int square = squareAt(column, row);
            if (board.isEmpty(square) || !numberShownOn(square, options)) continue;
            const Rgb color = contrastColor(stoneColor(board.stoneAt(square), options));
            canvas.number(cellCentre(column), cellCentre(row), options.moveNumbers[static_cast<std::size_t>(square)],
                          color);
        }
    }
}

// A frame two pixels wide just inside the cell of column, row, clear of its stone.
void cellFrame(BoardCanvas& canvas, int column, int row, Rgb color) {
    const int left = column * CELL_SIZE;
    const int top = row * CELL_SIZE;
    canvas.setBrushColor(color);
    for (int inset = 0; inset < 2; ++inset) {
        const int near = inset + 1;
        const int far = CELL_SIZE - inset;
        canvas.fillRect(left + near, top + near, left + far + 1, top + near + 1);
        canvas.fillRect(left + near, top + far, left + far + 1, top + far + 1);
        canvas.fillRect(left + near, top + near, left + near + 1, top + far + 1);
        canvas.fillRect(left + far, top + near, left + far + 1, top + far + 1);
    }
}

// A red dot on the last move's stone; a numbered stone gets a red frame
// around its cell instead, leaving its number readable.
void drawLastMoveMark(const V2Board& board, BoardCanvas& canvas, const PictureOptions& options) {
    const int square = options.lastMove;
    if (!isSquare(square) || board.isEmpty(square)) return;
    if (numberShownOn(square, options)) {
        cellFrame(canvas, columnOf(square), rowOf(square), COLOR_RED);
        return;
    }
    canvas.setPenColor(COLOR_RED);
    canvas.setBrushColor(COLOR_RED);
    cellEllipse(canvas, columnOf(square), rowOf(square), MARK_INSET, MARK_END);
    canvas.setPenColor(COLOR_BLACK);
}

// Two rings in the colour just inside the cell's stone box, what is under
// them left visible; the pen stays in the colour.
void cellRings(BoardCanvas& canvas, int square, Rgb color) {
    canvas.setPenColor(color);
    canvas.setBrushStyle(BrushStyle::CLEAR);
    cellEllipse(canvas, columnOf(square), rowOf(square), STONE_INSET, STONE_END);
    cellEllipse(canvas, columnOf(square), rowOf(square), STONE_INSET + 1, STONE_END - 1);
    canvas.setBrushStyle(BrushStyle::SOLID);
}

void drawCandidates(const V2Board& board, BoardCanvas& canvas, const PictureOptions& options) {
    CandidateList candidates;
    generateCandidates(board, candidates);  // only the list is used, not the result
    canvas.setBrushColor(stoneColor(board.sideToMove(), options));
    for (const int square : candidates) cellEllipse(canvas, columnOf(square), rowOf(square), DOT_INSET, DOT_END);
}

}  // namespace

void drawBoard(const V2Board& board, BoardCanvas& canvas, const PictureOptions& options) {
    canvas.setBrushStyle(BrushStyle::SOLID);
    canvas.setBrushColor(COLOR_YELLOW);
    canvas.fillRect(0, 0, PICTURE_SIZE, PICTURE_SIZE);
    drawGrid(canvas);
    drawStones(board, canvas, options);
    drawMoveNumbers(board, canvas, options);
    drawLastMoveMark(board, canvas, options);
    if (!options.fiveSquares.empty()) {
        for (const int square : options.fiveSquares)
            if (isSquare(square)) cellRings(canvas, square, COLOR_BLUE);
        canvas.setPenColor(COLOR_BLACK);
    }
    drawCandidates(board, canvas, options);
    if (isSquare(options.hint)) {
        cellRings(canvas, options.hint, COLOR_GREEN);
        canvas.setPenColor(COLOR_BLACK);
    }
}

void drawMoveMark(BoardCanvas& canvas, int column, int row) {
    if (!onBoard(column, row))
        throw std::out_of_range("move " + std::to_string(column) + "," + std::to_string(row) +
                                " is off the board");
    // Two rings, the second just inside the first: a ring one pixel wide is
    // lost on a busy board. The pen stays red.
    cellRings(canvas, squareAt(column, row), COLOR_RED);
}

}  // namespace vorek
