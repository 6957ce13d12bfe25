// "Solve" in the window: the solver grows the tree between the window's
// events, the path and the proving move are shown afterwards, and the items
// of the grown nodes come when the user opens their parents.
#include <QAction>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/board_image.h"
#include "picture/board_png.h"
#include "app/node_label.h"
#include "app/solve_dialog.h"
#include "search/tree_check.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"

namespace vorek {

using testing::WindowFixture;

namespace {

constexpr int SOLVE_LIMIT_MS = 20000;

std::string exampleFile(const char* example, const char* name) {
    std::ifstream in(std::filesystem::path(VOREK_EXAMPLES_DIR) / example / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A window on a copy of a shipped example position.
struct ExampleWindow : WindowFixture {
    explicit ExampleWindow(const char* example)
        : WindowFixture(exampleFile(example, "plocha.dat"), exampleFile(example, "tah.dat")) {
        QApplication::setActiveWindow(form.get());
    }

    void pressSolveShortcut() { QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier); }
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
    void solveProvesTheMiddlegameAndItsItemsComeWhenOpened() {
        ExampleWindow w("middlegame");
        w.keyClick(Qt::Key_Right);  // items made by hand before the solve
        QTreeWidgetItem* handMade = w.root()->child(0);
        w.pressSolveShortcut();
        QVERIFY(w.form->solving());
        QTRY_VERIFY_WITH_TIMEOUT(!w.form->solving(), SOLVE_LIMIT_MS);
        QVERIFY(w.progress() == nullptr);

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
        QTreeWidgetItem* proving = w.form->selectedItem();
        QCOMPARE(proving->parent(), w.root());
        QCOMPARE(w.node(proving)->move, 246);
        QCOMPARE(w.form->CurrentNode, w.node(proving));
        QCOMPARE(w.form->ImgBoard->image(), renderBoard(w.node(proving)->ensureBoard()));
        QVERIFY(w.form->Tree->isEnabled());

        // Right arrow opens it (the view unfolds it, the window adds the items).
        QVERIFY(w.grownWithoutItems(proving));
        w.keyClick(Qt::Key_Right);
        checkOpened(w, proving);
        QCOMPARE(w.node(proving)->pn, 0);
        QCOMPARE(w.form->CurrentNode, w.node(proving));

        // The expand indicator opens a grown grandchild.
        QTreeWidgetItem* grandchild = w.firstGrownChild(proving);
        QVERIFY(grandchild != nullptr);
        const QRect row = w.form->Tree->visualItemRect(grandchild);
        QTest::mouseClick(w.form->Tree->viewport(), Qt::LeftButton, {},
                          QPoint(row.left() - w.form->Tree->indentation() / 2, row.center().y()));
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

    void commandsRestDuringASolveAndCancelStopsIt() {
        ExampleWindow w("opening");
        testing::DialogRecord dialogs;
        w.form->setOpponentDialogs(std::make_unique<testing::ScriptedDialogs>(QString(), dialogs));
        w.form->Solve1->trigger();
        QTest::qWait(300);  // slices run while the window handles its events
        QVERIFY(w.form->solving());
        QVERIFY(w.progress()->isVisible());
        QVERIFY(w.progressValue("SolveNodes").toLongLong() > 0);
        QVERIFY(w.progressValue("SolveRate").toLongLong() > 0);
        QCOMPARE(w.progressValue("SolveNumbers"), NodeLabel(*w.node(w.root())));

        // Nothing else touches the tree meanwhile.
        QTreeWidgetItem* root = w.root();
        w.form->Solve1->trigger();
        w.form->SolveSelectedNode();
        w.keyClick(Qt::Key_Right);
        w.form->TreeKeyUp(KEY_RIGHT);
        w.form->TreeDblClick();
        w.form->TreeKeyUp(KEY_DIGIT_1);
        w.form->FileInput1->trigger();
        w.form->FileInput1Click();
        QCOMPARE(w.form->findChildren<SolveDialog*>().size(), 1);
        QCOMPARE(w.root(), root);
        QCOMPARE(root->childCount(), 0);
        QCOMPARE(w.text(root), QStringLiteral("1/1"));
        QCOMPARE(dialogs.asked, 0);

        QTest::mouseClick(w.progress()->findChild<QPushButton*>(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w.form->solving(), 2000);
        const StatNode* node = w.node(root);
        QVERIFY(!node->isDecided());
        QVERIFY(node->childCount > 0);
        QCOMPARE(w.text(root), pathLabel(*node));
        QCOMPARE(w.form->selectedItem(), root);
        QCOMPARE(QString::fromStdString(checkTree(*node)), QString());

        // The window is usable again: the root opens, a child expands by hand.
        w.keyClick(Qt::Key_Right);
        checkOpened(w, root);
        w.keyClick(Qt::Key_Down);
        QCOMPARE(w.form->CurrentNode, w.node(root->child(0)));
        w.form->TreeKeyUp(KEY_DIGIT_1);
        QCOMPARE(dialogs.asked, 1);
    }

    void closingDuringASolveStopsItAndWritesTheStartPosition() {
        ExampleWindow w("opening");
        const std::string start = w.dir().read("plocha.dat");
        w.form->SolveSelectedNode();
        QTest::qWait(100);
        w.form->close();
        QVERIFY(!w.form->solving());
        QCOMPARE(QString::fromStdString(checkTree(*w.node(w.root()))), QString());
        w.close();
        QCOMPARE(w.dir().read("plocha.dat"), start);

        // Destroying the window in the middle of a solve is just as safe.
        ExampleWindow again("opening");
        again.form->SolveSelectedNode();
        QTest::qWait(100);
        QVERIFY(again.form->solving());
        again.close();
        QCOMPARE(again.dir().read("plocha.dat"), start);
    }
};

}  // namespace vorek

QTEST_MAIN(vorek::SolveCommandTest)
#include "test_solve_command.moc"
