#include "app/tree/node_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace vorek {

namespace {

// Room between an item's numbers and its move.
constexpr int LABEL_GAP = 12;

// X keycodes of the main keyboard's top row: "1" .. "9", then "0".
constexpr quint32 SCAN_CODE_DIGIT_1 = 10;
constexpr quint32 SCAN_CODE_DIGIT_0 = 19;

// The digit 0..9 of a top-row key, or -1.
int topRowDigit(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
    if (nativeScanCode != 0) {
        if (nativeScanCode < SCAN_CODE_DIGIT_1 || nativeScanCode > SCAN_CODE_DIGIT_0) return -1;
        return static_cast<int>(nativeScanCode - SCAN_CODE_DIGIT_1 + 1) % 10;
    }
    const bool mainDigit = qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9 &&
                           !modifiers.testFlag(Qt::KeypadModifier);
    return mainDigit ? qtKey - Qt::Key_0 : -1;
}

int digitOf(const QKeyEvent& event) {
    return topRowDigit(event.key(), event.modifiers(), event.nativeScanCode());
}

}  // namespace

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
    switch (qtKey) {
        case Qt::Key_Up: return KEY_UP;
        case Qt::Key_Right: return KEY_RIGHT;
        case Qt::Key_Down: return KEY_DOWN;
        default: break;
    }
    const int digit = topRowDigit(qtKey, modifiers, nativeScanCode);
    return digit >= 0 ? KEY_DIGIT_0 + digit : KEY_OTHER;
}

NodeTree::NodeTree(QWidget* parent) : QTreeWidget(parent) {
    // The numbers, then the move that led to the item's node.
    setColumnCount(2);
    header()->hide();
    header()->setStretchLastSection(true);
    setColumnWidth(0, 0);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A double-click expands the search node; the view itself must not also
    // fold or unfold the item.
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
}

void NodeTree::keyboardSearch(const QString&) {}

// The item's indentation (the root's is one step too, for its branch
// indicator), its text and a gap before the next column.
int NodeTree::labelWidth(const QTreeWidgetItem& item, int depth) const {
    return (depth + 1) * indentation() + fontMetrics().horizontalAdvance(item.text(0)) + LABEL_GAP;
}

void NodeTree::fitLabels(const QTreeWidgetItem& item) {
    int depth = 0;
    for (const QTreeWidgetItem* above = item.parent(); above != nullptr; above = above->parent()) ++depth;
    int width = std::max(columnWidth(0), labelWidth(item, depth));
    for (int i = 0; i < item.childCount(); ++i) width = std::max(width, labelWidth(*item.child(i), depth + 1));
    if (width != columnWidth(0)) setColumnWidth(0, width);
}

void NodeTree::mousePressEvent(QMouseEvent* event) {
    releaseEndsDoubleClick_ = false;
    // Blank space below the items: the view would clear the selection. It
    // only takes the focus, as a native tree does.
    if (!indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void NodeTree::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    // The release that ends a double-click is part of the double-click.
    if (releaseEndsDoubleClick_) {
        releaseEndsDoubleClick_ = false;
        return;
    }
    emit treeClicked();
}

void NodeTree::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    releaseEndsDoubleClick_ = true;
    emit treeDoubleClicked();
}

// A digit key belongs to the window alone: whatever character the layout
// gives it ("&", "+", "-"), the view neither searches nor folds with it.
void NodeTree::keyPressEvent(QKeyEvent* event) {
    const int digit = digitOf(*event);
    if (digit < 0) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    if (digit > 0 && !event->isAutoRepeat()) {
        const QModelIndexList selected = selectedIndexes();
        selectedAtKeyDown_[static_cast<std::size_t>(digit)] =
            selected.isEmpty() ? QPersistentModelIndex() : QPersistentModelIndex(selected.front());
    }
    event->accept();
}

void NodeTree::keyReleaseEvent(QKeyEvent* event) {
    QTreeWidget::keyReleaseEvent(event);
    if (event->isAutoRepeat()) return;
    const int digit = digitOf(*event);
    if (digit > 0) reselectItemAtKeyDown(digit);
    emit treeKeyReleased(virtualKeyCode(event->key(), event->modifiers(), event->nativeScanCode()));
}

// An item removed meanwhile (a new tree) leaves the selection as it is.
void NodeTree::reselectItemAtKeyDown(int digit) {
    QPersistentModelIndex& atKeyDown = selectedAtKeyDown_[static_cast<std::size_t>(digit)];
    if (atKeyDown.isValid() && !selectionModel()->isSelected(atKeyDown)) setCurrentIndex(atKeyDown);
    atKeyDown = QPersistentModelIndex();
}

}  // namespace vorek
