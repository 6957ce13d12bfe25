#include "opponent/stone_order.h"

namespace vorek {

namespace {

// n stones cut into k runs (k > 0) as evenly as possible, the longer runs first.
std::vector<int> runLengths(int n, int k) {
    std::vector<int> lengths(static_cast<std::size_t>(k), n / k);
    for (int i = 0; i < n % k; ++i) ++lengths[static_cast<std::size_t>(i)];
    return lengths;
}

void append(std::vector<int>& order, int count, int field) { order.insert(order.end(), count, field); }

}  // namespace

std::vector<int> stoneFieldOrder(int own, int other) {
    std::vector<int> order;
    if (other == 0) {
        append(order, own, OWN_STONE);
    } else if (own >= other) {
        // Every other stone closes a run of own stones: ... own run, other.
        for (const int run : runLengths(own, other)) {
            append(order, run, OWN_STONE);
            append(order, 1, OTHER_STONE);
        }
    } else {
        // Own stones separate own + 1 runs of other stones, the last run at the end.
        const std::vector<int> runs = runLengths(other, own + 1);
        for (std::size_t i = 0; i < runs.size(); ++i) {
            append(order, runs[i], OTHER_STONE);
            if (i + 1 < runs.size()) append(order, 1, OWN_STONE);
        }
    }
    return order;
}

std::vector<SentStone> stonesToSend(const V2Board& board) {
    std::vector<int> squares[2];  // by field - 1
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (board.isEmpty(s)) continue;
        const int field = board.stoneAt(s) == board.sideToMove() ? OWN_STONE : OTHER_STONE;
        squares[field - 1].push_back(s);
    }
    std::vector<SentStone> stones;
    std::size_t taken[2] = {0, 0};
    for (const int field : stoneFieldOrder(static_cast<int>(squares[0].size()), static_cast<int>(squares[1].size())))
        stones.push_back({squares[field - 1][taken[field - 1]++], field});
    return stones;
}

}  // namespace vorek
