#include "app/game/game_start.h"

#include "files/position_source.h"
#include "opponent/stone_order.h"

namespace vorek {

std::variant<GameRecord, QString> recordLeadingTo(const V2Board& board, char player1Letter) {
    const char mover = board.sideToMove() == PLAYER1 ? player1Letter : otherLetter(player1Letter);
    int own = 0;
    for (int square = 0; square < BOARD_SQUARES; ++square)
        if (!board.isEmpty(square) && board.stoneAt(square) == board.sideToMove()) ++own;
    const int other = board.stoneCount() - own;
    if (own != other && other != own + 1)
        return QStringLiteral("No game leads to this position: %1 is to move with %2 stones against %3 of %4; in a "
                              "game the side to move has as many stones as the other, or one fewer.")
            .arg(QLatin1Char(mover))
            .arg(own)
            .arg(other)
            .arg(QLatin1Char(otherLetter(mover)));
    GameRecord record;
    record.firstLetter = own == other ? mover : otherLetter(mover);
    for (const SentStone& stone : stonesToSend(board)) record.moves.push_back(stone.square);
    record.milliseconds.assign(record.moves.size(), 0);
    record.fiveAt = firstFiveAt(record.moves);
    return record;
}

}  // namespace vorek
