#include "app/board_image.h"

#include <QMouseEvent>
#include <QPainter>

#include "picture/qt_canvas.h"
#include "board/board_picture.h"

namespace vorek {

BoardImage::BoardImage(QWidget* parent) : QWidget(parent), image_(newBoardImage()) {
    setFixedSize(PICTURE_SIZE, PICTURE_SIZE);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardImage::showBoard(V2Board& board) {
    {
        QtCanvas canvas(image_);
        drawBoard(board, canvas);
    }
    update();
}

void BoardImage::markMove(int column, int row) {
    {
        QtCanvas canvas(image_);
        drawMoveMark(canvas, column, row);
    }
    update();
}

void BoardImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void BoardImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMoved(at.x(), at.y());
}

}  // namespace vorek
