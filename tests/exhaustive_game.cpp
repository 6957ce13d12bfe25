#include "tests/exhaustive_game.h"

namespace vorek::testing {

namespace {

constexpr int SIDE = 20;
constexpr int DX[4] = {1, 0, 1, 1};
constexpr int DY[4] = {0, 1, 1, -1};

bool onBoard(int x, int y) { return x >= 0 && x < SIDE && y >= 0 && y < SIDE; }

}  // namespace

ExhaustiveGame::ExhaustiveGame(const Cells& cells) : cells_(cells) {
    for (int s = 0; s < SIDE * SIDE; ++s)
        if (cells_[s] == '.') empties_.push_back(s);
}

bool ExhaustiveGame::fiveThrough(const Cells& cells, int square) {
    const char stone = cells[square];
    for (int d = 0; d < 4; ++d) {
        int run = 1;
        for (const int sign : {1, -1}) {
            int x = square % SIDE + sign * DX[d];
            int y = square / SIDE + sign * DY[d];
            for (; onBoard(x, y) && cells[y * SIDE + x] == stone; x += sign * DX[d], y += sign * DY[d]) ++run;
        }
        if (run >= 5) return true;
    }
    return false;
}

Outcome ExhaustiveGame::valueFor(char toMove) { return value(toMove, 0); }

Outcome ExhaustiveGame::value(char toMove, std::uint32_t key) {
    if (const auto found = known_.find(key); found != known_.end()) return found->second;
    const char other = toMove == 'x' ? 'o' : 'x';
    Outcome best = Outcome::LOSS;
    bool moved = false;
    std::uint32_t place = 1;
    for (std::size_t i = 0; i < empties_.size() && best != Outcome::WIN; ++i, place *= 3) {
        const int s = empties_[i];
        if (cells_[s] != '.') continue;
        moved = true;
        cells_[s] = toMove;
        Outcome here = Outcome::WIN;
        if (!fiveThrough(cells_, s)) {
            const Outcome reply = value(other, key + place * (toMove == 'x' ? 1 : 2));
            here = reply == Outcome::WIN ? Outcome::LOSS : reply == Outcome::LOSS ? Outcome::WIN : Outcome::DRAW;
        }
        cells_[s] = '.';
        if (here > best) best = here;
    }
    if (!moved) best = Outcome::DRAW;  // a full board
    known_[key] = best;
    return best;
}

int ExhaustiveGame::fiveSquareCount(char stone, int atMost) {
    int count = 0;
    for (const int s : empties_) {
        if (cells_[s] != '.') continue;
        cells_[s] = stone;
        count += fiveThrough(cells_, s);
        cells_[s] = '.';
        if (count >= atMost) break;
    }
    return count;
}

bool ExhaustiveGame::hasDoubleFive(char stone) {
    for (const int s : empties_) {
        if (cells_[s] != '.') continue;
        cells_[s] = stone;
        const bool two = fiveSquareCount(stone, 2) >= 2;
        cells_[s] = '.';
        if (two) return true;
    }
    return false;
}

bool ExhaustiveGame::winsWithin(char attacker, int moves) {
    wins_.clear();
    return attackerWins(attacker, moves);
}

bool ExhaustiveGame::attackerWins(char attacker, int moves) {
    if (fiveSquareCount(attacker, 1) > 0) return true;
    if (moves <= 1) return false;
    const std::string key = std::string(cells_.begin(), cells_.end()) + static_cast<char>('0' + moves);
    if (const auto found = wins_.find(key); found != wins_.end()) return found->second;
    bool wins = false;
    for (std::size_t i = 0; i < empties_.size() && !wins; ++i) {
        const int s = empties_[i];
        if (cells_[s] != '.') continue;
        cells_[s] = attacker;
        wins = defenderLoses(attacker, moves - 1);
        cells_[s] = '.';
    }
    wins_[key] = wins;
    return wins;
}

bool ExhaustiveGame::defenderLoses(char attacker, int moves) {
    const char defender = attacker == 'x' ? 'o' : 'x';
    if (fiveSquareCount(defender, 1) > 0) return false;
    const int attackerFives = fiveSquareCount(attacker, 2);
    if (attackerFives >= 2) return true;
    if (attackerFives == 0 && moves <= 1) return false;
    for (const int s : empties_) {
        if (cells_[s] != '.') continue;
        cells_[s] = defender;
        // The defender has no five square before his move; one that makes
        // none and leaves the attacker a five square, or a move that leaves
        // him two, loses at once.
        const bool losesAtOnce = fiveSquareCount(defender, 1) == 0 &&
                                 (fiveSquareCount(attacker, 1) > 0 || (moves >= 2 && hasDoubleFive(attacker)));
        const bool lost = losesAtOnce || attackerWins(attacker, moves);
        cells_[s] = '.';
        if (!lost) return false;
    }
    return true;
}

Cells cellsFromRows(const std::vector<std::string_view>& rows) {
    Cells cells;
    cells.fill('.');
    for (std::size_t y = 0; y < rows.size() && y < SIDE; ++y)
        for (std::size_t x = 0; x < rows[y].size() && x < SIDE; ++x)
            if (rows[y][x] == 'x' || rows[y][x] == 'o') cells[y * SIDE + x] = rows[y][x];
    return cells;
}

}  // namespace vorek::testing
