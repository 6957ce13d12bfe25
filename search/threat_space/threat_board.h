// The threat search's own position: the stones in line words, a Zobrist key,
// and for every empty square and player the kind of each of its four lines
// (search/threat_space/move_kinds.h), all kept move by move. From the kinds,
// per player, the sets of squares where a stone completes five, wins (leaves
// two five squares), makes a four and makes a three.
//
// A move changes the kinds of at most the 32 empty squares within four steps
// of it along its four lines; only those are read again. Unmaking a move puts
// back the values saved when it was made.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "board/line_words.h"
#include "threats/player.h"
#include "search/threat_space/move_kinds.h"
#include "search/threat_space/square_set.h"

namespace vorek {

// The sets of squares where one player's stone makes each kind of move.
struct MoveSets {
    SquareSet fives;   // completes five
    SquareSet wins;    // leaves two or more five squares (open four, double four)
    SquareSet fours;   // leaves one five square or more (wins included)
    SquareSet threes;  // leaves a line one move from an open four

    friend bool operator==(const MoveSets&, const MoveSets&) = default;
};

class ThreatBoard {
public:
    // An empty board with player 1 to move.
    ThreatBoard();

    // Puts a stone of the player on an empty square without a move: for
    // setting up a position. The side to move stays; nothing can be unmade
    // past it.
    void place(int square, Player player);
    void setSideToMove(Player player) { sideToMove_ = player; }

    // The side to move puts a stone on the empty square; the other side is
    // then to move.
    void makeMove(int square);
    // The side to move passes: the other side is then to move, with the same
    // stones. What he could do were he given a free move.
    void makePass();
    // Takes back the last move made, or pass.
    void unmakeMove();

    Player sideToMove() const { return sideToMove_; }
    // CELL_EMPTY, CELL_PLAYER1 or CELL_PLAYER0.
    unsigned cell(int square) const { return cells_[square]; }
    bool isEmpty(int square) const { return cells_[square] == CELL_EMPTY; }
    const SquareSet& empties() const { return empties_; }
    int stones() const { return BOARD_SQUARES - empties_.count(); }
    // Moves made (passes included) since the position was set up.
    int ply() const { return static_cast<int>(undo_.size()); }
    // The last move made; -1 after a pass or when none can be unmade.
    int lastMove() const { return undo_.empty() ? -1 : undo_.back().square; }
    // The key of the stones alone.
    std::uint64_t key() const { return key_; }
    const LineWords& lines() const { return lines_; }

    // The player's sets.
    const MoveSets& moves(Player player) const { return moves_[playerIndex(player)]; }
    // The kind of one line through an empty square for the player's stone.
    LineKind lineKind(int square, Player player, int line) const {
        return static_cast<LineKind>(kinds_[square] >> kindShift(player, line) & LINE_KIND_MASK);
    }
    // The kind of the line through the empty square for the player's stone,
    // were there one more stone of his on the empty square stoneSquare.
    LineKind lineKindWith(int square, Player player, int line, int stoneSquare) const;
    // The MOVE_* flags of the player's stone on the empty square, were there
    // one more stone, of stoneOwner, on the empty square stoneSquare.
    std::uint8_t moveClassWith(int square, Player player, int stoneSquare, Player stoneOwner) const;
    // The MOVE_* flags of the player's stone on the empty square.
    std::uint8_t moveClass(int square, Player player) const {
        return moveClassOf(kinds_[square], player);
    }

private:
    // The kinds of the square before a move changed them, and the sets it
    // went in or out of then: player 0's flags in the low byte, player 1's
    // in the high byte.
    struct ChangedKinds {
        std::int16_t square;
        std::uint16_t flipped;
        std::uint32_t kinds;
    };
    // What a move changed: enough to put everything back. Left as it comes
    // when made: every field is written by the move before it is read.
    struct UndoRecord {
        UndoRecord() {}
        std::int16_t square;  // -1: a pass
        std::uint8_t changed;
        std::array<ChangedKinds, 32> kinds;
    };

    // Passes are made one inside another a few deep at most.
    static constexpr int ROOM_FOR_PASSES = 16;
    UndoRecord& pushRecord(int square);
    static constexpr int kindShift(Player player, int line) { return 16 * playerIndex(player) + LINE_KIND_BITS * line; }
    static std::uint8_t moveClassOf(std::uint32_t kinds, Player player) {
        return MOVE_CLASS_OF_KINDS[kinds >> kindShift(player, 0) & ((1u << SQUARE_KIND_BITS) - 1)];
    }
    // The sets an empty square with these kinds is in, as flipSets takes them.
    static std::uint16_t setFlagsOf(std::uint32_t kinds);
    void putStone(int square, Player player);
    // Reads the line kinds of the empty squares near the square again and
    // keeps the sets in step; with a record, saves what changes there.
    void rereadAround(int square, UndoRecord* record);
    // Gives the empty square new kinds; returns the sets it went in or out
    // of, as flipSets takes them.
    std::uint16_t setKinds(int square, std::uint32_t kinds);
    // Takes the square out of the sets of the flags it is in, puts it into
    // those it is not in: player 0's MOVE_* flags in the low byte, player 1's
    // in the high byte.
    void flipSets(int square, std::uint16_t flags);

    std::array<std::uint8_t, BOARD_SQUARES> cells_{};
    // Player 0's line kinds in bits 0..11, player 1's in bits 16..27.
    std::array<std::uint32_t, BOARD_SQUARES> kinds_{};
    LineWords lines_ = EMPTY_LINES;
    std::array<MoveSets, 2> moves_{};
    SquareSet empties_;
    std::uint64_t key_ = 0;
    Player sideToMove_ = PLAYER1;
    std::vector<UndoRecord> undo_;  // one a move made, the last on top
};

// The player who has five or more in a row on the board, if either has.
std::optional<Player> playerWithFive(const ThreatBoard& board);

}  // namespace vorek
