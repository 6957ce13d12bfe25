// The threats of a board as text: the report of one square, and the lines of
// one player's threat list.
#pragma once

#include <string>
#include <string_view>

#include "board/v2board.h"

namespace vorek {

// "{cn=C tn=T}/{cn=C tn=T}": the best-ranked item of the square in player 0's
// list, then in player 1's; an empty pair of braces for a list without one.
// A square outside 0..399 is rejected with std::out_of_range.
std::string squareReport(const V2Board& board, int square);

// "[S] X,Y cn=C tn=T" for one threat item: its square's number and its
// column and row, each counted from 0.
std::string threatListLine(Threat item);

// Something that takes lines at its end, like a list box.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void addLine(std::string_view line) = 0;
};

// Appends one line per item of the player's list, best-ranked first. The sink
// is not cleared first. A player other than 0 or 1 is rejected with
// std::out_of_range.
void fillThreatList(const V2Board& board, LineSink& sink, int player);

}  // namespace vorek
