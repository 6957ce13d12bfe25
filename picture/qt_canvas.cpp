#include "picture/qt_canvas.h"

#include <QPen>
#include <QRect>

namespace vorek {

QColor toQColor(Rgb color) { return QColor(color.red, color.green, color.blue); }

QImage newBoardImage() {
    QImage image(PICTURE_SIZE, PICTURE_SIZE, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QtCanvas::QtCanvas(QImage& image) : painter_(&image) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    setPenColor(COLOR_BLACK);
}

void QtCanvas::setPenColor(Rgb color) {
    // A flat cap ends an aliased line before its end point.
    painter_.setPen(QPen(toQColor(color), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
}

void QtCanvas::setBrushColor(Rgb color) { brushColor_ = toQColor(color); }

void QtCanvas::setBrushStyle(BrushStyle style) { brushStyle_ = style; }

void QtCanvas::fillRect(int left, int top, int right, int bottom) {
    if (brushStyle_ == BrushStyle::CLEAR || right <= left || bottom <= top) return;
    painter_.fillRect(QRect(left, top, right - left, bottom - top), brushColor_);
}

void QtCanvas::line(int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return;  // only the excluded end point
    painter_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::ellipse(int left, int top, int right, int bottom) {
    // An outlined QRect covers width + 1 pixels, so the rectangle that ends
    // before right and bottom is one pixel narrower than the box.
    const int width = right - left - 1;
    const int height = bottom - top - 1;
    if (width < 1 || height < 1) return;
    painter_.setBrush(brushStyle_ == BrushStyle::SOLID ? QBrush(brushColor_) : QBrush(Qt::NoBrush));
    painter_.drawEllipse(QRect(left, top, width, height));
}

}  // namespace vorek
