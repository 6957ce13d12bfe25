// What the window shows of the position on show: the board picture with the
// "View" menu's choices, a game's colours and the last move's mark; the side
// to move (or who has won, by a five on the board); both threat lists under
// headings naming their letters; and the report of the square under the
// mouse in the caption and the first two panels of the board's status bar.
#pragma once

#include <QString>
#include <functional>

#include "picture/board_picture.h"

class QImage;
class QWidget;

namespace vorek {

class ViewMenu;
class WindowController;
struct WindowWidgets;

class PositionView {
public:
    PositionView(WindowController& controller, const WindowWidgets& widgets);

    // Draws the controller's shown board with its lists, its side to move and
    // the report of the square under the mouse, once there is one; then
    // tells the listener.
    void show();
    // Called at the end of every show(): the position shown may have changed.
    void setShownListener(std::function<void()> listener) { shown_ = std::move(listener); }
    // A position from another source (a folder, a game) is coming: the
    // caption goes back to "Form1" and the square report is emptied, so that
    // nothing describes the old position.
    void forgetSquareReport();

    // The pointer moved to the pixel x, y of the picture: the caption names
    // its square as "[column,row,square]", the panels report it. A pixel off
    // the picture changes nothing.
    void reportSquareAt(int x, int y);
    int mouseColumn() const { return mouseColumn_; }
    int mouseRow() const { return mouseRow_; }
    int mouseSquare() const { return mouseSquare_; }

    // Circles the cell of column, row (0..19) in red on the picture shown,
    // until the next drawing.
    void markMove(int column, int row);
    // A square to ring in green on the root's position while it is shown (a
    // proving move); -1 for none. Kept until set again.
    void setRootHint(int square) { rootHint_ = square; }

    // What the picture of the position on show adds to its stones.
    PictureOptions pictureOptions() const;
    // Whether the player's stones are black in the picture of the position on show.
    bool playsBlack(Player player) const;
    // The picture as last drawn.
    const QImage& image() const;
    // The text of the side to move.
    QString sideToMoveText() const;

private:
    void showSideToMove(const V2Board& board, const PictureOptions& options);
    void showSquareReport();

    WindowController& controller_;
    const WindowWidgets& widgets_;
    int mouseColumn_ = 0;
    int mouseRow_ = 0;
    int mouseSquare_ = 0;
    bool reported_ = false;  // a square has been reported since the position's source came
    int rootHint_ = -1;
    std::function<void()> shown_;
};

}  // namespace vorek
