#include "search/threat_space/fours_search.h"

#include <algorithm>

#include "search/threat_space/search_key.h"
#include "search/threat_space/threat_rules.h"

namespace vorek {

FoursSearch::FoursSearch(ThreatBoard& board, TranspositionTable& table, SearchControl& control)
    : board_(board), table_(table), control_(control) {}

ProofNumbers FoursSearch::prove(Player attacker, int depth, std::uint64_t nodeLimit) {
    const std::uint64_t key = searchKey(board_, ThreatKind::Fours, attacker);
    nodeLimit_ = nodeLimit;
    rootKey_ = key;
    best_ = -1;
    moves_ = 0;
    // The position itself is searched, not looked up: its children's entries
    // are what the winning line is read from.
    const Found found = board_.sideToMove() == attacker ? attack(key, depth) : defend(key, depth);
    switch (found.outcome) {
        case Outcome::Win: return PROVED;
        case Outcome::NoWin: return DISPROVED;
        case Outcome::Stopped: break;
    }
    return {1, 1};
}

FoursSearch::Found FoursSearch::attack(std::uint64_t key, int depth) {
    const std::uint64_t startNodes = control_.nodes();
    if (!counted()) return {Outcome::Stopped};
    MoveList moves;
    const NodeVerdict verdict = attackerNode(board_, ThreatKind::Fours, moves);
    if (verdict.outcome == NodeVerdict::Won && depth >= verdict.movesToFive)
        return proved(key, verdict.winningMove, verdict.movesToFive, startNodes);
    if (verdict.outcome == NodeVerdict::Lost) return refuted(key, depth, false, startNodes);
    // A four and the five take two moves at least.
    if (verdict.outcome == NodeVerdict::Won || depth < 2) return refuted(key, depth, true, startNodes);

    const Player attacker = board_.sideToMove();
    const int childDepth = depthAfter(depth, true);
    bool cut = false;
    for (const int move : moves) {
        board_.makeMove(move);
        const Found found = defend(keyAfter(key, attacker, move), childDepth);
        board_.unmakeMove();
        if (found.outcome == Outcome::Win)
            return proved(key, move, std::min(found.moves + 1, UNLIMITED_DEPTH), startNodes);
        if (found.outcome == Outcome::Stopped) return found;
        cut = cut || found.cut;
    }
    return refuted(key, depth, cut, startNodes);
}

FoursSearch::Found FoursSearch::defend(std::uint64_t key, int depth) {
    const std::uint64_t startNodes = control_.nodes();
    if (!counted()) return {Outcome::Stopped};
    MoveList moves;
    const NodeVerdict verdict = defenderNode(board_, ThreatKind::Fours, moves);
    if (verdict.outcome == NodeVerdict::Won && depth >= verdict.movesToFive)
        return proved(key, verdict.winningMove, verdict.movesToFive, startNodes);
    if (verdict.outcome == NodeVerdict::Lost) return {Outcome::NoWin, 0, false};
    if (verdict.outcome == NodeVerdict::Won) return {Outcome::NoWin, 0, true};

    // After a four the defender has one reply, the block; every reply must
    // lose all the same.
    const Player defender = board_.sideToMove();
    int toughest = -1;
    int most = 0;
    for (const int move : moves) {
        const std::uint64_t childKey = keyAfter(key, defender, move);
        std::optional<Found> found = known(childKey, depth);
        if (!found) {
            board_.makeMove(move);
            found = attack(childKey, depth);
            board_.unmakeMove();
        }
        if (found->outcome == Outcome::NoWin) return {Outcome::NoWin, 0, found->cut};
        if (found->outcome == Outcome::Stopped) return *found;
        if (found->moves > most) {
            toughest = move;
            most = found->moves;
        }
    }
    return proved(key, toughest, most, startNodes);
}

std::optional<FoursSearch::Found> FoursSearch::known(std::uint64_t key, int depth) const {
    const std::optional<TableHit> entry = table_.find(key);
    if (!entry || !entry->numbers.decided() || !holdsFor(*entry, depth)) return std::nullopt;
    if (entry->numbers.proved()) return Found{Outcome::Win, entry->depth};
    return Found{Outcome::NoWin, 0, entry->depth != UNLIMITED_DEPTH};
}

FoursSearch::Found FoursSearch::proved(std::uint64_t key, int best, int moves, std::uint64_t startNodes) {
    table_.store(key, PROVED, best, moves, control_.nodes() - startNodes);
    if (key == rootKey_) {
        best_ = best;
        moves_ = moves;
    }
    return {Outcome::Win, moves};
}

FoursSearch::Found FoursSearch::refuted(std::uint64_t key, int depth, bool cut, std::uint64_t startNodes) {
    // Uncut, the refutation holds however many moves are left.
    table_.store(key, DISPROVED, -1, cut ? depth : UNLIMITED_DEPTH, control_.nodes() - startNodes);
    return {Outcome::NoWin, 0, cut};
}

std::vector<int> FoursSearch::winningLine(Player attacker, int depth, std::uint64_t nodeLimit) {
    std::vector<int> line;
    int played = 0;
    bool whole = false;
    while (!whole) {
        MoveList moves;
        int next = -1;
        if (board_.sideToMove() == attacker) {
            const NodeVerdict verdict = attackerNode(board_, ThreatKind::Fours, moves);
            if (verdict.outcome == NodeVerdict::Lost) break;
            if (verdict.outcome == NodeVerdict::Won) {
                // His five, or his move that leaves two five squares.
                line.push_back(verdict.winningMove);
                whole = true;
                break;
            }
            const std::optional<TableHit> entry = table_.find(searchKey(board_, ThreatKind::Fours, attacker));
            if (entry && entry->numbers.disproved() && holdsFor(*entry, depth)) break;
            if (entry && entry->numbers.proved() && holdsFor(*entry, depth) &&
                std::find(moves.begin(), moves.end(), entry->best) != moves.end()) {
                next = entry->best;
            } else if (prove(attacker, depth, control_.nodes() + nodeLimit).proved()) {
                next = best_;
            } else {
                break;
            }
            depth = depthAfter(depth, true);
        } else {
            const NodeVerdict verdict = defenderNode(board_, ThreatKind::Fours, moves);
            // Won: the attacker's last four left him two five squares.
            whole = verdict.outcome == NodeVerdict::Won;
            if (verdict.outcome != NodeVerdict::Open) break;
            next = moves.squares[0];
        }
        board_.makeMove(next);
        line.push_back(next);
        ++played;
    }
    for (; played > 0; --played) board_.unmakeMove();
    if (!whole) line.clear();
    return line;
}

bool FoursSearch::counted() { return control_.countNode() && control_.nodes() < nodeLimit_; }

}  // namespace vorek
