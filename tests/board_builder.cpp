#include "tests/board_builder.h"

#include "board/evaluation.h"

namespace vorek::testing {

std::unique_ptr<V2Board> boardFromRows(std::initializer_list<std::string_view> rows,
                                       int sideToMove) {
    auto board = std::make_unique<V2Board>();
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < static_cast<int>(row.size()) && x < BOARD_SIDE; ++x) {
            if (row[x] != 'x' && row[x] != 'o') continue;
            board->squares[squareAt(x, y)] = row[x] == 'x' ? PLAYER1_STONE : PLAYER0_STONE;
            ++board->stoneCount;
        }
        ++y;
    }
    board->sideToMove = static_cast<std::uint8_t>(sideToMove);
    syncLines(*board);
    return board;
}

std::unique_ptr<V2Board> evaluatedBoard(std::initializer_list<std::string_view> rows, bool* five) {
    auto board = boardFromRows(rows);
    const bool result = evaluateAll(*board);
    if (five != nullptr) *five = result;
    return board;
}

std::vector<Threat> listOf(const V2Board& board, int player) {
    return std::vector<Threat>(board.threats[player].begin(), board.threats[player].end());
}

std::vector<Threat> itemsAt(const V2Board& board, int player, int sq) {
    std::vector<Threat> items;
    for (Threat t : listOf(board, player))
        if (square(t) == sq) items.push_back(t);
    return items;
}

}  // namespace vorek::testing
