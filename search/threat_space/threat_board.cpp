#include "search/threat_space/threat_board.h"

#include <cassert>

#include "search/threat_space/zobrist.h"

namespace vorek {

namespace {

// The index step from one cell of a line word to the next: rows, columns,
// diagonals (towards the lower right), antidiagonals (towards the upper right
// as the cells go, since they are numbered from the smaller column).
constexpr std::array<int, 4> LINE_STEPS{1, BOARD_SIDE, BOARD_SIDE + 1, 1 - BOARD_SIDE};
constexpr int REACH = 4;  // the cells on each side of a square that its codes read

// The flags of the kinds of move that have a set of their own, for both
// players as flipSets takes them.
constexpr std::uint16_t SET_FLAGS = (MOVE_FIVE | MOVE_WIN | MOVE_FOUR | MOVE_THREE) * 0x101;

constexpr unsigned cellIn(std::uint64_t word, int bit) { return static_cast<unsigned>(word >> bit) & 3u; }

// Both players' kinds of the line through the empty square whose cell is at
// the bit, in place for the line in a kinds value.
std::uint32_t lineKindsAt(std::uint64_t word, int bit, int line) {
    const unsigned before = static_cast<unsigned>(word >> (bit - 2 * REACH)) & 0xFFu;
    const unsigned after = static_cast<unsigned>(word >> (bit + 2)) & 0xFFu;
    const std::uint32_t pair = LINE_KIND_PAIRS[before | after << 8];
    const std::uint32_t player0 = pair & LINE_KIND_MASK;
    const std::uint32_t player1 = pair >> LINE_KIND_BITS;
    return (player0 | player1 << 16) << (LINE_KIND_BITS * line);
}

constexpr std::uint32_t lineKindsMask(int line) {
    return (LINE_KIND_MASK | LINE_KIND_MASK << 16) << (LINE_KIND_BITS * line);
}

}  // namespace

std::uint16_t ThreatBoard::setFlagsOf(std::uint32_t kinds) {
    return static_cast<std::uint16_t>((moveClassOf(kinds, PLAYER0) | moveClassOf(kinds, PLAYER1) << 8) & SET_FLAGS);
}

ThreatBoard::ThreatBoard() {
    for (int s = 0; s < BOARD_SQUARES; ++s) empties_.insert(s);
    // On an empty board no line holds enough room and stones to be any kind.
}

std::uint16_t ThreatBoard::setKinds(int square, std::uint32_t kinds) {
    const std::uint32_t old = kinds_[square];
    kinds_[square] = kinds;
    // The square is in a set as its old flags say, so a changed flag flips
    // it; most changes of a line's kind change none.
    const std::uint16_t flipped = setFlagsOf(old) ^ setFlagsOf(kinds);
    if (flipped != 0) flipSets(square, flipped);
    return flipped;
}

void ThreatBoard::flipSets(int square, std::uint16_t flags) {
    for (const Player player : PLAYERS) {
        const unsigned own = flags >> 8 * playerIndex(player);
        MoveSets& sets = moves_[playerIndex(player)];
        sets.fives.flipIf(square, own & MOVE_FIVE);
        sets.wins.flipIf(square, own & MOVE_WIN);
        sets.fours.flipIf(square, own & MOVE_FOUR);
        sets.threes.flipIf(square, own & MOVE_THREE);
    }
}

void ThreatBoard::putStone(int square, Player player) {
    assert(square >= 0 && square < BOARD_SQUARES && isEmpty(square));
    const unsigned cell = cellOfPlayer(player);
    cells_[square] = static_cast<std::uint8_t>(cell);
    placeInLines(lines_, square, cell);
    key_ ^= stoneKey(player, square);
    empties_.erase(square);
    // The empty square was in the sets its kinds name and in no other; its
    // kinds stay while it holds the stone, for unmakeMove to put it back.
    flipSets(square, setFlagsOf(kinds_[square]));
}

void ThreatBoard::rereadAround(int square, UndoRecord* record) {
    for (int line = 0; line < 4; ++line) {
        const LinePlace place = LINE_PLACES[square][line];
        // The cells around the square, its own at bit 4 REACH, so that each
        // square within reach is read at a fixed place. The word's top cells
        // are never read, so the first shift loses nothing; past the word's
        // end the cells read as empty, but only beyond the walls after the
        // line's last square, where no square of the line reads.
        const std::uint64_t around = (lines_[place.word] << 2 * REACH) >> (place.bit - 2 * REACH);
        const int step = LINE_STEPS[line];
        const std::uint32_t others = ~lineKindsMask(line);
        for (const int k : {-4, -3, -2, -1, 1, 2, 3, 4}) {
            const int bit = 4 * REACH + 2 * k;
            if (cellIn(around, bit) != CELL_EMPTY) continue;
            const int q = square + k * step;
            const std::uint32_t kinds = (kinds_[q] & others) | lineKindsAt(around, bit, line);
            if (kinds == kinds_[q]) continue;
            const std::uint32_t old = kinds_[q];
            const std::uint16_t flipped = setKinds(q, kinds);
            if (record) record->kinds[record->changed++] = {static_cast<std::int16_t>(q), flipped, old};
        }
    }
}

LineKind ThreatBoard::lineKindWith(int square, Player player, int line, int stoneSquare) const {
    const LinePlace place = LINE_PLACES[square][line];
    std::uint64_t word = lines_[place.word];
    const LinePlace stone = LINE_PLACES[stoneSquare][line];
    if (stone.word == place.word) word |= std::uint64_t{cellOfPlayer(player)} << stone.bit;
    return static_cast<LineKind>(lineKindsAt(word, place.bit, 0) >> kindShift(player, 0) & LINE_KIND_MASK);
}

std::uint8_t ThreatBoard::moveClassWith(int square, Player player, int stoneSquare, Player stoneOwner) const {
    std::uint32_t kinds = kinds_[square];
    for (int line = 0; line < 4; ++line) {
        const LinePlace place = LINE_PLACES[square][line];
        const LinePlace stone = LINE_PLACES[stoneSquare][line];
        if (stone.word != place.word) continue;
        // The squares share this line only; a stone beyond the reach of the
        // square's codes changes nothing.
        const int distance = stone.bit > place.bit ? stone.bit - place.bit : place.bit - stone.bit;
        if (distance > 2 * REACH) break;
        const std::uint64_t word = lines_[place.word] | std::uint64_t{cellOfPlayer(stoneOwner)} << stone.bit;
        kinds = (kinds & ~lineKindsMask(line)) | lineKindsAt(word, place.bit, line);
        break;
    }
    return moveClassOf(kinds, player);
}

void ThreatBoard::place(int square, Player player) {
    assert(undo_.empty());
    putStone(square, player);
    rereadAround(square, nullptr);
}

ThreatBoard::UndoRecord& ThreatBoard::pushRecord(int square) {
    // Room for a move on every square and a few passes, taken once.
    if (undo_.capacity() < BOARD_SQUARES + ROOM_FOR_PASSES) undo_.reserve(BOARD_SQUARES + ROOM_FOR_PASSES);
    UndoRecord& record = undo_.emplace_back();
    record.square = static_cast<std::int16_t>(square);
    record.changed = 0;
    return record;
}

void ThreatBoard::makeMove(int square) {
    UndoRecord& record = pushRecord(square);
    putStone(square, sideToMove_);
    rereadAround(square, &record);
    sideToMove_ = opponent(sideToMove_);
}

void ThreatBoard::makePass() {
    pushRecord(-1);
    sideToMove_ = opponent(sideToMove_);
}

void ThreatBoard::unmakeMove() {
    assert(!undo_.empty());
    const UndoRecord& record = undo_.back();
    sideToMove_ = opponent(sideToMove_);
    const int square = record.square;
    if (square < 0) {
        undo_.pop_back();
        return;
    }
    cells_[square] = CELL_EMPTY;
    for (const LinePlace place : LINE_PLACES[square]) lines_[place.word] &= ~(std::uint64_t{3} << place.bit);
    key_ ^= stoneKey(sideToMove_, square);
    empties_.insert(square);
    for (int i = record.changed - 1; i >= 0; --i) {
        const ChangedKinds& changed = record.kinds[i];
        kinds_[changed.square] = changed.kinds;
        if (changed.flipped != 0) flipSets(changed.square, changed.flipped);
    }
    // The square's kinds were kept while it held the stone, in no set.
    flipSets(square, setFlagsOf(kinds_[square]));
    undo_.pop_back();
}

std::optional<Player> playerWithFive(const ThreatBoard& board) {
    for (const std::uint64_t word : board.lines()) {
        unsigned runCell = CELL_WALL;
        int run = 0;
        for (int bit = 0; bit < 64; bit += 2) {
            const unsigned cell = cellIn(word, bit);
            run = cell == runCell ? run + 1 : 1;
            runCell = cell;
            if (run >= 5 && (cell == CELL_PLAYER1 || cell == CELL_PLAYER0)) return cell == CELL_PLAYER1 ? PLAYER1 : PLAYER0;
        }
    }
    return std::nullopt;
}

}  // namespace vorek
