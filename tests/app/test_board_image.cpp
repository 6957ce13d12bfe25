// The board picture painted through QPainter, checked pixel by pixel.
#include <QTemporaryDir>
#include <QtTest>

#include "picture/board_png.h"
#include "picture/qt_canvas.h"
#include "tests/board_builder.h"

namespace vorek {
namespace {

const QRgb YELLOW = qRgb(255, 255, 0);
const QRgb BLACK = qRgb(0, 0, 0);
const QRgb WHITE = qRgb(255, 255, 255);
const QRgb RED = qRgb(255, 0, 0);

// The smallest rectangle holding every pixel that is not the given colour.
QRect paintedArea(const QImage& image, QRgb background) {
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) area |= QRect(x, y, 1, 1);
    return area;
}

QImage blank(QRgb color) {
    QImage image = newBoardImage();
    image.fill(color);
    return image;
}

bool onGridLine(int x, int y) {
    const bool inGrid = x >= 10 && x <= 390 && y >= 10 && y <= 390;
    return inGrid && (x % 20 == 10 || y % 20 == 10);
}

// Rows of 20 characters, 'x' player 1, 'o' player 0, anything else empty.
QImage picture(std::initializer_list<std::string_view> rows, Player sideToMove = PLAYER1) {
    auto board = testing::boardFromRows(rows, sideToMove);
    return renderBoard(*board);
}

}  // namespace

class BoardImageTest : public QObject {
    Q_OBJECT

private slots:
    void fillRectCoversTheRectangleWithoutItsRightAndBottomEdges() {
        QImage image = blank(WHITE);
        {
            QtCanvas canvas(image);
            canvas.setBrushColor(COLOR_BLACK);
            canvas.fillRect(2, 3, 5, 7);
        }
        QCOMPARE(paintedArea(image, WHITE), QRect(QPoint(2, 3), QPoint(4, 6)));
    }

    void linesStopBeforeTheirEndPoint() {
        QImage image = blank(WHITE);
        {
            QtCanvas canvas(image);
            canvas.setPenColor(COLOR_BLACK);
            canvas.line(10, 10, 10, 391);
        }
        QCOMPARE(paintedArea(image, WHITE), QRect(QPoint(10, 10), QPoint(10, 390)));

        image = blank(WHITE);
        {
            QtCanvas canvas(image);
            canvas.line(10, 30, 391, 30);
        }
        QCOMPARE(paintedArea(image, WHITE), QRect(QPoint(10, 30), QPoint(390, 30)));
    }

    void ellipseFillsItsBoxWithoutRightAndBottomEdgesAndTouchesEachSide() {
        QImage image = blank(YELLOW);
        {
            QtCanvas canvas(image);
            canvas.setPenColor(COLOR_BLACK);
            canvas.setBrushColor(COLOR_WHITE);
            canvas.ellipse(1, 1, 20, 20);
        }
        QCOMPARE(paintedArea(image, YELLOW), QRect(QPoint(1, 1), QPoint(19, 19)));
        for (QPoint outline : {QPoint(10, 1), QPoint(1, 10), QPoint(19, 10), QPoint(10, 19)})
            QCOMPARE(image.pixel(outline), BLACK);
        QCOMPARE(image.pixel(10, 10), WHITE);
        QCOMPARE(image.pixel(1, 1), YELLOW);  // the corner is outside the disc
    }

    void clearBrushDrawsTheOutlineOnly() {
        QImage image = blank(YELLOW);
        {
            QtCanvas canvas(image);
            canvas.setPenColor(COLOR_RED);
            canvas.setBrushColor(COLOR_WHITE);
            canvas.setBrushStyle(BrushStyle::CLEAR);
            canvas.ellipse(201, 181, 220, 200);
        }
        QCOMPARE(paintedArea(image, YELLOW), QRect(QPoint(201, 181), QPoint(219, 199)));
        QCOMPARE(image.pixel(201, 190), RED);
        QCOMPARE(image.pixel(210, 190), YELLOW);
    }

