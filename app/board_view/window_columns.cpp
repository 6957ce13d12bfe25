#include "app/board_view/window_columns.h"

#include <QWidget>
#include <algorithm>

#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"

namespace vorek {

namespace {

// The window's first size and the board column's share of it.
constexpr int FORM_WIDTH = 737;
constexpr int BOARD_COLUMN_WIDTH = 405;
// The picture's margins in its panel: 1 pixel above, below and on the
// left, 3 on the right.
constexpr int PICTURE_LEFT = 1;
constexpr int PICTURE_TOP = 1;
constexpr int PICTURE_MARGINS_ACROSS = 4;
constexpr int PICTURE_MARGINS_DOWN = 2;

// The largest side, from `from` down, whose length still fits.
template <typename Length>
int largestFitting(int from, int room, Length length) {
    int side = from;
    while (side > 0 && length(side) > room) --side;
    return side;
}

}  // namespace

WindowColumns::WindowColumns(QWidget& central, QWidget& boardColumn, QWidget& picturePanel, BoardImage& image,
                             BoardCoordinates& coordinates, QWidget& boardStatus, QWidget& pages)
    : QLayout(&central),
      picturePanel_(picturePanel),
      image_(image),
      coordinates_(coordinates),
      boardStatus_(boardStatus),
      columns_{new QWidgetItem(&boardColumn), new QWidgetItem(&pages)} {
    setContentsMargins(0, 0, 0, 0);
    addChildWidget(&boardColumn);
    addChildWidget(&pages);
}

WindowColumns::~WindowColumns() {
    for (QLayoutItem* item : columns_) delete item;
}

int WindowColumns::columnWidth(int side) const { return side + PICTURE_MARGINS_ACROSS + coordinates_.width(side); }

int WindowColumns::columnHeight(int side) const {
    return side + PICTURE_MARGINS_DOWN + coordinates_.height(side) + boardStatus_.minimumHeight();
}

// Estimated from the rulers' share first, then made exact.
int WindowColumns::boardSide(QSize area) const {
    const int share = area.width() * BOARD_COLUMN_WIDTH / FORM_WIDTH;
    const int acrossGuess = (share - PICTURE_MARGINS_ACROSS) * PICTURE_SIZE /
                            (PICTURE_SIZE + coordinates_.width(PICTURE_SIZE)) + 1;
    const int byWidth = largestFitting(acrossGuess, share, [this](int side) { return columnWidth(side); });
    const int downGuess = area.height() + 1;
    const int byHeight = largestFitting(std::min(downGuess, byWidth), area.height(),
                                        [this](int side) { return columnHeight(side); });
    return std::max(PICTURE_SIZE, std::min(byWidth, byHeight));
}

void WindowColumns::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const int side = boardSide(rect.size());
    const int board = columnWidth(side);
    placePicture(side);
    columns_[0]->setGeometry(QRect(rect.x(), rect.y(), board, rect.height()));
    columns_[1]->setGeometry(QRect(rect.x() + board, rect.y(), rect.width() - board, rect.height()));
}

void WindowColumns::placePicture(int side) {
    const QPoint picture(PICTURE_LEFT + coordinates_.width(side), PICTURE_TOP + coordinates_.height(side));
    picturePanel_.setFixedHeight(side + PICTURE_MARGINS_DOWN + coordinates_.height(side));
    image_.move(picture);
    image_.setSide(side);
    coordinates_.place(picture, side);
}

QSize WindowColumns::sizeHint() const {
    return QSize(FORM_WIDTH, std::max(columnHeight(PICTURE_SIZE), columns_[1]->sizeHint().height()));
}

QSize WindowColumns::minimumSize() const {
    const QSize pages = columns_[1]->minimumSize();
    return QSize(columnWidth(PICTURE_SIZE) + pages.width(), std::max(columnHeight(PICTURE_SIZE), pages.height()));
}

// The two columns are given at construction; nothing else is taken.
void WindowColumns::addItem(QLayoutItem* item) { delete item; }

int WindowColumns::count() const { return static_cast<int>(columns_.size()); }

QLayoutItem* WindowColumns::itemAt(int index) const {
    return index >= 0 && index < count() ? columns_[static_cast<std::size_t>(index)] : nullptr;
}

QLayoutItem* WindowColumns::takeAt(int) { return nullptr; }

}  // namespace vorek
