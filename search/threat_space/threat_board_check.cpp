#include "search/threat_space/threat_board_check.h"

#include "search/threat_space/zobrist.h"
#include "threats/line_codes.h"

namespace vorek {

namespace {

std::string at(const char* what, int square) { return std::string(what) + " at square " + std::to_string(square); }

// The player's move flags of the empty square, read from its four lines.
std::uint8_t flagsFromLines(const ThreatBoard& board, int square, Player player) {
    unsigned kinds = 0;
    for (int line = 0; line < 4; ++line) {
        const LinePlace place = LINE_PLACES[square][line];
        const std::uint64_t word = board.lines()[place.word];
        const std::uint32_t codes = LINE_CODES[cellsBefore(word, place) << 8 | cellsAfter(word, place)];
        const unsigned code = player == PLAYER1 ? codes >> 16 : codes & 0xFFFFu;
        kinds |= static_cast<unsigned>(LINE_KIND_OF_CODE[code]) << (LINE_KIND_BITS * line);
    }
    return MOVE_CLASS_OF_KINDS[kinds];
}

}  // namespace

std::string checkThreatBoard(const ThreatBoard& board) {
    LineWords lines = EMPTY_LINES;
    std::uint64_t key = 0;
    MoveSets sets[2];
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const unsigned cell = board.cell(s);
        if (cell != CELL_EMPTY && cell != CELL_PLAYER1 && cell != CELL_PLAYER0) return at("a bad cell", s);
        if (board.empties().contains(s) != (cell == CELL_EMPTY)) return at("the empty squares differ", s);
        if (cell == CELL_EMPTY) continue;
        placeInLines(lines, s, cell);
        key ^= stoneKey(cell == CELL_PLAYER1 ? PLAYER1 : PLAYER0, s);
    }
    if (lines != board.lines()) return "the line words differ from the cells";
    if (key != board.key()) return "the key differs from the stones";
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (!board.isEmpty(s)) continue;
        for (const Player player : PLAYERS) {
            const std::uint8_t flags = flagsFromLines(board, s, player);
            if (board.moveClass(s, player) != flags) return at("kept line kinds differ", s);
            MoveSets& own = sets[playerIndex(player)];
            if (flags & MOVE_FIVE) own.fives.insert(s);
            if (flags & MOVE_WIN) own.wins.insert(s);
            if (flags & MOVE_FOUR) own.fours.insert(s);
            if (flags & MOVE_THREE) own.threes.insert(s);
        }
    }
    for (const Player player : PLAYERS)
        if (!(sets[playerIndex(player)] == board.moves(player)))
            return "the move sets of player " + std::to_string(playerIndex(player)) + " differ";
    return {};
}

}  // namespace vorek
