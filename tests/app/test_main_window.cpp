// The main window: start-up, the mouse report, the menu and closing.
#include <QAction>
#include <QListWidget>
#include <atomic>
#include <thread>
#include <utility>
#include <QMenuBar>
#include <filesystem>
#include <functional>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QSet>
#include <QStatusBar>
#include <QTabWidget>

#include "app/board_view/board_image.h"
#include "app/board_view/view_menu.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/game/game_page.h"
#include "app/path_label.h"
#include "board/threat_text.h"
#include "picture/board_picture.h"
#include "picture/board_png.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/scratch_settings.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::WindowFixture;

namespace {

// Where the nodes of a tree the window let go of were deleted.
std::thread::id windowThread;
std::atomic<int> deletedHere{0};
std::atomic<int> deletedElsewhere{0};

std::string withLineFeeds(std::string text) {
    std::erase(text, '\r');
    return text;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheRootUndecidedAndTheCaptionForm1() {
        WindowFixture w;
        QCOMPARE(w.form->windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(w.treeView()->topLevelItemCount(), 1);
        QCOMPARE(w.text(w.root()), QStringLiteral("1/1"));
        QCOMPARE(w.root()->childCount(), 0);
        QCOMPARE(w.currentNode(), w.node(w.root()));
        QCOMPARE(w.rootBoard(), w.node(w.root())->board);
        QCOMPARE(w.rootBoard()->stoneCount(), 4);
        QCOMPARE(w.tree().selectedItem(), w.root());
        // The root's board and its lists are on show.
        QCOMPARE(w.image(), renderBoard(*w.rootBoard()));
        QCOMPARE(WindowFixture::lines((&w.widgets().threats1)),
                 (QStringList{"[208] 8,10 cn=2 tn=1", "[211] 11,10 cn=2 tn=1", "[207] 7,10 cn=2 tn=1",
                              "[212] 12,10 cn=2 tn=1"}));
        QCOMPARE((&w.widgets().threats0)->count(), 0);
        QVERIFY((&w.widgets().memo)->toPlainText().isEmpty());
    }

    void layoutNamesAndSizes() {
        WindowFixture w;
        QCOMPARE(w.boardImage()->size(), QSize(401, 401));
        QCOMPARE(w.boardImage()->pos(), QPoint(1, 1));
        QCOMPARE(w.form->findChild<QWidget*>(QStringLiteral("Panel1"))->width(), 405);
        QCOMPARE(w.form->size(), QSize(737, 584));
        // At least the design's widths, and the report's panel wide enough for all of it.
        constexpr int panelWidths[] = {80, 50, 50};
        for (int i = 0; i < 3; ++i) QVERIFY(w.panelLabel(i)->width() >= panelWidths[i]);
        QCOMPARE(w.panelLabel(2)->width(), 50);
        QLabel* report = w.panelLabel(0);
        QVERIFY(report->contentsRect().width() >
                report->fontMetrics().horizontalAdvance(QStringLiteral("{cn=2 tn=1}/{cn=2 tn=1}")));
        auto* pages = (&w.widgets().pages);
        QCOMPARE(pages->count(), 4);
        QCOMPARE(pages->tabText(0), QStringLiteral("Tree View"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Threats"));
        QCOMPARE(pages->tabText(2), QStringLiteral("Log"));
        QCOMPARE(pages->tabText(3), QStringLiteral("Game"));
        QCOMPARE(pages->currentIndex(), 0);
        auto* splitter = w.form->findChild<QSplitter*>(QStringLiteral("Splitter1"));
        QVERIFY(splitter->widget(0)->isAncestorOf((&w.widgets().threats1)));
        QVERIFY(splitter->widget(1)->isAncestorOf((&w.widgets().threats0)));
        for (const char* name : {"ImgBoard", "StatusBar2", "Tree", "TList0", "TList1", "Memo",
                                 "StatusBar1", "Panel2", "Panel3", "PageControl1"})
            QVERIFY2(w.form->findChild<QWidget*>(QLatin1String(name)) != nullptr, name);
        QCOMPARE(w.widgets().folderPath.parentWidget(), &w.widgets().pagesStatus);
        QCOMPARE(w.widgets().folderPath.path(), QString::fromStdString(w.dir().path().string()));
        QCOMPARE(w.widgets().folderPath.text(), w.widgets().folderPath.path());  // room for all of it
    }

    // Every menu and every item has its letter (Alt+F, then the item's
    // letter), none twice in one menu, and the design's texts stand
    // around it; F10 opens the first menu.
    void menusAreReachedFromTheKeyboard() {
        WindowFixture w;
        struct Menu {
            const char* title;
            QStringList items;  // the texts without their letter's mark, in order
        };
        const Menu menus[] = {
            {"File", {"Open Folder...", "Open Game...", "Open Recent", "Save Position As...", "Quit"}},
            {"Edit", {"Edit Position", "Swap Side to Move", "Clear Board", "Undo"}},
            {"View", {"Colours by Letter", "Coordinates", "Move Numbers"}},
            {"Game",
             {"New Game", "New Game From Here", "Back", "Forward", "Delete Move", "Save Game", "Save Game As...",
              "AI Plays x", "AI Plays o", "Analyse Game"}},
            {"Engine", {"Analyse", "Engine Settings...", "Analysis Panel"}},
            {"Node", {"File Input", "File Output", "Solve", "Solve Settings..."}},
        };
        const auto letter = [](const QString& text) {
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
        };
        QSet<QChar> titleLetters;
        const QList<QAction*> bar = w.form->menuBar()->actions();
        QCOMPARE(bar.size(), static_cast<qsizetype>(std::size(menus)));
        for (qsizetype m = 0; m < bar.size(); ++m) {
            const QString title = bar[m]->text();
            QCOMPARE(QString(title).remove(QLatin1Char('&')), QLatin1String(menus[m].title));
            QVERIFY2(!letter(title).isNull() && !titleLetters.contains(letter(title)), menus[m].title);
            titleLetters.insert(letter(title));
            QStringList texts;
            QSet<QChar> itemLetters;
            for (QAction* item : bar[m]->menu()->actions()) {
                if (item->isSeparator()) continue;
                texts << QString(item->text()).remove(QLatin1Char('&'));
                QVERIFY2(!letter(item->text()).isNull() && !itemLetters.contains(letter(item->text())),
                         qPrintable(item->text()));
                itemLetters.insert(letter(item->text()));
            }
            QCOMPARE(texts, menus[m].items);
        }
        const std::pair<const char*, QKeySequence> shortcuts[] = {
            {"Solve1", QKeySequence(Qt::CTRL | Qt::Key_S)},       {"OpenFolder1", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"OpenGame1", QKeySequence(Qt::CTRL | Qt::Key_G)},    {"EditPosition1", QKeySequence(Qt::CTRL | Qt::Key_E)},
            {"Undo1", QKeySequence(Qt::CTRL | Qt::Key_Z)},        {"Quit1", QKeySequence(Qt::CTRL | Qt::Key_Q)},
            {"NewGame1", QKeySequence(Qt::CTRL | Qt::Key_N)},    {"Analyse1", QKeySequence(Qt::Key_F5)},
            {"SaveGameAs1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        };
        for (const auto& [name, key] : shortcuts) QVERIFY2(w.action(name)->shortcut() == key, name);

        QApplication::setActiveWindow(w.form.get());
        QTest::keyClick(w.form.get(), Qt::Key_F10);
        QCOMPARE(w.form->menuBar()->activeAction(), bar.front());
        QTRY_VERIFY(bar.front()->menu()->isVisible());
        bar.front()->menu()->close();
    }

    void rootProvedWhenPlayerOneCompletesFiveAtOnce() {
        WindowFixture w(testing::boardFile({"", "", "", "", "", "", "", "", "", "",
                                            "         xxxx"}));
        QCOMPARE(w.text(w.root()), QStringLiteral("0/-1"));
        w.keyClick(Qt::Key_Right);  // a proved node is not expanded
        QCOMPARE(w.text(w.root()), QStringLiteral("0/-1"));
        QCOMPARE(w.root()->childCount(), 0);
    }

    void mouseReportsColumnRowSquareThreatsAndWeight() {
        WindowFixture w;
        struct Case {
            int x, y;
            const char* caption;
            const char* report;
            const char* weight;
        };
        const Case cases[] = {
            {0, 0, "[0,0,0]", "{}/{}", "67"},
            {20, 20, "[0,0,0]", "{}/{}", "67"},
            {21, 1, "[1,0,1]", "{}/{}", "443"},
            {400, 400, "[19,19,399]", "{}/{}", "67"},
            {225, 205, "[11,10,211]", "{}/{cn=2 tn=1}", "250660"},
        };
        for (const Case& c : cases) {
            w.mouseOverBoard(c.x, c.y);
            QCOMPARE(w.form->windowTitle(), QLatin1String(c.caption));
            QCOMPARE(w.panel(0), QLatin1String(c.report));
            QCOMPARE(w.panel(1), QLatin1String(c.weight));
        }
        QCOMPARE(w.view().mouseColumn(), 11);
        QCOMPARE(w.view().mouseRow(), 10);
        QCOMPARE(w.view().mouseSquare(), 211);
        QVERIFY(w.panel(2).isEmpty());
    }

    // The report describes the position shown: another node's after a
    // selection, nothing after the position files are read again; the two
    // panels say what they show, in the position's letters.
    void theSquareReportFollowsThePositionShown() {
        WindowFixture w;
        QVERIFY(w.panelLabel(0)->toolTip().contains(QStringLiteral("o and then x")));
        QVERIFY(w.panelLabel(1)->toolTip().startsWith(QStringLiteral("The weights of x's four lines")));
        w.mouseOverBoard(225, 205);  // 11,10
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);  // x on 8,10: 11,10 is a square of its three now
        V2Board& child = w.currentNode()->ensureBoard();
        QCOMPARE(w.panel(0), QString::fromStdString(squareReport(child, squareAt(11, 10))));
        QVERIFY(w.panel(0) != QStringLiteral("{}/{cn=2 tn=1}"));
        QCOMPARE(w.form->windowTitle(), QStringLiteral("[11,10,211]"));
        w.action("FileInput1")->trigger();
        QCOMPARE(w.form->windowTitle(), QStringLiteral("Form1"));
        QVERIFY(w.panel(0).isEmpty() && w.panel(1).isEmpty());
    }

    void pointerOffThePictureChangesNothing() {
        WindowFixture w;
        w.mouseOverBoard(225, 205);
        for (QPoint off : {QPoint(-1, 5), QPoint(5, -20), QPoint(401, 5), QPoint(5, 401),
                           QPoint(-30, -30)}) {
            w.mouseOverBoard(off.x(), off.y());
            QCOMPARE(w.form->windowTitle(), QStringLiteral("[11,10,211]"));
            QCOMPARE(w.panel(0), QStringLiteral("{}/{cn=2 tn=1}"));
            QCOMPARE(w.panel(1), QStringLiteral("250660"));
            QCOMPARE(w.view().mouseSquare(), 211);
        }
    }

    void clickingTheBoardChangesNothing() {
        WindowFixture w;
        const QImage before = w.image();
        QTest::mouseClick(w.boardImage(), Qt::LeftButton, {}, QPoint(210, 210));
        QTest::mouseDClick(w.boardImage(), Qt::LeftButton, {}, QPoint(210, 210));
        QCOMPARE(w.image(), before);
        QCOMPARE(w.root()->childCount(), 0);
    }

    void fileOutputWritesTheSelectedChildAndClosingRestoresTheStart() {
        WindowFixture w;
        const std::string start = w.dir().read("plocha.dat");
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);  // child 0: x on column 8, row 10
        QCOMPARE(w.currentNode()->move, 208);
        w.action("FileOutput1")->trigger();
        QVERIFY2(w.status().contains(QStringLiteral("closing puts back the files found")), qPrintable(w.status()));
        std::string child = start;
        child[10 * 22 + 8] = 'x';
        QCOMPARE(w.dir().read("plocha.dat"), child);
        QCOMPARE(w.dir().read("tah.dat"), std::string("o"));

        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), start);
        QCOMPARE(w.dir().read("tah.dat"), std::string("x"));
    }

    void fileInputRebuildsTheTreeAndClosingLeavesFilesTheWindowNeverWrote() {
        WindowFixture w;
        w.keyClick(Qt::Key_Right);
        QVERIFY(w.root()->childCount() > 0);

        const std::string changed = testing::boardFile({"x"});
        w.dir().write("plocha.dat", changed);
        w.dir().write("tah.dat", "o");
        w.action("FileInput1")->trigger();
        QCOMPARE(w.treeView()->topLevelItemCount(), 1);
        QCOMPARE(w.root()->childCount(), 0);
        QCOMPARE(w.text(w.root()), QStringLiteral("1/1"));
        QCOMPARE(w.currentNode(), w.node(w.root()));
        QCOMPARE(w.rootBoard()->stoneCount(), 1);
        QCOMPARE(w.image(), renderBoard(*w.rootBoard()));

        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), changed);
        QCOMPARE(w.dir().read("tah.dat"), std::string("o"));
    }

