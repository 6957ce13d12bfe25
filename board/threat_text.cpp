#include "board/threat_text.h"

#include <stdexcept>

#include "board/square_text.h"
#include "threats/pattern_tables.h"

namespace vorek {

namespace {

void checkSquare(int square) {
    if (square < 0 || square >= BOARD_SQUARES)
        throw std::out_of_range("square index " + std::to_string(square) + " is not 0..399");
}

// "cn=C tn=T" of the item, nothing for no item.
void appendItem(std::string& text, const Threat* item) {
    if (item == nullptr) return;
    text += "cn=";
    text += std::to_string(cn(*item));
    text += " tn=";
    text += std::to_string(tn(*item));
}

}  // namespace

std::string squareReport(const V2Board& board, int square) {
    checkSquare(square);
    std::string text = "{";
    appendItem(text, findThreatAt(board.threats(PLAYER0), square));
    text += "}/{";
    appendItem(text, findThreatAt(board.threats(PLAYER1), square));
    text += "}";
    return text;
}

std::string threatListLine(Threat item) {
    const int at = square(item);
    std::string line = "[";
    line += std::to_string(at);
    line += "] ";
    line += squareText(columnOf(at), rowOf(at));
    line += ' ';
    appendItem(line, &item);
    return line;
}

void fillThreatList(const V2Board& board, LineSink& sink, int player) {
    if (player != 0 && player != 1)
        throw std::out_of_range("player " + std::to_string(player) + " is not 0 or 1");
    for (const Threat item : board.threats(playerOf(player))) sink.addLine(threatListLine(item));
}

}  // namespace vorek
