// The moves of a new game that leads to a position: "New Game From Here"
// keeps the position as the game's first moves, so that the game can be
// saved as a record, which always starts from the empty board.
#pragma once

#include <QString>
#include <variant>

#include "board/v2board.h"
#include "files/game_record.h"

namespace vorek {

// A record whose moves lead to the board's stones, player 1 playing
// `player1Letter`: the sides alternate and the last stone is the other
// side's, so that the side to move is to move after them (the order in
// which an engine is sent a position). Where the counts allow no such game
// (the side to move must have as many stones as the other, or one fewer),
// the text says why.
std::variant<GameRecord, QString> recordLeadingTo(const V2Board& board, char player1Letter);

}  // namespace vorek
