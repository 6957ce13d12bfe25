// Growing the tree from the tree view and walking through it.
#include <QKeyEvent>

#include "app/board_view/board_image.h"
#include "picture/board_png.h"
#include "app/tree/node_item.h"
#include "app/tree/node_label.h"
#include "tests/app/scratch_settings.h"
#include "tests/app/window_fixture.h"
#include "tests/board_builder.h"

namespace vorek {

using testing::WindowFixture;

namespace {

// Every item's text, in preorder, as "text" lines indented by depth.
QStringList texts(const QTreeWidgetItem* item, int depth = 0) {
    QStringList lines{QString(depth, QLatin1Char(' ')) + item->text(0)};
    for (int i = 0; i < item->childCount(); ++i) lines += texts(item->child(i), depth + 1);
    return lines;
}

QHash<QTreeWidgetItem*, QString> textsByItem(QTreeWidgetItem* item) {
    QHash<QTreeWidgetItem*, QString> all{{item, item->text(0)}};
    for (int i = 0; i < item->childCount(); ++i) all.insert(textsByItem(item->child(i)));
    return all;
}

// A root expanded into one child item per child node, each with its plain label.
void checkFreshChildren(const WindowFixture& w, const QTreeWidgetItem* item) {
    const StatNode* node = w.node(item);
    QVERIFY(node->childCount > 0);
    QCOMPARE(item->childCount(), static_cast<int>(node->childCount));
    for (int i = 0; i < item->childCount(); ++i) {
        QCOMPARE(w.node(item->child(i)), node->child(static_cast<std::uint32_t>(i)));
        QCOMPARE(item->child(i)->text(0), NodeLabel(*node->child(static_cast<std::uint32_t>(i))));
        QVERIFY(!item->child(i)->text(0).startsWith(QLatin1String("|| ")));
    }
    QVERIFY(item->isExpanded());
}

}  // namespace

class TreeNavigationTest : public QObject {
    Q_OBJECT

private slots:
    void rightArrowExpandsTheRootAndKeepsItSelected() {
        WindowFixture w;
        w.keyClick(Qt::Key_Right);
        QCOMPARE(w.text(w.root()), QStringLiteral("|| 1/12"));
        checkFreshChildren(w, w.root());
        QCOMPARE(w.text(w.root()->child(0)), QStringLiteral("1/1"));
        // The second column: each child's move, x,y from 0; none for the root.
        QStringList moves;
        for (int i = 0; i < 4; ++i) moves << w.root()->child(i)->text(NodeItem::MOVE_COLUMN);
        QCOMPARE(moves, (QStringList{"8,10", "11,10", "7,10", "12,10"}));
        QVERIFY(w.root()->text(NodeItem::MOVE_COLUMN).isEmpty());
        QCOMPARE(w.root()->child(0)->toolTip(0), QStringLiteral("8,10"));
        QVERIFY(w.treeView()->columnWidth(0) >= w.treeView()->fontMetrics().horizontalAdvance(w.text(w.root())));
        QCOMPARE(w.tree().selectedItem(), w.root());
        QCOMPARE(w.currentNode(), w.node(w.root()));
    }

    void doubleClickExpandsOnceAndLeavesTheBoardAlone() {
        WindowFixture w;
        w.boardImage()->markMove(0, 0);  // a redraw would remove the mark
        const QImage marked = w.image();
        w.doubleClick(w.root());
        QCOMPARE(w.text(w.root()), QStringLiteral("|| 1/12"));
        checkFreshChildren(w, w.root());
        QCOMPARE(w.image(), marked);

        const QStringList before = texts(w.root());
        w.doubleClick(w.root());
        QCOMPARE(texts(w.root()), before);
    }

    void doubleClickOnEmptySpaceActsOnTheSelectedItem() {
        WindowFixture w;
        QTest::mouseDClick(w.treeView()->viewport(), Qt::LeftButton, {}, QPoint(100, 300));
        QCOMPARE(w.text(w.root()), QStringLiteral("|| 1/12"));
    }

