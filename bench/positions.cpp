#include "bench/positions.h"

#include <stdexcept>
#include <vector>

#include "board/evaluation.h"
#include "files/position_files.h"

namespace vorek::bench {

std::unique_ptr<V2Board> examplePosition(const std::string& name) {
    auto board = std::make_unique<V2Board>();
    if (!readPosition(*board, std::string(VOREK_EXAMPLES_DIR) + "/" + name))
        throw std::runtime_error("cannot read example " + name);
    evaluateAll(*board);
    return board;
}

namespace {

std::unique_ptr<V2Board> fromRows(const char* const (&rows)[BOARD_SIDE]) {
    auto board = std::make_unique<V2Board>();
    for (int y = 0; y < BOARD_SIDE; ++y) {
        for (int x = 0; x < BOARD_SIDE; ++x) {
            const char c = rows[y][x];
            if (c == '.') continue;
            board->squares[squareAt(x, y)] = c == 'x' ? PLAYER1_STONE : PLAYER0_STONE;
            ++board->stoneCount;
        }
    }
    evaluateAll(*board);
    return board;
}

const char* const HARD[HARD_POSITIONS][BOARD_SIDE] = {
    {"....................", "....................", "....................", "....................",
     "....................", "....................", "....................", "....................",
     "........o...........", ".......xxo..........", "........oxx.........", ".......xooo.........",
     "......xoo...........", "....ox.xx...........", "....................", "....................",
     "....................", "....................", "....................", "...................."},
    {"....................", "....................", "....................", "....................",
     "....................", "....................", "....................", ".........x..........",
     ".......oo.o.........", "........xxoo........", ".......oxxxxo.......", "........xoox........",
     "......x.o..x........", ".....o..............", "....................", "....................",
     "....................", "....................", "....................", "...................."},
    {"....................", "....................", "....................", "....................",
     "....................", "....................", "....................", ".....xoo..x.........",
     ".......x............", ".......xxoo.........", ".......xoxx.........", "......ox.ox.........",
     ".......o...o.o......", "............x.......", ".............o......", "....................",
     "....................", "....................", "....................", "...................."},
};

}  // namespace

std::unique_ptr<V2Board> hardPosition(int i) { return fromRows(HARD[i]); }

std::unique_ptr<V2Board> sixtyStones() {
    static const char* const rows[BOARD_SIDE] = {
        "....................", "....................", "....................",
        "....................", ".....x.x..xx.x......", "....xo.o..x.ooxx....",
        ".....x.x.x..o.x.....", ".....x.......o.o....", ".......o.o.o........",
        "......xx.x.x..oo....", ".....o..x..ox..x....", "....x.o.xoo..x.o....",
        "....ooo.o...........", "....ox..xx..oo......", "........x.ox.ooo....",
        "......x........o....", "....................", "....................",
        "....................", "....................",
    };
    return fromRows(rows);
}

namespace {

template <typename Visit>
void forEachNode(const StatNode& root, Visit visit) {
    std::vector<const StatNode*> pending{&root};
    while (!pending.empty()) {
        const StatNode* node = pending.back();
        pending.pop_back();
        visit(*node);
        for (std::uint32_t i = 0; i < node->childCount; ++i) pending.push_back(node->child(i));
    }
}

std::size_t listItems(const ThreatList& list) { return list.size(); }

}  // namespace

std::size_t treeBytes(const StatNode& root) {
    std::size_t bytes = 0;
    forEachNode(root, [&bytes](const StatNode& node) {
        bytes += sizeof(StatNode);
        if (node.childCount > 0) bytes += 16 + node.childCount * sizeof(StatNode*);
        if (node.board != nullptr)
            bytes += sizeof(V2Board) +
                     sizeof(Threat) * (listItems(node.board->threats[0]) + listItems(node.board->threats[1]));
    });
    return bytes;
}

std::size_t treeNodes(const StatNode& root) {
    std::size_t nodes = 0;
    forEachNode(root, [&nodes](const StatNode&) { ++nodes; });
    return nodes;
}

}  // namespace vorek::bench
