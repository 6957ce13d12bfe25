#include "board/five_in_row.h"

#include <array>

namespace vorek {

namespace {

constexpr int FIVE = 5;

// Column and row steps along the row, the column, the diagonal and the antidiagonal.
constexpr std::array<std::array<int, 2>, 4> LINE_STEPS{{{1, 0}, {0, 1}, {1, 1}, {-1, 1}}};

bool holds(const V2Board& board, int column, int row, Player owner) {
    if (!onBoard(column, row)) return false;
    const int square = squareAt(column, row);
    return !board.isEmpty(square) && board.stoneAt(square) == owner;
}

}  // namespace

std::optional<FiveInRow> fiveInRow(const V2Board& board) {
    for (int square = 0; square < BOARD_SQUARES; ++square) {
        if (board.isEmpty(square)) continue;
        const Player owner = board.stoneAt(square);
        const int column = columnOf(square);
        const int row = rowOf(square);
        for (const auto& [dx, dy] : LINE_STEPS) {
            // Only from the row's first stone.
            if (holds(board, column - dx, row - dy, owner)) continue;
            FiveInRow five{owner, {}};
            for (int x = column, y = row; holds(board, x, y, owner); x += dx, y += dy)
                five.squares.push_back(squareAt(x, y));
            if (five.squares.size() >= FIVE) return five;
        }
    }
    return std::nullopt;
}

}  // namespace vorek
