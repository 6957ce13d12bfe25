#include "app/tree/node_item.h"

#include <stdexcept>

#include "app/tree/node_label.h"

namespace vorek {

NodeItem::NodeItem(StatNode& node, const QString& label) : QTreeWidgetItem(ITEM_TYPE), node_(node) {
    setText(LABEL_COLUMN, label);
    const QString move = moveText(node);
    setText(MOVE_COLUMN, move);
    setToolTip(LABEL_COLUMN, move);
    setToolTip(MOVE_COLUMN, move);
}

void NodeItem::setVerdict(const QString& verdict, const QString& explanation) {
    const QString move = moveText(node_);
    setText(MOVE_COLUMN, move.isEmpty() ? verdict : move + QStringLiteral("  ") + verdict);
    const QString tip = move.isEmpty() ? explanation : move + QStringLiteral(": ") + explanation;
    setToolTip(LABEL_COLUMN, tip);
    setToolTip(MOVE_COLUMN, tip);
}

StatNode& nodeOfItem(const QTreeWidgetItem& item) {
    if (item.type() != NodeItem::ITEM_TYPE) throw std::logic_error("a tree item that stands for no node");
    return static_cast<const NodeItem&>(item).node();
}

}  // namespace vorek
