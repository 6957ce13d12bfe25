#include "cli/played_position.h"

#include "board/evaluation.h"
#include "board/moves.h"
#include "board/position_files.h"
#include "cli/arguments.h"

namespace vorek::cli {

std::variant<PlayedPosition, Misuse> playPosition(const std::filesystem::path& dir,
                                                  std::span<const std::string> moves) {
    PlayedPosition position;
    position.board = std::make_unique<V2Board>();
    V2Board& board = *position.board;
    position.read = readPosition(board, dir);
    position.evaluated = evaluateAll(board);
    for (const std::string& text : moves) {
        const auto square = parseMove(text);
        if (!square)
            return Misuse{"bad MOVE '" + text +
                          "': give a square index 0..399 or x,y with column and row 0..19"};
        // The engine's move does not look: a stone on a stone would corrupt the board.
        if (!isEmptySquare(board.squares[*square]))
            return Misuse{"MOVE '" + text + "': square " + std::to_string(*square) +
                          " holds a stone"};
        position.moves.push_back({*square, makeMove(board, *square)});
    }
    return position;
}

// Built by appending: g++ 12 warns falsely (-Wrestrict) on chains of string +.
std::string unreadPositionNote(const std::filesystem::path& dir) {
    std::string note = "the position in ";
    if (dir.empty()) {
        note += "the working directory";
    } else {
        note += '\'';
        note += dir.string();
        note += '\'';
    }
    note += " could not be read in full; squares not read are empty";
    return note;
}

}  // namespace vorek::cli
