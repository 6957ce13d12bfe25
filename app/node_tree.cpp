#include "app/node_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vorek {

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    switch (qtKey) {
        case Qt::Key_Up: return KEY_UP;
        case Qt::Key_Right: return KEY_RIGHT;
        case Qt::Key_Down: return KEY_DOWN;
        default: break;
    }
    const bool mainDigit = qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9 &&
                           !modifiers.testFlag(Qt::KeypadModifier);
    return mainDigit ? qtKey - Qt::Key_0 + 0x30 : KEY_OTHER;
}

NodeTree::NodeTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A double-click expands the search node; the view itself must not also
    // fold or unfold the item.
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
}

void NodeTree::mousePressEvent(QMouseEvent* event) {
    releaseEndsDoubleClick_ = false;
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

void NodeTree::keyReleaseEvent(QKeyEvent* event) {
    QTreeWidget::keyReleaseEvent(event);
    if (event->isAutoRepeat()) return;
    emit treeKeyReleased(virtualKeyCode(event->key(), event->modifiers()));
}

}  // namespace vorek
