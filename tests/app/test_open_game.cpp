// Game records in the window: "File" > "Open Game...", the "Game" page, and
// stepping through a game's positions with the keyboard.
#include <QAction>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

#include "app/board_view/board_image.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/game/game_page.h"
#include "board/evaluation.h"
#include "board/five_in_row.h"
#include "files/game_record.h"
#include "picture/board_png.h"
#include "tests/app/board_text.h"
#include "tests/app/scratch_settings.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::WindowFixture;

namespace {

namespace fs = std::filesystem;

const fs::path REAL_GAME = fs::path(VOREK_EXAMPLES_DIR) / "games" / "o-wins-in-row-12.psq";

struct GameWindow : WindowFixture {
    QString answer;
    QStringList errors;
    testing::DialogRecord opponent;

    GameWindow() {
        folder().setDialogs(std::make_unique<testing::ScriptedFolderDialogs>(answer, errors));
        ask().setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(QString(), opponent));
        // The list can only take the keyboard focus in the active window.
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) qWarning("the window did not become active");
    }

    // "Open Game..." answered with the file.
    void open(const fs::path& file) {
        answer = QString::fromStdString(file.string());
        action("OpenGame1")->trigger();
    }
    QTreeWidget* list() const { return widgets().gamePage.GameList; }
    QStringList lines() const {
        QStringList rows;
        for (int count = 0; count < game().page().rows(); ++count) rows << game().page().rowText(count);
        return rows;
    }
    // A click on the row of the position after `count` moves.
    void clickRow(int count) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->topLevelItem(count)).center());
    }
    int selected() const { return game().page().selectedPosition(); }
};

GameRecord readRecord(const fs::path& file) { return std::get<GameRecord>(readGameRecord(file)); }

// The position after `count` moves, evaluated as a root over it would be.
std::unique_ptr<V2Board> evaluatedPositionAfter(const GameRecord& record, int count) {
    return positionAfter(record, count);
}

// The window's tree is a fresh one over the position after `count` moves of
// the record, shown as the picture draws it.
void checkRootIsPositionAfter(GameWindow& w, const GameRecord& record, int count) {
    QCOMPARE(w.treeView()->topLevelItemCount(), 1);
    QCOMPARE(w.root()->childCount(), 0);
    QCOMPARE(w.currentNode(), w.node(w.root()));
    auto expected = evaluatedPositionAfter(record, count);
    QCOMPARE(testing::showText(*w.rootBoard()), testing::showText(*expected));
    QCOMPARE(w.controller().rootLabels().player1Letter, letterOfMove(record, count + 1));
    // In the record's colours, its first mover black, with its last move marked.
    PictureOptions options;
    options.coloursByLetter = true;
    options.player1Letter = letterOfMove(record, count + 1);
    options.blackLetter = record.firstLetter;
    const int lastMove = count > 0 ? record.moves[static_cast<std::size_t>(count - 1)] : -1;
    if (const std::optional<FiveInRow> five = fiveInRow(*expected)) options.fiveSquares = five->squares;
    QCOMPARE(w.image(), WindowFixture::picture(*expected, lastMove, options));
    QCOMPARE(w.selected(), count);
}

}  // namespace

class OpenGameTest : public QObject {
    Q_OBJECT

private slots:
    void openingAGameListsItsPositionsAndShowsTheLastWritingNothing() {
        GameWindow w;
        const std::string filesBefore = w.dir().read("plocha.dat") + w.dir().read("tah.dat");
        w.form->findChild<QTabBar*>()->setFocus();
        w.open(REAL_GAME);
        QVERIFY(w.errors.isEmpty());

        const QStringList lines = w.lines();
        QCOMPARE(lines.size(), 17);
        // The record's "10,10" is the square 9,9 counted from 0, as the window counts.
        QCOMPARE(lines.mid(0, 4), (QStringList{"0. (empty board)", "1. 9,9", "2. 10,11", "3. 9,12"}));
        QCOMPARE(lines.last(), QStringLiteral("16. 14,11"));
        QCOMPARE((&w.widgets().pages)->currentWidget(), (&w.widgets().gamePage));
        QVERIFY(w.list()->hasFocus());
        checkRootIsPositionAfter(w, readRecord(REAL_GAME), 16);

        QCOMPARE(w.dir().listing(), std::string("plocha.dat tah.dat "));
        QCOMPARE(w.dir().read("plocha.dat") + w.dir().read("tah.dat"), filesBefore);
    }

