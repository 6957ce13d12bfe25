#include "board/threat_facts.h"

#include <algorithm>
#include <cassert>

#include "board/reach.h"
#include "threats/pattern_tables.h"

namespace vorek {

namespace {

// The squares whose stone can change one of the square's line codes: the
// square itself and those within the scan's reach along its lines.
SquareList squaresInReach(int square) {
    SquareList near;
    near.add(square);
    for (int h = 0; h < HALF_LINES; ++h) {
        const int step = HALF_LINE_STEPS[h].index();
        for (int q = square, k = reachSteps(h, square); k > 0; --k) near.add(q += step);
    }
    return near;
}

bool winsNextMove(const MoveFacts& facts) { return facts.five || facts.twoFives; }

}  // namespace

MoveFacts moveFacts(const SquareCodes& scanned, Player player) {
    MoveFacts facts;
    int fourLines = 0;
    bool openFour = false;
    bool nearWin = false;
    for (const std::int16_t code : scanned.of(player)) {
        const int cn = cnTable[code];
        const int tn = tnTable[code];
        if (cn == 0) facts.five = true;
        if (cn == 1) ++fourLines;
        if (cn == 1 && tn == 0) openFour = true;  // two squares of the line complete five
        if (tn <= 1) nearWin = true;
    }
    if (facts.five) return facts;
    facts.twoFives = openFour || fourLines >= 2;  // lines meet only at the square itself
    facts.four = fourLines > 0;
    facts.nearWin = nearWin;
    return facts;
}

bool SquareList::contains(int square) const { return std::find(begin(), end(), square) != end(); }

PlayerMoves playerMoves(const V2Board& board, Player player) {
    PlayerMoves moves;
    std::array<bool, BOARD_SQUARES> seen{};
    for (const Threat t : board.threats(player)) {
        const int s = square(t);
        if (seen[s]) continue;
        seen[s] = true;
        const MoveFacts facts = moveFacts(scanCodes(board, s), player);
        if (facts.five) moves.fives.add(s);
        if (facts.twoFives) moves.twoFives.add(s);
        if (facts.four) moves.fours.add(s);
        if (facts.nearWin) moves.threats.add(s);
    }
    return moves;
}

SquareList answersToTwoFives(const V2Board& board, Player player, const SquareList& twoFives) {
    assert(std::all_of(twoFives.begin(), twoFives.end(), [&](int m) { return board.isEmpty(m); }));
    SquareList answers;
    if (twoFives.empty()) return answers;
    // An answer must change every one of the moves, so it lies within reach
    // of the first; the other player's stone can only take from the player.
    SquareList candidates = squaresInReach(twoFives.squares[0]);
    std::sort(candidates.squares.begin(), candidates.squares.begin() + candidates.count);
    for (const int x : candidates) {
        if (!board.isEmpty(x)) continue;
        const bool answersAll = std::all_of(twoFives.begin(), twoFives.end(), [&](int m) {
            if (m == x) return true;
            if (!squaresInReach(m).contains(x)) return false;
            return !winsNextMove(moveFacts(scanCodesWith(board, m, x, opponent(player)), player));
        });
        if (answersAll) answers.add(x);
    }
    return answers;
}

}  // namespace vorek
