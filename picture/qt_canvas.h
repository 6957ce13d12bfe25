// The board canvas on a QImage: QPainter without antialiasing and a 1-pixel
// pen, mapped so that every shape covers exactly the pixels its rectangle or
// end points say (right and bottom edges and a line's end point excluded).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

#include "picture/board_canvas.h"

namespace vorek {

class QtCanvas final : public BoardCanvas {
public:
    // Paints on the image until the canvas is destroyed.
    explicit QtCanvas(QImage& image);

    void setPenColor(Rgb color) override;
    void setBrushColor(Rgb color) override;
    void setBrushStyle(BrushStyle style) override;
    void fillRect(int left, int top, int right, int bottom) override;
    void line(int x1, int y1, int x2, int y2) override;
    void ellipse(int left, int top, int right, int bottom) override;

private:
    QPainter painter_;
    QColor brushColor_{Qt::white};
    BrushStyle brushStyle_ = BrushStyle::SOLID;
};

QColor toQColor(Rgb color);

// A blank image of the board picture's size in the format the canvas paints.
QImage newBoardImage();

}  // namespace vorek
