#include "app/board_view/window_columns.h"

#include <QResizeEvent>
#include <QWidget>
#include <algorithm>

#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"

namespace vorek {

namespace {

// The window's first width, and the board column's part of it.
constexpr int FORM_WIDTH = 737;
constexpr int BOARD_COLUMN_WIDTH = 405;
// The picture's margins in its panel: 1 pixel above, below and on the
// left, 3 on the right.
constexpr int PICTURE_LEFT = 1;
constexpr int PICTURE_TOP = 1;
constexpr int PICTURE_MARGINS_ACROSS = 4;
constexpr int PICTURE_MARGINS_DOWN = 2;
constexpr int SPLITTER_HANDLE = 4;

// The largest side, from `from` down, whose length still fits.
template <typename Length>
int largestFitting(int from, int room, Length length) {
    int side = from;
    while (side > 0 && length(side) > room) --side;
    return side;
}

}  // namespace

BoardColumn::BoardColumn(QWidget& column, QWidget& picturePanel, BoardImage& image, BoardCoordinates& coordinates,
                         QWidget& boardStatus)
    : QLayout(&column),
      picturePanel_(picturePanel),
      image_(image),
      coordinates_(coordinates),
      boardStatus_(boardStatus),
      items_{new QWidgetItem(&picturePanel), new QWidgetItem(&boardStatus)} {
    setContentsMargins(0, 0, 0, 0);
    addChildWidget(&picturePanel);
    addChildWidget(&boardStatus);
}

BoardColumn::~BoardColumn() {
    for (QLayoutItem* item : items_) delete item;
}

int BoardColumn::columnWidth(int side) const { return side + PICTURE_MARGINS_ACROSS + coordinates_.width(side); }

int BoardColumn::columnHeight(int side) const {
    return side + PICTURE_MARGINS_DOWN + coordinates_.height(side) + boardStatus_.minimumHeight();
}

int BoardColumn::boardSide(QSize column) const {
    const int byWidth = largestFitting(column.width(), column.width(), [this](int side) { return columnWidth(side); });
    const int byHeight = largestFitting(std::min(column.height(), byWidth), column.height(),
                                        [this](int side) { return columnHeight(side); });
    return std::max(PICTURE_SIZE, std::min(byWidth, byHeight));
}

int BoardColumn::widestUseful(int height) const {
    const int side = largestFitting(height, height, [this](int s) { return columnHeight(s); });
    return columnWidth(std::max(PICTURE_SIZE, side));
}

void BoardColumn::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    placePicture(boardSide(rect.size()), rect.width());
    const int statusHeight = boardStatus_.minimumHeight();
    items_[1]->setGeometry(QRect(rect.x(), rect.bottom() + 1 - statusHeight, rect.width(), statusHeight));
}

void BoardColumn::placePicture(int side, int width) {
    const QPoint picture(PICTURE_LEFT + coordinates_.width(side), PICTURE_TOP + coordinates_.height(side));
    items_[0]->setGeometry(QRect(0, 0, width, side + PICTURE_MARGINS_DOWN + coordinates_.height(side)));
    image_.move(picture);
    image_.setSide(side);
    coordinates_.place(picture, side);
}

QSize BoardColumn::sizeHint() const { return QSize(columnWidth(PICTURE_SIZE), columnHeight(PICTURE_SIZE)); }

QSize BoardColumn::minimumSize() const { return sizeHint(); }

// The two items are given at construction; nothing else is taken.
void BoardColumn::addItem(QLayoutItem* item) { delete item; }

int BoardColumn::count() const { return static_cast<int>(items_.size()); }

QLayoutItem* BoardColumn::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<std::size_t>(index)] : nullptr;
}

QLayoutItem* BoardColumn::takeAt(int) { return nullptr; }

WindowColumns::WindowColumns(QWidget& boardColumn, BoardColumn& layout, QWidget& pages, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), boardColumn_(boardColumn), layout_(layout) {
    setObjectName(QStringLiteral("BoardSplitter"));
    setHandleWidth(SPLITTER_HANDLE);
    setChildrenCollapsible(false);
    addWidget(&boardColumn);
    addWidget(&pages);
    // The board takes what the window gains, as far as its picture grows.
    setStretchFactor(0, 1);
    setStretchFactor(1, 0);
    setSizes({BOARD_COLUMN_WIDTH, FORM_WIDTH - BOARD_COLUMN_WIDTH - SPLITTER_HANDLE});
}

void WindowColumns::keepPictureSide(int side) {
    boardColumn_.setMaximumWidth(layout_.widestUseful(height()));
    const int column = std::min(layout_.columnWidth(side), boardColumn_.maximumWidth());
    const QList<int> now = sizes();
    setSizes({column, std::max(0, now.value(0) + now.value(1) - column)});
    layout_.invalidate();
    layout_.activate();
}

void WindowColumns::resizeEvent(QResizeEvent* event) {
    boardColumn_.setMaximumWidth(layout_.widestUseful(event->size().height()));
    QSplitter::resizeEvent(event);
}

}  // namespace vorek
