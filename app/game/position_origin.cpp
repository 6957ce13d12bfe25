#include "app/game/position_origin.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/position_files.h"

namespace vorek {

PositionOrigin originOfFolder(const std::filesystem::path& folder) {
    PositionOrigin origin;
    origin.player1Letter = readMoverLetter(folder);
    return origin;
}

PositionOrigin originOfRecord(const GameRecord& record, int count) {
    if (count < 0 || static_cast<std::size_t>(count) > record.moves.size())
        throw std::out_of_range("the record has no position after " + std::to_string(count) + " moves");
    PositionOrigin origin;
    origin.player1Letter = letterOfMove(record, count + 1);
    numberStones(origin.numbers, std::span(record.moves).first(static_cast<std::size_t>(count)), 1);
    origin.nextNumber = count + 1;
    origin.gameFirstLetter = record.firstLetter;
    if (count > 0) origin.lastMove = record.moves[static_cast<std::size_t>(count - 1)];
    return origin;
}

MoveNumbers numbersAt(const PositionOrigin& origin, const StatNode& node) {
    std::vector<int> path;
    for (const StatNode* at = &node; at->parent() != nullptr; at = at->parent()) path.push_back(at->move);
    std::reverse(path.begin(), path.end());
    MoveNumbers numbers = origin.numbers;
    numberStones(numbers, path, origin.nextNumber);
    return numbers;
}

int lastMoveAt(const PositionOrigin& origin, const StatNode& node) {
    return node.parent() != nullptr ? node.move : origin.lastMove;
}

}  // namespace vorek
