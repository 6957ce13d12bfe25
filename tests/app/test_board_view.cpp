// The "View" menu: letter colours, move numbers and coordinates around the
// board picture, all off until turned on and kept for the next window.
#include <QAction>
#include <QSettings>
#include <QTabBar>
#include <QSplitter>
#include <QTabWidget>
#include <utility>

#include "app/board_view/board_coordinates.h"
#include "app/board_view/board_image.h"
#include "app/board_view/view_menu.h"
#include "board/five_in_row.h"
#include "files/game_record.h"
#include "picture/board_png.h"
#include "tests/app/scratch_settings.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::WindowFixture;

namespace {

namespace fs = std::filesystem;

const fs::path REAL_GAME = fs::path(VOREK_EXAMPLES_DIR) / "games" / "o-wins-in-row-12.psq";

struct ViewWindow : WindowFixture {
    ViewMenu& viewMenu() const { return widgets().viewMenu; }
    QWidget* part(const char* name) const { return form->findChild<QWidget*>(QLatin1String(name)); }
    PictureOptions options(bool coloursByLetter, char player1Letter, const MoveNumbers& numbers = {}) const {
        PictureOptions options;
        options.coloursByLetter = coloursByLetter;
        options.player1Letter = player1Letter;
        options.moveNumbers = numbers;
        return options;
    }
    QImage shown() const { return image(); }
};

MoveNumbers recordNumbers(const GameRecord& record, int count) {
    MoveNumbers numbers{};
    for (int i = 0; i < count; ++i) {
        const int square = record.moves[static_cast<std::size_t>(i)];
        numbers[static_cast<std::size_t>(square)] = static_cast<std::uint16_t>(i + 1);
    }
    return numbers;
}

// True when the image has dark pixels in the band [from, from + width) of
// columns (horizontal) or rows.
bool inkIn(const QImage& image, Qt::Orientation orientation, int from, int width) {
    const int breadth = orientation == Qt::Horizontal ? image.height() : image.width();
    for (int along = from; along < from + width; ++along)
        for (int across = 0; across < breadth; ++across) {
            const QPoint at = orientation == Qt::Horizontal ? QPoint(along, across) : QPoint(across, along);
            if (qGray(image.pixel(at)) < 100) return true;
        }
    return false;
}

}  // namespace

class BoardViewTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    // Files with "o" to move: by letter, its stones are white though it is player 1.
    void coloursByLetterKeepXBlackWhoeverIsToMove() {
        ViewWindow w;
        w.dir().write("tah.dat", "o");
        w.action("FileInput1")->trigger();
        QCOMPARE(w.shown(), renderBoard(*w.rootBoard()));
        w.viewMenu().ColoursByLetter1->trigger();
        QCOMPARE(w.shown(), renderBoard(*w.rootBoard(), w.options(true, 'o')));
        QCOMPARE(w.shown().pixel(10 * 20 + 10, 9 * 20 + 10), qRgb(255, 255, 255));  // an "o" stone
    }

    // A game keeps the record's colours, its first mover black, whatever the
    // "View" menu says, and marks the move that led to the position.
    void gamePositionsKeepTheRecordsColoursAndMarkTheirLastMove() {
        ViewWindow w;
        const GameRecord record = std::get<GameRecord>(readGameRecord(REAL_GAME));
        w.game().OpenGame(REAL_GAME);
        const int first = record.moves[0];
        for (bool byLetter : {false, true}) {
            if (byLetter) w.viewMenu().ColoursByLetter1->trigger();
            for (int count : {16, 15, 1, 0}) {
                w.game().ShowGamePosition(count);
                const char mover = letterOfMove(record, count + 1);
                const int last = count > 0 ? record.moves[static_cast<std::size_t>(count - 1)] : -1;
                PictureOptions options = w.options(true, mover);
                if (count >= record.fiveAt) options.fiveSquares = fiveInRow(*w.rootBoard())->squares;
                QCOMPARE(w.shown(), WindowFixture::picture(*w.rootBoard(), last, options));
                if (count == 0) continue;
                QCOMPARE(w.shown().pixel(columnOf(first) * 20 + 4, rowOf(first) * 20 + 10), qRgb(0, 0, 0));
                QCOMPARE(w.shown().pixel(columnOf(last) * 20 + 10, rowOf(last) * 20 + 10), qRgb(255, 0, 0));
            }
        }
        // A node of the tree: its own move is the last.
        w.select(w.root());
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        const int move = w.currentNode()->move;
        QCOMPARE(w.shown().pixel(columnOf(move) * 20 + 10, rowOf(move) * 20 + 10), qRgb(255, 0, 0));
        QCOMPARE(w.view().pictureOptions().lastMove, move);
    }

    void moveNumbersAreTheRecordsThenThoseOfThePathInTheTree() {
        ViewWindow w;
        w.viewMenu().MoveNumbers1->trigger();
        // Position files: the path's moves from 1.
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        MoveNumbers numbers{};
        const int move = w.currentNode()->move;
        numbers[static_cast<std::size_t>(move)] = 1;
        QCOMPARE(w.shown(), WindowFixture::picture(w.currentNode()->ensureBoard(), move, w.options(false, 'x', numbers)));

        const GameRecord record = std::get<GameRecord>(readGameRecord(REAL_GAME));
        w.game().OpenGame(REAL_GAME);
        w.game().ShowGamePosition(11);
        w.select(w.root());
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down}) w.keyClick(key);
        const StatNode& grandchild = *w.currentNode();
        numbers = recordNumbers(record, 11);
        numbers[static_cast<std::size_t>(grandchild.parent()->move)] = 12;
        numbers[static_cast<std::size_t>(grandchild.move)] = 13;
        QCOMPARE(w.shown(), WindowFixture::picture(w.currentNode()->ensureBoard(), grandchild.move,
                                                   w.options(true, 'o', numbers)));
    }

    void coordinatesStandOutsideTheUnchangedPicture() {
        ViewWindow w;
        const QImage plain = w.shown();
        QWidget* outer = w.part("Panel1");
        const int plainWidth = outer->width();
        w.viewMenu().Coordinates1->trigger();
        QCoreApplication::processEvents();

        QWidget* columns = w.part("ColumnNumbers");
        QWidget* rows = w.part("RowNumbers");
        QVERIFY(columns->isVisible() && rows->isVisible());
        QCOMPARE(w.shown(), plain);
        QCOMPARE(w.boardImage()->size(), QSize(401, 401));
        const QRect picture = w.boardImage()->geometry();
        QCOMPARE(columns->geometry().bottom() + 1, picture.top());
        QCOMPARE(columns->x(), picture.x());
        QCOMPARE(rows->geometry().right() + 1, picture.left());
        QCOMPARE(rows->y(), picture.y());
        QCOMPARE(outer->width(), plainWidth + BoardCoordinates::RULER_WIDTH);
        // A number over each column and beside each row, and none on the cells' borders.
        const QImage top = columns->grab().toImage();
        const QImage left = rows->grab().toImage();
        for (int i = 0; i < 20; ++i) {
            QVERIFY2(inkIn(top, Qt::Horizontal, i * 20 + 3, 14), qPrintable(QString::number(i)));
            QVERIFY2(inkIn(left, Qt::Vertical, i * 20 + 3, 14), qPrintable(QString::number(i)));
            QVERIFY(!inkIn(top, Qt::Horizontal, i * 20, 1));
        }

        w.viewMenu().Coordinates1->trigger();
        QVERIFY(!columns->isVisible());
        QCOMPARE(w.boardImage()->pos(), QPoint(1, 1));
        QCOMPARE(outer->width(), plainWidth);
    }

    // The picture grows with the window, square, and the pointer finds its
    // squares at every size; at the first size all stands where it was, and
    // the pages keep their share with every tab readable.
    void theBoardGrowsWithTheWindowAndThePointerFollows() {
        ViewWindow w;
        // The design's 401 at the first size; as the window grows, the
        // picture takes the whole height under it and the pages the rest,
        // so that no strip opens under the picture; never below 401.
        constexpr int BY_HEIGHT = 0;
        struct Case {
            QSize window;
            int side;
        };
        const Case cases[] = {{{737, 584}, 401}, {{1550, 940}, BY_HEIGHT}, {{1200, 584}, BY_HEIGHT},
                              {{300, 200}, 401}};
        for (const Case& c : cases) {
            const QByteArray name = QByteArray::number(c.window.width()) + "x" + QByteArray::number(c.window.height());
            w.form->resize(c.window);
            QCoreApplication::processEvents();
            const int side = w.boardImage()->width();
            QVERIFY2(w.boardImage()->height() == side, name);
            const int height = w.form->centralWidget()->height() - 19 - 2;  // the status bar, the margins
            QVERIFY2(side == (c.side == BY_HEIGHT ? height : c.side), name);
            QVERIFY2(side <= height || side == PICTURE_SIZE, name);
            QVERIFY2(w.part("Panel1")->width() == side + 4, name);
            QVERIFY2(w.shown().size() == QSize(side, side), name);
            auto board = w.rootBoard()->clone();
            QVERIFY2(w.shown() == renderBoard(*board, {}, side, NumberStyle::FONT), name);
            const QTabBar* tabs = (&w.widgets().pages)->tabBar();
            QVERIFY2(tabs->tabRect(tabs->count() - 1).right() < (&w.widgets().pages)->width(), name);
            // The centre of each corner cell and of the cell 11,10.
            for (const auto& [column, row] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}, {11, 10}}) {
                const int x = (column * 20 + 10) * side / PICTURE_SIZE;
                const int y = (row * 20 + 10) * side / PICTURE_SIZE;
                w.mouseOverBoard(x, y);
                QVERIFY2(w.form->windowTitle() ==
                             QStringLiteral("[%1,%2,%3]").arg(column).arg(row).arg(squareAt(column, row)),
                         name + " " + w.form->windowTitle().toLatin1());
            }
            QVERIFY2(w.panel(0) == QStringLiteral("{}/{cn=2 tn=1}"), name);
        }
        QVERIFY(w.form->minimumSizeHint().width() <= 737);
    }

    // The splitter gives the board column what the user leaves it, the
    // picture filling it; the window's size and the splitter are there
    // again in the next window.
    void theSplitterAndTheWindowSizeAreKept() {
        {
            ViewWindow w;
            w.form->resize(1300, 800);
            QCoreApplication::processEvents();
            auto* columns = w.form->findChild<QSplitter*>(QStringLiteral("BoardSplitter"));
            QVERIFY(columns != nullptr);
            columns->setSizes({600, 696});
            QCoreApplication::processEvents();
            QCOMPARE(w.boardImage()->width(), 596);
            QCOMPARE(w.part("Panel1")->width(), 600);
        }
        ViewWindow next;
        QCoreApplication::processEvents();
        QCOMPARE(next.form->size(), QSize(1300, 800));
        QCOMPARE(next.part("Panel1")->width(), 600);
        QCOMPARE(next.boardImage()->width(), 596);
    }

    // The rulers grow with the picture and number its cells from 0.
    void coordinatesGrowWithThePicture() {
        ViewWindow w;
        w.viewMenu().Coordinates1->trigger();
        w.form->resize(1550, 940);
        QCoreApplication::processEvents();
        const int side = w.boardImage()->width();
        QVERIFY(side > 700);
        QWidget* columns = w.part("ColumnNumbers");
        QWidget* rows = w.part("RowNumbers");
        QCOMPARE(columns->width(), side);
        QCOMPARE(rows->height(), side);
        QCOMPARE(columns->geometry().bottom() + 1, w.boardImage()->y());
        QCOMPARE(rows->geometry().right() + 1, w.boardImage()->x());
        QVERIFY(columns->height() > BoardCoordinates::RULER_HEIGHT);
        QCOMPARE(w.part("Panel1")->width(), side + 4 + rows->width());
    }

    void everythingIsOffAtFirstAndAChoiceIsKeptForTheNextWindow() {
        {
            ViewWindow w;
            for (QAction* item : {w.viewMenu().ColoursByLetter1, w.viewMenu().Coordinates1, w.viewMenu().MoveNumbers1})
                QVERIFY2(item->isCheckable() && !item->isChecked(), qPrintable(item->text()));
            QVERIFY(!w.part("ColumnNumbers")->isVisible());
            w.viewMenu().Coordinates1->trigger();
            w.viewMenu().MoveNumbers1->trigger();
        }
        ViewWindow next;
        QVERIFY(!next.viewMenu().ColoursByLetter1->isChecked());
        QVERIFY(next.viewMenu().Coordinates1->isChecked());
        QVERIFY(next.viewMenu().MoveNumbers1->isChecked());
        QVERIFY(next.part("ColumnNumbers")->isVisible());
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::BoardViewTest>(argc, argv, "test_board_view");
}

#include "test_board_view.moc"
