// vorek-cli tree: the proof-number tree grown by hand, as the window grows it,
// one expansion per PATH, then printed whole.
#include <array>
#include <utility>
#include <vector>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/played_position.h"
#include "cli/tree_path.h"
#include "search/numbers.h"
#include "search/root_build.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli tree [--dir DIR | --game FILE.psq[:K]] [PATH ...]\n"
    "\n"
    "Builds the root over the position in DIR (default: the working directory), or\n"
    "after K moves of a game record, as the window does at start-up, then applies\n"
    "the window's expansion to the node each PATH names, in order (nothing when it\n"
    "is expanded, proved or disproved).\n"
    "Prints the tree in preorder, one line a node:\n"
    "  PATH MOVE KIND PN DN EXPANDED CHILDREN\n"
    "\n"
    "  --dir DIR   the folder that holds the position files; they are only read\n"
    "  --game FILE.psq[:K]\n"
    "              the position after K moves (default: all) of a game record;\n"
    "              the letter to move is player 1\n"
    "  PATH        root, or child indices from the root separated by dots\n"
    "              (0.3 is child 3 of child 0 of the root)\n";

constexpr std::array<std::string_view, 2> OPTIONS{DIR_OPTION, GAME_OPTION};

void printNode(std::ostream& out, const StatNode& node, std::string_view path) {
    out << path << ' ' << node.move << ' ' << (node.isOr() ? "OR" : "AND") << ' ' << node.pn << ' '
        << node.dn << ' ' << node.isExpanded() << ' ' << node.childCount << '\n';
}

// Preorder with the children in stored order. The walk keeps its own stack, so
// however deep a tree is grown, printing it cannot exhaust the call stack.
void printTree(std::ostream& out, const StatNode& root) {
    std::vector<std::pair<const StatNode*, std::string>> pending{{&root, std::string(ROOT_PATH)}};
    while (!pending.empty()) {
        auto [node, path] = std::move(pending.back());
        pending.pop_back();
        printNode(out, *node, path);
        for (std::uint32_t i = node->childCount; i-- > 0;)
            pending.emplace_back(node->child(i), childPath(path, i));
    }
}

std::optional<CommandError> runTree(const CommandArguments& arguments, std::ostream& out,
                              std::vector<std::string>& notes) {
    auto start = readStartPosition(arguments);
    if (auto* error = std::get_if<CommandError>(&start)) return std::move(*error);
    PositionSource& position = std::get<PositionSource>(start);
    // The tree goes on from what was read, as the window does, but the output
    // alone would not show that the position was not the one asked for.
    if (const auto note = unreadNote(position)) notes.push_back(*note);
    const RootBuild build = buildRootNode(std::move(position.board));
    for (const std::string& text : arguments.operands) {
        auto found = nodeAtPath(*build.root, text, PathWalk::Find);
        if (auto* bad = std::get_if<Misuse>(&found)) return std::move(*bad);
        expandAndPropagate(*std::get<StatNode*>(found));
    }
    printTree(out, *build.root);
    return std::nullopt;
}

}  // namespace

extern const Command TREE_COMMAND{
    .name = "tree",
    .summary = "grow a proof-number tree along PATHs and print it",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .run = runTree,
};

}  // namespace vorek::cli
