// "Solve" in the window: the solver runs on a thread of its own while the
// window goes on; by the tree's rules it grows the window's tree, whose path
// and proving move are shown afterwards and whose grown nodes get their items
// when the user opens their parents; by the exact rules it leaves the tree
// alone and says what it found.
#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QStandardPaths>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/board_view/board_image.h"
#include "picture/board_png.h"
#include "app/tree/node_label.h"
#include "app/solve/solve_dialog.h"
#include "app/solve/solve_settings_dialog.h"
#include "search/process_memory.h"
#include "search/tree_check.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"
#include "tests/board_builder.h"
#include "tests/temp_dir.h"

namespace vorek {

using testing::exampleFile;
using testing::WindowFixture;

namespace {

constexpr int SOLVE_LIMIT_MS = 60000;  // a guard against a hang, far above any real solve here

// A window on a copy of a shipped example position.
struct ExampleWindow : WindowFixture {
    explicit ExampleWindow(const char* example)
        : WindowFixture(exampleFile(example, "plocha.dat"), exampleFile(example, "tah.dat")) {
        QApplication::setActiveWindow(form.get());
    }

    void pressSolveShortcut() { QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier); }
    // The rules of the next solve: the exact ones, or the tree's own.
    void useRules(bool exact, std::uint64_t maxNodes = 0) {
        SolveSettings settings;
        settings.exact = exact;
        settings.maxNodes = maxNodes;
        solve().setSolveSettings(settings);
    }
    SolveDialog* progress() const { return form->findChild<SolveDialog*>(); }
    QString progressValue(const char* name) const {
        return progress()->findChild<QLabel*>(QLatin1String(name))->text();
    }
    bool grownWithoutItems(const QTreeWidgetItem* item) const {
        return node(item)->childCount > 0 && item->childCount() == 0;
    }
    // The first item below the given one whose node the solver grew and
    // that has no child items yet.
    QTreeWidgetItem* firstGrownChild(const QTreeWidgetItem* item) const {
        for (int i = 0; i < item->childCount(); ++i)
            if (grownWithoutItems(item->child(i))) return item->child(i);
        return nullptr;
    }
};

// Every item's text, in preorder.
QStringList textsOf(const QTreeWidgetItem* item) {
    QStringList texts{item->text(0)};
    for (int i = 0; i < item->childCount(); ++i) texts += textsOf(item->child(i));
    return texts;
}

// Items added for a grown node: one per child, in order, each with its plain
// label, and the opened item itself labelled as if expanded by hand.
void checkOpened(const WindowFixture& w, const QTreeWidgetItem* item) {
    const StatNode* node = w.node(item);
    QCOMPARE(item->childCount(), static_cast<int>(node->childCount));
    for (int i = 0; i < item->childCount(); ++i) {
        const StatNode* child = node->child(static_cast<std::uint32_t>(i));
        QCOMPARE(w.node(item->child(i)), child);
        QCOMPARE(item->child(i)->text(0), NodeLabel(*child));
        QCOMPARE(item->child(i)->childIndicatorPolicy(),
                 child->childCount > 0 ? QTreeWidgetItem::ShowIndicator
                                       : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
    QCOMPARE(item->text(0), pathLabel(*node));
    QVERIFY(item->isExpanded());
}

}  // namespace

class SolveCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // the settings go to a test place
        QSettings().clear();
    }

