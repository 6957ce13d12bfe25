// The main window's two columns with a splitter between them: on the left
// the board column, the square board picture (with its rulers) over its
// status bar; on the right the pages. The picture fills its column as far as
// the column's height allows, never below its own 401 pixels, and the board
// column is never wider than that picture needs: where the window has room
// to spare, the pages get it, so no strip opens under the board. The user
// moves the splitter; the window remembers where. At the window's first
// size everything stands where it always did.
#pragma once

#include <QLayout>
#include <QSplitter>
#include <array>

namespace vorek {

class BoardCoordinates;
class BoardImage;

// The board column's layout: the picture panel at the top, holding the
// picture and its rulers, and the status bar at the bottom.
class BoardColumn final : public QLayout {
public:
    BoardColumn(QWidget& column, QWidget& picturePanel, BoardImage& image, BoardCoordinates& coordinates,
                QWidget& boardStatus);
    ~BoardColumn() override;

    // The side of the picture in a column of this size.
    int boardSide(QSize column) const;
    // The width of a column whose picture is `side` pixels a side.
    int columnWidth(int side) const;
    // The widest the column is of use at this height.
    int widestUseful(int height) const;

    void setGeometry(const QRect& rect) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

private:
    int columnHeight(int side) const;
    void placePicture(int side, int width);

    QWidget& picturePanel_;
    BoardImage& image_;
    BoardCoordinates& coordinates_;
    QWidget& boardStatus_;
    std::array<QLayoutItem*, 2> items_;  // the picture panel, the status bar
};

class WindowColumns final : public QSplitter {
public:
    // The board column, laid out by `layout`, and the pages, side by side.
    WindowColumns(QWidget& boardColumn, BoardColumn& layout, QWidget& pages, QWidget* parent);

    // The rulers came or went: the board column takes the width a picture
    // `side` pixels a side needs beside them, the pages the rest.
    void keepPictureSide(int side);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget& boardColumn_;
    BoardColumn& layout_;
};

}  // namespace vorek
