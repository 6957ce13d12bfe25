// Naming the nodes of a tree on the command line: root, or child indices from
// the root separated by dots (0.3 is child 3 of child 0 of the root).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "cli/command.h"
#include "search/stat_node.h"

namespace vorek::cli {

inline constexpr std::string_view ROOT_PATH = "root";

// The PATH of child `index` of the node at parentPath.
std::string childPath(std::string_view parentPath, std::uint32_t index);

enum class PathWalk {
    Find,  // in the tree as it stands
    Grow,  // expanding each node on the way first, by the expansion rule
};

// The node a PATH names, or the misuse of a malformed PATH or one that leads
// past the children a node has.
std::variant<StatNode*, Misuse> nodeAtPath(StatNode& root, const std::string& text, PathWalk walk);

}  // namespace vorek::cli
