// The board picture painted through QPainter, checked pixel by pixel, at its
// own size and at others.
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

#include "picture/board_png.h"
#include "picture/picture_recording.h"
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

// The pixels of the colour inside the rectangle.
int countIn(const QImage& image, const QRect& area, QRgb color) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == color;
    return count;
}

// The smallest rectangle holding the pixels inside the disc of `stone`, its
// outline left out, that are far from its fill: what is written on it.
QRect inkOn(const QImage& image, const QRect& stone, QRgb fill) {
    const QPointF centre = QRectF(stone).center();
    const double inside = stone.width() / 2.0 - 1.5 * stone.width() / 19.0;
    QRect ink;
    for (int y = stone.top(); y <= stone.bottom(); ++y)
        for (int x = stone.left(); x <= stone.right(); ++x) {
            const QPointF at(x + 0.5, y + 0.5);
            if (std::hypot(at.x() - centre.x(), at.y() - centre.y()) > inside) continue;
            if (qAbs(qGray(image.pixel(x, y)) - qGray(fill)) > 128) ink |= QRect(x, y, 1, 1);
        }
    return ink;
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

    // At twice the size every rectangle and line lands on whole pixel pairs:
    // away from the one dot, the picture is the design's with each pixel doubled.
    void twiceTheSizeIsTheDesignsGeometryDoubled() {
        auto board = testing::boardFromRows({}, PLAYER0);
        const QImage small = renderBoard(*board);
        const QImage large = renderBoard(*board, {}, 2 * PICTURE_SIZE);
        QCOMPARE(large.size(), QSize(802, 802));
        const QRect dot(QPoint(2 * 206, 2 * 206), QPoint(2 * 215 - 1, 2 * 215 - 1));
        for (int y = 0; y < 802; ++y)
            for (int x = 0; x < 802; ++x)
                if (!dot.contains(x, y) && large.pixel(x, y) != small.pixel(x / 2, y / 2))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        QCOMPARE(large.pixel(2 * 210, 2 * 210), WHITE);
    }

    // At any size the image's pixels map back to the picture's in order, and
    // every picture pixel has at least one; the grid lines are all as wide.
    void everySizeMapsBackToThePictureAndKeepsItsLinesEven() {
        for (int side : {401, 402, 555, 600, 848, 1003}) {
            const QByteArray name = QByteArray::number(side);
            QCOMPARE(picturePixelAt(0, side), 0);
            QCOMPARE(picturePixelAt(side - 1, side), PICTURE_SIZE - 1);
            std::vector<int> seen(PICTURE_SIZE, 0);
            for (int at = 0, last = 0; at < side; ++at) {
                const int pixel = picturePixelAt(at, side);
                QVERIFY2(pixel >= last && pixel <= last + 1, name);
                ++seen[static_cast<std::size_t>(pixel)];
                last = pixel;
            }
            QVERIFY2(std::count(seen.begin(), seen.end(), 0) == 0, name);

            // Along a row of the picture that no grid line runs through.
            auto board = testing::boardFromRows({});
            const QImage image = renderBoard(*board, {}, side);
            int y = 0;
            while (picturePixelAt(y, side) != 15) ++y;
            std::vector<int> widths;
            for (int x = 0, run = 0; x < side; ++x) {
                const bool black = image.pixel(x, y) == BLACK;
                if (black) ++run;
                if (!black && run > 0) widths.push_back(std::exchange(run, 0));
            }
            QVERIFY2(widths.size() == 20, name);
            QVERIFY2(std::adjacent_find(widths.begin(), widths.end(), std::not_equal_to<>()) == widths.end(), name);
        }
    }

    // Numbers in the font stay well inside their stones at every size; the
    // last move's dot is red on its stone, which stays its own colour around it.
    void fontNumbersFitTheStoneAndTheLastMoveIsMarked() {
        auto board = testing::boardFromRows({"xo"});
        PictureOptions options;
        options.moveNumbers[0] = 88;
        options.moveNumbers[1] = 8888;
        for (int side : {401, 802, 1203}) {
            const QImage image = renderBoard(*board, options, side, NumberStyle::FONT);
            const int scale = side / PICTURE_SIZE;
            for (int column : {0, 1}) {
                const QByteArray name = QByteArray::number(side) + " " + QByteArray::number(column);
                const QRect stone(column * 20 * scale + scale, scale, 19 * scale, 19 * scale);
                const QRect ink = inkOn(image, stone, column == 0 ? BLACK : WHITE);
                QVERIFY2(!ink.isEmpty(), name);
                QVERIFY2(stone.adjusted(2 * scale, 4 * scale, -2 * scale, -4 * scale).contains(ink), name);
            }
        }
        options.moveNumbers = {};
        options.lastMove = 1;
        const QImage marked = renderBoard(*board, options, 802);
        QCOMPARE(marked.pixel(2 * 30 + 1, 2 * 10 + 1), RED);  // the centre of 1,0
        QVERIFY(countIn(marked, QRect(2 * 21, 2 * 1, 38, 38), RED) <= 14 * 14);
        QCOMPARE(marked.pixel(2 * 30 + 1, 2 * 4), WHITE);
    }

    // The window's picture is kept as calls and painted again at its size.
    void aRecordingReplaysThePictureAtAnySize() {
        auto board = testing::evaluatedBoard({"", "", "", "", "", "", "", "", "", "          o", "         xx",
                                              "          o"});
        PictureOptions options;
        options.moveNumbers[210] = 7;
        options.lastMove = 209;
        PictureRecording recording;
        drawBoard(*board, recording, options);
        drawMoveMark(recording, 3, 4);
        for (int side : {401, 613}) {
            QImage direct = newBoardImage(side);
            {
                QtCanvas canvas(direct, side, NumberStyle::FONT);
                drawBoard(*board, canvas, options);
                drawMoveMark(canvas, 3, 4);
            }
            QImage replayed = newBoardImage(side);
            {
                QtCanvas canvas(replayed, side, NumberStyle::FONT);
                recording.replay(canvas);
            }
            QCOMPARE(replayed, direct);
        }
    }

    // The answer's ring is two pixels thick, inside the stone's box.
    void moveMarkIsTwoPixelsThick() {
        QImage image = blank(YELLOW);
        {
            QtCanvas canvas(image);
            drawMoveMark(canvas, 10, 9);
        }
        QCOMPARE(paintedArea(image, YELLOW), QRect(QPoint(201, 181), QPoint(219, 199)));
        for (QPoint ring : {QPoint(201, 190), QPoint(202, 190), QPoint(210, 181), QPoint(210, 182),
                            QPoint(219, 190), QPoint(218, 190)})
            QCOMPARE(image.pixel(ring), RED);
        QCOMPARE(image.pixel(210, 190), YELLOW);
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

QTEST_MAIN(vorek::BoardImageTest)
#include "test_board_image.moc"
