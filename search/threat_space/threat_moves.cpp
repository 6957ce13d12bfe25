#include "search/threat_space/threat_moves.h"

#include <algorithm>
#include <utility>

#include "search/threat_space/fours_search.h"
#include "search/threat_space/line_spoilers.h"
#include "search/threat_space/search_key.h"

namespace vorek {

namespace {

constexpr NodeVerdict LOST{NodeVerdict::Lost};

// A threat that is no four and the win by fours it threatens take three
// moves of the attacker at least.
constexpr int SHORTEST_WIN_BY_A_THREAT = 3;

int lesser(int depth, int other) { return std::min(depth, other); }

}  // namespace

ThreatMoves::ThreatMoves(ThreatBoard& board, TranspositionTable& table, SearchControl& control,
                         const ThreatReach& reach)
    : reach_(reach), board_(board), table_(table), control_(control) {}

int ThreatMoves::threatens(int move, int depth) {
    const Player attacker = board_.sideToMove();
    // Without a four there is no win by fours. The move makes none itself;
    // it adds one where it leaves a line one move from a four.
    if (board_.moves(attacker).fours.empty() && !(board_.moveClass(move, attacker) & (MOVE_THREE | MOVE_CLOSED_THREE)))
        return 0;
    // The key after the move and a pass: one more stone, the same side to move.
    const std::uint64_t key = searchKey(board_, ThreatKind::Fours, attacker) ^ stoneKey(attacker, move);
    if (const std::optional<TableHit> entry = table_.find(key); entry && entry->numbers.decided() && holdsFor(*entry, depth))
        return entry->numbers.proved() ? entry->depth : 0;
    board_.makeMove(move);
    board_.makePass();
    int moves = 0;
    FoursSearch fours(board_, table_, control_);
    const ProofNumbers found = fours.prove(attacker, depth, control_.nodes() + reach_.testNodes);
    if (found.proved()) {
        moves = fours.provedMoves();
    } else if (!found.decided() && !control_.stopped()) {
        // The test ran out: no threat within this depth, here and whenever
        // the move is looked at again. No other search meets this position,
        // the attacker having moved twice.
        table_.store(key, DISPROVED, -1, depth, reach_.testNodes);
    }
    board_.unmakeMove();
    board_.unmakeMove();
    return moves;
}

std::vector<int> ThreatMoves::lineAfterPass(int depth) { return lineAfterPass(depth, reach_.testNodes); }

std::vector<int> ThreatMoves::lineAfterPass(int depth, std::uint64_t nodeLimit) {
    const Player other = opponent(board_.sideToMove());
    // Without a four there is no win by fours.
    if (board_.moves(other).fours.empty()) return {};
    board_.makePass();
    std::vector<int> line = FoursSearch(board_, table_, control_).winningLine(other, depth, nodeLimit);
    board_.unmakeMove();
    return line;
}

bool ThreatMoves::widens(ThreatKind kind, int depth) const {
    return kind == ThreatKind::Threats && depth >= SHORTEST_WIN_BY_A_THREAT &&
           board_.moves(opponent(board_.sideToMove())).fives.empty();
}

SquareSet ThreatMoves::allowedThreats() {
    // Were the attacker to pass and the defender win by fours, a move that
    // is no four must spoil the defender's line, or the defender plays it
    // and wins (lineSpoilers says why no other square can).
    const std::vector<int> theirs = lineAfterPass(UNLIMITED_DEPTH, reach_.narrowingNodes);
    if (theirs.empty()) return board_.empties();
    board_.makePass();
    const SquareSet spoilers = lineSpoilers(board_, theirs);
    board_.unmakeMove();
    return spoilers;
}

NodeVerdict ThreatMoves::attacker(ThreatKind kind, int depth, MoveList& moves) {
    const NodeVerdict verdict = attackerNode(board_, kind, moves);
    if (verdict.outcome != NodeVerdict::Open) return verdict;
    if (widens(kind, depth)) {
        // The threats that need no search of fours: the threes, and the
        // moves that leave two fours meeting on a square.
        const Player attacker = board_.sideToMove();
        SquareSet listed;
        for (const int move : moves) listed.insert(move);
        const SquareSet setups = doubleFourSetups(board_, attacker);
        SquareSet threats = (setups | board_.moves(attacker).threes) - listed;
        if (!threats.empty()) threats &= allowedThreats();
        (setups & threats).forEach([&](int move) { moves.add(move); });
        (threats - setups).forEach([&](int move) { moves.add(move); });
    }
    return moves.empty() && !widens(kind, depth) ? LOST : verdict;
}

void ThreatMoves::widerThreats(int depth, MoveList& moves) {
    const Player attacker = board_.sideToMove();
    const MoveSets& own = board_.moves(attacker);
    SquareSet candidates = squaresOnOwnLines(board_, attacker) & allowedThreats();
    candidates -= own.fours | own.threes | doubleFourSetups(board_, attacker);
    // Shortest win threatened first.
    std::pair<int, int> threats[BOARD_SQUARES];
    int count = 0;
    const int threatDepth = lesser(reach_.threatDepth, depthAfter(depth, true));
    candidates.forEach([&](int move) {
        if (const int length = threatens(move, threatDepth)) threats[count++] = {length, move};
    });
    std::stable_sort(threats, threats + count, [](const auto& a, const auto& b) { return a.first < b.first; });
    moves.count = 0;
    for (int i = 0; i < count; ++i) moves.add(threats[i].second);
}

NodeVerdict ThreatMoves::defender(ThreatKind kind, int depth, MoveList& moves) {
    const Player defender = board_.sideToMove();
    const MoveSets& own = board_.moves(defender);
    const MoveSets& theirs = board_.moves(opponent(defender));
    if (kind == ThreatKind::Fours || !own.fives.empty() || !theirs.fives.empty())
        return defenderNode(board_, kind, moves);

    // The attacker's last move made no four. Where it left him a move that
    // makes two five squares, the defender's answers must spoil every such
    // move (defenderNode) and also, both being exact, that one move's line.
    if (!theirs.wins.empty()) {
        const int win = theirs.wins.first();
        board_.makePass();
        const SquareSet spoilers = lineSpoilers(board_, {win});
        board_.unmakeMove();
        const NodeVerdict verdict = defenderNode(board_, kind, moves);
        if (verdict.outcome != NodeVerdict::Open) return verdict;
        int kept = 0;
        for (const int move : moves)
            if (spoilers.contains(move) || own.fours.contains(move)) moves.squares[kept++] = static_cast<std::int16_t>(move);
        moves.count = kept;
        return moves.empty() ? NodeVerdict{NodeVerdict::Won, 2, win} : verdict;
    }

    // Otherwise it threatens a win by fours, or nothing. Every answer that
    // does not spoil the line found and is no four of the defender's own
    // leaves that line winning (lineSpoilers says why).
    moves.count = 0;
    const std::vector<int> line = lineAfterPass(lesser(reach_.threatDepth, depth));
    if (line.empty()) return LOST;
    board_.makePass();
    const SquareSet spoilers = lineSpoilers(board_, line);
    board_.unmakeMove();
    // The squares of the line first, in its order: its first four's square
    // and the blocks most often hold.
    SquareSet listed;
    for (const int move : line) {
        if (!board_.isEmpty(move) || listed.contains(move)) continue;
        moves.add(move);
        listed.insert(move);
    }
    (spoilers - listed).forEach([&](int move) { moves.add(move); });
    listed |= spoilers;
    (own.fours - listed).forEach([&](int move) { moves.add(move); });
    return {};
}

}  // namespace vorek
