#include "board/invariants.h"

#include <algorithm>
#include <array>

#include "threats/pattern_tables.h"

namespace vorek {

namespace {

std::string at(const char* what, int square) { return std::string(what) + " at square " + std::to_string(square); }

std::string ofPlayer(Player player, const std::string& fault) {
    return "player " + std::to_string(playerIndex(player)) + ": " + fault;
}

// The line words of the stones on the board's squares.
LineWords linesOfSquares(const V2Board& board) {
    LineWords lines = EMPTY_LINES;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (!board.isEmpty(s)) placeInLines(lines, s, cellOfFlags(board.flags(s)));
    return lines;
}

std::string checkSquares(const V2Board& board) {
    int stones = 0;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const std::uint8_t flags = board.flags(s);
        if (flags & 0x80) return at("bit 0x80 set", s);
        if (flags & SQ_CANDIDATE) return at("candidate mark on the board", s);
        if (!isEmptySquare(flags)) ++stones;
    }
    if (stones != board.stoneCount())
        return "stoneCount " + std::to_string(board.stoneCount()) + " but " + std::to_string(stones) +
               " stones on the board";
    if (linesOfSquares(board) != board.lines()) return "line words that differ from the stones on the squares";
    return {};
}

// Rank order, and items on empty squares with their in-list flag: what every
// item must satisfy on its own.
std::string checkItems(const V2Board& board, Player player) {
    const Threat* previous = nullptr;
    for (const Threat& item : board.threats(player)) {
        const int s = square(item);
        if (!isSquare(s)) return "item off the board";
        if (previous && precedes(*previous, item)) return at("list out of rank order", s);
        if (!board.isEmpty(s)) return at("item on a stone", s);
        if (!(board.flags(s) & inListFlag(player))) return at("item without its in-list flag", s);
        previous = &item;
    }
    return {};
}

// At most two items a square, the second a double threat while the
// second-item flag says so.
std::string checkDoubles(const V2Board& board, Player player) {
    std::array<int, BOARD_SQUARES> items{};
    for (const Threat& item : board.threats(player)) {
        const int s = square(item);
        if (++items[s] > 2) return at("more than two items", s);
        if (items[s] == 2) {
            if (!(board.flags(s) & secondItemFlag(player))) return at("second item without its flag", s);
            if (item.pattern != PATTERN_DOUBLE_THREAT) return at("second item not a double threat", s);
        }
    }
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (board.isEmpty(s) && (board.flags(s) & secondItemFlag(player)) && items[s] != 2)
            return at("second-item flag without two items", s);
    return {};
}

}  // namespace

std::string checkInvariants(const V2Board& board) {
    if (std::string fault = checkSquares(board); !fault.empty()) return fault;
    for (const Player player : PLAYERS) {
        if (std::string fault = checkItems(board, player); !fault.empty()) return ofPlayer(player, fault);
        if (std::string fault = checkDoubles(board, player); !fault.empty()) return ofPlayer(player, fault);
    }
    return {};
}

std::string checkAfterMove(const V2Board& board, int square) {
    if (board.stoneCount() % FULL_CHECK_EVERY == 0) return checkInvariants(board);
    const Player mover = opponent(board.sideToMove());
    if (board.isEmpty(square) || board.stoneAt(square) != mover) return at("the move's square without the mover's stone", square);
    for (const LinePlace place : LINE_PLACES[square])
        if ((board.lines()[place.word] >> place.bit & 3u) != stoneCell(mover))
            return at("line words without the move's stone", square);
    for (const Player player : PLAYERS)
        if (findThreatAt(board.threats(player), square) != nullptr)
            return ofPlayer(player, at("item on the move's square", square));
    return {};
}

bool samePosition(const V2Board& a, const V2Board& b) {
    if (a.squares() != b.squares() || a.sideToMove() != b.sideToMove() || a.stoneCount() != b.stoneCount())
        return false;
    for (const Player player : PLAYERS) {
        const ThreatList& x = a.threats(player);
        const ThreatList& y = b.threats(player);
        if (!std::equal(x.begin(), x.end(), y.begin(), y.end())) return false;
    }
    return true;
}

}  // namespace vorek