    // Closing gives back the bytes found at start-up wherever the window
    // wrote the position files: a file it could not read, another line end,
    // the letters of an "o" to move, no "tah.dat" where there was none.
    void closingPutsBackExactlyTheFilesFound() {
        const std::string goodLf = withLineFeeds(testing::openingBoard());
        const std::function<void(WindowFixture&)> nothing = [](WindowFixture&) {};
        const std::function<void(WindowFixture&)> fileOutput = [](WindowFixture& w) {
            w.action("FileOutput1")->trigger();
        };
        const std::function<void(WindowFixture&)> askAnAi = [](WindowFixture& w) {
            testing::DialogRecord record;
            w.ask().setOpponentDialogs(
                std::make_unique<testing::ScriptedDialogs>(QStringLiteral("./ai.sh"), record));
            w.dir().write("ai.sh", "#!/bin/sh\nprintf 10,9 > tah.dat\nprintf 10,9 > answered\n");
            std::filesystem::permissions(w.dir() / "ai.sh", std::filesystem::perms::owner_all);
            w.ask().AskOpponentMove(1);
            QCOMPARE(w.dir().read("answered"), std::string("10,9"));
        };
        struct Case {
            const char* name;
            std::string board;
            std::optional<std::string> move;
            std::function<void(WindowFixture&)> act;
        };
        const Case cases[] = {
            {"board only, untouched", testing::openingBoard(), std::nullopt, nothing},
            {"board only, File Output", testing::openingBoard(), std::nullopt, fileOutput},
            {"o to move, LF, asked of an AI", goodLf, "o", askAnAi},
            {"unreadable board, File Output", "garbage", "x", fileOutput},
        };
        for (const Case& c : cases) {
            WindowFixture w(c.board, c.move);
            c.act(w);
            w.close();
            QVERIFY2(w.dir().read("plocha.dat") == c.board, c.name);
            QVERIFY2(w.dir().exists("tah.dat") == c.move.has_value(), c.name);
            if (c.move) QVERIFY2(w.dir().read("tah.dat") == *c.move, c.name);
            QVERIFY2(!w.dir().exists("timeouts.dat"), c.name);
        }
    }

