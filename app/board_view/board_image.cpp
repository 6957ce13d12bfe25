#include "app/board_view/board_image.h"

#include <QMouseEvent>
#include <QPainter>

#include "picture/qt_canvas.h"

namespace vorek {

std::optional<int> squareAtPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= PICTURE_SIZE || y >= PICTURE_SIZE) return std::nullopt;
    return squareAt((x - 1) / CELL_SIZE, (y - 1) / CELL_SIZE);
}

BoardImage::BoardImage(QWidget* parent) : QWidget(parent), image_(newBoardImage()) {
    setFixedSize(PICTURE_SIZE, PICTURE_SIZE);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardImage::showBoard(V2Board& board, const PictureOptions& options) {
    {
        QtCanvas canvas(image_);
        drawBoard(board, canvas, options);
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

// A double-click comes here as a second press (QWidget's default), so that it
// counts as two clicks.
void BoardImage::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool firstButton = event->buttons() == event->button();
    const bool clickButton = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    // A second button pressed meanwhile spoils the click.
    pressedSquare_ = firstButton && clickButton ? squareAtPixel(at.x(), at.y()) : std::nullopt;
    pressedButton_ = event->button();
}

void BoardImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const std::optional<int> square = squareAtPixel(at.x(), at.y());
    const bool click = pressedSquare_ && event->button() == pressedButton_ && square == pressedSquare_;
    pressedSquare_.reset();
    if (click) emit squareClicked(*square, event->button());
}

}  // namespace vorek