    void backgroundAndGrid() {
        const QImage image = picture({});
        QCOMPARE(image.size(), QSize(401, 401));
        QCOMPARE(image.pixel(0, 0), YELLOW);
        QCOMPARE(image.pixel(400, 400), YELLOW);
        QCOMPARE(image.pixel(30, 57), BLACK);   // vertical line at 30
        QCOMPARE(image.pixel(31, 57), YELLOW);
        QCOMPARE(image.pixel(57, 390), BLACK);  // the last horizontal line
        QCOMPARE(image.pixel(57, 391), YELLOW);
        QCOMPARE(image.pixel(391, 390), YELLOW);  // lines end at 390
        QCOMPARE(image.pixel(10, 9), YELLOW);
    }

    void stonesOnTheCornerSquares() {
        // Player 1 (black) on square 0, player 0 (white) on square 399.
        QImage image = picture({"x", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                                "", "", "", "                   o"});
        QCOMPARE(image.pixel(10, 10), BLACK);
        QCOMPARE(image.pixel(5, 10), BLACK);  // filled, not just outlined
        QCOMPARE(image.pixel(10, 1), BLACK);
        QCOMPARE(image.pixel(10, 0), YELLOW);
        QCOMPARE(image.pixel(20, 5), YELLOW);

        QCOMPARE(image.pixel(390, 390), WHITE);  // the disc hides the crossing
        QCOMPARE(image.pixel(395, 390), WHITE);
        QCOMPARE(image.pixel(381, 390), BLACK);  // outline, left
        QCOMPARE(image.pixel(399, 390), BLACK);  // outline, right
        QCOMPARE(image.pixel(390, 399), BLACK);  // outline, bottom
        QCOMPARE(image.pixel(390, 400), YELLOW);
        QCOMPARE(image.pixel(400, 390), YELLOW);
    }

    void candidateDotInTheColourOfTheSideToMove() {
        const QImage black = picture({}, PLAYER1);
        QCOMPARE(black.pixel(210, 210), BLACK);
        QCOMPARE(black.pixel(208, 208), BLACK);
        const QImage white = picture({}, PLAYER0);
        QCOMPARE(white.pixel(210, 210), WHITE);
        QCOMPARE(white.pixel(208, 208), WHITE);
        QCOMPARE(white.pixel(206, 210), BLACK);  // outline
        QCOMPARE(white.pixel(214, 210), BLACK);
        QCOMPARE(white.pixel(205, 208), YELLOW);
        QCOMPARE(white.pixel(215, 208), YELLOW);
    }

    void emptyBoardShowsOnlyTheCentreDot() {
        const QImage image = picture({}, PLAYER0);
        const QRect dot(QPoint(206, 206), QPoint(214, 214));
        for (int y = 0; y < 401; ++y) {
            for (int x = 0; x < 401; ++x) {
                if (dot.contains(x, y)) continue;
                const QRgb expected = onGridLine(x, y) ? BLACK : YELLOW;
                if (image.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
        QCOMPARE(image.pixel(210, 210), WHITE);
    }

    void pngFileHoldsThePicture() {
        QTemporaryDir dir;
        auto board = testing::boardFromRows({"x"});
        const QString file = dir.filePath(QStringLiteral("board.png"));
        QVERIFY(writeBoardPng(*board, file));
        const QImage read(file);
        QCOMPARE(read.size(), QSize(401, 401));
        QCOMPARE(read.pixel(0, 0), YELLOW);
        QCOMPARE(read.pixel(10, 10), BLACK);
        QVERIFY(!writeBoardPng(*board, dir.filePath(QStringLiteral("missing/board.png"))));
    }
};

}  // namespace vorek

QTEST_GUILESS_MAIN(vorek::BoardImageTest)
#include "test_board_image.moc"
