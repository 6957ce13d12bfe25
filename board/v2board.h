// The position record: one flag byte per square, both players' threat lists,
// the side to move and the number of stones.
#pragma once

#include <cstdint>
#include <memory>

#include "board/line_words.h"
#include "board/square_flags.h"
#include "threats/threat_list.h"

namespace vorek {

struct V2Board {
    SquareBytes squares;
    ThreatList threats[2];       // entry p is player p's rank-ordered list
    std::uint8_t sideToMove;     // 1 when player 1 is to move
    std::int16_t stoneCount;
    // The stones of the squares again, line by line, for the square scan:
    // kept by makeMove, made anew from the squares by syncLines.
    LineWords lines;

    // An empty board: every square empty and live, player 1 to move, no stones.
    V2Board();
    // A copy of the source, with its own lists.
    explicit V2Board(const V2Board* source);
    V2Board(const V2Board&) = delete;
    V2Board& operator=(const V2Board&) = delete;

    // A copy with its own lists.
    std::unique_ptr<V2Board> clone() const;
    // Makes this board a copy of the source, reusing its lists' memory.
    void copyFrom(const V2Board& source);

    // Boards come from a pool of board-sized slots (threats/slot_pool.h).
    static void* operator new(std::size_t size);
    static void operator delete(void* board) noexcept;
};

// Makes every square empty and live, player 1 to move and no stones; the lists
// are left as they are.
void setEmptyBoard(V2Board& board);

// Makes the line words anew from the stones on the squares. Whoever puts
// stones on the squares directly (a reader, a board set up by hand) calls it
// before the board is scanned; evaluateAll does.
void syncLines(V2Board& board);

// The list operations on a board's own lists and square flags.
void insertThreat(V2Board& board, int player, Threat t);
void removeSquareThreats(V2Board& board, int player, int square);

}  // namespace vorek
