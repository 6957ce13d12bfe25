#include "search/threat_space/threat_solver.h"

#include <algorithm>

#include "search/process_memory.h"

namespace vorek {

namespace {

// Room kept beside the table for everything else the process holds.
constexpr std::size_t MEMORY_MARGIN = std::size_t{32} << 20;
constexpr std::size_t SMALLEST_TABLE = std::size_t{64} << 10;
// Room for entries a node budget may fill: a search stores one a node, and a
// table half full keeps nearly all it is given.
constexpr std::size_t ENTRIES_PER_NODE = 2;
// A line by the table's best moves, while undecided, goes no deeper.
constexpr std::size_t MAIN_LINE_PLIES = 40;
// Whether a win found by threats is one by fours too: a search of fours of
// at most this many nodes tells (most often from the table at once).
constexpr std::uint64_t FOURS_CHECK_NODES = 4096;

SolveResult opposite(SolveResult result) {
    switch (result) {
        case SolveResult::Proved: return SolveResult::Disproved;
        case SolveResult::Disproved: return SolveResult::Proved;
        case SolveResult::Unknown: break;
    }
    return SolveResult::Unknown;
}

// Squares near a stone: two steps or fewer in any of the eight directions.
SquareSet nearStones(const ThreatBoard& board) {
    SquareSet near;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (board.isEmpty(s)) continue;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (onBoard(columnOf(s) + dx, rowOf(s) + dy)) near.insert(squareAt(columnOf(s) + dx, rowOf(s) + dy));
    }
    return near & board.empties();
}

}  // namespace

// The verdict for the side to move, told from his side: pn 0 when he wins.
struct ThreatSolver::Verdict {
    Verdict(SolveResult result, ProofNumbers numbers, int move = -1, std::vector<int> line = {})
        : result(result), numbers(numbers), move(move), line(std::move(line)) {}

    SolveResult result;
    ProofNumbers numbers;
    int move;
    std::vector<int> line;
    bool foursOnly = false;  // decided: the winner's win found is by fours alone
};

std::size_t tableBytesFor(const SolveBudget& budget) {
    const std::size_t limit = memoryLimitOf(budget);
    const std::size_t held = currentMemory() + MEMORY_MARGIN;
    std::size_t room = limit > held ? limit - held : 0;
    if (budget.maxNodes) {
        constexpr std::uint64_t ENTRY_BYTES = TranspositionTable::BUCKET_BYTES / TranspositionTable::BUCKET;
        const std::uint64_t filled = budget.maxNodes * ENTRIES_PER_NODE * ENTRY_BYTES;
        room = static_cast<std::size_t>(std::min<std::uint64_t>(room, filled));
    }
    return std::max(room, SMALLEST_TABLE);
}

ThreatSolver::ThreatSolver(const ThreatBoard& position, const SolveBudget& budget, const ThreatSolveOptions& options,
                           TranspositionTable* table)
    : SolveJob(budget, MemoryUse::Fixed),
      board_(position),
      options_(options),
      ownTable_(table ? nullptr : std::make_unique<TranspositionTable>(tableBytesFor(budget))),
      table_(table ? *table : *ownTable_),
      search_(board_, table_, control_) {
    if (table) table_.clear();
    // The progress, as the report, is player 1's.
    if (board_.sideToMove() == PLAYER0) control_.swapNumbers();
}

ThreatSolver::~ThreatSolver() = default;

SolveReport ThreatSolver::run() {
    // The budget may be spent before anything is done: a cancel, the memory.
    const Verdict verdict = control_.checkNow() ? verdictForMover() : Verdict{SolveResult::Unknown, {}};
    control_.publish();
    SolveReport report;
    const bool player1 = board_.sideToMove() == PLAYER1;
    report.result = player1 ? verdict.result : opposite(verdict.result);
    report.stopped = verdict.result == SolveResult::Unknown ? control_.reason() : SolveStop::Settled;
    report.move = player1 ? verdict.move : -1;
    report.pn = reportedNumber(player1 ? verdict.numbers.pn : verdict.numbers.dn);
    report.dn = reportedNumber(player1 ? verdict.numbers.dn : verdict.numbers.pn);
    report.nodes = control_.nodes();
    report.seconds = control_.seconds();
    report.rate = report.seconds > 0 ? static_cast<double>(report.nodes) / report.seconds : 0;
    report.line = verdict.line;
    if (verdict.result != SolveResult::Unknown) {
        report.foursOnly = verdict.foursOnly;
        // The line starts with the winner's move when the side to move wins.
        const std::size_t first = verdict.result == SolveResult::Proved ? 0 : 1;
        report.winnerMoves = static_cast<int>((verdict.line.size() + 1 - first) / 2);
    }
    return report;
}

ThreatSolver::Verdict ThreatSolver::verdictForMover() {
    const Player mover = board_.sideToMove();
    if (const std::optional<Player> owner = playerWithFive(board_))
        return *owner == mover ? Verdict{SolveResult::Proved, PROVED} : Verdict{SolveResult::Disproved, DISPROVED};
    // A five at once is a fact, not a search.
    if (const int five = board_.moves(mover).fives.first(); five >= 0 && options_.depth >= 1) {
        Verdict verdict{SolveResult::Proved, PROVED, five, {five}};
        verdict.foursOnly = true;
        return verdict;
    }

    const ProofNumbers attack = search_.prove(options_.kind, options_.depth);
    if (attack.proved()) {
        std::vector<int> line = search_.winningLine(options_.kind, options_.depth);
        Verdict verdict{SolveResult::Proved, PROVED, line.empty() ? -1 : line.front(), line};
        verdict.foursOnly = provedByFours();
        return verdict;
    }
    if (!attack.disproved()) return {SolveResult::Unknown, attack, -1, mainLine(options_.kind)};
    return disproofForMover();
}