    // One table says what each mode allows, and every command's control
    // follows it as the window goes from mode to mode.
    void theControlsFollowWhatTheModeAllows() {
        WindowFixture w(testing::openingBoard());
        w.dir().write("two.psq", "Piskvorky 20x20, 7:7, 0\n10,10,0\n11,12,0\n");
        const auto check = [&w](WindowMode mode) {
            QCOMPARE(w.controller().mode(), mode);
            const std::pair<const char*, Command> actions[] = {
                {"FileInput1", Command::FILE_INPUT},        {"FileOutput1", Command::FILE_OUTPUT},
                {"Solve1", Command::SOLVE},                 {"OpenFolder1", Command::OPEN_FOLDER},
                {"OpenGame1", Command::OPEN_GAME},          {"ClearBoard1", Command::EDIT_POSITION},
                {"SavePositionAs1", Command::FILE_OUTPUT},  {"NewGame1", Command::NEW_GAME},
                {"DeleteMove1", Command::PLAY_MOVE},        {"SaveGame1", Command::SAVE_GAME},
                {"AnalyseGame1", Command::ANALYSE_GAME},    {"Analyse1", Command::ANALYSE},
                {"EngineSettings1", Command::ANALYSE},
            };
            for (const auto& [name, command] : actions)
                QVERIFY2(w.action(name)->isEnabled() == allows(mode, command), name);
            QCOMPARE(w.treeView()->isEnabled(), allows(mode, Command::SELECT_NODE));
            QCOMPARE(w.widgets().gamePage.GameList->isEnabled(), allows(mode, Command::STEP_GAME));
            QCOMPARE(w.action("EditPosition1")->isEnabled(),
                     allows(mode, Command::START_EDITING) || allows(mode, Command::FINISH_EDITING));
        };
        QVERIFY(w.game().OpenGame(w.dir() / "two.psq"));
        check(WindowMode::GAME);
        w.action("EditPosition1")->trigger();
        check(WindowMode::EDITING);
        w.action("EditPosition1")->trigger();
        check(WindowMode::IDLE);  // the edited position is no position of the game
        w.game().ShowGamePosition(1);
        check(WindowMode::GAME);
        w.solve().SolveSelectedNode();
        check(WindowMode::SOLVING);
        w.form->close();  // ends the solve
        check(WindowMode::GAME);
    }

