// The board's coordinates: column numbers above and row numbers left of the
// board picture, outside it, counted from 1 as game records count them. The
// panels that hold the picture grow by the rulers' room while they show and
// shrink back when they go; the picture itself is never touched.
#pragma once

class QWidget;

namespace vorek {

class CoordinateRuler;

class BoardCoordinates {
public:
    // Rulers for the picture `image` at its place in `picturePanel`, which
    // sits in `outerPanel`; both panels have their fixed sizes. Hidden.
    BoardCoordinates(QWidget& outerPanel, QWidget& picturePanel, QWidget& image);

    // Shows or hides both rulers and fits the panels and the picture's place.
    void setShown(bool shown);

    // Room the rulers take: the column ruler's height and the row ruler's width.
    static constexpr int RULER_HEIGHT = 14;
    static constexpr int RULER_WIDTH = 20;

private:
    QWidget& outerPanel_;
    QWidget& picturePanel_;
    QWidget& image_;
    const int outerWidth_;
    const int picturePanelHeight_;
    const int imageLeft_;
    const int imageTop_;
    CoordinateRuler* columns_;
    CoordinateRuler* rows_;
};

}  // namespace vorek
