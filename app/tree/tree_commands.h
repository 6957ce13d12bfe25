// The search tree in the tree view: a root for each new position, expanding
// the selected node and relabelling the path to the root, showing the node
// selected, and marking what a solve proved. Each item of the view stands
// for one node; the view owns no node.
#pragma once

#include <QObject>
#include <QString>

#include "files/position_source.h"
#include "search/stat_node.h"

class QTreeWidgetItem;

namespace vorek {

class NodeTree;
class WindowFeatures;

class TreeCommands final : public QObject {
    Q_OBJECT

public:
    TreeCommands(WindowFeatures& window, NodeTree& view);

    NodeTree& view() { return view_; }
    // The node an item stands for.
    static StatNode* nodeOf(const QTreeWidgetItem* item);
    // The selected item, or null; the root's item.
    QTreeWidgetItem* selectedItem() const;
    QTreeWidgetItem* rootItem() const;

    // Makes a new tree over the source's position, the only item its root's,
    // selected and shown; the green hint rings `hint` on the root's board.
    void showRoot(PositionSource source, int hint = -1);
    // Removes every item; the nodes are the controller's.
    void clear();

    // Makes the selected item's node current and shows its board and lists
    // (while a position is edited: the edited board).
    void ShowSelectedNode();
    // Expands the selected item's node and shows its children and the new
    // numbers. A node the solver expanded gets the items for its children instead.
    void ExpandSelectedNode();
    // Selects the root's item and shows it.
    void showRootItem();

    // The tree view's events, after its own handling: a click shows the
    // selected node; a double-click expands it; a key let go acts on the
    // item selected now (Right expands and shows, Up and Down show, a digit
    // asks an AI).
    void TreeClick();
    void TreeDblClick();
    void TreeKeyUp(int virtualKey);
    // An item opened by its indicator or the arrow key: an item whose node the
    // solver expanded gets its child items now.
    void TreeItemExpanded(QTreeWidgetItem* item);

    // What a solve found, after it ended: the items the tree's rules grew are
    // relabelled, the proving move is selected where the tree has it, and
    // the start item says the verdict beside its numbers.
    void showSolved(QTreeWidgetItem* start, bool grown, int provingMove, const QString& verdict,
                    const QString& explanation);

private:
    void addChildItems(QTreeWidgetItem* item, const StatNode& node);
    bool addGrownChildItems(QTreeWidgetItem* item);
    void relabelPath(QTreeWidgetItem* item);
    void showSolvedItems(QTreeWidgetItem* item);
    void selectChildByMove(QTreeWidgetItem* item, int move);
    void selectChildItemByMove(QTreeWidgetItem* item, int move);

    WindowFeatures& window_;
    NodeTree& view_;
};

}  // namespace vorek
