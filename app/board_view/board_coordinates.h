// The board's coordinates: column numbers above and row numbers left of the
// board picture, outside it, counted from 0 as the caption, the protocol's
// x,y and every other text of the window count them. They grow with the
// picture; the picture itself is never touched.
#pragma once

#include <QPoint>

class QWidget;

namespace vorek {

class CoordinateRuler;

class BoardCoordinates {
public:
    // Rulers in the panel that holds the picture. Hidden.
    explicit BoardCoordinates(QWidget& picturePanel);

    void setShown(bool shown);
    bool shown() const { return shown_; }

    // Room the rulers take beside a picture `side` pixels a side: the row
    // ruler's width and the column ruler's height; 0 while hidden.
    int width(int side) const;
    int height(int side) const;

    // Puts the rulers against the top and left edges of the picture whose
    // top left corner is at `picture` in the panel, numbering its cells.
    void place(QPoint picture, int side);

    // The rulers' room beside the picture at its own size.
    static constexpr int RULER_HEIGHT = 14;
    static constexpr int RULER_WIDTH = 20;

private:
    CoordinateRuler* columns_;
    CoordinateRuler* rows_;
    bool shown_ = false;
};

}  // namespace vorek
