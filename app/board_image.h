// The board picture widget: a fixed 401 x 401 image that reports where the
// mouse moves over it.
#pragma once

#include <QImage>
#include <QWidget>

#include "board/v2board.h"

namespace vorek {

class BoardImage final : public QWidget {
    Q_OBJECT

public:
    explicit BoardImage(QWidget* parent = nullptr);

    // The picture as last drawn.
    const QImage& image() const { return image_; }
    // Draws the board with its candidate dots over the whole picture.
    void showBoard(V2Board& board);
    // Circles the cell of column, row (0..19) in red on top of the picture.
    void markMove(int column, int row);

signals:
    // Pixel position of the pointer, also outside the picture while a button is held.
    void mouseMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage image_;
};

}  // namespace vorek
