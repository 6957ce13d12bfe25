#include "board/invariants.h"

#include <algorithm>
#include <array>

#include "threats/pattern_tables.h"

namespace vorek {

namespace {

std::string at(const char* what, int square) { return std::string(what) + " at square " + std::to_string(square); }

std::string checkSquares(const V2Board& board) {
    int stones = 0;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const std::uint8_t flags = board.squares[s];
        if (flags & 0x80) return at("bit 0x80 set", s);
        if (flags & SQ_CANDIDATE) return at("candidate mark outside a generator run", s);
        if (!isEmptySquare(flags)) ++stones;
    }
    if (stones != board.stoneCount)
        return "stoneCount " + std::to_string(board.stoneCount) + " but " + std::to_string(stones) +
               " stones on the board";
    V2Board fresh;
    fresh.squares = board.squares;
    syncLines(fresh);
    if (fresh.lines != board.lines) return "line words that differ from the stones on the squares";
    return {};
}

std::string checkList(const V2Board& board, int player) {
    std::array<int, BOARD_SQUARES> items{};
    const Threat* previous = nullptr;
    for (const Threat& item : board.threats[player]) {
        const int s = square(item);
        if (s < 0 || s >= BOARD_SQUARES) return "item off the board";
        if (previous && precedes(*previous, item)) return at("list out of rank order", s);
        if (!isEmptySquare(board.squares[s])) return at("item on a stone", s);
        if (!(board.squares[s] & inListFlag(player))) return at("item without its in-list flag", s);
        if (++items[s] > 2) return at("more than two items", s);
        if (items[s] == 2) {
            if (!(board.squares[s] & secondItemFlag(player))) return at("second item without its flag", s);
            if (item.pattern != PATTERN_DOUBLE_THREAT) return at("second item not a double threat", s);
        }
        previous = &item;
    }
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (isEmptySquare(board.squares[s]) && (board.squares[s] & secondItemFlag(player)) && items[s] != 2)
            return at("second-item flag without two items", s);
    return {};
}

}  // namespace

std::string checkInvariants(const V2Board& board) {
    if (std::string fault = checkSquares(board); !fault.empty()) return fault;
    for (int player = 0; player < 2; ++player)
        if (std::string fault = checkList(board, player); !fault.empty())
            return "player " + std::to_string(player) + ": " + fault;
    return {};
}

bool samePosition(const V2Board& a, const V2Board& b) {
    if (a.squares != b.squares || a.sideToMove != b.sideToMove || a.stoneCount != b.stoneCount) return false;
    for (int player = 0; player < 2; ++player) {
        const ThreatList& x = a.threats[player];
        const ThreatList& y = b.threats[player];
        if (!std::equal(x.begin(), x.end(), y.begin(), y.end())) return false;
    }
    return true;
}

}  // namespace vorek