ThreatSolver::Verdict ThreatSolver::lostAtOnce() {
    const MoveSets& theirs = board_.moves(opponent(board_.sideToMove()));
    const int tried = theirs.fives.empty() ? theirs.wins.first() : theirs.fives.first();
    Verdict verdict{SolveResult::Disproved, DISPROVED, -1, {tried}};
    board_.makeMove(tried);
    const std::vector<int> line = search_.winningLine(options_.kind, options_.depth);
    verdict.foursOnly = provedByFours();
    board_.unmakeMove();
    verdict.line.insert(verdict.line.end(), line.begin(), line.end());
    return verdict;
}

ThreatSolver::Verdict ThreatSolver::disproofForMover() {
    const Player mover = board_.sideToMove();
    const MoveSets& theirs = board_.moves(opponent(mover));
    if (theirs.fives.severalSquares()) return lostAtOnce();

    // From here on the progress shows how many moves are left to refute.
    search_.showNumbers(false);
    control_.showNumbers(INFINITE_NUMBER, 1);
    // Should the side to move pass: where the other side's win would go.
    std::vector<int> threatLine;
    if (theirs.fives.empty() && theirs.wins.empty()) {
        board_.setSideToMove(opponent(mover));
        const ProofNumbers pass = search_.prove(options_.kind, options_.depth);
        if (pass.proved()) threatLine = search_.winningLine(options_.kind, options_.depth);
        board_.setSideToMove(mover);
        findings_.threatened = pass.proved();
        if (control_.stopped()) return {SolveResult::Unknown, {INFINITE_PROOF, 1}};
    } else {
        findings_.threatened = true;
    }

    const std::vector<int> candidates = movesToRefute(threatLine);
    if (candidates.empty()) {
        // Every move loses at once, or the board is full: a draw.
        if (board_.empties().empty()) return {SolveResult::Unknown, {INFINITE_PROOF, INFINITE_PROOF}};
        return lostAtOnce();
    }
    auto left = static_cast<ProofNumber>(candidates.size());
    int toughest = -1;
    std::uint64_t mostWork = 0;
    for (const int move : candidates) {
        control_.showNumbers(INFINITE_NUMBER, reportedNumber(left));
        const std::uint64_t before = control_.nodes();
        board_.makeMove(move);
        const ProofNumbers answer = search_.prove(options_.kind, options_.depth);
        board_.unmakeMove();
        if (answer.disproved()) {
            findings_.holdingMove = move;
            return {SolveResult::Unknown, {INFINITE_PROOF, INFINITE_PROOF}, -1, {move}};
        }
        if (!answer.proved()) return {SolveResult::Unknown, {INFINITE_PROOF, left}, -1, {move}};
        --left;
        if (toughest < 0 || control_.nodes() - before > mostWork) {
            toughest = move;
            mostWork = control_.nodes() - before;
        }
    }
    Verdict verdict{SolveResult::Disproved, DISPROVED, -1, {toughest}};
    board_.makeMove(toughest);
    const std::vector<int> line = search_.winningLine(options_.kind, options_.depth);
    verdict.foursOnly = provedByFours();
    board_.unmakeMove();
    verdict.line.insert(verdict.line.end(), line.begin(), line.end());
    return verdict;
}

std::vector<int> ThreatSolver::movesToRefute(const std::vector<int>& threatLine) {
    const Player mover = board_.sideToMove();
    const MoveSets& theirs = board_.moves(opponent(mover));
    if (!theirs.fives.empty()) return {theirs.fives.first()};
    if (!theirs.wins.empty()) {
        // The replies of a defender to a winning move: every other move loses.
        MoveList replies;
        if (defenderNode(board_, ThreatKind::Threats, replies).outcome != NodeVerdict::Open) return {};
        return {replies.begin(), replies.end()};
    }
    // Any move may hold: those that stop the other side's win if he were to
    // move first, the side to move's own threats and the squares near the
    // stones first.
    std::vector<int> moves;
    SquareSet listed;
    const auto add = [&](int s) {
        if (!board_.isEmpty(s) || listed.contains(s)) return;
        listed.insert(s);
        moves.push_back(s);
    };
    for (const int s : threatLine) add(s);
    const MoveSets& own = board_.moves(mover);
    own.fours.forEach(add);
    own.threes.forEach(add);
    nearStones(board_).forEach(add);
    board_.empties().forEach(add);
    return moves;
}

bool ThreatSolver::provedByFours() {
    if (options_.kind == ThreatKind::Fours) return true;
    return search_.prove(ThreatKind::Fours, options_.depth, control_.nodes() + FOURS_CHECK_NODES).proved();
}

std::vector<int> ThreatSolver::mainLine(ThreatKind kind) {
    const Player attacker = board_.sideToMove();
    std::vector<int> line;
    while (line.size() < MAIN_LINE_PLIES) {
        const std::optional<TableHit> entry = table_.find(search_.keyOf(kind, attacker));
        if (!entry || entry->best < 0 || !board_.isEmpty(entry->best)) break;
        board_.makeMove(entry->best);
        line.push_back(entry->best);
    }
    for (std::size_t i = 0; i < line.size(); ++i) board_.unmakeMove();
    return line;
}

SolveReport solveByThreats(const ThreatBoard& position, const SolveBudget& budget, const ThreatSolveOptions& options,
                           ThreatFindings* findings) {
    ThreatSolver solver(position, budget, options);
    SolveReport report = solver.run();
    if (findings) *findings = solver.findings();
    return report;
}

}  // namespace vorek