    void expandingAGrandchildRelabelsExactlyThePath() {
        WindowFixture w;
        w.keyClick(Qt::Key_Right);
        QTreeWidgetItem* child = w.root()->child(0);
        w.select(child);
        w.keyClick(Qt::Key_Right);
        QCOMPARE(w.text(child), QStringLiteral("&& 2/1"));
        QTreeWidgetItem* grandchild = child->child(1);
        w.select(grandchild);
        const QHash<QTreeWidgetItem*, QString> before = textsByItem(w.root());
        w.keyClick(Qt::Key_Right);

        QVERIFY(grandchild->childCount() > 0);
        QVERIFY(w.text(grandchild).startsWith(QLatin1String("|| ")));
        QVERIFY(w.text(child).startsWith(QLatin1String("&& ")));
        const QList<QTreeWidgetItem*> path{grandchild, child, w.root()};
        for (QTreeWidgetItem* item : path) QCOMPARE(w.text(item), pathLabel(*w.node(item)));
        for (auto [item, text] : before.asKeyValueRange())
            if (!path.contains(item)) QCOMPARE(w.text(item), text);
    }

    void upAndDownShowTheSelectedNode() {
        WindowFixture w;
        w.keyClick(Qt::Key_Right);
        w.keyClick(Qt::Key_Down);
        StatNode* first = w.node(w.root()->child(0));
        QCOMPARE(w.tree().selectedItem(), w.root()->child(0));
        QCOMPARE(w.currentNode(), first);
        QCOMPARE(w.image(), WindowFixture::picture(first->ensureBoard(), first->move));
        QCOMPARE((&w.widgets().threats0)->count(), static_cast<int>(testing::listOf(first->ensureBoard(), PLAYER0).size()));
        QCOMPARE((&w.widgets().threats1)->count(), static_cast<int>(testing::listOf(first->ensureBoard(), PLAYER1).size()));
        QVERIFY((&w.widgets().threats1)->count() > 0);

        w.keyClick(Qt::Key_Down);
        QCOMPARE(w.currentNode(), w.node(w.root()->child(1)));
        w.keyClick(Qt::Key_Up);
        w.keyClick(Qt::Key_Up);
        QCOMPARE(w.currentNode(), w.node(w.root()));
        QCOMPARE(w.image(), renderBoard(*w.rootBoard()));
        QCOMPARE((&w.widgets().threats1)->count(), 4);
    }

    void clickShowsTheClickedNode() {
        WindowFixture w;
        w.keyClick(Qt::Key_Right);
        QTreeWidgetItem* third = w.root()->child(2);
        QTest::mouseClick(w.treeView()->viewport(), Qt::LeftButton, {},
                          w.treeView()->visualItemRect(third).center());
        QCOMPARE(w.currentNode(), w.node(third));
        QCOMPARE(w.image(), WindowFixture::picture(w.node(third)->ensureBoard(), w.node(third)->move));
    }

    void keysActOnReleaseOnlyAndNotOnAutoRepeat() {
        WindowFixture w;
        QTest::keyPress(w.treeView(), Qt::Key_Right);
        QCOMPARE(w.root()->childCount(), 0);
        QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(w.treeView(), &repeated);
        QCOMPARE(w.root()->childCount(), 0);
        QTest::keyRelease(w.treeView(), Qt::Key_Right);
        QVERIFY(w.root()->childCount() > 0);
    }

