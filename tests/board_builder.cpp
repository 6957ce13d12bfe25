#include "tests/board_builder.h"

#include "tests/board_surgery.h"

namespace vorek::testing {

Stones stonesFromRows(std::initializer_list<std::string_view> rows) {
    Stones stones;
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < static_cast<int>(row.size()) && x < BOARD_SIDE; ++x)
            if (row[x] == 'x' || row[x] == 'o') stones.put(squareAt(x, y), row[x] == 'x' ? PLAYER1 : PLAYER0);
        ++y;
    }
    return stones;
}

std::unique_ptr<V2Board> boardFromRows(std::initializer_list<std::string_view> rows, Player sideToMove) {
    return V2Board::fromStones(stonesFromRows(rows), sideToMove);
}

std::unique_ptr<V2Board> evaluatedBoard(std::initializer_list<std::string_view> rows, bool* five) {
    auto board = boardFromRows(rows);
    if (five != nullptr) *five = !board->listsWhole();
    return board;
}

std::unique_ptr<V2Board> unjudgedBoard(std::initializer_list<std::string_view> rows, Player sideToMove) {
    return BoardSurgery::unjudged(stonesFromRows(rows), sideToMove);
}

std::vector<Threat> listOf(const V2Board& board, Player player) {
    return std::vector<Threat>(board.threats(player).begin(), board.threats(player).end());
}

std::vector<Threat> itemsAt(const V2Board& board, Player player, int sq) {
    std::vector<Threat> items;
    for (Threat t : listOf(board, player))
        if (square(t) == sq) items.push_back(t);
    return items;
}

}  // namespace vorek::testing
