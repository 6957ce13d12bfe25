#include "picture/qt_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPen>
#include <QRect>
#include <algorithm>
#include <cmath>

#include "board/move_numbers.h"

namespace vorek {

namespace {

// Written numbers fit in this much of a stone's 19 pixels, across and high.
constexpr double NUMBER_WIDTH = 13;
constexpr double NUMBER_HEIGHT = 8;

// The image pixel edge of a picture pixel edge on an image of `side` pixels.
int edgeOn(int pictureEdge, int side) {
    const long long scaled = static_cast<long long>(pictureEdge) * side;
    const long long rounded = scaled >= 0 ? (2 * scaled + PICTURE_SIZE) / (2 * PICTURE_SIZE)
                                          : -((-2 * scaled + PICTURE_SIZE) / (2 * PICTURE_SIZE));
    return static_cast<int>(rounded);
}

}  // namespace

QColor toQColor(Rgb color) { return QColor(color.red, color.green, color.blue); }

QImage newBoardImage(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int picturePixelAt(int at, int side) {
    int pixel = static_cast<int>(static_cast<long long>(at) * PICTURE_SIZE / side);
    while (edgeOn(pixel + 1, side) <= at) ++pixel;
    while (pixel > 0 && edgeOn(pixel, side) > at) --pixel;
    return pixel;
}

QtCanvas::QtCanvas(QImage& image, int side, NumberStyle numbers)
    : painter_(&image), side_(side), numbers_(numbers) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    setPenColor(COLOR_BLACK);
}

int QtCanvas::edge(int pictureEdge) const { return edgeOn(pictureEdge, side_); }

double QtCanvas::scale() const { return static_cast<double>(side_) / PICTURE_SIZE; }

void QtCanvas::setPenColor(Rgb color) {
    penColor_ = toQColor(color);
    // A flat cap ends an aliased line before its end point.
    painter_.setPen(QPen(penColor_, std::max(1.0, scale()), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
}

void QtCanvas::setBrushColor(Rgb color) { brushColor_ = toQColor(color); }

void QtCanvas::setBrushStyle(BrushStyle style) { brushStyle_ = style; }

void QtCanvas::fillRect(int left, int top, int right, int bottom) {
    if (brushStyle_ == BrushStyle::CLEAR || right <= left || bottom <= top) return;
    const QRect area(QPoint(edge(left), edge(top)), QPoint(edge(right) - 1, edge(bottom) - 1));
    if (area.isValid()) painter_.fillRect(area, brushColor_);
}

// The picture's lines run along rows and columns: a band as wide as a
// picture pixel, in whole image pixels and the same for every line, from the
// edge of its picture pixel.
void QtCanvas::line(int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return;  // only the excluded end point
    const int width = std::max(1, static_cast<int>(std::lround(scale())));
    if (x1 == x2) {
        const int top = edge(std::min(y1, y2 + 1));
        const int bottom = edge(std::max(y1 + 1, y2));
        painter_.fillRect(QRect(edge(x1), top, width, bottom - top), penColor_);
    } else if (y1 == y2) {
        const int left = edge(std::min(x1, x2 + 1));
        const int right = edge(std::max(x1 + 1, x2));
        painter_.fillRect(QRect(left, edge(y1), right - left, width), penColor_);
    } else {
        painter_.drawLine(QPointF(edge(x1), edge(y1)), QPointF(edge(x2), edge(y2)));
    }
}

void QtCanvas::ellipse(int left, int top, int right, int bottom) {
    painter_.setBrush(brushStyle_ == BrushStyle::SOLID ? QBrush(brushColor_) : QBrush(Qt::NoBrush));
    if (side_ == PICTURE_SIZE) {
        // An outlined QRect covers width + 1 pixels, so the rectangle that ends
        // before right and bottom is one pixel narrower than the box.
        const int width = right - left - 1;
        const int height = bottom - top - 1;
        if (width < 1 || height < 1) return;
        painter_.drawEllipse(QRect(left, top, width, height));
        return;
    }
    // The outline's outer edge on the box's edges: the path runs half a pen
    // inside them.
    const double pen = painter_.pen().widthF();
    const QRectF box(QPointF(edge(left), edge(top)), QPointF(edge(right), edge(bottom)));
    const QRectF path = box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    if (!path.isValid()) return;
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.drawEllipse(path);
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

// In a font: the digits' box, cap height by advance, is scaled to fit the
// stone and centred on the middle of the centre pixel.
void QtCanvas::number(int centreX, int centreY, int number, Rgb color) {
    if (numbers_ == NumberStyle::GLYPHS || number < 1 || number > LARGEST_SHOWN_NUMBER) {
        BoardCanvas::number(centreX, centreY, number, color);
        return;
    }
    const QString digits = QString::number(number);
    QFont font = QGuiApplication::font();
    font.setBold(true);
    font.setPixelSize(100);
    const QFontMetricsF large(font);
    const double fit = std::min(NUMBER_WIDTH * scale() / large.horizontalAdvance(digits),
                                NUMBER_HEIGHT * scale() / large.capHeight());
    font.setPixelSize(std::max(1, static_cast<int>(100 * fit)));
    const QFontMetricsF metrics(font);
    const QPointF centre((edge(centreX) + edge(centreX + 1)) / 2.0, (edge(centreY) + edge(centreY + 1)) / 2.0);
    const QPointF baseline(centre.x() - metrics.horizontalAdvance(digits) / 2, centre.y() + metrics.capHeight() / 2);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setFont(font);
    painter_.setPen(toQColor(color));
    painter_.drawText(baseline, digits);
    painter_.restore();
}

}  // namespace vorek
