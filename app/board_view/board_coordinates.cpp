#include "app/board_view/board_coordinates.h"

#include <QPainter>
#include <QWidget>

#include "picture/board_canvas.h"
#include "threats/threat.h"

namespace vorek {

namespace {

constexpr int NUMBER_PIXEL_SIZE = 10;  // at the picture's own size

// A length of the picture at its own size, on a picture `side` pixels a side.
int scaled(int length, int side) { return (length * side + PICTURE_SIZE / 2) / PICTURE_SIZE; }

}  // namespace

// One ruler: the numbers 0 to 19, each centred on its column or row of cells.
class CoordinateRuler final : public QWidget {
public:
    CoordinateRuler(Qt::Orientation orientation, QWidget* parent)
        : QWidget(parent), orientation_(orientation) {
        hide();
    }

    // The ruler along a picture `side` pixels a side, `breadth` pixels across.
    void fit(QPoint at, int side, int breadth) {
        side_ = side;
        QFont small = font();
        small.setPixelSize(scaled(NUMBER_PIXEL_SIZE, side));
        setFont(small);
        setGeometry(orientation_ == Qt::Horizontal ? QRect(at.x(), at.y(), side, breadth)
                                                   : QRect(at.x(), at.y(), breadth, side));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        for (int i = 0; i < BOARD_SIDE; ++i) {
            // A cell's centre is half a cell past its corner, as the stones' are.
            const int start = scaled(i * CELL_SIZE, side_);
            const int length = scaled((i + 1) * CELL_SIZE, side_) - start;
            const QRect cell = orientation_ == Qt::Horizontal ? QRect(start, 0, length, height())
                                                              : QRect(0, start, width(), length);
            painter.drawText(cell, Qt::AlignCenter, QString::number(i));
        }
    }

private:
    Qt::Orientation orientation_;
    int side_ = PICTURE_SIZE;
};

BoardCoordinates::BoardCoordinates(QWidget& picturePanel)
    : columns_(new CoordinateRuler(Qt::Horizontal, &picturePanel)),
      rows_(new CoordinateRuler(Qt::Vertical, &picturePanel)) {
    columns_->setObjectName(QStringLiteral("ColumnNumbers"));
    rows_->setObjectName(QStringLiteral("RowNumbers"));
}

void BoardCoordinates::setShown(bool shown) {
    shown_ = shown;
    columns_->setVisible(shown);
    rows_->setVisible(shown);
}

int BoardCoordinates::width(int side) const { return shown_ ? scaled(RULER_WIDTH, side) : 0; }

int BoardCoordinates::height(int side) const { return shown_ ? scaled(RULER_HEIGHT, side) : 0; }

void BoardCoordinates::place(QPoint picture, int side) {
    columns_->fit(QPoint(picture.x(), picture.y() - height(side)), side, height(side));
    rows_->fit(QPoint(picture.x() - width(side), picture.y()), side, width(side));
}

}  // namespace vorek
