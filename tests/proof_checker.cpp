#include "tests/proof_checker.h"

#include <algorithm>
#include <sstream>

namespace vorek::testing {

namespace {

constexpr int SIDE = 20;
constexpr int DX[4] = {1, 0, 1, 1};
constexpr int DY[4] = {0, 1, 1, -1};

char opponentOf(char stone) { return stone == 'x' ? 'o' : 'x'; }

bool makesFive(Cells& cells, int square, char stone) {
    cells[square] = stone;
    const bool five = ExhaustiveGame::fiveThrough(cells, square);
    cells[square] = '.';
    return five;
}

// The most stones of the colour on one line within four steps of the
// square: a five through the square needs four of them, a new five square
// after a stone on it three.
int stonesNear(const Cells& cells, int square, char stone) {
    int most = 0;
    for (int d = 0; d < 4; ++d) {
        int count = 0;
        for (const int sign : {1, -1}) {
            for (int k = 1; k <= 4; ++k) {
                const int x = square % SIDE + sign * k * DX[d];
                const int y = square / SIDE + sign * k * DY[d];
                if (x < 0 || x >= SIDE || y < 0 || y >= SIDE) break;
                count += cells[y * SIDE + x] == stone;
            }
        }
        most = std::max(most, count);
    }
    return most;
}

// The empty squares within four steps of the square along its lines: the
// only squares where a stone on it can give a new five square.
std::vector<int> lineNeighbours(const Cells& cells, int square) {
    std::vector<int> squares;
    for (int d = 0; d < 4; ++d) {
        for (const int sign : {1, -1}) {
            for (int k = 1; k <= 4; ++k) {
                const int x = square % SIDE + sign * k * DX[d];
                const int y = square / SIDE + sign * k * DY[d];
                if (x < 0 || x >= SIDE || y < 0 || y >= SIDE) break;
                if (cells[y * SIDE + x] == '.') squares.push_back(y * SIDE + x);
            }
        }
    }
    return squares;
}

// Five squares of the stone that a stone of the same colour on the square
// makes, counted among its line neighbours; the square must be empty.
int newFiveSquares(Cells& cells, int square, char stone) {
    if (stonesNear(cells, square, stone) < 3) return 0;
    cells[square] = stone;
    int count = 0;
    for (const int s : lineNeighbours(cells, square)) count += makesFive(cells, s, stone);
    cells[square] = '.';
    return count;
}

}  // namespace

std::vector<int> fiveSquares(const Cells& cells, char stone) {
    Cells scratch = cells;
    std::vector<int> squares;
    for (int s = 0; s < SIDE * SIDE; ++s)
        if (scratch[s] == '.' && stonesNear(scratch, s, stone) >= 4 && makesFive(scratch, s, stone))
            squares.push_back(s);
    return squares;
}

std::string ProofChecker::check(const Cells& cells, char attacker, int attackerMoves) {
    Cells scratch = cells;
    path_.clear();
    if (attack(scratch, attacker, attackerMoves)) return {};
    std::ostringstream text;
    text << "holds:";
    for (const int s : path_) text << ' ' << s % SIDE << ',' << s / SIDE;
    return text.str();
}

std::string ProofChecker::checkEveryMoveLoses(const Cells& cells, char toMove, int attackerMoves) {
    Cells scratch = cells;
    for (int s = 0; s < SIDE * SIDE; ++s) {
        if (scratch[s] != '.') continue;
        scratch[s] = toMove;
        const bool five = ExhaustiveGame::fiveThrough(scratch, s);
        const std::string held = five ? "five" : check(scratch, opponentOf(toMove), attackerMoves);
        scratch[s] = '.';
        if (!held.empty()) {
            std::ostringstream text;
            text << s % SIDE << ',' << s / SIDE << ' ' << held;
            return text.str();
        }
    }
    return {};
}

bool ProofChecker::attack(Cells& cells, char attacker, int movesLeft) {
    if (!fiveSquares(cells, attacker).empty()) return true;
    const std::string seen = attacker + std::string(cells.begin(), cells.end());
    if (won_.contains(seen)) return true;
    if (movesLeft == 0) return false;
    const int move = strategy_(cells, attacker);
    if (move < 0 || move >= SIDE * SIDE || cells[move] != '.') return false;
    path_.push_back(move);
    cells[move] = attacker;
    const bool wins = defend(cells, attacker, movesLeft - 1);
    cells[move] = '.';
    if (!wins) return false;
    path_.pop_back();
    won_.insert(seen);
    return true;
}

bool ProofChecker::defend(Cells& cells, char attacker, int movesLeft) {
    ++defences_;
    const char defender = opponentOf(attacker);
    if (!fiveSquares(cells, defender).empty()) return false;
    const std::vector<int> attackerFives = fiveSquares(cells, attacker);
    if (attackerFives.size() >= 2) return true;
    // The attacker's moves that leave two five squares, with none now.
    std::vector<int> doubles;
    if (attackerFives.empty())
        for (int s = 0; s < SIDE * SIDE; ++s)
            if (cells[s] == '.' && newFiveSquares(cells, s, attacker) >= 2) doubles.push_back(s);

    for (int reply = 0; reply < SIDE * SIDE; ++reply) {
        if (cells[reply] != '.') continue;
        // A reply that leaves the attacker's five square open loses at once.
        if (attackerFives.size() == 1 && reply != attackerFives[0]) continue;
        cells[reply] = defender;
        bool answered = false;
        if (attackerFives.empty()) {
            bool defenderFive = false;
            if (stonesNear(cells, reply, defender) >= 3)
                for (const int s : lineNeighbours(cells, reply)) defenderFive = defenderFive || makesFive(cells, s, defender);
            // With no five square of his own the defender can stop only one
            // of the two the attacker's move leaves.
            answered = !defenderFive && std::any_of(doubles.begin(), doubles.end(), [&](int m) {
                return m != reply && newFiveSquares(cells, m, attacker) >= 2;
            });
        }
        if (!answered) {
            path_.push_back(reply);
            answered = attack(cells, attacker, movesLeft);
            if (answered) path_.pop_back();
        }
        cells[reply] = '.';
        if (!answered) return false;
    }
    return true;
}

}  // namespace vorek::testing
