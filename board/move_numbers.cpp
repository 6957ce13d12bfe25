#include "board/move_numbers.h"

#include <stdexcept>
#include <string>

namespace vorek {

void numberStones(MoveNumbers& numbers, std::span<const int> squares, int firstNumber) {
    int number = firstNumber;
    for (int square : squares) {
        if (square < 0 || square >= BOARD_SQUARES)
            throw std::out_of_range("square " + std::to_string(square) + " is off the board");
        numbers[static_cast<std::size_t>(square)] =
            number >= 1 && number <= LARGEST_SHOWN_NUMBER ? static_cast<std::uint16_t>(number) : 0;
        ++number;
    }
}

}  // namespace vorek
