// Growing the search tree from the tree view and walking through it.
#include <QTreeWidgetItem>

#include "app/form1.h"
#include "app/node_label.h"
#include "app/node_tree.h"
#include "search/numbers.h"

namespace vorek {

void TForm1::TreeClick() { ShowSelectedNode(); }

// Only the tree changes; the board keeps showing the current node.
void TForm1::TreeDblClick() { ExpandSelectedNode(); }

// The view has already handled the key press (moved the selection, folded or
// unfolded an item), so every action works on the item selected now.
void TForm1::TreeKeyUp(int virtualKey) {
    switch (virtualKey) {
        case KEY_RIGHT:
            ExpandSelectedNode();
            ShowSelectedNode();
            break;
        case KEY_UP:
        case KEY_DOWN:
            ShowSelectedNode();
            break;
        default:
            if (virtualKey >= KEY_DIGIT_1 && virtualKey <= KEY_DIGIT_9)
                AskOpponentMove(virtualKey - KEY_DIGIT_1 + 1);
            break;
    }
}

void TForm1::ExpandSelectedNode() {
    QTreeWidgetItem* item = selectedItem();
    if (item == nullptr) return;
    StatNode& node = *nodeOf(item);
    // Nothing happens to a node that is expanded, proved or disproved.
    if (!expandAndPropagate(node)) return;

    addChildItems(item, node);
    if (node.childCount > 0) item->setExpanded(true);
    // Propagation changes numbers only along the parent chain, so the path is
    // all that needs new texts.
    for (QTreeWidgetItem* onPath = item; onPath != nullptr; onPath = onPath->parent())
        onPath->setText(0, pathLabel(*nodeOf(onPath)));
}

}  // namespace vorek
