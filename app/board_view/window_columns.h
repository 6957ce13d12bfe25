// The main window's two columns: on the left the board column, the square
// board picture (with its rulers) over its status bar; on the right the
// pages. The picture grows with the window: the board column takes the
// share of the width it has at the window's first size, 405 of 737 pixels,
// and the picture fills that as far as the height allows, never below its
// own 401 pixels. At the first size everything stands where it always did.
#pragma once

#include <QLayout>
#include <array>

namespace vorek {

class BoardCoordinates;
class BoardImage;

class WindowColumns final : public QLayout {
public:
    // Lays out the two columns, children of `central`; the picture and its
    // rulers sit in `picturePanel`, at the top of `boardColumn`, whose
    // bottom holds `boardStatus`.
    WindowColumns(QWidget& central, QWidget& boardColumn, QWidget& picturePanel, BoardImage& image,
                  BoardCoordinates& coordinates, QWidget& boardStatus, QWidget& pages);
    ~WindowColumns() override;

    // The side of the picture in a central area of this size.
    int boardSide(QSize area) const;

    void setGeometry(const QRect& rect) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

private:
    int columnWidth(int side) const;
    int columnHeight(int side) const;
    void placePicture(int side);

    QWidget& picturePanel_;
    BoardImage& image_;
    BoardCoordinates& coordinates_;
    QWidget& boardStatus_;
    std::array<QLayoutItem*, 2> columns_;  // the board column, the pages
};

}  // namespace vorek