    void solveProvesTheMiddlegameAndItsItemsComeWhenOpened() {
        ExampleWindow w("middlegame");
        w.useRules(false);
        w.keyClick(Qt::Key_Right);  // items made by hand before the solve
        QTreeWidgetItem* handMade = w.root()->child(0);
        w.pressSolveShortcut();
        QVERIFY(w.solving());
        QTRY_VERIFY_WITH_TIMEOUT(!w.solving(), SOLVE_LIMIT_MS);
        QCOMPARE(w.progressValue("SolveOutcome"), QStringLiteral("Proved: x wins with 6,12."));
        QCOMPARE(w.progressValue("SolveProof"), QStringLiteral("0"));
        QApplication::setActiveWindow(w.form.get());  // keys go to the tree again
        QCOMPARE(w.progressValue("SolveDisproof"), QStringLiteral("infinite"));

        StatNode* root = w.node(w.root());
        QCOMPARE(w.text(w.root()), QStringLiteral("|| 0/-1"));
        QCOMPARE(QString::fromStdString(checkTree(*root)), QString());
        QCOMPARE(w.root()->child(0), handMade);  // the items made by hand stay
        // Items made before the solve show their nodes' numbers now.
        for (int i = 0; i < w.root()->childCount(); ++i) {
            const QTreeWidgetItem* item = w.root()->child(i);
            const StatNode* node = w.node(item);
            QVERIFY(w.text(item) == NodeLabel(*node) || w.text(item) == pathLabel(*node));
            if (node->childCount > 0) {
                QCOMPARE(w.text(item), pathLabel(*node));
                QCOMPARE(item->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
            }
        }
        // The proving move is selected and shown.
        QTreeWidgetItem* proving = w.tree().selectedItem();
        QCOMPARE(proving->parent(), w.root());
        QCOMPARE(w.node(proving)->move, 246);
        QCOMPARE(w.currentNode(), w.node(proving));
        QCOMPARE(w.image(), WindowFixture::picture(w.node(proving)->ensureBoard(), 246));
        QVERIFY(w.treeView()->isEnabled());

        // Right arrow opens it (the view unfolds it, the window adds the items).
        QVERIFY(w.grownWithoutItems(proving));
        w.keyClick(Qt::Key_Right);
        checkOpened(w, proving);
        QCOMPARE(w.node(proving)->pn, 0);
        QCOMPARE(w.currentNode(), w.node(proving));

        // The expand indicator opens a grown grandchild.
        QTreeWidgetItem* grandchild = w.firstGrownChild(proving);
        QVERIFY(grandchild != nullptr);
        const QRect row = w.treeView()->visualItemRect(grandchild);
        QTest::mouseClick(w.treeView()->viewport(), Qt::LeftButton, {},
                          QPoint(row.left() - w.treeView()->indentation() / 2, row.center().y()));
        checkOpened(w, grandchild);

        // A double-click opens one more level, and a second one adds nothing.
        QTreeWidgetItem* deeper = w.firstGrownChild(grandchild);
        QVERIFY(deeper != nullptr);
        w.select(deeper);
        w.doubleClick(deeper);
        checkOpened(w, deeper);
        const int items = deeper->childCount();
        w.doubleClick(deeper);
        QCOMPARE(deeper->childCount(), items);
        QCOMPARE(QString::fromStdString(checkTree(*root)), QString());
    }

    // The window's tree is the solver's meanwhile: what changes it rests, but
    // the items that exist show their boards and lists as ever.
    void treeCommandsRestButItemsShowDuringASolveAndCancelStopsIt() {
        ExampleWindow w("opening");
        w.useRules(false);
        testing::DialogRecord dialogs;
        w.ask().setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(QString(), dialogs));
        w.keyClick(Qt::Key_Right);
        QTreeWidgetItem* root = w.root();
        QTreeWidgetItem* first = root->child(0);
        QTreeWidgetItem* second = root->child(1);
        w.select(first);
        w.action("Solve1")->trigger();
        QTest::qWait(300);
        QVERIFY(w.solving());
        QVERIFY(w.progress()->isVisible());
        QVERIFY(w.progressValue("SolveNodes").toLongLong() > 0);
        QVERIFY(w.progressValue("SolveRate").toLongLong() > 0);
        QVERIFY(w.progressValue("SolveElapsed").endsWith(QStringLiteral(" s")));

        // Moving through the items shows their positions while the solver works.
        w.keyClick(Qt::Key_Down);
        QCOMPARE(w.tree().selectedItem(), second);
        QCOMPARE(w.currentNode(), w.node(second));
        QCOMPARE(w.image(), WindowFixture::picture(w.node(second)->ensureBoard(), w.node(second)->move));
        QCOMPARE((&w.widgets().threats1)->count(),
                 static_cast<int>(testing::listOf(w.node(second)->ensureBoard(), PLAYER1).size()));
        w.mouseOverBoard(210, 210);
        QVERIFY(!w.panel(0).isEmpty());
        w.select(first);
        w.tree().TreeClick();
        QCOMPARE(w.currentNode(), w.node(first));

        // Nothing that changes the tree happens.
        const int items = first->childCount();
        const QString label = w.text(first);
        w.action("Solve1")->trigger();
        w.solve().SolveSelectedNode();
        w.keyClick(Qt::Key_Right);
        w.tree().TreeDblClick();
        w.tree().TreeKeyUp(KEY_DIGIT_1);
        w.action("FileInput1")->trigger();
        w.folder().FileInput1Click();
        QCOMPARE(w.form->findChildren<SolveDialog*>().size(), 1);
        QCOMPARE(w.root(), root);
        QCOMPARE(first->childCount(), items);
        QCOMPARE(w.text(first), label);
        QCOMPARE(dialogs.asked, 0);

        QElapsedTimer cancelling;
        cancelling.start();
        QTest::mouseClick(w.progress()->findChild<QPushButton*>(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w.solving(), 2000);
        QVERIFY(cancelling.elapsed() < 1000);
        QCOMPARE(w.progressValue("SolveOutcome"), QStringLiteral("Not decided: cancelled."));
        QVERIFY(w.progress()->isVisible());  // until it is closed
        const StatNode* node = w.node(first);
        QVERIFY(!node->isDecided());
        QVERIFY(node->childCount > 0);
        QCOMPARE(w.text(first), pathLabel(*node));
        QCOMPARE(QString::fromStdString(checkTree(*w.node(root))), QString());

        // The window is usable again: a child expands by hand, a digit asks.
        w.select(first);
        w.keyClick(Qt::Key_Right);
        checkOpened(w, first);
        w.tree().TreeKeyUp(KEY_DIGIT_1);
        QCOMPARE(dialogs.asked, 1);
    }

    // By the exact rules the window's tree stays as it is; the dialog says
    // what was found and why a solve stopped undecided.
    void anExactSolveLeavesTheTreeAndSaysWhatItFound() {
        ExampleWindow w("middlegame");
        w.useRules(true);
        w.keyClick(Qt::Key_Right);
        const QStringList before = textsOf(w.root());
        w.solve().SolveSelectedNode();
        QTRY_VERIFY_WITH_TIMEOUT(!w.solving(), SOLVE_LIMIT_MS);
        QCOMPARE(w.progressValue("SolveOutcome"), QStringLiteral("Proved: x wins with 6,12 by threats in 5 moves."));
        QCOMPARE(textsOf(w.root()), before);
        QCOMPARE(w.node(w.tree().selectedItem())->move, 246);  // the tree has the move: selected

        ExampleWindow estimate("model-estimate");
        estimate.useRules(true, 20000);
        estimate.solve().SolveSelectedNode();
        QTRY_VERIFY_WITH_TIMEOUT(!estimate.solving(), SOLVE_LIMIT_MS);
        QCOMPARE(estimate.progressValue("SolveOutcome"), QStringLiteral("Not decided: the node budget was spent."));
        QCOMPARE(estimate.text(estimate.root()), QStringLiteral("1/1"));

        // The exact solve's table is its own: its memory, about 64 MB here,
        // goes back to the system with it. The searches end without a win
        // by threats for either side.
        const std::size_t memoryBefore = currentMemory();
        estimate.useRules(true, 1'500'000);
        estimate.solve().SolveSelectedNode();
        QTRY_VERIFY_WITH_TIMEOUT(!estimate.solving(), SOLVE_LIMIT_MS);
        QCOMPARE(estimate.progressValue("SolveOutcome"),
                 QStringLiteral("Not decided: neither side can force a win by threats from here."));
        // It is freed off the window's thread, soon after the end (but for
        // ThreadSanitizer's allocator, which keeps what is freed).
#ifndef __SANITIZE_THREAD__
        QTRY_VERIFY_WITH_TIMEOUT(currentMemory() < memoryBefore + (std::size_t{30} << 20), 5000);
#else
        (void)memoryBefore;
#endif
    }

    // The dialog grows to show all of its verdict, gives the solve's one
    // time, which stays as it was at the end, and writes infinity in words.
    void theDialogShowsAllItsTextAndOneTime() {
        ExampleWindow w("opening");
        w.useRules(true);
        w.solve().SolveSelectedNode();
        QTRY_VERIFY_WITH_TIMEOUT(!w.solving(), SOLVE_LIMIT_MS);
        SolveDialog* dialog = w.progress();
        auto* outcome = dialog->findChild<QLabel*>(QStringLiteral("SolveOutcome"));
        QCOMPARE(outcome->text(), QStringLiteral("Not decided: neither side can force a win by threats from here."));
        QCoreApplication::processEvents();
        QVERIFY(outcome->height() >= outcome->heightForWidth(outcome->width()));
        QVERIFY(dialog->height() >= dialog->sizeHint().height());
        QVERIFY(dialog->width() >= dialog->sizeHint().width());
        QCOMPARE(w.progressValue("SolveProof"), QStringLiteral("infinite"));
        QCOMPARE(w.progressValue("SolveDisproof"), QStringLiteral("infinite"));
        const QString time = w.progressValue("SolveElapsed");
        QVERIFY(time.endsWith(QStringLiteral(" s")));
        QTest::qWait(250);
        QCOMPARE(w.progressValue("SolveElapsed"), time);
        QCOMPARE(numberText(12), QStringLiteral("12"));
        QCOMPARE((&w.widgets().pagesStatus)->currentMessage(), QString());  // the solve's word went with it
    }

    // The tree says beside the solved node's numbers what the solve found,
    // the whole verdict in its tool tip; the dialog is as wide from the
    // start as at the end.
    void theTreeShowsTheVerdictAndTheDialogKeepsItsWidth() {
        ExampleWindow w("middlegame");
        w.useRules(true);
        w.solve().SolveSelectedNode();
        const int running = w.progress()->width();
        QTRY_VERIFY_WITH_TIMEOUT(!w.solving(), SOLVE_LIMIT_MS);
        QCoreApplication::processEvents();
        QCOMPARE(w.progress()->width(), running);
        QCOMPARE(w.text(w.root()), QStringLiteral("1/1"));  // the numbers as they were
        QCOMPARE(w.root()->text(1), QStringLiteral("x wins"));
        QCOMPARE(w.root()->toolTip(1), QStringLiteral("Proved: x wins with 6,12 by threats in 5 moves."));
    }

    // The dialog stands where it hides neither the board nor the selected
    // line: beside the window where the screen has room, else over the pages.
    void theDialogKeepsClearOfTheBoardAndTheSelectedLine() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        SolveDialog dialog(nullptr);
        dialog.show();
        const QSize size = dialog.frameGeometry().size();
        struct Case {
            const char* name;
            QRect window;
        };
        const Case cases[] = {
            {"room on the right", QRect(screen.topLeft(), QSize(size.width() + 20, size.height() * 2))},
            {"room on the left", QRect(screen.topRight() - QPoint(size.width() + 20, 0),
                                       QSize(size.width() + 20, size.height() * 2))},
            {"no room beside", QRect(screen.topLeft(), QSize(screen.width(), size.height() * 2 + 40))},
        };
        for (const Case& c : cases) {
            const QRect board(c.window.topLeft(), QSize(c.window.width() / 2, c.window.height()));
            const QRect pages(board.topRight() + QPoint(1, 0), QSize(c.window.width() - board.width(), c.window.height()));
            const QRect selectedLine(pages.topLeft() + QPoint(0, 30), QSize(pages.width(), 16));
            dialog.keepClearOf(c.window, pages, {board, selectedLine});
            const QRect placed = dialog.frameGeometry();
            QVERIFY2(!placed.intersects(board) && !placed.intersects(selectedLine), c.name);
            QVERIFY2(screen.contains(placed), c.name);
        }
    }

