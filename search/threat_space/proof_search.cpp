#include "search/threat_space/proof_search.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "search/threat_space/search_key.h"

namespace vorek {

namespace {

// A win by fours tried first at a node of a search of threats may take this
// many nodes; past them the search of threats goes on without it.
constexpr std::uint64_t FOURS_FIRST_NODES = 4096;
// Proving again what the table has lost of a proof, for its line.
constexpr SolveBudget LINE_BUDGET{.maxNodes = 1'000'000};
// The proof number the wider threats start from: each takes several answers,
// and finding them takes searches of fours.
constexpr ProofNumber WIDER_FIRST_PN = 12;
// The threats of the first search: threes and the moves that leave two fours
// meeting on a square, and any other move that leaves a move making two five
// squares.
constexpr int NARROW_THREAT_DEPTH = 2;
// The most positions a walk of a proof looks at.
constexpr std::uint64_t MOST_PROOF_VISITS = 200'000;

enum MoveHint : std::uint8_t {
    FOUR_HINT,    // the attacker's four: one reply
    DOUBLE_HINT,  // the attacker's move that makes threats on two lines: few replies
    THREAT_HINT,  // the attacker's three or other threat: several replies
    WIDER_HINT,   // the attacker's threats that a search of fours finds, not looked at yet
    REPLY_HINT,   // a move of the defender
};

// A child that is no move: the attacker's wider threats.
constexpr std::int16_t WIDER_THREATS = -1;

// The numbers of a position not searched yet, by the move that led to it.
constexpr ProofNumbers firstNumbers(MoveHint hint) {
    switch (hint) {
        case FOUR_HINT: return {1, 1};
        case DOUBLE_HINT: return {1, 1};
        case THREAT_HINT: return {3, 1};
        case WIDER_HINT: return {WIDER_FIRST_PN, 1};
        case REPLY_HINT: break;
    }
    return {1, 1};
}

// What the attacker's move is, from its line kinds.
MoveHint hintOf(const ThreatBoard& board, int move, Player attacker) {
    int threats = 0;
    for (int line = 0; line < 4; ++line) threats += board.lineKind(move, attacker, line) >= LINE_THREE;
    if (board.moveClass(move, attacker) & MOVE_FOUR) return threats >= 2 ? DOUBLE_HINT : FOUR_HINT;
    return threats >= 2 ? DOUBLE_HINT : THREAT_HINT;
}

// A child's threshold on the number that adds up over the children: what is
// left of the parent's once the other children's share is taken.
ProofNumber shareOf(ProofNumber limit, ProofNumber total, ProofNumber own) {
    if (limit == INFINITE_PROOF) return INFINITE_PROOF;
    return limit - total + own;
}

// A child's threshold on the number the parent takes the least of: just past
// the second-best child's, so that the search comes back when that one is
// better.
ProofNumber pastSecond(ProofNumber limit, ProofNumber second) {
    return std::min(limit, addProof(second, 1));
}

}  // namespace

ProofSearch::ProofSearch(ThreatBoard& board, TranspositionTable& table, SearchControl& control,
                         const ThreatReach& reach)
    : board_(board), table_(table), control_(&control), reach_(reach) {
    children_.reserve(4096);
}

std::uint64_t ProofSearch::keyOf(ThreatKind kind, Player attacker) const {
    const std::uint64_t key = searchKey(board_, kind, attacker);
    return kind == ThreatKind::Threats ? key ^ threatDepthKey(reach_.threatDepth) : key;
}

ProofNumbers ProofSearch::prove(ThreatKind kind, int depth) {
    // Wins by fours depth first; wins by threats by df-pn.
    const Player attacker = board_.sideToMove();
    if (kind == ThreatKind::Fours) return FoursSearch(board_, table_, *control_).prove(attacker, depth, nodeLimit_);
    lineReach_ = reach_;
    if (reach_.threatDepth > NARROW_THREAT_DEPTH) {
        // The threats that threaten the shortest wins first: most wins need
        // no other, and refuting them is far quicker. A proof among them is
        // a proof among all.
        lineReach_.threatDepth = NARROW_THREAT_DEPTH;
        std::swap(reach_, lineReach_);
        const ProofNumbers narrow = search(kind, attacker, {INFINITE_PROOF, INFINITE_PROOF}, depth);
        std::swap(reach_, lineReach_);
        if (narrow.proved() || control_->stopped()) return narrow;
        lineReach_ = reach_;
    }
    return search(kind, attacker, {INFINITE_PROOF, INFINITE_PROOF}, depth);
}

ProofNumbers ProofSearch::prove(ThreatKind kind, int depth, std::uint64_t nodeLimit) {
    const std::uint64_t limit = nodeLimit_;
    nodeLimit_ = std::min(limit, nodeLimit);
    const ProofNumbers numbers = prove(kind, depth);
    nodeLimit_ = limit;
    return numbers;
}

ProofNumbers ProofSearch::known(std::uint64_t key, int depth) const {
    const std::optional<TableHit> entry = table_.find(key);
    return entry && holdsFor(*entry, depth) ? entry->numbers : ProofNumbers{};
}

bool ProofSearch::provedByFours(std::uint64_t key, int depth) {
    // Without a four there is no win by fours.
    if (board_.moves(board_.sideToMove()).fours.empty()) return false;
    if (!prove(ThreatKind::Fours, depth, control_->nodes() + FOURS_FIRST_NODES).proved()) return false;
    const std::optional<TableHit> entry = table_.find(keyOf(ThreatKind::Fours, board_.sideToMove()));
    table_.store(key, PROVED, entry ? entry->best : -1, depth, 1);
    return true;
}

ProofNumbers ProofSearch::search(ThreatKind kind, Player attacker, ProofNumbers threshold, int depth, bool wider) {
    const bool attackerToMove = board_.sideToMove() == attacker;
    // The wider threats' own node shares the position's children.
    const std::uint64_t positionKey = keyOf(kind, attacker);
    const std::uint64_t key = positionKey ^ (wider ? WIDER_THREATS_KEY : 0);
    const std::uint64_t startNodes = control_->nodes();
    if (!control_->countNode()) return known(key, depth);
    if (attackerToMove && kind == ThreatKind::Threats && !wider && !table_.find(key) && provedByFours(key, depth))
        return PROVED;

    MoveList moves;
    ThreatMoves rules = this->rules();
    NodeVerdict verdict;
    if (wider) {
        rules.widerThreats(depth, moves);
        if (moves.empty()) verdict.outcome = NodeVerdict::Lost;
    } else {
        verdict = attackerToMove ? rules.attacker(kind, depth, moves) : rules.defender(kind, depth, moves);
        // With no other threat, the wider ones are the node's own moves.
        if (attackerToMove && verdict.outcome == NodeVerdict::Open && moves.empty()) {
            wider = true;
            rules.widerThreats(depth, moves);
            if (moves.empty()) verdict.outcome = NodeVerdict::Lost;
        }
    }
    ProofNumbers numbers{};
    bool decided = true;
    if (verdict.outcome == NodeVerdict::Won)
        numbers = depth >= verdict.movesToFive ? PROVED : DISPROVED;
    else if (verdict.outcome == NodeVerdict::Lost || (attackerToMove && depth < 2))
        numbers = DISPROVED;  // a threat and the five take two moves at least
    else
        decided = false;
    if (decided) {
        table_.store(key, numbers, verdict.winningMove, depth, 1);
        return numbers;
    }

    const Player mover = board_.sideToMove();
    const int childDepth = depthAfter(depth, attackerToMove);
    const std::size_t first = children_.size();
    const auto childKey = [&](int move) { return keyAfter(positionKey, mover, move); };
    // Among all threats, the defender's answers that refuted threats most
    // often first: one answer often refutes many, and showing that there is
    // no win takes one refuting answer to every threat.
    if (!attackerToMove && reach_.threatDepth > NARROW_THREAT_DEPTH)
        std::stable_sort(moves.squares.data(), moves.squares.data() + moves.count,
                         [&](int a, int b) { return refutations_[a] > refutations_[b]; });
    for (const int move : moves) table_.prefetch(childKey(move));
    for (const int move : moves) {
        const MoveHint hint = attackerToMove ? hintOf(board_, move, attacker) : REPLY_HINT;
        const std::optional<TableHit> entry = table_.find(childKey(move));
        children_.push_back({static_cast<std::int16_t>(move), hint,
                             entry && holdsFor(*entry, childDepth) ? entry->numbers : firstNumbers(hint)});
    }
    if (attackerToMove && !wider && rules.widens(kind, depth)) {
        const std::optional<TableHit> entry = table_.find(key ^ WIDER_THREATS_KEY);
        children_.push_back({WIDER_THREATS, WIDER_HINT,
                             entry && holdsFor(*entry, depth) ? entry->numbers : firstNumbers(WIDER_HINT)});
    }
    const std::size_t last = children_.size();

    int best = -1;
    for (;;) {
        // The side to move takes the least of its own number; the other
        // number adds up over the children.
        ProofNumber least = INFINITE_PROOF;
        ProofNumber second = INFINITE_PROOF;
        ProofNumber total = 0;
        std::size_t chosen = first;
        for (std::size_t i = first; i < last; ++i) {
            const ProofNumbers& n = children_[i].numbers;
            const ProofNumber own = attackerToMove ? n.pn : n.dn;
            total = addProof(total, attackerToMove ? n.dn : n.pn);
            if (own < least) {
                second = least;
                least = own;
                chosen = i;
            } else if (own < second) {
                second = own;
            }
        }
        numbers = attackerToMove ? ProofNumbers{least, total} : ProofNumbers{total, least};
        best = children_[chosen].move;
        if (numbers.decided() || numbers.pn >= threshold.pn || numbers.dn >= threshold.dn) break;
        if (control_->stopped() || control_->nodes() >= nodeLimit_) break;

        const ProofNumbers& n = children_[chosen].numbers;
        const ProofNumbers childThreshold =
            attackerToMove ? ProofNumbers{pastSecond(threshold.pn, second), shareOf(threshold.dn, numbers.dn, n.dn)}
                           : ProofNumbers{shareOf(threshold.pn, numbers.pn, n.pn), pastSecond(threshold.dn, second)};
        if (first == 0 && showsNumbers_) control_->showNumbers(reportedNumber(numbers.pn), reportedNumber(numbers.dn));
        ProofNumbers found;
        if (best == WIDER_THREATS) {
            found = search(kind, attacker, childThreshold, depth, true);
        } else {
            board_.makeMove(best);
            found = search(kind, attacker, childThreshold, childDepth);
            board_.unmakeMove();
        }
        children_[chosen].numbers = found;
    }
    children_.resize(first);
    if (!attackerToMove && numbers.disproved() && best >= 0) ++refutations_[best];
    table_.store(key, numbers, best, depth, control_->nodes() - startNodes);
    return numbers;
}

std::optional<SquareSet> ProofSearch::proofSquares(ThreatKind kind, int depth) {
    const ThreatReach reach = std::exchange(reach_, lineReach_);
    SearchControl walkControl(LINE_BUDGET);
    SearchControl* const solveControl = std::exchange(control_, &walkControl);
    SquareSet squares;
    std::uint64_t visits = 0;
    const bool whole = collectProof(kind, board_.sideToMove(), depth, squares, visits);
    control_ = solveControl;
    reach_ = reach;
    if (!whole) return std::nullopt;
    return squares;
}

bool ProofSearch::collectProof(ThreatKind kind, Player attacker, int depth, SquareSet& squares,
                               std::uint64_t& visits) {
    if (++visits > MOST_PROOF_VISITS) return false;
    const bool attackerToMove = board_.sideToMove() == attacker;
    const MoveSets& own = board_.moves(attacker);
    MoveList moves;
    ThreatMoves rules = this->rules();
    const NodeVerdict verdict = attackerToMove ? rules.attacker(kind, depth, moves) : rules.defender(kind, depth, moves);
    if (verdict.outcome == NodeVerdict::Lost) return false;
    if (verdict.outcome == NodeVerdict::Won) {
        if (depth < verdict.movesToFive) return false;
        // The winning move and its five squares; where the defender is to
        // move, every winning move of the attacker's, since no answer spoils
        // them all.
        squares |= own.fives;
        squares |= own.wins;
        if (verdict.winningMove < 0) return true;
        squares.insert(verdict.winningMove);
        board_.makeMove(verdict.winningMove);
        squares |= own.fives;
        board_.unmakeMove();
        return true;
    }
    const int childDepth = depthAfter(depth, attackerToMove);
    const auto proved = [&](int move) {
        const std::optional<TableHit> entry = table_.find(keyAfter(keyOf(kind, attacker), board_.sideToMove(), move));
        return entry && entry->numbers.proved() && holdsFor(*entry, childDepth);
    };
    const auto below = [&](int move) {
        squares.insert(move);
        board_.makeMove(move);
        const bool whole = collectProof(kind, attacker, childDepth, squares, visits);
        board_.unmakeMove();
        return whole;
    };
    if (attackerToMove) {
        if (kind == ThreatKind::Threats) {
            const std::optional<TableHit> fours = table_.find(keyOf(ThreatKind::Fours, attacker));
            if (fours && fours->numbers.proved() && holdsFor(*fours, depth)) {
                // The rest is a win by fours: its line and last five squares.
                const std::vector<int> line = FoursSearch(board_, table_, *control_).winningLine(attacker, depth, LINE_BUDGET.maxNodes);
                if (line.empty()) return false;
                for (const int move : line) {
                    squares.insert(move);
                    board_.makeMove(move);
                }
                squares |= own.fives;
                for (std::size_t i = 0; i < line.size(); ++i) board_.unmakeMove();
                return true;
            }
        }
        if (moves.empty() || !std::any_of(moves.begin(), moves.end(), proved)) {
            if (!rules.widens(kind, depth)) return false;
            rules.widerThreats(depth, moves);
        }
        const auto next = std::find_if(moves.begin(), moves.end(), proved);
        return next != moves.end() && below(*next);
    }
    // The defender: what his answers were chosen against, then every answer.
    if (kind == ThreatKind::Threats && own.fives.empty()) {
        squares |= own.wins;
        for (const int move : rules.lineAfterPass(std::min(reach_.threatDepth, depth))) squares.insert(move);
    }
    return std::all_of(moves.begin(), moves.end(), [&](int move) { return proved(move) && below(move); });
}

std::vector<int> ProofSearch::winningLine(ThreatKind kind, int depth) {
    // The line of the threats the proof was found with.
    const ThreatReach reach = std::exchange(reach_, lineReach_);
    SearchControl lineControl(LINE_BUDGET);
    SearchControl* const solveControl = std::exchange(control_, &lineControl);
    const Player attacker = board_.sideToMove();
    std::vector<int> line;
    int played = 0;
    bool searchedAgain = false;
    const auto play = [&](int move) {
        board_.makeMove(move);
        line.push_back(move);
        ++played;
        searchedAgain = false;
    };
    while (line.size() < BOARD_SQUARES) {
        const bool attackerToMove = board_.sideToMove() == attacker;
        MoveList moves;
        ThreatMoves rules = this->rules();
        const NodeVerdict verdict =
            attackerToMove ? rules.attacker(kind, depth, moves) : rules.defender(kind, depth, moves);
        if (verdict.outcome == NodeVerdict::Lost) break;
        if (verdict.outcome == NodeVerdict::Won) {
            if (attackerToMove && verdict.movesToFive == 1) {
                line.push_back(verdict.winningMove);
                break;
            }
            // The attacker's move that leaves two five squares; the
            // defender's block of the first of them (or, when nothing he can
            // do helps, his move on the square of the attacker's winning move).
            const int move = !attackerToMove && verdict.movesToFive == 1
                                 ? board_.moves(attacker).fives.first()
                                 : verdict.winningMove;
            play(move);
            depth = depthAfter(depth, attackerToMove);
            continue;
        }
        const int childDepth = depthAfter(depth, attackerToMove);
        if (attackerToMove && kind == ThreatKind::Threats) {
            const std::optional<TableHit> fours = table_.find(keyOf(ThreatKind::Fours, attacker));
            if (fours && fours->numbers.proved() && holdsFor(*fours, depth)) {
                kind = ThreatKind::Fours;  // the rest of the line is a win by fours
                continue;
            }
        }
        // The attacker's first proved move; the defender's reply that took
        // the most work to refute.
        int next = -1;
        std::uint32_t mostWork = 0;
        const std::uint64_t key = keyOf(kind, attacker);
        if (attackerToMove && rules.widens(kind, depth)) {
            // The proof may go through a threat that a search of fours found.
            const std::optional<TableHit> wider = table_.find(key ^ WIDER_THREATS_KEY);
            if (moves.empty() || (wider && wider->numbers.proved() && holdsFor(*wider, depth))) {
                MoveList more;
                rules.widerThreats(depth, more);
                for (const int move : more) moves.add(move);
            }
        }
        for (const int move : moves) {
            const std::optional<TableHit> entry =
                table_.find(keyAfter(key, board_.sideToMove(), move));
            const bool proved = entry && entry->numbers.proved() && holdsFor(*entry, childDepth);
            if (attackerToMove && proved) {
                next = move;
                break;
            }
            if (!attackerToMove && !proved) {
                next = -1;
                break;
            }
            if (!attackerToMove && (next < 0 || entry->work > mostWork)) {
                next = move;
                mostWork = entry->work;
            }
        }
        if (next >= 0) {
            play(next);
            depth = childDepth;
            continue;
        }
        // Table entries of the proof were overwritten: prove the node again.
        if (searchedAgain) break;
        if (kind == ThreatKind::Fours) {
            // The search of fours says its proving move itself.
            FoursSearch fours(board_, table_, *control_);
            if (!fours.prove(attacker, depth).proved() || fours.provingMove() < 0) break;
            play(fours.provingMove());
            depth = childDepth;
            continue;
        }
        if (!search(kind, attacker, {INFINITE_PROOF, INFINITE_PROOF}, depth).proved()) break;
        searchedAgain = true;
    }
    for (; played > 0; --played) board_.unmakeMove();
    control_ = solveControl;
    reach_ = reach;
    return line;
}

}  // namespace vorek
