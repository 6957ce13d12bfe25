// Test helpers: boards drawn as text, and lists read back as values.
#pragma once

#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "board/v2board.h"

namespace vorek::testing {

// A board from rows of text, row 0 first: 'x' is a stone of player 1, 'o' of
// player 0, anything else empty. Missing rows and columns are empty. Squares
// are set as the position reader sets them (line words too); nothing is
// evaluated.
std::unique_ptr<V2Board> boardFromRows(std::initializer_list<std::string_view> rows,
                                       int sideToMove = 1);

// The same, evaluated in full; the result of evaluateAll goes to *five if given.
std::unique_ptr<V2Board> evaluatedBoard(std::initializer_list<std::string_view> rows,
                                        bool* five = nullptr);

std::vector<Threat> listOf(const V2Board& board, int player);
std::vector<Threat> itemsAt(const V2Board& board, int player, int square);

}  // namespace vorek::testing
