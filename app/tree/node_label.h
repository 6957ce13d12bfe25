// The texts of tree items: a node's numbers, and the kind prefix that items on
// the path of an expansion get.
#pragma once

#include <QString>

#include "search/stat_node.h"

namespace vorek {

// "pn/dn" in decimal, -1 for infinity: "1/1", "0/-1", "3/12".
QString NodeLabel(const StatNode& node);

// "|| " and the label for an OR node, "&& " and the label for an AND node.
QString pathLabel(const StatNode& node);

// The move that led to the node as "column,row"; empty for the root.
QString moveText(const StatNode& node);

}  // namespace vorek
