// The position a front end works on, read once from where it comes from (the
// position files of a folder, a game record after some of its moves, or a
// position set up by hand) into one value: the evaluated board, and what the
// picture and the numbering of later moves need to know of its stones.
#pragma once

#include <filesystem>
#include <memory>
#include <span>

#include "board/move_numbers.h"
#include "board/stones.h"
#include "board/v2board.h"
#include "files/game_record.h"

namespace vorek {

// The letters, numbers and marks of a position's stones.
struct StoneLabels {
    char player1Letter = 'x';  // the letter of player 1, to move in the position: 'x' or 'o'
    MoveNumbers numbers{};     // the numbers on its stones; 0 on a stone without one
    int nextNumber = 1;        // the number of the first move played from the position
    // The square of the move that led to the position; -1 where none is
    // known (files, a position set up by hand, a record before its first move).
    int lastMove = -1;
    // A record's position: the letter of the record's first move, whose
    // stones the record's colours draw black; 0 for any other position.
    char gameFirstLetter = 0;
};

enum class SourceKind {
    Folder,  // the position files of a folder
    Record,  // a game record after some of its moves
    Edited,  // set up by hand
};

struct PositionSource {
    // The position, player 1 (the letter to move) to move, evaluated once
    // (V2Board::fromStones). A front end hands it to the root of its tree.
    std::unique_ptr<V2Board> board;
    StoneLabels labels;
    SourceKind kind = SourceKind::Folder;
    // Folder: the position files were read in full; otherwise the squares not
    // read are empty. Always true for the other kinds.
    bool read = true;
    std::filesystem::path folder;  // Folder: the folder read (empty: the working directory)
    int recordMoves = 0;           // Record: the moves of the record on the board
};

// The position files in the folder (empty: the working directory), each read
// once: player 1 plays the letter "tah.dat" names, and no stone has a number.
PositionSource folderPosition(const std::filesystem::path& folder);

// The position after `count` (0 .. moves) moves of the record: player 1 plays
// the letter of move count + 1, each stone carries the number of its move, the
// last of them led to it, and later moves go on from count + 1. Another count
// is rejected with std::out_of_range.
PositionSource recordPosition(const GameRecord& record, int count);

// A position set up by hand: its stones, player 1's being those of the letter
// to move, with the numbers of the stones that kept theirs; later moves go on
// after the highest of them.
PositionSource editedPosition(const Stones& stones, char player1Letter, const MoveNumbers& numbers);

// The numbers on the stones after the moves, in order, from the labelled
// position: its own numbers, then the moves' from nextNumber on. A square
// off the board is rejected with std::out_of_range.
MoveNumbers numbersAfter(const StoneLabels& labels, std::span<const int> moves);

// The square of the move that led to the position after the moves from the
// labelled position: the last of them, or the labels' own for no moves.
int lastMoveAfter(const StoneLabels& labels, std::span<const int> moves);

// The other letter: 'o' for 'x', 'x' for 'o'.
constexpr char otherLetter(char letter) { return letter == 'x' ? 'o' : 'x'; }

}  // namespace vorek
