#include "search/threat_space/threat_rules.h"

#include "board/square_flags.h"
#include "search/threat_space/line_steps.h"

namespace vorek {

namespace {

constexpr int REACH = LINE_REACH;

// The square and the empty-or-not squares within four steps of it along its
// four lines: the only squares whose stones its line kinds read.
constexpr std::array<SquareSet, BOARD_SQUARES> buildReaches() {
    std::array<SquareSet, BOARD_SQUARES> reaches{};
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        reaches[s].insert(s);
        for (const auto [dx, dy] : LINE_DIRECTIONS) {
            for (const int sign : {-1, 1}) {
                for (int k = 1; k <= REACH; ++k) {
                    const int x = columnOf(s) + sign * k * dx;
                    const int y = rowOf(s) + sign * k * dy;
                    if (!onBoard(x, y)) break;
                    reaches[s].insert(squareAt(x, y));
                }
            }
        }
    }
    return reaches;
}
constexpr std::array<SquareSet, BOARD_SQUARES> REACHES = buildReaches();

bool isFourKind(LineKind kind) { return kind == LINE_FOUR || kind == LINE_OPEN_FOUR; }

// Adds the squares of the set that are not listed yet.
void addNew(MoveList& moves, const SquareSet& set, SquareSet& listed) {
    (set - listed).forEach([&](int s) { moves.add(s); });
    listed |= set;
}

// How promising the attacker's four is: what it makes on its four lines,
// and whether it also stands on a line of the defender's.
int promise(const ThreatBoard& board, int square, Player attacker) {
    constexpr int OWN[6] = {0, 2, 3, 4, 6, 0};
    int value = 0;
    for (int line = 0; line < 4; ++line) {
        value += OWN[board.lineKind(square, attacker, line)];
        value += board.lineKind(square, opponent(attacker), line) != LINE_NOTHING;
    }
    return value;
}

// Adds the squares of the set that are not listed yet, most promising first.
void addByPromise(MoveList& moves, const ThreatBoard& board, Player attacker, const SquareSet& set, SquareSet& listed) {
    const int begin = moves.count;
    int values[BOARD_SQUARES];
    (set - listed).forEach([&](int s) {
        values[moves.count] = promise(board, s, attacker);
        moves.add(s);
    });
    listed |= set;
    // Insertion sort: the lists are short.
    for (int i = begin + 1; i < moves.count; ++i) {
        const int value = values[i];
        const std::int16_t square = moves.squares[i];
        int j = i;
        for (; j > begin && values[j - 1] < value; --j) {
            values[j] = values[j - 1];
            moves.squares[j] = moves.squares[j - 1];
        }
        values[j] = value;
        moves.squares[j] = square;
    }
}

NodeVerdict won(int movesToFive, int move) { return {NodeVerdict::Won, movesToFive, move}; }
constexpr NodeVerdict LOST{NodeVerdict::Lost};
constexpr NodeVerdict OPEN{NodeVerdict::Open};

}  // namespace

SquareSet doubleFourSetups(const ThreatBoard& board, Player attacker) {
    SquareSet setups;
    const MoveSets& own = board.moves(attacker);
    (own.fours - own.wins).forEach([&](int m) {
        for (int line = 0; line < 4; ++line) {
            const LineKind kind = board.lineKind(m, attacker, line);
            if (kind != LINE_THREE && kind != LINE_CLOSED_THREE) continue;
            const auto [dx, dy] = LINE_DIRECTIONS[line];
            for (const int sign : {-1, 1}) {
                for (int k = 1; k <= REACH; ++k) {
                    const int x = columnOf(m) + sign * k * dx;
                    const int y = rowOf(m) + sign * k * dy;
                    if (!onBoard(x, y)) break;
                    const int s = squareAt(x, y);
                    if (board.cell(s) == cellOfPlayer(opponent(attacker))) break;
                    if (board.isEmpty(s) && isFourKind(board.lineKindWith(m, attacker, line, s))) setups.insert(s);
                }
            }
        }
    });
    return setups - own.fours - own.threes;
}

