#include "bench/positions.h"

#include <stdexcept>
#include <vector>

#include "files/position_source.h"

namespace vorek::bench {

std::unique_ptr<V2Board> examplePosition(const std::string& name) {
    PositionSource example = folderPosition(std::string(VOREK_EXAMPLES_DIR) + "/" + name);
    if (!example.read) throw std::runtime_error("cannot read example " + name);
    return std::move(example.board);
}

namespace {

std::unique_ptr<V2Board> fromRows(const char* const (&rows)[BOARD_SIDE]) {
    Stones stones;
    for (int y = 0; y < BOARD_SIDE; ++y) {
        for (int x = 0; x < BOARD_SIDE; ++x) {
            const char c = rows[y][x];
            if (c != '.') stones.put(squareAt(x, y), c == 'x' ? PLAYER1 : PLAYER0);
        }
    }
    return V2Board::fromStones(stones, PLAYER1);
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
                     sizeof(Threat) * (listItems(node.board->threats(PLAYER0)) + listItems(node.board->threats(PLAYER1)));
    });
    return bytes;
}

std::size_t treeNodes(const StatNode& root) {
    std::size_t nodes = 0;
    forEachNode(root, [&nodes](const StatNode&) { ++nodes; });
    return nodes;
}

}  // namespace vorek::bench
