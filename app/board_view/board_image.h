// The board picture widget: a fixed 401 x 401 image that reports where the
// mouse moves over it and which square it clicks.
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

#include "board/board_picture.h"
#include "board/v2board.h"

namespace vorek {

// The square (0..399) whose cell holds the pixel: column (x - 1) / 20 and
// row (y - 1) / 20, truncated toward zero, so that pixel 0 falls into the
// first cell too. Nullopt for a pixel off the picture.
std::optional<int> squareAtPixel(int x, int y);

class BoardImage final : public QWidget {
    Q_OBJECT

public:
    explicit BoardImage(QWidget* parent = nullptr);

    // The picture as last drawn.
    const QImage& image() const { return image_; }
    // Draws the board with its candidate dots over the whole picture.
    void showBoard(V2Board& board, const PictureOptions& options = {});
    // Circles the cell of column, row (0..19) in red on top of the picture.
    void markMove(int column, int row);

signals:
    // Pixel position of the pointer, also outside the picture while a button is held.
    void mouseMoved(int x, int y);
    // The left or right button went down and came up again on the same square.
    void squareClicked(int square, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    std::optional<int> pressedSquare_;  // where the click's button went down; none once spoilt
    Qt::MouseButton pressedButton_ = Qt::NoButton;
};

}  // namespace vorek
