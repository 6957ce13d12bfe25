// The board picture widget: a square picture of the board at whatever side
// the window gives it, drawn for the screen's pixel density, that reports
// where the mouse moves over it and which square it clicks.
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

#include "app/board_view/board_marks.h"
#include "board/v2board.h"
#include "picture/board_picture.h"
#include "picture/picture_recording.h"

namespace vorek {

// The square (0..399) whose cell holds the pixel of a picture `side` pixels
// a side: the pixel is taken back to the picture's own 401 pixels, then
// column (x - 1) / 20 and row (y - 1) / 20, truncated toward zero, so that
// pixel 0 falls into the first cell too. Nullopt for a pixel off the picture.
std::optional<int> squareAtPixel(int x, int y, int side = PICTURE_SIZE);

class BoardImage final : public QWidget {
    Q_OBJECT

public:
    // At the picture's own size, 401 x 401.
    explicit BoardImage(QWidget* parent = nullptr);

    // The picture as last drawn, in the screen's pixels: side x side at a
    // pixel density of 1.
    const QImage& image() const { return image_; }
    // Makes the widget side x side pixels and draws the picture again at that size.
    void setSide(int side);
    int side() const { return width(); }

    // Draws the board with its candidate dots over the whole picture.
    void showBoard(V2Board& board, const PictureOptions& options = {});
    // Circles the cell of column, row (0..19) in red on top of the picture.
    void markMove(int column, int row);
    // Draws the marks over the picture, in place of the last ones, until
    // they are set again: the board drawn anew keeps them.
    void setMarks(BoardMarks marks);
    const BoardMarks& marks() const { return marks_; }

signals:
    // Pixel position of the pointer, also outside the picture while a button is held.
    void mouseMoved(int x, int y);
    // The left or right button went down and came up again on the same square.
    void squareClicked(int square, Qt::MouseButton button);
    // The pointer left the picture.
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void render();
    std::optional<int> squareAt(QPointF at) const;

    PictureRecording picture_;  // the calls of the last drawing, for any size
    BoardMarks marks_;
    QImage image_;
    std::optional<int> pressedSquare_;  // where the click's button went down; none once spoilt
    Qt::MouseButton pressedButton_ = Qt::NoButton;
};

}  // namespace vorek
