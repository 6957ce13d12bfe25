#include "files/position_source.h"

#include <algorithm>

#include "files/position_files.h"

namespace vorek {

PositionSource folderPosition(const std::filesystem::path& folder) {
    FilePosition files = readPosition(folder);
    PositionSource source;
    source.board = V2Board::fromStones(files.stones, PLAYER1);
    source.labels.player1Letter = files.player1Letter;
    source.kind = SourceKind::Folder;
    source.read = files.read;
    source.folder = folder;
    return source;
}

PositionSource recordPosition(const GameRecord& record, int count) {
    PositionSource source;
    source.board = positionAfter(record, count);
    source.labels.player1Letter = letterOfMove(record, count + 1);
    numberStones(source.labels.numbers, std::span(record.moves).first(static_cast<std::size_t>(count)), 1);
    source.labels.nextNumber = count + 1;
    if (count > 0) source.labels.lastMove = record.moves[static_cast<std::size_t>(count - 1)];
    source.labels.gameFirstLetter = record.firstLetter;
    source.kind = SourceKind::Record;
    source.recordMoves = count;
    return source;
}

PositionSource editedPosition(const Stones& stones, char player1Letter, const MoveNumbers& numbers) {
    PositionSource source;
    source.board = V2Board::fromStones(stones, PLAYER1);
    source.labels.player1Letter = player1Letter;
    source.labels.numbers = numbers;
    source.labels.nextNumber = *std::max_element(numbers.begin(), numbers.end()) + 1;
    source.kind = SourceKind::Edited;
    return source;
}

MoveNumbers numbersAfter(const StoneLabels& labels, std::span<const int> moves) {
    MoveNumbers numbers = labels.numbers;
    numberStones(numbers, moves, labels.nextNumber);
    return numbers;
}

int lastMoveAfter(const StoneLabels& labels, std::span<const int> moves) {
    return moves.empty() ? labels.lastMove : moves.back();
}

}  // namespace vorek
