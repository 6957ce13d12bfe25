#include "app/board_view/board_coordinates.h"

#include <QPainter>
#include <QWidget>

#include "board/board_canvas.h"
#include "threats/threat.h"

namespace vorek {

namespace {

constexpr int NUMBER_PIXEL_SIZE = 10;

}  // namespace

// One ruler: the numbers 1 to 20, each centred on its column or row of cells.
class CoordinateRuler final : public QWidget {
public:
    CoordinateRuler(Qt::Orientation orientation, QWidget* parent)
        : QWidget(parent), orientation_(orientation) {
        if (orientation == Qt::Horizontal)
            setFixedSize(PICTURE_SIZE, BoardCoordinates::RULER_HEIGHT);
        else
            setFixedSize(BoardCoordinates::RULER_WIDTH, PICTURE_SIZE);
        QFont small = font();
        small.setPixelSize(NUMBER_PIXEL_SIZE);
        setFont(small);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        for (int i = 0; i < BOARD_SIDE; ++i) {
            // A cell's centre is half a cell past its corner, as the stones' are.
            const int start = i * CELL_SIZE;
            const QRect cell = orientation_ == Qt::Horizontal ? QRect(start, 0, CELL_SIZE, height())
                                                              : QRect(0, start, width(), CELL_SIZE);
            painter.drawText(cell, Qt::AlignCenter, QString::number(i + 1));
        }
    }

private:
    Qt::Orientation orientation_;
};

BoardCoordinates::BoardCoordinates(QWidget& outerPanel, QWidget& picturePanel, QWidget& image)
    : outerPanel_(outerPanel),
      picturePanel_(picturePanel),
      image_(image),
      outerWidth_(outerPanel.minimumWidth()),
      picturePanelHeight_(picturePanel.minimumHeight()),
      imageLeft_(image.x()),
      imageTop_(image.y()),
      columns_(new CoordinateRuler(Qt::Horizontal, &picturePanel)),
      rows_(new CoordinateRuler(Qt::Vertical, &picturePanel)) {
    columns_->setObjectName(QStringLiteral("ColumnNumbers"));
    rows_->setObjectName(QStringLiteral("RowNumbers"));
}

void BoardCoordinates::setShown(bool shown) {
    const int left = shown ? RULER_WIDTH : 0;
    const int top = shown ? RULER_HEIGHT : 0;
    outerPanel_.setFixedWidth(outerWidth_ + left);
    picturePanel_.setFixedHeight(picturePanelHeight_ + top);
    image_.move(imageLeft_ + left, imageTop_ + top);
    columns_->move(imageLeft_ + left, imageTop_);
    rows_->move(imageLeft_, imageTop_ + top);
    columns_->setVisible(shown);
    rows_->setVisible(shown);
}

}  // namespace vorek
