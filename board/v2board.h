// The position record: one flag byte per square, both players' threat lists,
// the side to move and the number of stones. The board keeps them consistent
// itself: a position is made from its stones by fromStones, which judges every
// square once, and changed only by play, which re-judges what a move touches.
#pragma once

#include <cassert>
#include <cstdint>
#include <memory>

#include "board/line_words.h"
#include "board/square_flags.h"
#include "board/stones.h"
#include "threats/player.h"
#include "threats/threat_list.h"

namespace vorek {

struct SquareCodes;
struct ChildBoard;

class V2Board {
public:
    // An empty board: every square empty and live, player 1 to move, no stones,
    // no threats. A place to copy a position into, too.
    V2Board();
    V2Board(const V2Board&) = delete;
    V2Board& operator=(const V2Board&) = delete;

    // The position of the stones with `toMove` to move, every empty square
    // judged in index order. Should the side to move complete five on one,
    // the judging stops there (listsWhole() is false; see play).
    static std::unique_ptr<V2Board> fromStones(const Stones& stones, Player toMove);

    // A copy with its own lists.
    std::unique_ptr<V2Board> clone() const;
    // Makes this board a copy of the source, reusing its lists' memory.
    void copyFrom(const V2Board& source);

    // Puts a stone of the side to move on an empty square, passes the move and
    // re-judges the squares around it. True when the side now to move can
    // complete five at once; the lists then stop where the re-judging stopped.
    bool play(int square);
    // A copy of the board with the move played on it; this board is not changed.
    ChildBoard played(int square) const;

    // The square's flag byte (board/square_flags.h).
    std::uint8_t flags(int square) const {
        assert(isSquare(square));
        return squares_[static_cast<std::size_t>(square)];
    }
    const SquareBytes& squares() const { return squares_; }
    bool isEmpty(int square) const { return isEmptySquare(flags(square)); }
    // The owner of the stone on a square that holds one.
    Player stoneAt(int square) const {
        assert(!isEmpty(square));
        return stoneOwner(flags(square));
    }
    // The stones alone, without anything judged about them.
    Stones stones() const;

    Player sideToMove() const { return sideToMove_; }
    int stoneCount() const { return stoneCount_; }
    // The player's rank-ordered list.
    const ThreatList& threats(Player player) const { return threats_[playerIndex(player)]; }
    // The stones again, line by line, for the square scan.
    const LineWords& lines() const { return lines_; }
    // Whether every judging since the stones were set went to its end, none
    // stopping at a five of the side to move: then the lists hold everything a
    // full judging of the stones would.
    bool listsWhole() const { return listsWhole_; }

    // Boards come from a pool of board-sized slots (threats/slot_pool.h).
    static void* operator new(std::size_t size);
    static void operator delete(void* board) noexcept;

private:
    struct CopyOf {};
    V2Board(const V2Board& source, CopyOf);

    // The board's own judging of squares (board/evaluation.cpp).
    bool evaluateAll();
    bool evaluateSquare(int square);
    bool reevaluateAround(int square);
    void recordThreats(Player player, const SquareCodes& scanned, int bestTn, int square, int& quietCounter);
    void insertThreat(Player player, Threat t);
    void removeSquareThreats(Player player, int square);
    void setFlags(int square, std::uint8_t flags) { squares_[static_cast<std::size_t>(square)] = flags; }

    // Tests reach the parts directly to build boards that play never makes.
    friend struct BoardSurgery;

    SquareBytes squares_;
    ThreatList threats_[2];  // entry p is player p's rank-ordered list
    Player sideToMove_;
    bool listsWhole_;
    std::int16_t stoneCount_;
    // Kept by play, made anew from the squares by fromStones.
    LineWords lines_;
};

struct ChildBoard {
    std::unique_ptr<V2Board> board;
    bool win;  // the result of play on the copy
};

}  // namespace vorek
