#include "cli/tree_path.h"

#include "cli/arguments.h"
#include "search/numbers.h"

namespace vorek::cli {

namespace {

std::string childCountText(std::uint32_t count) {
    if (count == 0) return "no children";
    return std::to_string(count) + (count == 1 ? " child" : " children");
}

}  // namespace

std::string childPath(std::string_view parentPath, std::uint32_t index) {
    if (parentPath == ROOT_PATH) return std::to_string(index);
    return std::string(parentPath) + '.' + std::to_string(index);
}

std::variant<StatNode*, Misuse> nodeAtPath(StatNode& root, const std::string& text, PathWalk walk) {
    const auto indices = parsePath(text);
    if (!indices)
        return Misuse{"bad PATH '" + text +
                      "': give root, or child indices from the root separated by dots"};
    StatNode* node = &root;
    std::string reached(ROOT_PATH);
    for (int index : *indices) {
        if (walk == PathWalk::Grow) expandAndPropagate(*node);
        const auto i = static_cast<std::uint32_t>(index);
        if (i >= node->childCount)
            return Misuse{"PATH '" + text + "' leads nowhere: node " + reached + " has " +
                          childCountText(node->childCount)};
        node = node->child(i);
        reached = childPath(reached, i);
    }
    return node;
}

}  // namespace vorek::cli
