// The position a command works on: read from the position files (--dir) or
// taken from a game record (--game), with moves played on it.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "board/move_numbers.h"
#include "cli/command.h"
#include "files/game_record.h"
#include "files/position_source.h"

namespace vorek::cli {

// The game record in the file, or the failure naming the file and the first
// line that is wrong.
std::variant<GameRecord, Failure> readRecordFile(const std::string& file);

// The position the arguments name: with --game FILE.psq[:K], the position
// after K moves of the record (default: all of them), player 1 being the
// letter to move; otherwise "plocha.dat" and "tah.dat" in --dir (default: the
// working directory), which need not be readable. --dir and --game together,
// a malformed --game value and a K past the game's moves are misuses; a
// record that cannot be read or is malformed is a failure naming the file and
// the line.
std::variant<PositionSource, CommandError> readStartPosition(const CommandArguments& arguments);

// The note for stderr about a position whose files could not be read in full;
// nothing for one that was read.
std::optional<std::string> unreadNote(const PositionSource& position);

struct PlayedMove {
    int square;
    bool win;  // the result of play: the side now to move can complete five
};

struct PlayedPosition {
    PositionSource source;   // with each MOVE played on its board
    bool evaluated = false;  // the evaluation of the stones stopped at a five of the side to move
    std::vector<PlayedMove> moves;
    MoveNumbers moveNumbers{};  // the source's numbers, then the MOVEs' numbers after them
};

// The position readStartPosition names with each MOVE played in order and
// numbered on from the source's numbers (from 1 on a position from files). A
// MOVE that is not a square of the board, or is on a stone, is a misuse.
std::variant<PlayedPosition, CommandError> playPosition(const CommandArguments& arguments,
                                                        std::span<const std::string> moves);

}  // namespace vorek::cli
