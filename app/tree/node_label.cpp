#include "app/tree/node_label.h"

#include "board/square_text.h"

namespace vorek {

QString NodeLabel(const StatNode& node) {
    return QString::number(node.pn) + QLatin1Char('/') + QString::number(node.dn);
}

QString pathLabel(const StatNode& node) {
    return (node.isOr() ? QStringLiteral("|| ") : QStringLiteral("&& ")) + NodeLabel(node);
}

QString moveText(const StatNode& node) {
    if (node.move < 0) return {};
    return QString::fromStdString(squareText(columnOf(node.move), rowOf(node.move)));
}

}  // namespace vorek
