// Test helpers: boards drawn as text, and lists read back as values.
#pragma once

#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "board/v2board.h"

namespace vorek::testing {

// Stones from rows of text, row 0 first: 'x' is a stone of player 1, 'o' of
// player 0, anything else empty. Missing rows and columns are empty.
Stones stonesFromRows(std::initializer_list<std::string_view> rows);

// The position of those stones, made as fromStones makes it (evaluated).
std::unique_ptr<V2Board> boardFromRows(std::initializer_list<std::string_view> rows,
                                       Player sideToMove = PLAYER1);

// The same with player 1 to move; *five, if given, says whether the
// evaluation stopped at a five of player 1.
std::unique_ptr<V2Board> evaluatedBoard(std::initializer_list<std::string_view> rows,
                                        bool* five = nullptr);

// The same stones with nothing judged: every empty square live, lists empty.
std::unique_ptr<V2Board> unjudgedBoard(std::initializer_list<std::string_view> rows,
                                       Player sideToMove = PLAYER1);

std::vector<Threat> listOf(const V2Board& board, Player player);
std::vector<Threat> itemsAt(const V2Board& board, Player player, int square);

}  // namespace vorek::testing
