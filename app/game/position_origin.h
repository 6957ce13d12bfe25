// Where the root's position came from, as far as the picture needs to know:
// which letter player 1 plays, and the move numbers already on its stones.
#pragma once

#include <filesystem>

#include "files/game_record.h"
#include "board/move_numbers.h"
#include "search/stat_node.h"

namespace vorek {

struct PositionOrigin {
    char player1Letter = 'x';  // the letter of player 1, to move at the root: 'x' or 'o'
    MoveNumbers numbers{};     // the numbers on the root's stones; 0 on a stone without one
    int nextNumber = 1;        // the number of the move from the root to its child
    // For a position of a game record: the letter of its first move, whose
    // stones the picture draws black; 0 for any other position.
    char gameFirstLetter = 0;
    int lastMove = -1;  // the square of the move that led to the root's position; -1: unknown
};

// The position files in the folder: player 1 plays the letter "tah.dat"
// names, and no stone has a number.
PositionOrigin originOfFolder(const std::filesystem::path& folder);

// The position after `count` (0 .. moves) moves of the record: player 1
// plays the letter of move count + 1, each stone carries the number of its
// move, the last of them led to it, and the tree's moves go on from
// count + 1. Another count is rejected with std::out_of_range.
PositionOrigin originOfRecord(const GameRecord& record, int count);

// The numbers on the stones of the node's position, the node lying in the
// tree whose root came from `origin`: the root's own numbers, then the moves
// on the way from the root to the node from nextNumber on.
MoveNumbers numbersAt(const PositionOrigin& origin, const StatNode& node);

// The square of the move that led to the node's position: the node's own
// move, or for the root the one the origin knows; -1 for none.
int lastMoveAt(const PositionOrigin& origin, const StatNode& node);

}  // namespace vorek
