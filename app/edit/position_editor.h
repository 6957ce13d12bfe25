// A position set up by hand: stones of either letter put on and taken off,
// the letter to move swapped, the board cleared, each change undoable. The
// position is kept evaluated as a root over it would be, so that its threats
// and the move generator's squares can be shown after every change.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "board/move_numbers.h"
#include "board/stones.h"
#include "board/v2board.h"
#include "files/position_source.h"

namespace vorek {

class PositionEditor {
public:
    // Starts from the shown board, whose player 1 plays `player1Letter`, with
    // the numbers on its stones, `blackLetter`'s stones drawn black. The
    // board is only read.
    PositionEditor(const V2Board& shown, char player1Letter, const MoveNumbers& numbers, char blackLetter = 'x');

    // A click on the square (0..399): the stone there is taken off; an empty
    // square gets a stone of the letter to move when `mover` is true and of
    // the other letter otherwise.
    void click(int square, bool mover);
    // The other letter is to move.
    void swapSideToMove();
    // Takes every stone off; the letter to move stays.
    void clear();
    // Undoes the last change that changed the position. False when there is
    // none left.
    bool undo();
    bool canUndo() const { return !undo_.empty(); }

    // The position, evaluated, player 1 being the letter to move.
    V2Board& board() { return *board_; }
    char letterToMove() const { return setup_.toMove; }
    // The letter whose stones were black when the edit began: they stay
    // black whichever letter is to move.
    char blackLetter() const { return blackLetter_; }
    // The numbers of the stones that have stood where they stand since the
    // start: a stone taken off (one by one or by clearing the board) loses
    // its number, and a stone put on the same square again has none.
    const MoveNumbers& numbers() const { return setup_.numbers; }
    // The position with its letter to move and the numbers kept, for a root:
    // the tree's moves go on after the highest of them.
    PositionSource position() const;

private:
    struct Setup {
        std::array<char, BOARD_SQUARES> letters;  // 'x', 'o', or '-' on an empty square
        MoveNumbers numbers;                      // the numbers of the stones standing since the start
        char toMove;

        bool operator==(const Setup&) const = default;
    };

    void change(const Setup& next);
    void evaluate();
    Stones stones() const;

    Setup setup_;
    std::vector<Setup> undo_;
    std::unique_ptr<V2Board> board_;
    char blackLetter_;
};

}  // namespace vorek