SquareSet squaresOnOwnLines(const ThreatBoard& board, Player player) {
    const unsigned own = cellOfPlayer(player);
    const unsigned other = cellOfPlayer(opponent(player));
    SquareSet squares;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (board.cell(s) != own) continue;
        for (int line = 0; line < 4; ++line) {
            // The run of squares without a stone of the other side, four
            // steps each way at most: room for five, or nothing here.
            int length = 1;
            SquareSet empty;
            walkLine(s, line, [&](int q) {
                if (board.cell(q) == other) return false;
                ++length;
                if (board.isEmpty(q)) empty.insert(q);
                return true;
            });
            if (length >= 5) squares |= empty;
        }
    }
    return squares;
}

NodeVerdict attackerNode(const ThreatBoard& board, ThreatKind kind, MoveList& moves) {
    const Player attacker = board.sideToMove();
    const MoveSets& own = board.moves(attacker);
    const MoveSets& theirs = board.moves(opponent(attacker));
    moves.count = 0;
    if (!own.fives.empty()) return won(1, own.fives.first());
    if (theirs.fives.severalSquares()) return LOST;
    if (!theirs.fives.empty()) {
        // Anything else loses at once. In a search of fours the block must
        // itself be a four, or the defender gets a free move.
        const int block = theirs.fives.first();
        if (kind == ThreatKind::Fours && !own.fours.contains(block)) return LOST;
        moves.add(block);
        return OPEN;
    }
    // The defender has no five square: he can stop only one of two.
    if (!own.wins.empty()) return won(2, own.wins.first());

    SquareSet listed;
    if (kind == ThreatKind::Fours) {
        // A win by fours is a chain of them: the likeliest links first.
        addByPromise(moves, board, attacker, own.fours, listed);
        return moves.empty() ? LOST : OPEN;
    }
    // Fours that also make a three first: the block of the four leaves a
    // winning move more often than not.
    addNew(moves, own.fours & own.threes, listed);
    addNew(moves, own.fours, listed);
    return OPEN;
}

NodeVerdict defenderNode(const ThreatBoard& board, ThreatKind kind, MoveList& moves) {
    const Player defender = board.sideToMove();
    const Player attacker = opponent(defender);
    const MoveSets& own = board.moves(defender);
    const MoveSets& theirs = board.moves(attacker);
    moves.count = 0;
    if (!own.fives.empty()) return LOST;
    if (theirs.fives.severalSquares()) return won(1, theirs.fives.first());
    if (!theirs.fives.empty()) {
        moves.add(theirs.fives.first());
        return OPEN;
    }
    // The attacker's last move made no four; in a search of threats it must
    // have left him a winning move, or it forced nothing.
    if (kind == ThreatKind::Fours || theirs.wins.empty()) return LOST;

    // The attacker has a winning move and no five square; the defender has no
    // five square. A move of the defender that is not a four leaves him no
    // five square, so if the attacker still has a winning move after it, the
    // attacker plays it and the defender can block only one of its two five
    // squares: that move loses. So the moves that do not lose at once are the
    // defender's fours and the moves after which the attacker has no winning
    // move left. Such a move must change the line kinds of every winning
    // square, so it lies on a line within four steps of each (or on it): the
    // candidates are that intersection, each tried against every winning
    // square.
    SquareSet candidates = board.empties();
    theirs.wins.forEach([&](int m) { candidates &= REACHES[m]; });
    SquareSet listed;
    candidates.forEach([&](int s) {
        // A stone of the defender gives the attacker nothing: it spoils his
        // winning moves when each is taken or loses its win.
        bool spoils = true;
        theirs.wins.forEach([&](int m) {
            spoils = spoils && (m == s || !(board.moveClassWith(m, attacker, s, defender) & MOVE_WIN));
        });
        if (spoils) {
            moves.add(s);
            listed.insert(s);
        }
    });
    addNew(moves, own.fours, listed);
    if (moves.empty()) {
        const int move = theirs.wins.first();
        return won(2, move);
    }
    return OPEN;
}

}  // namespace vorek