    // A tree the window lets go of is deleted on another thread, so that no
    // size of tree holds the window.
    void aReplacedTreeIsDeletedOffTheWindowsThread() {
        windowThread = std::this_thread::get_id();
        deletedHere = 0;
        deletedElsewhere = 0;
        StatNode::deletionStepHook = [](const StatNode&, int step) {
            if (step == 3) ++(std::this_thread::get_id() == windowThread ? deletedHere : deletedElsewhere);
        };
        WindowFixture w;
        w.keyClick(Qt::Key_Right);
        const int nodes = 1 + w.root()->childCount();
        w.action("FileInput1")->trigger();
        QCOMPARE(w.rootBoard()->stoneCount(), 4);  // the new tree is there at once
        w.controller().disposal().waitForAll();
        StatNode::deletionStepHook = nullptr;
        QCOMPARE(deletedHere.load(), 0);
        QCOMPARE(deletedElsewhere.load(), nodes);
    }

    void windowsInOneProcessKeepTheirOwnState() {
        WindowFixture first;
        first.keyClick(Qt::Key_Right);
        first.keyClick(Qt::Key_Down);
        auto second = std::make_unique<TForm1>();
        WindowFeatures& other = second->features();
        QCOMPARE(other.controller().currentNode(), TreeCommands::nodeOf(other.tree().rootItem()));
        QVERIFY(first.currentNode() != first.node(first.root()));
        second.reset();
        QCOMPARE(first.currentNode()->move, 208);
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::MainWindowTest>(argc, argv, "test_main_window");
}
#include "test_main_window.moc"
