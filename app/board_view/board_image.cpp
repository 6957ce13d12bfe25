#include "app/board_view/board_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "picture/qt_canvas.h"

namespace vorek {

std::optional<int> squareAtPixel(int x, int y, int side) {
    if (x < 0 || y < 0 || x >= side || y >= side) return std::nullopt;
    const int pictureX = picturePixelAt(x, side);
    const int pictureY = picturePixelAt(y, side);
    return squareAt((pictureX - 1) / CELL_SIZE, (pictureY - 1) / CELL_SIZE);
}

BoardImage::BoardImage(QWidget* parent) : QWidget(parent), image_(newBoardImage()) {
    setFixedSize(PICTURE_SIZE, PICTURE_SIZE);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardImage::setSide(int side) {
    if (side == width()) return;
    setFixedSize(side, side);
    render();
    update();
}

void BoardImage::showBoard(V2Board& board, const PictureOptions& options) {
    picture_.clear();
    drawBoard(board, picture_, options);
    render();
    update();
}

void BoardImage::setMarks(BoardMarks marks) {
    if (marks == marks_) return;
    marks_ = std::move(marks);
    render();
    update();
}

void BoardImage::markMove(int column, int row) {
    drawMoveMark(picture_, column, row);
    render();
    update();
}

// Drawn in the screen's own pixels, so that it is sharp at any density.
void BoardImage::render() {
    const double density = devicePixelRatioF();
    const int pixels = static_cast<int>(std::lround(width() * density));
    image_ = newBoardImage(pixels);
    {
        QtCanvas canvas(image_, pixels, NumberStyle::FONT);
        picture_.replay(canvas);
    }
    if (marks_.empty()) return;
    QPainter painter(&image_);
    painter.scale(static_cast<double>(pixels) / PICTURE_SIZE, static_cast<double>(pixels) / PICTURE_SIZE);
    paintBoardMarks(painter, marks_);
}

// A window moved to a screen of another density gets the picture drawn
// again for that screen's pixels.
void BoardImage::paintEvent(QPaintEvent*) {
    if (std::lround(width() * devicePixelRatioF()) != image_.width()) render();
    QPainter painter(this);
    painter.drawImage(rect(), image_);
}

std::optional<int> BoardImage::squareAt(QPointF at) const {
    const QPoint pixel = at.toPoint();
    return squareAtPixel(pixel.x(), pixel.y(), side());
}

void BoardImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMoved(at.x(), at.y());
}

// A double-click comes here as a second press (QWidget's default), so that it
// counts as two clicks.
void BoardImage::mousePressEvent(QMouseEvent* event) {
    const bool firstButton = event->buttons() == event->button();
    const bool clickButton = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    // A second button pressed meanwhile spoils the click.
    pressedSquare_ = firstButton && clickButton ? squareAt(event->position()) : std::nullopt;
    pressedButton_ = event->button();
}

void BoardImage::leaveEvent(QEvent*) { emit pointerLeft(); }

void BoardImage::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<int> square = squareAt(event->position());
    const bool click = pressedSquare_ && event->button() == pressedButton_ && square == pressedSquare_;
    pressedSquare_.reset();
    if (click) emit squareClicked(*square, event->button());
}

}  // namespace vorek
