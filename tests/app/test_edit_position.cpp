// Setting up a position by hand: "Edit" > "Edit Position", clicks on the
// board, "Swap Side to Move", "Clear Board" and "Undo", and the tree the
// edited position becomes.
#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <functional>

#include "app/board_view/board_image.h"
#include "app/board_view/view_menu.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/game/game_page.h"
#include "app/tree/node_label.h"
#include "board/threat_text.h"
#include "files/position_source.h"
#include "picture/board_png.h"
#include "search/root_build.h"
#include "tests/app/board_text.h"
#include "tests/app/scratch_settings.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::boardFile;
using testing::WindowFixture;

namespace {

// The opening board's stones: "x" (to move) on 209 and 210, "o" on 190 and 230.
struct EditWindow : WindowFixture {
    testing::DialogRecord opponent;

    EditWindow() {
        ask().setOpponentDialogs(
            std::make_unique<testing::ScriptedDialogs>(QStringLiteral("true"), opponent));
    }

    void toggleEditing() { action("EditPosition1")->trigger(); }
    void click(int column, int row, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(boardImage(), button, {}, QPoint(column * 20 + 10, row * 20 + 10));
    }
    V2Board& shown() { return currentNode()->ensureBoard(); }
};

int owner(const V2Board& board, int square) {
    return board.isEmpty(square) ? -1 : playerIndex(board.stoneAt(square));
}

// The root a tree over the position files would have.
std::unique_ptr<StatNode> rootFromFiles(const testing::TempDir& dir, const std::string& board,
                                        const char* mover) {
    dir.write("plocha.dat", board);
    dir.write("tah.dat", mover);
    return buildRootNode(folderPosition(dir.path()).board).root;
}

}  // namespace

class EditPositionTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }  // the "View" menu's choices

    void clicksSetUpAPositionThatBecomesTheRootAsIfReadFromFiles() {
        EditWindow w;
        w.toggleEditing();
        QVERIFY(w.editing());
        w.click(2, 3);                   // empty: an "x" stone, the side to move
        w.click(5, 3, Qt::RightButton);  // empty: an "o" stone
        w.click(10, 10, Qt::RightButton);  // the "x" stone on 210 comes off, whatever the button
        w.click(10, 9);                  // and so does the "o" stone on 190
        w.click(0, 0);
        w.click(0, 0);  // a stone put and taken off again
        w.click(19, 19, Qt::MiddleButton);  // no stone for the middle button
        w.toggleEditing();
        QVERIFY(!w.editing());

        const std::string expected = boardFile({"", "", "", "  x  o", "", "", "", "", "", "", "         x",
                                                "          o"});
        testing::TempDir files;
        const auto fromFiles = rootFromFiles(files, expected, "x");
        QCOMPARE(w.treeView()->topLevelItemCount(), 1);
        QCOMPARE(w.text(w.root()), NodeLabel(*fromFiles));
        QCOMPARE(testing::showText(*w.rootBoard()), testing::showText(*fromFiles->board));
        QCOMPARE(w.controller().rootLabels().player1Letter, 'x');

        // "File Output" writes it as the files above.
        w.action("FileOutput1")->trigger();
        QCOMPARE(w.dir().read("plocha.dat"), expected);
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
    }

    void whileEditingTheTreeRestsAndTheReportsFollowTheEditedBoard() {
        EditWindow w;
        w.mouseOverBoard(12 * 20 + 5, 10 * 20 + 5);  // the square 212, two squares past the "x" pair
        const QString reportBefore = w.panel(0);
        w.toggleEditing();
        for (QAction* rests : {w.action("FileInput1"), w.action("Solve1"), w.action("OpenFolder1"),
                               w.action("OpenGame1")})
            QVERIFY2(!rests->isEnabled(), qPrintable(rests->text()));
        QVERIFY(!w.treeView()->isEnabled());
        QVERIFY(!w.widgets().gamePage.GameList->isEnabled());
        w.keyClick(Qt::Key_1);
        w.keyClick(Qt::Key_Right);
        QCOMPARE(w.opponent.asked, 0);
        QCOMPARE(w.root()->childCount(), 0);

        w.click(11, 10);  // a third "x" in the row: an open three
        testing::TempDir files;
        const std::string threeInARow = boardFile({"", "", "", "", "", "", "", "", "", "          o",
                                                   "         xxx", "          o"});
        const auto expected = rootFromFiles(files, threeInARow, "x");
        V2Board& board = *expected->board;
        QCOMPARE(WindowFixture::lines((&w.widgets().threats1)), testing::threatLines(board, 1));
        QCOMPARE(WindowFixture::lines((&w.widgets().threats0)), testing::threatLines(board, 0));
        QCOMPARE(w.image(), renderBoard(board));
        QCOMPARE(w.panel(0), QString::fromStdString(squareReport(board, 212)));
        QVERIFY(w.panel(0) != reportBefore);
        w.mouseOverBoard(8 * 20 + 5, 10 * 20 + 5);
        QCOMPARE(w.panel(0), QString::fromStdString(squareReport(board, 208)));

        // The tree is the one from before until the edit ends.
        QCOMPARE(w.rootBoard()->stoneCount(), 4);
        w.toggleEditing();
        QVERIFY(w.treeView()->isEnabled());
        QVERIFY(w.action("OpenGame1")->isEnabled());
        QCOMPARE(w.rootBoard()->stoneCount(), 5);
        w.keyClick(Qt::Key_Right);
        QVERIFY(w.text(w.root()).startsWith(QStringLiteral("|| ")));
    }

    void swapClearAndUndoChangeThePositionStepByStep() {
        EditWindow w;
        EditMenu& edit = w.widgets().editMenu;
        QVERIFY(!edit.SwapSideToMove1->isEnabled());
        w.toggleEditing();
        QVERIFY(!edit.Undo1->isEnabled());

        struct Step {
            QAction* command;
            int stones;
            int on210;  // the owner of the stone on the square of an "x" stone; -1 for none
            int on190;  // the same for an "o" stone
            bool canUndo;
        };
        const Step steps[] = {
            {edit.SwapSideToMove1, 4, 0, 1, true},  // "o" to move, player 1 now
            {edit.ClearBoard1, 0, -1, -1, true},
            {edit.ClearBoard1, 0, -1, -1, true},  // nothing to change
            {edit.Undo1, 4, 0, 1, true},
            {edit.Undo1, 4, 1, 0, false},
            {edit.Undo1, 4, 1, 0, false},  // nothing left to undo
        };
        for (const Step& step : steps) {
            step.command->trigger();
            V2Board& board = w.controller().shownBoard();
            QCOMPARE(board.stoneCount(), step.stones);
            QCOMPARE(owner(board, 210), step.on210);
            QCOMPARE(owner(board, 190), step.on190);
            QCOMPARE(edit.Undo1->isEnabled(), step.canUndo);
            // The stones keep the colours they had: x's black whoever is to move.
            PictureOptions colours;
            colours.coloursByLetter = true;
            colours.player1Letter = w.controller().editor()->letterToMove();
            QCOMPARE(w.image(), renderBoard(board, colours));
            if (step.on210 >= 0) QCOMPARE(w.image().pixel(10 * 20 + 10, 10 * 20 + 10), qRgb(0, 0, 0));
        }
        edit.SwapSideToMove1->trigger();
        w.toggleEditing();
        QCOMPARE(w.controller().rootLabels().player1Letter, 'o');
        QCOMPARE(w.rootBoard()->flags(190), PLAYER1_STONE);
        QVERIFY(!edit.Undo1->isEnabled());
    }

    void editingStartsFromTheShownNodeAndKeepsTheNumbersOfStonesLeftAlone() {
        EditWindow w;
        // Five moves, "x" first: "o" is to move at the root.
        w.dir().write("five.psq", "Piskvorky 20x20, 7:7, 0\n10,10,0\n11,12,0\n10,13,0\n11,13,0\n9,11,0\n");
        QVERIFY(w.game().OpenGame(w.dir() / "five.psq"));
        w.select(w.root());
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        const int sixth = w.currentNode()->move;

        w.toggleEditing();
        QCOMPARE(w.controller().shownBoard().sideToMove(), PLAYER1);  // "x", to move after the sixth move, is player 1 now
        w.click(10, 11);  // the stone of move 2 comes off
        w.click(0, 0);    // an "x" stone
        w.toggleEditing();

        MoveNumbers numbers{};
        const int numbered[][3] = {{10, 10, 1}, {10, 13, 3}, {11, 13, 4}, {9, 11, 5}};
        for (const auto& [x, y, number] : numbered)
            numbers[static_cast<std::size_t>(squareAt(x - 1, y - 1))] = static_cast<std::uint16_t>(number);
        numbers[static_cast<std::size_t>(sixth)] = 6;
        const StoneLabels& labels = w.controller().rootLabels();
        QCOMPARE(labels.player1Letter, 'x');
        QVERIFY(labels.numbers == numbers);
        QCOMPARE(labels.nextNumber, 7);
        QCOMPARE(w.rootBoard()->stoneCount(), 6);
        QCOMPARE(w.rootBoard()->flags(0), PLAYER1_STONE);
        QCOMPARE(w.game().page().selectedPosition(), -1);
    }

    // A stone taken off loses its number for good: put on the same square
    // again, after a click or after "Clear Board", it has none; Undo brings
    // the numbered stone back.
    void aStoneTakenOffLosesItsNumber() {
        EditWindow w;
        w.dir().write("two.psq", "Piskvorky 20x20, 7:7, 0\n10,10,0\n11,12,0\n");
        QVERIFY(w.game().OpenGame(w.dir() / "two.psq"));
        const std::size_t first = static_cast<std::size_t>(squareAt(9, 9));
        const std::size_t second = static_cast<std::size_t>(squareAt(10, 11));
        w.action("MoveNumbers1")->trigger();
        w.toggleEditing();
        EditMenu& edit = w.widgets().editMenu;
        struct Step {
            std::function<void()> act;
            int numberOnFirst;
            int numberOnSecond;
        };
        const Step steps[] = {
            {[] {}, 1, 2},
            {[&] { w.click(9, 9); }, 0, 2},                 // taken off
            {[&] { w.click(9, 9); }, 0, 2},                 // an x again: no number
            {[&] { edit.Undo1->trigger(); }, 0, 2},
            {[&] { edit.Undo1->trigger(); }, 1, 2},         // the stone of move 1 is back
            {[&] { edit.ClearBoard1->trigger(); }, 0, 0},
            {[&] { w.click(9, 9); w.click(10, 11, Qt::RightButton); }, 0, 0},
        };
        for (const Step& step : steps) {
            step.act();
            QCOMPARE(w.view().pictureOptions().moveNumbers[first], step.numberOnFirst);
            QCOMPARE(w.view().pictureOptions().moveNumbers[second], step.numberOnSecond);
        }
        w.toggleEditing();
        QVERIFY(w.controller().rootLabels().numbers == MoveNumbers{});
        QCOMPARE(w.controller().rootLabels().nextNumber, 1);
    }

    // While editing the status bar says how, and the side to move and the
    // threat lists' headings follow the letters.
    void theWindowSaysHowToEditAndWhoIsToMove() {
        EditWindow w;
        QCOMPARE(w.view().sideToMoveText(), QStringLiteral("\u25CF x to move"));
        QCOMPARE(w.widgets().heading1.text(), QStringLiteral("Threats of x"));
        QCOMPARE(w.widgets().heading0.text(), QStringLiteral("Threats of o"));
        QVERIFY((&w.widgets().pagesStatus)->currentMessage().isEmpty());
        w.toggleEditing();
        QCOMPARE(w.controller().mode(), WindowMode::EDITING);
        QCOMPARE((&w.widgets().pagesStatus)->currentMessage(),
                 QStringLiteral("Editing: left click x, right click o, Ctrl+E to finish"));
        w.action("SwapSideToMove1")->trigger();
        QCOMPARE((&w.widgets().pagesStatus)->currentMessage(),
                 QStringLiteral("Editing: left click o, right click x, Ctrl+E to finish"));
        QCOMPARE(w.view().sideToMoveText(), QStringLiteral("\u25CB o to move"));  // o's stones stay white
        QCOMPARE(w.widgets().heading1.text(), QStringLiteral("Threats of o"));
        w.toggleEditing();
        QCOMPARE(w.controller().mode(), WindowMode::IDLE);
        QVERIFY((&w.widgets().pagesStatus)->currentMessage().isEmpty());
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        QCOMPARE(w.view().sideToMoveText(), QStringLiteral("\u25CB x to move"));  // player 0, white
        w.action("ColoursByLetter1")->trigger();
        QCOMPARE(w.view().sideToMoveText(), QStringLiteral("\u25CF x to move"));  // x is black by letter
    }

    void editingIsRefusedWhileASolveRuns() {
        EditWindow w;
        w.solve().SolveSelectedNode();
        w.toggleEditing();
        QVERIFY(!w.editing());
        QVERIFY(!w.action("EditPosition1")->isChecked());
        QVERIFY(!w.action("ClearBoard1")->isEnabled());
        w.form->close();  // ends the solve
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::EditPositionTest>(argc, argv, "test_edit_position");
}

#include "test_edit_position.moc"
