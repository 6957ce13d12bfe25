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
#include <QStatusBar>
#include <QTabWidget>

#include "app/board_view/board_image.h"
#include "app/board_view/view_menu.h"
#include "app/edit/edit_menu.h"
#include "app/folder/folder_menu.h"
#include "app/game/game_page.h"
#include "app/path_label.h"
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
        QCOMPARE(w.form->Tree->topLevelItemCount(), 1);
        QCOMPARE(w.text(w.root()), QStringLiteral("1/1"));
        QCOMPARE(w.root()->childCount(), 0);
        QCOMPARE(w.form->CurrentNode, w.node(w.root()));
        QCOMPARE(w.form->RootBoard, w.node(w.root())->board);
        QCOMPARE(w.form->RootBoard->stoneCount(), 4);
        QCOMPARE(w.form->selectedItem(), w.root());
        // The root's board and its lists are on show.
        QCOMPARE(w.form->ImgBoard->image(), renderBoard(*w.form->RootBoard));
        QCOMPARE(WindowFixture::lines(w.form->TList1),
                 (QStringList{"[208] 8,10 cn=2 tn=1", "[211] 11,10 cn=2 tn=1", "[207] 7,10 cn=2 tn=1",
                              "[212] 12,10 cn=2 tn=1"}));
        QCOMPARE(w.form->TList0->count(), 0);
        QVERIFY(w.form->Memo->toPlainText().isEmpty());
    }

    void layoutNamesAndSizes() {
        WindowFixture w;
        QCOMPARE(w.form->ImgBoard->size(), QSize(401, 401));
        QCOMPARE(w.form->ImgBoard->pos(), QPoint(1, 1));
        QCOMPARE(w.form->findChild<QWidget*>(QStringLiteral("Panel1"))->width(), 405);
        QCOMPARE(w.form->size(), QSize(737, 584));
        // At least the design's widths, and the report's panel wide enough for all of it.
        constexpr int panelWidths[] = {80, 50, 50};
        for (int i = 0; i < 3; ++i) QVERIFY(w.form->StatusPanels[i]->width() >= panelWidths[i]);
        QCOMPARE(w.form->StatusPanels[2]->width(), 50);
        QLabel* report = w.form->StatusPanels[0];
        QVERIFY(report->contentsRect().width() >
                report->fontMetrics().horizontalAdvance(QStringLiteral("{cn=2 tn=1}/{cn=2 tn=1}")));
        auto* pages = w.form->PageControl1;
        QCOMPARE(pages->count(), 4);
        QCOMPARE(pages->tabText(0), QStringLiteral("Tree View"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Threats"));
        QCOMPARE(pages->tabText(2), QStringLiteral("Log"));
        QCOMPARE(pages->tabText(3), QStringLiteral("Game"));
        QCOMPARE(pages->currentIndex(), 0);
        auto* splitter = w.form->findChild<QSplitter*>(QStringLiteral("Splitter1"));
        QVERIFY(splitter->widget(0)->isAncestorOf(w.form->TList1));
        QVERIFY(splitter->widget(1)->isAncestorOf(w.form->TList0));
        for (const char* name : {"ImgBoard", "StatusBar2", "Tree", "TList0", "TList1", "Memo",
                                 "StatusBar1", "Panel2", "Panel3", "PageControl1"})
            QVERIFY2(w.form->findChild<QWidget*>(QLatin1String(name)) != nullptr, name);
        QCOMPARE(w.form->FileInput1->text(), QStringLiteral("File Input"));
        QCOMPARE(w.form->FileOutput1->text(), QStringLiteral("File Output"));
        auto* menu = w.form->findChild<QMenu*>(QStringLiteral("currNode"));
        QCOMPARE(menu->title(), QStringLiteral("Node"));
        QCOMPARE(w.form->Solve1->text(), QStringLiteral("Solve"));
        QCOMPARE(w.form->Solve1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(w.form->SolveSettings1->text(), QStringLiteral("Solve Settings..."));
        QCOMPARE(menu->actions(), (QList<QAction*>{w.form->FileInput1, w.form->FileOutput1, w.form->Solve1,
                                                   w.form->SolveSettings1}));

        const FolderMenu& file = *w.form->FileMenu;
        const EditMenu& edit = *w.form->EditCommands;
        const ViewMenu& view = *w.form->ViewChoices;
        QCOMPARE(w.form->menuBar()->actions(),
                 (QList<QAction*>{file.File1->menuAction(), edit.Edit1->menuAction(),
                                  view.View1->menuAction(), menu->menuAction()}));
        QCOMPARE(file.File1->title(), QStringLiteral("File"));
        QCOMPARE(file.OpenFolder1->text(), QStringLiteral("Open Folder..."));
        QCOMPARE(file.OpenFolder1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(file.OpenGame1->text(), QStringLiteral("Open Game..."));
        QCOMPARE(file.OpenGame1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
        QCOMPARE(edit.Edit1->title(), QStringLiteral("Edit"));
        QCOMPARE(edit.EditPosition1->text(), QStringLiteral("Edit Position"));
        QVERIFY(edit.EditPosition1->isCheckable());
        QCOMPARE(edit.EditPosition1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(edit.SwapSideToMove1->text(), QStringLiteral("Swap Side to Move"));
        QCOMPARE(edit.ClearBoard1->text(), QStringLiteral("Clear Board"));
        QCOMPARE(edit.Undo1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(view.View1->title(), QStringLiteral("View"));
        QCOMPARE(view.ColoursByLetter1->text(), QStringLiteral("Colours by Letter"));
        QCOMPARE(view.Coordinates1->text(), QStringLiteral("Coordinates"));
        QCOMPARE(view.MoveNumbers1->text(), QStringLiteral("Move Numbers"));
        QCOMPARE(file.OpenRecent1->title(), QStringLiteral("Open Recent"));
        QCOMPARE(file.Quit1->text(), QStringLiteral("Quit"));
        QCOMPARE(file.Quit1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QCOMPARE(w.form->FolderPath->parentWidget(), w.form->StatusBar1);
        QCOMPARE(w.form->FolderPath->path(), QString::fromStdString(w.dir().path().string()));
        QCOMPARE(w.form->FolderPath->text(), w.form->FolderPath->path());  // room for all of it
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
        QCOMPARE(w.form->MouseColumn, 11);
        QCOMPARE(w.form->MouseRow, 10);
        QCOMPARE(w.form->MouseSquare, 211);
        QVERIFY(w.panel(2).isEmpty());
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
            QCOMPARE(w.form->MouseSquare, 211);
        }
    }

    void clickingTheBoardChangesNothing() {
        WindowFixture w;
        const QImage before = w.form->ImgBoard->image();
        QTest::mouseClick(w.form->ImgBoard, Qt::LeftButton, {}, QPoint(210, 210));
        QTest::mouseDClick(w.form->ImgBoard, Qt::LeftButton, {}, QPoint(210, 210));
        QCOMPARE(w.form->ImgBoard->image(), before);
        QCOMPARE(w.root()->childCount(), 0);
    }

    void fileOutputWritesTheSelectedChildAndClosingRestoresTheStart() {
        WindowFixture w;
        const std::string start = w.dir().read("plocha.dat");
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);  // child 0: x on column 8, row 10
        QCOMPARE(w.form->CurrentNode->move, 208);
        w.form->FileOutput1->trigger();
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
        w.form->FileInput1->trigger();
        QCOMPARE(w.form->Tree->topLevelItemCount(), 1);
        QCOMPARE(w.root()->childCount(), 0);
        QCOMPARE(w.text(w.root()), QStringLiteral("1/1"));
        QCOMPARE(w.form->CurrentNode, w.node(w.root()));
        QCOMPARE(w.form->RootBoard->stoneCount(), 1);
        QCOMPARE(w.form->ImgBoard->image(), renderBoard(*w.form->RootBoard));

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
            w.form->FileOutput1->trigger();
        };
        const std::function<void(WindowFixture&)> askAnAi = [](WindowFixture& w) {
            testing::DialogRecord record;
            w.form->setOpponentDialogs(
                std::make_unique<testing::ScriptedDialogs>(QStringLiteral("./ai.sh"), record));
            w.dir().write("ai.sh", "#!/bin/sh\nprintf 10,9 > tah.dat\nprintf 10,9 > answered\n");
            std::filesystem::permissions(w.dir() / "ai.sh", std::filesystem::perms::owner_all);
            w.form->AskOpponentMove(1);
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
        TForm1& form = *w.form;
        const auto check = [&form](WindowMode mode) {
            QCOMPARE(form.mode(), mode);
            const std::pair<QAction*, Command> actions[] = {
                {form.FileInput1, Command::FILE_INPUT},
                {form.FileOutput1, Command::FILE_OUTPUT},
                {form.Solve1, Command::SOLVE},
                {form.FileMenu->OpenFolder1, Command::OPEN_FOLDER},
                {form.FileMenu->OpenGame1, Command::OPEN_GAME},
                {form.EditCommands->ClearBoard1, Command::EDIT_POSITION},
            };
            for (const auto& [action, command] : actions)
                QVERIFY2(action->isEnabled() == allows(mode, command), qPrintable(action->text()));
            QCOMPARE(form.Tree->isEnabled(), allows(mode, Command::SELECT_NODE));
            QCOMPARE(form.Game->GameList->isEnabled(), allows(mode, Command::STEP_GAME));
            QCOMPARE(form.EditCommands->EditPosition1->isEnabled(),
                     allows(mode, Command::START_EDITING) || allows(mode, Command::FINISH_EDITING));
        };
        check(WindowMode::IDLE);
        QVERIFY(form.OpenGame(w.dir() / "two.psq"));
        check(WindowMode::GAME);
        form.EditCommands->EditPosition1->trigger();
        check(WindowMode::EDITING);
        form.EditCommands->EditPosition1->trigger();
        check(WindowMode::IDLE);  // the edited position is no position of the game
        form.Game->GameList->setCurrentRow(1);
        check(WindowMode::GAME);
        form.SolveSelectedNode();
        check(WindowMode::SOLVING);
        form.close();  // ends the solve
        check(WindowMode::GAME);
        form.FileInput1->trigger();
        check(WindowMode::IDLE);
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
        w.form->FileInput1->trigger();
        QCOMPARE(w.form->RootBoard->stoneCount(), 4);  // the new tree is there at once
        w.form->waitForDeletedTrees();
        StatNode::deletionStepHook = nullptr;
        QCOMPARE(deletedHere.load(), 0);
        QCOMPARE(deletedElsewhere.load(), nodes);
    }

    void windowsInOneProcessKeepTheirOwnState() {
        WindowFixture first;
        first.keyClick(Qt::Key_Right);
        first.keyClick(Qt::Key_Down);
        auto second = std::make_unique<TForm1>();
        QCOMPARE(second->CurrentNode, TForm1::nodeOf(second->Tree->topLevelItem(0)));
        QVERIFY(first.form->CurrentNode != first.node(first.root()));
        second.reset();
        QCOMPARE(first.form->CurrentNode->move, 208);
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::MainWindowTest>(argc, argv, "test_main_window");
}
#include "test_main_window.moc"
