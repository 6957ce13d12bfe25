// Growing the search tree from the tree view and walking through it.
#include <QTreeWidgetItem>

#include "app/form1.h"
#include "app/tree/node_item.h"
#include "app/tree/node_label.h"
#include "app/tree/node_tree.h"
#include "search/numbers.h"

namespace vorek {

// While a solve runs, the tree's nodes below its start are the solver's:
// the mode allows no command that changes the tree, and showing a node
// reads only its board, which the solver never touches.

void TForm1::TreeClick() { ShowSelectedNode(); }

// Only the tree changes; the board keeps showing the current node.
void TForm1::TreeDblClick() {
    if (allows(Command::EXPAND_NODE)) ExpandSelectedNode();
}

// The view has already handled the key press (moved the selection, folded or
// unfolded an item), so every action works on the item selected now.
void TForm1::TreeKeyUp(int virtualKey) {
    switch (virtualKey) {
        case KEY_RIGHT:
            if (allows(Command::EXPAND_NODE)) ExpandSelectedNode();
            ShowSelectedNode();
            break;
        case KEY_UP:
        case KEY_DOWN:
            ShowSelectedNode();
            break;
        default:
            if (virtualKey >= KEY_DIGIT_1 && virtualKey <= KEY_DIGIT_9 && allows(Command::ASK_OPPONENT))
                AskOpponentMove(virtualKey - KEY_DIGIT_1 + 1);
            break;
    }
}

void TForm1::TreeItemExpanded(QTreeWidgetItem* item) {
    if (allows(Command::EXPAND_NODE)) addGrownChildItems(item);
}

void TForm1::ExpandSelectedNode() {
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

void TForm1::relabelPath(QTreeWidgetItem* item) {
    for (QTreeWidgetItem* onPath = item; onPath != nullptr; onPath = onPath->parent()) {
        onPath->setText(NodeItem::LABEL_COLUMN, pathLabel(*nodeOf(onPath)));
        Tree->fitLabels(*onPath);
    }
}

// Hand expansion makes the items with the nodes; the solver makes nodes only.
// Their items come when the user opens the parent, labelled as if it had just
// been expanded by hand. True when items were added.
bool TForm1::addGrownChildItems(QTreeWidgetItem* item) {
    const StatNode& node = *nodeOf(item);
    if (item->childCount() > 0 || node.childCount == 0) return false;
    addChildItems(item, node);
    item->setText(NodeItem::LABEL_COLUMN, pathLabel(node));
    Tree->fitLabels(*item);
    return true;
}

}  // namespace vorek