    void settingsAreKeptAndTheDialogEditsThem() {
        SolveSettings chosen;
        chosen.maxNodes = 5000;
        chosen.maxSeconds = 2.5;
        chosen.maxMemoryBytes = std::size_t{512} << 20;
        chosen.exact = false;
        chosen.save();
        const SolveSettings loaded = SolveSettings::load();
        QCOMPARE(loaded.maxNodes, chosen.maxNodes);
        QCOMPARE(loaded.maxSeconds, chosen.maxSeconds);
        QCOMPARE(loaded.maxMemoryBytes, chosen.maxMemoryBytes);
        QCOMPARE(loaded.exact, false);

        SolveSettingsDialog dialog(loaded, nullptr);
        QCOMPARE(dialog.settings().maxNodes, chosen.maxNodes);
        dialog.findChild<QRadioButton*>(QStringLiteral("SolveExact"))->setChecked(true);
        dialog.findChild<QSpinBox*>(QStringLiteral("SolveNodesBudget"))->setValue(0);
        QCOMPARE(dialog.settings().exact, true);
        QCOMPARE(dialog.settings().maxNodes, 0u);
        QSettings().clear();
        QVERIFY(SolveSettings::load().exact);
        // A solve ends within a minute and a memory the machine has, unless told otherwise.
        QCOMPARE(SolveSettings::load().maxMemoryBytes, defaultSolveMemory());
        QCOMPARE(SolveSettings::load().maxSeconds, DEFAULT_SOLVE_SECONDS);
        QVERIFY(defaultSolveMemory() <= std::size_t{2} << 30);
    }

    void closingDuringASolveStopsIt() {
        // A position whose exact solve takes seconds: the searches of threats
        // need millions of nodes to end.
        WindowFixture w(testing::boardFile({"", "", "", "", "", "", "", "", "", "        oxxx", "         oo"}), "x");
        QApplication::setActiveWindow(w.form.get());
        const std::string start = w.dir().read("plocha.dat");
        w.solve().SolveSelectedNode();
        QTest::qWait(100);
        QVERIFY(w.solving());
        w.form->close();
        QVERIFY(!w.solving());
        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), start);

        // Destroying the window in the middle of a solve is just as safe.
        ExampleWindow again("opening");
        const std::string opening = again.dir().read("plocha.dat");
        again.useRules(false);
        again.solve().SolveSelectedNode();
        QTest::qWait(100);
        QVERIFY(again.solving());
        again.close();
        QCOMPARE(again.dir().read("plocha.dat"), opening);
    }
};

}  // namespace vorek

QTEST_MAIN(vorek::SolveCommandTest)
#include "test_solve_command.moc"
