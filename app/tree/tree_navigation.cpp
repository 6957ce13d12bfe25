// Growing the search tree from the tree view and walking through it.
#include <QTreeWidgetItem>

#include "app/ask/ask_commands.h"
#include "app/board_view/position_view.h"
#include "app/tree/node_item.h"
#include "app/tree/node_label.h"
#include "app/tree/node_tree.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"
#include "search/numbers.h"

namespace vorek {

// While a solve runs, the tree's nodes below its start are the solver's:
// the mode allows no command that changes the tree, and showing a node
// reads only its board, which the solver never touches.

TreeCommands::TreeCommands(WindowFeatures& window, NodeTree& view) : window_(window), view_(view) {}

StatNode* TreeCommands::nodeOf(const QTreeWidgetItem* item) { return &nodeOfItem(*item); }

QTreeWidgetItem* TreeCommands::selectedItem() const {
    const QList<QTreeWidgetItem*> selected = view_.selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

QTreeWidgetItem* TreeCommands::rootItem() const { return view_.topLevelItem(0); }

// The old tree's items go first: they stand for its nodes, which are deleted
// off this thread from now on.
void TreeCommands::showRoot(PositionSource source, int hint) {
    clear();
    WindowController& controller = window_.controller();
    controller.replaceTree(std::move(source));
    StatNode& shown = *controller.root();
    auto* item = new NodeItem(shown, NodeLabel(shown));
    view_.addTopLevelItem(item);
    view_.fitLabels(*item);
    view_.setCurrentItem(item);
    window_.view().setRootHint(hint);
    window_.applyMode();
    ShowSelectedNode();
}

void TreeCommands::clear() { view_.clear(); }

void TreeCommands::ShowSelectedNode() {
    if (QTreeWidgetItem* item = selectedItem()) window_.controller().setCurrentNode(*nodeOf(item));
    window_.view().show();
    window_.showModeMessage();
}

void TreeCommands::showRootItem() {
    if (QTreeWidgetItem* root = rootItem()) view_.setCurrentItem(root);
    ShowSelectedNode();
}

void TreeCommands::TreeClick() { ShowSelectedNode(); }

// Only the tree changes; the board keeps showing the current node.
void TreeCommands::TreeDblClick() {
    if (window_.allows(Command::EXPAND_NODE)) ExpandSelectedNode();
}

// The view has already handled the key press (moved the selection, folded or
// unfolded an item), so every action works on the item selected now.
void TreeCommands::TreeKeyUp(int virtualKey) {
    switch (virtualKey) {
        case KEY_RIGHT:
            if (window_.allows(Command::EXPAND_NODE)) ExpandSelectedNode();
            ShowSelectedNode();
            break;
        case KEY_UP:
        case KEY_DOWN:
            ShowSelectedNode();
            break;
        default:
            if (virtualKey >= KEY_DIGIT_1 && virtualKey <= KEY_DIGIT_9)
                window_.ask().AskOpponentMove(virtualKey - KEY_DIGIT_1 + 1);
            break;
    }
}

void TreeCommands::TreeItemExpanded(QTreeWidgetItem* item) {
    if (window_.allows(Command::EXPAND_NODE)) addGrownChildItems(item);
}

void TreeCommands::ExpandSelectedNode() {
    QTreeWidgetItem* item = selectedItem();
    if (item == nullptr) return;
    StatNode& node = *nodeOf(item);
    // The numbers of a node that is expanded, proved or disproved stay as they
    // are; one the solver expanded may still lack its child items.
    if (!expandAndPropagate(node)) {
        if (addGrownChildItems(item)) item->setExpanded(true);
        return;
    }

    addChildItems(item, node);
    if (node.childCount > 0) item->setExpanded(true);
    // Propagation changes numbers only along the parent chain, so the path is
    // all that needs new texts.
    relabelPath(item);
}

void TreeCommands::addChildItems(QTreeWidgetItem* item, const StatNode& node) {
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(node.childCount));
    for (std::uint32_t i = 0; i < node.childCount; ++i) {
        StatNode& child = *node.child(i);
        auto* childItem = new NodeItem(child, NodeLabel(child));
        // The solver may have grown the child already: its items come when it is opened.
        if (child.childCount > 0) childItem->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        children.append(childItem);
    }
    item->addChildren(children);
    view_.fitLabels(*item);
}

void TreeCommands::relabelPath(QTreeWidgetItem* item) {
    for (QTreeWidgetItem* onPath = item; onPath != nullptr; onPath = onPath->parent()) {
        onPath->setText(NodeItem::LABEL_COLUMN, pathLabel(*nodeOf(onPath)));
        view_.fitLabels(*onPath);
    }
}

// Hand expansion makes the items with the nodes; the solver makes nodes only.
// Their items come when the user opens the parent, labelled as if it had just
// been expanded by hand. True when items were added.
bool TreeCommands::addGrownChildItems(QTreeWidgetItem* item) {
    const StatNode& node = *nodeOf(item);
    if (item->childCount() > 0 || node.childCount == 0) return false;
    addChildItems(item, node);
    item->setText(NodeItem::LABEL_COLUMN, pathLabel(node));
    view_.fitLabels(*item);
    return true;
}

void TreeCommands::showSolved(QTreeWidgetItem* start, bool grown, int provingMove, const QString& verdict,
                              const QString& explanation) {
    if (grown) {
        showSolvedItems(start);
        relabelPath(start);
        if (provingMove >= 0) selectChildByMove(start, provingMove);
    } else if (provingMove >= 0) {
        selectChildItemByMove(start, provingMove);
    }
    if (!verdict.isEmpty()) static_cast<NodeItem*>(start)->setVerdict(verdict, explanation);
}

// Items that existed before the solve and whose nodes it grew: each lay on the
// path of the solver's expansions, so it gets the path label, and an item
// whose node now has children but no items for them shows that it can be opened.
void TreeCommands::showSolvedItems(QTreeWidgetItem* item) {
    const StatNode& node = *nodeOf(item);
    const QString text = item->text(NodeItem::LABEL_COLUMN);
    if (text != NodeLabel(node) && text != pathLabel(node)) {
        item->setText(NodeItem::LABEL_COLUMN, pathLabel(node));
        view_.fitLabels(*item);
    }
    if (item->childCount() == 0 && node.childCount > 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    for (int i = 0; i < item->childCount(); ++i) showSolvedItems(item->child(i));
}

// Selects the child item reached by the move, if the item has one already.
void TreeCommands::selectChildItemByMove(QTreeWidgetItem* item, int move) {
    for (int i = 0; i < item->childCount(); ++i) {
        if (nodeOf(item->child(i))->move != move) continue;
        item->setExpanded(true);
        view_.setCurrentItem(item->child(i));
        return;
    }
}

// Opens the item and selects the child item reached by the move, if there is one.
void TreeCommands::selectChildByMove(QTreeWidgetItem* item, int move) {
    addGrownChildItems(item);
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i) {
        if (nodeOf(item->child(i))->move != move) continue;
        view_.setCurrentItem(item->child(i));
        return;
    }
}

}  // namespace vorek
