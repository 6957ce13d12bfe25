// The board canvas on a QImage, at the picture's own size or at any other.
// At its own size (401 pixels a side) it is QPainter without antialiasing
// and a 1-pixel pen, mapped so that every shape covers exactly the pixels its
// rectangle or end points say (right and bottom edges and a line's end point
// excluded). At another size every picture pixel edge u lands on the image
// pixel edge nearest to u x size / 401, so cells, lines and stones keep their
// proportions and tile without gaps; ellipses are then antialiased.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

#include "picture/board_canvas.h"

namespace vorek {

// How numbers are written on the stones: the picture's own digit glyphs
// (the same pixels everywhere, and no font needed), or the application's
// font, sharp at any size.
enum class NumberStyle { GLYPHS, FONT };

class QtCanvas final : public BoardCanvas {
public:
    // Paints on the image, whose side is `side` pixels (PICTURE_SIZE: the
    // picture's own size), until the canvas is destroyed. NumberStyle::FONT
    // needs a QGuiApplication.
    explicit QtCanvas(QImage& image, int side = PICTURE_SIZE, NumberStyle numbers = NumberStyle::GLYPHS);

    void setPenColor(Rgb color) override;
    void setBrushColor(Rgb color) override;
    void setBrushStyle(BrushStyle style) override;
    void fillRect(int left, int top, int right, int bottom) override;
    void line(int x1, int y1, int x2, int y2) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void number(int centreX, int centreY, int number, Rgb color) override;

private:
    int edge(int pictureEdge) const;
    double scale() const;

    QPainter painter_;
    int side_;
    NumberStyle numbers_;
    QColor penColor_{Qt::black};
    QColor brushColor_{Qt::white};
    BrushStyle brushStyle_ = BrushStyle::SOLID;
};

QColor toQColor(Rgb color);

// A blank image for the board picture, `side` pixels a side, in the format the
// canvas paints.
QImage newBoardImage(int side = PICTURE_SIZE);

// The largest picture pixel whose cell on an image of `side` pixels holds
// the image pixel `at` (0 .. side - 1): the inverse of the canvas's mapping.
int picturePixelAt(int at, int side);

}  // namespace vorek
