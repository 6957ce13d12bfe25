// The position a command works on: read from the position files (--dir) or
// taken from a game record (--game), evaluated, with moves played on it.
#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "board/move_numbers.h"
#include "board/v2board.h"
#include "cli/command.h"
#include "files/game_record.h"

namespace vorek::cli {

// The game record in the file, or the failure naming the file and the first
// line that is wrong.
std::variant<GameRecord, Failure> readRecordFile(const std::string& file);

// A position before evaluation, with what the picture needs to know of it.
struct StartPosition {
    std::unique_ptr<V2Board> board;  // squares, side to move and stone count; lists empty
    bool read = false;               // the position files were read in full; true for a record
    std::string unreadNote;          // when not read: the note for stderr
    char player1Letter = 'x';        // the letter of player 1's stones
    int recordMoves = 0;             // the moves of the record on the board; 0 for files
    MoveNumbers moveNumbers{};       // the record's move numbers on its stones
};

// The position the arguments name: with --game FILE.psq[:K], the position
// after K moves of the record (default: all of them), player 1 being the
// letter to move; otherwise "plocha.dat" and "tah.dat" in --dir (default: the
// working directory), which need not be readable. --dir and --game together,
// a malformed --game value and a K past the game's moves are misuses; a
// record that cannot be read or is malformed is a failure naming the file and
// the line.
std::variant<StartPosition, CommandError> readStartPosition(const CommandArguments& arguments);

struct PlayedMove {
    int square;
    bool win;  // the result of makeMove: the side now to move can complete five
};

struct PlayedPosition {
    std::unique_ptr<V2Board> board;
    bool read = false;       // the result of readPosition; true for a record
    bool evaluated = false;  // the result of evaluateAll
    std::vector<PlayedMove> moves;
    std::string unreadNote;     // when not read: the note for stderr
    char player1Letter = 'x';   // the letter of player 1's stones
    MoveNumbers moveNumbers{};  // a record's move numbers, then the MOVEs' numbers after them
};

// The position readStartPosition names, evaluated in full, with each MOVE
// played in order and numbered on from the record's moves (from 1 on a
// position from files). A MOVE that is not a square of the board, or is on
// a stone, is a misuse.
std::variant<PlayedPosition, CommandError> playPosition(const CommandArguments& arguments,
                                                        std::span<const std::string> moves);


}  // namespace vorek::cli
