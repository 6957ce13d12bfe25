// A check of a claimed win that knows nothing of the solver's rules: the
// attacker plays the moves a strategy gives, and at every move of the
// defender EVERY empty square is tried. A defence is met when the attacker
// then completes five, or has a move that leaves two five squares while the
// defender has none, or goes on winning by the strategy from there; it is
// not met when the defender completes five first, or the strategy has no
// move, or the attacker runs out of moves.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "tests/exhaustive_game.h"

namespace vorek::testing {

class ProofChecker {
public:
    // The attacker's move in a position where he is to move; -1 when it has none.
    using Strategy = std::function<int(const Cells& cells, char attacker)>;

    explicit ProofChecker(Strategy strategy) : strategy_(std::move(strategy)) {}

    // Empty when the attacker, to move, wins against every defence within
    // the given number of his own moves; otherwise the defence that holds,
    // as the moves from the position.
    std::string check(const Cells& cells, char attacker, int attackerMoves = 60);

    // Empty when every move of the side to move loses to a win of the other
    // side that check() confirms; otherwise the move that holds.
    std::string checkEveryMoveLoses(const Cells& cells, char toMove, int attackerMoves = 60);

    // Defender positions looked at, each once.
    std::uint64_t defences() const { return defences_; }

private:
    bool attack(Cells& cells, char attacker, int movesLeft);
    bool defend(Cells& cells, char attacker, int movesLeft);

    Strategy strategy_;
    std::vector<int> path_;  // the moves from the position to where a defence held
    std::unordered_set<std::string> won_;  // attacker positions shown won, as their cells
    std::uint64_t defences_ = 0;
};

// The empty squares on which the stone completes five.
std::vector<int> fiveSquares(const Cells& cells, char stone);

}  // namespace vorek::testing