    void shiftedArrowActsLikeTheArrowAndOtherKeysDoNothing() {
        WindowFixture w;
        w.keyClick(Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(w.root()->childCount() > 0);
        const QStringList before = texts(w.root());
        w.keyClick(Qt::Key_Left);  // the view folds the root; nothing else
        w.keyClick(Qt::Key_0);
        w.keyClick(Qt::Key_Space);
        QCOMPARE(texts(w.root()), before);
        QVERIFY(!w.root()->isExpanded());
        QCOMPARE(w.currentNode(), w.node(w.root()));
    }

    void noSelectedItemExpandsNothingAndShowsTheCurrentNode() {
        WindowFixture w;
        w.treeView()->clearSelection();
        w.tree().TreeKeyUp(KEY_RIGHT);
        QCOMPARE(w.root()->childCount(), 0);
        QCOMPARE(w.currentNode(), w.node(w.root()));
    }

    void clickBelowTheItemsKeepsTheSelection() {
        WindowFixture w;
        w.keyClick(Qt::Key_Right);
        QTreeWidgetItem* third = w.root()->child(2);
        w.select(third);
        const QPoint below(20, w.treeView()->visualItemRect(w.root()->child(11)).bottom() + 30);
        QVERIFY(!w.treeView()->indexAt(below).isValid());
        QTest::mouseClick(w.treeView()->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(w.tree().selectedItem(), third);
        QCOMPARE(w.currentNode(), w.node(third));
        w.keyClick(Qt::Key_Right);
        QVERIFY(third->childCount() > 0);
        QCOMPARE(w.tree().selectedItem(), third);
    }

    // Whatever character a key gives ("1" for the label "1/1", or "-" and
    // "+", which fold and unfold), letters and top-row digits leave the
    // selection and the items' folding alone.
    void lettersAndDigitsNeitherSearchNorFold() {
        WindowFixture w;
        w.keyClick(Qt::Key_Right);
        struct Press {
            int key;
            const char* text;
            quint32 scanCode;
        };
        constexpr Press presses[] = {
            {Qt::Key_1, "1", 0}, {Qt::Key_A, "a", 38}, {Qt::Key_Minus, "-", 15}, {Qt::Key_Plus, "+", 10},
        };
        for (const Press& p : presses) {
            QKeyEvent press(QEvent::KeyPress, p.key, Qt::NoModifier, p.scanCode, 0, 0,
                            QString::fromUtf8(p.text));
            QCoreApplication::sendEvent(w.treeView(), &press);
            QVERIFY2(w.tree().selectedItem() == w.root(), p.text);
            QVERIFY2(w.root()->isExpanded(), p.text);
        }
    }

    // Every item of the view stands for a node by a typed handle; any other
    // item is refused.
    void itemsHoldTheirNodesByATypedHandle() {
        WindowFixture w;
        QCOMPARE(&nodeOfItem(*w.root()), w.currentNode());
        const QTreeWidgetItem stranger(QStringList{QStringLiteral("1/1")});
        QVERIFY_THROWS_EXCEPTION(std::logic_error, nodeOfItem(stranger));
    }

    void virtualKeyCodes() {
        struct Case {
            int key;
            Qt::KeyboardModifiers modifiers;
            quint32 scanCode;
            int code;
        };
        const Case cases[] = {
            {Qt::Key_Right, Qt::ControlModifier, 114, KEY_RIGHT},
            {Qt::Key_Down, Qt::ShiftModifier, 116, KEY_DOWN},
            // No scan code: the Qt key of a main-keyboard digit.
            {Qt::Key_9, Qt::NoModifier, 0, KEY_DIGIT_9},
            {Qt::Key_5, Qt::KeypadModifier, 0, KEY_OTHER},
            {Qt::Key_Exclam, Qt::ShiftModifier, 0, KEY_OTHER},
            {Qt::Key_Left, Qt::NoModifier, 0, KEY_OTHER},
            // A scan code: the top-row key's place, whatever it gives.
            {Qt::Key_Plus, Qt::NoModifier, 10, KEY_DIGIT_1},
            {Qt::Key_Eacute, Qt::ControlModifier, 11, KEY_DIGIT_1 + 1},
            {Qt::Key_Ccedilla, Qt::NoModifier, 18, KEY_DIGIT_9},
            {Qt::Key_Agrave, Qt::NoModifier, 19, KEY_DIGIT_0},
            {Qt::Key_1, Qt::KeypadModifier, 87, KEY_OTHER},
            {Qt::Key_1, Qt::NoModifier, 38, KEY_OTHER},
            {Qt::Key_Minus, Qt::NoModifier, 20, KEY_OTHER},
        };
        for (const Case& c : cases)
            QCOMPARE(virtualKeyCode(c.key, c.modifiers, c.scanCode), c.code);
    }
};

}  // namespace vorek

int main(int argc, char** argv) {
    return vorek::testing::runWithScratchSettings<vorek::TreeNavigationTest>(argc, argv, "test_tree_navigation");
}
#include "test_tree_navigation.moc"
