// A tree view item that stands for a search node: the node's label in the
// first column, the move that led to it in the second, and there too what a
// solve proved of it. The item holds the node by a typed handle; the tree
// view owns the item, never the node.
#pragma once

#include <QTreeWidgetItem>

#include "search/stat_node.h"

namespace vorek {

class NodeItem final : public QTreeWidgetItem {
public:
    static constexpr int ITEM_TYPE = QTreeWidgetItem::UserType + 1;
    static constexpr int LABEL_COLUMN = 0;
    static constexpr int MOVE_COLUMN = 1;

    // An item labelled `label`, showing the node's move.
    NodeItem(StatNode& node, const QString& label);

    StatNode& node() const { return node_; }

    // A solve's verdict on the node, "x wins", after its move; the
    // explanation is the tool tip of both columns.
    void setVerdict(const QString& verdict, const QString& explanation);

private:
    StatNode& node_;
};

// The node of an item of the search tree's view; every item there is a NodeItem.
StatNode& nodeOfItem(const QTreeWidgetItem& item);

}  // namespace vorek
