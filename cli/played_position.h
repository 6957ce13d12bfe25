// A position read from the position files, evaluated, with moves played on it.
#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "board/v2board.h"
#include "cli/command.h"

namespace vorek::cli {

struct PlayedMove {
    int square;
    bool win;  // the result of makeMove: the side now to move can complete five
};

struct PlayedPosition {
    std::unique_ptr<V2Board> board;
    bool read = false;       // the result of readPosition
    bool evaluated = false;  // the result of evaluateAll
    std::vector<PlayedMove> moves;
};

// Reads "plocha.dat" and "tah.dat" from dir (empty: the working directory) into
// a fresh board, evaluates it in full and plays each MOVE in order. A position
// that cannot be read is not a misuse: the board holds what the reader left.
// A MOVE that is not a square of the board, or is on a stone, is.
std::variant<PlayedPosition, Misuse> playPosition(const std::filesystem::path& dir,
                                                  std::span<const std::string> moves);

// The note for stderr when the position in dir could not be read in full.
std::string unreadPositionNote(const std::filesystem::path& dir);

}  // namespace vorek::cli