    void keysStepThroughTheGameEachPositionANewTree() {
        GameWindow w;
        w.open(REAL_GAME);
        const GameRecord record = readRecord(REAL_GAME);
        struct Step {
            Qt::Key key;
            int count;
        };
        const Step steps[] = {{Qt::Key_Up, 15}, {Qt::Key_Up, 14}, {Qt::Key_Home, 0},
                              {Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_End, 16}};
        for (const Step& step : steps) {
            w.tree().ExpandSelectedNode();  // grow the old tree: the step must replace it
            QTest::keyClick(w.list(), step.key);
            checkRootIsPositionAfter(w, record, step.count);
        }
        // A digit asks an AI about the position shown, and selects no row.
        const StatNode* root = w.node(w.root());
        QTest::keyClick(w.list(), Qt::Key_1);
        QCOMPARE(w.opponent.asked, 1);
        QCOMPARE(w.node(w.root()), root);
        QCOMPARE(w.selected(), 16);
    }

    void aRecordThatCannotBeReadGetsABoxNamingTheLineAndChangesNothing() {
        GameWindow w;
        w.open(REAL_GAME);
        QTest::keyClick(w.list(), Qt::Key_Up);
        w.tree().ExpandSelectedNode();
        const StatNode* root = w.node(w.root());
        const int children = w.root()->childCount();
        const QImage picture = w.image();

        struct Case {
            const char* name;
            const char* content;  // nullptr: no such file
            int line;             // 0: the box names no line
        };
        const Case cases[] = {
            {"small.psq", "Piskvorky 15x15, 7:7, 0\n8,8,0\n", 1},
            {"header.psq", "Gomoku game\n10,10,0\n", 1},
            {"mover.psq", "Piskvorky 20x20, 7:7, 2\n10,10,0\n", 1},
            {"off-board.psq", "Piskvorky 20x20, 7:7, 0\n10,10,0\n21,3,0\n", 3},
            {"taken.psq", "Piskvorky 20x20, 7:7, 0\r\n10,10,0\r\n11,11,0\r\n10,10,0\r\n", 4},
            {"no-moves.psq", "Piskvorky 20x20, 7:7, 0\npisq7.exe\n", 2},
            {"empty.psq", "", 1},
            {"missing.psq", nullptr, 0},
        };
        for (const Case& bad : cases) {
            if (bad.content != nullptr) w.dir().write(bad.name, bad.content);
            w.errors.clear();
            w.open(w.dir() / bad.name);
            QCOMPARE(w.errors.size(), 1);
            const QString file = QString::fromStdString((w.dir() / bad.name).string());
            QString named = QStringLiteral("Game record \"%1\"").arg(file);
            if (bad.line > 0) named += QStringLiteral(" line %1").arg(bad.line);
            QVERIFY2(w.errors.front().startsWith(named + ": "), qPrintable(w.errors.front()));
            QVERIFY2(w.errors.front().size() > named.size() + 2, bad.name);

            QCOMPARE(w.node(w.root()), root);
            QCOMPARE(w.root()->childCount(), children);
            QCOMPARE(w.image(), picture);
            QCOMPARE(w.lines().size(), 17);
            QCOMPARE(w.selected(), 15);
        }
    }

    void theGameRestsWhileASolveRunsOrAPositionIsEdited() {
        GameWindow w;
        w.open(REAL_GAME);
        QTest::keyClick(w.list(), Qt::Key_Home);
        const auto checkRefused = [&w] {
            const StatNode* root = w.node(w.root());
            QVERIFY(!w.action("OpenGame1")->isEnabled());
            QVERIFY(!w.list()->isEnabled());
            QVERIFY(!w.game().OpenGame(REAL_GAME));
            w.game().ShowGamePosition(3, 0);
            QCOMPARE(w.node(w.root()), root);
            QCOMPARE(w.selected(), 0);
            QVERIFY(w.errors.isEmpty());
        };

        w.solve().SolveSelectedNode();
        QVERIFY(w.solving());
        checkRefused();
        w.form->close();  // ends the solve
        w.form->show();
        QVERIFY(w.list()->isEnabled());

        w.action("EditPosition1")->trigger();
        QVERIFY(w.editing());
        checkRefused();
        w.action("EditPosition1")->trigger();
        QVERIFY(w.list()->isEnabled());
        QCOMPARE(w.selected(), -1);  // the edited position is no position of the game
        QTest::keyClick(w.list(), Qt::Key_Down);
        checkRootIsPositionAfter(w, readRecord(REAL_GAME), 0);
    }

    void fileInputLeavesTheGameListedWithNoLineSelected() {
        GameWindow w;
        w.open(REAL_GAME);
        w.action("FileInput1")->trigger();
        QCOMPARE(w.selected(), -1);
        QCOMPARE(w.rootBoard()->stoneCount(), 4);
        QCOMPARE(w.lines().size(), 17);
        w.clickRow(5);
        checkRootIsPositionAfter(w, readRecord(REAL_GAME), 5);
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::OpenGameTest>(argc, argv, "test_open_game");
}

#include "test_open_game.moc"
