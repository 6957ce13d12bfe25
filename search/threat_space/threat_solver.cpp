#include "search/threat_space/threat_solver.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>

#include "search/process_memory.h"
#include "search/threat_space/line_spoilers.h"
#include "search/threat_space/proof_reach.h"
#include "search/threat_space/search_key.h"

namespace vorek {

namespace {

// Room kept beside the table for everything else the process holds.
constexpr std::size_t MEMORY_MARGIN = std::size_t{32} << 20;
constexpr std::size_t SMALLEST_TABLE = std::size_t{64} << 10;
// Room for entries a node budget may fill: a search stores one a node, and a
// table half full keeps nearly all it is given.
constexpr std::size_t ENTRIES_PER_NODE = 2;
// Fours of the side that is shown lost, each met by its forced block, after
// which he is to move again, looked at one inside another at most.
constexpr int FOURS_BEFORE_A_DEFENCE = 3;
// The first search of each move that may hold, and how much longer each
// next round's is.
constexpr std::uint64_t FIRST_LOOK_NODES = 2000;
constexpr std::uint64_t LOOK_GROWTH = 8;
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
      search_(board_, table_, control_, ThreatReach{.threatDepth = options.threatDepth}) {
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
    std::vector<int> foursLine;
    std::optional<SquareSet> proof;
    if (theirs.fives.empty() && theirs.wins.empty()) {
        board_.makePass();
        const ProofNumbers pass = search_.prove(options_.kind, options_.depth);
        if (pass.proved()) {
            threatLine = search_.winningLine(options_.kind, options_.depth);
            proof = search_.proofSquares(options_.kind, options_.depth);
        }
        board_.unmakeMove();
        findings_.threatened = pass.proved();
        if (pass.proved()) foursLine = lineOfFoursAfterPass(options_.depth);
        if (control_.stopped()) return {SolveResult::Unknown, {INFINITE_PROOF, 1}};
    } else {
        findings_.threatened = true;
    }

    std::vector<int> candidates = movesToRefute(threatLine, foursLine, options_.depth);
    if (proof) candidates = movesThatMayMatter(board_, candidates, *proof);
    if (candidates.empty()) {
        // Every move loses at once, or the board is full: a draw.
        if (board_.empties().empty()) return {SolveResult::Unknown, {INFINITE_PROOF, INFINITE_PROOF}};
        return lostAtOnce();
    }
    const Refutation refutation = refuteEach(candidates, options_.depth, 0, UINT64_MAX);
    if (refutation.numbers.disproved()) {
        findings_.holdingMove = refutation.move;
        return {SolveResult::Unknown, {INFINITE_PROOF, INFINITE_PROOF}, -1, {refutation.move}};
    }
    if (!refutation.numbers.proved()) return {SolveResult::Unknown, refutation.numbers, -1, {refutation.move}};
    // The toughest move, with the fours of the side to move and their blocks
    // that came after it, then the other side's win from there.
    Verdict verdict{SolveResult::Disproved, DISPROVED, -1, {refutation.move}};
    verdict.line.insert(verdict.line.end(), refutation.fours.begin(), refutation.fours.end());
    for (const int move : verdict.line) board_.makeMove(move);
    const std::vector<int> line = search_.winningLine(options_.kind, depthAfterFours(refutation.fours));
    verdict.foursOnly = provedByFours();
    for (std::size_t i = 0; i < verdict.line.size(); ++i) board_.unmakeMove();
    verdict.line.insert(verdict.line.end(), line.begin(), line.end());
    return verdict;
}

int ThreatSolver::depthAfterFours(const std::vector<int>& fours) const {
    // Each block is a move of the other side.
    int depth = options_.depth;
    for (std::size_t i = 0; i < fours.size(); i += 2) depth = depthAfter(depth, true);
    return depth;
}

ThreatSolver::Refutation ThreatSolver::refuteEach(const std::vector<int>& moves, int depth, int fours,
                                                  std::uint64_t limit) {
    // One move that holds is enough, and one is often quick to show where
    // the other side's wins after the moves before it take long to prove:
    // every move gets a short search first, then a longer one, and so on.
    std::vector<int> open = moves;
    // A four only puts off the question a move (its block is forced), and
    // answering it means answering every move after the block: the other
    // moves first.
    const SquareSet& ownFours = board_.moves(board_.sideToMove()).fours;
    std::stable_partition(open.begin(), open.end(), [&](int move) { return !ownFours.contains(move); });
    std::vector<std::uint64_t> work(moves.size(), 0);
    Refutation toughest{PROVED, -1};
    std::uint64_t mostWork = 0;
    for (std::uint64_t look = FIRST_LOOK_NODES;; look *= LOOK_GROWTH) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < open.size(); ++i) {
            const int move = open[i];
            const auto left = static_cast<ProofNumber>(open.size() - i + kept);
            if (fours == 0) control_.showNumbers(INFINITE_NUMBER, reportedNumber(left));
            const std::uint64_t before = control_.nodes();
            std::vector<int> after;
            const ProofNumbers answer = answerTo(move, depth, fours, std::min(limit, control_.nodes() + look), after);
            work[i] += control_.nodes() - before;
            if (answer.disproved()) return {DISPROVED, move};
            if (control_.stopped() || control_.nodes() >= limit) return {{INFINITE_PROOF, left}, move};
            if (!answer.proved()) {
                open[kept] = move;
                work[kept++] = work[i];
                continue;
            }
            if (toughest.move < 0 || work[i] > mostWork) {
                toughest = {PROVED, move, std::move(after)};
                mostWork = work[i];
            }
        }
        open.resize(kept);
        work.resize(kept);
        if (open.empty()) return toughest;
    }
}

int ThreatSolver::forcedBlock(int fours) const {
    // The side that just moved made a four, the other side has no five
    // square: the block is his only move that does not lose at once.
    const Player other = board_.sideToMove();
    const MoveSets& four = board_.moves(opponent(other));
    if (options_.kind != ThreatKind::Threats || fours >= FOURS_BEFORE_A_DEFENCE || four.fives.count() != 1 ||
        !board_.moves(other).fives.empty())
        return -1;
    return four.fives.first();
}

ProofNumbers ThreatSolver::answerTo(int move, int depth, int fours, std::uint64_t limit, std::vector<int>& after) {
    board_.makeMove(move);
    ProofNumbers answer;
    if (const int block = forcedBlock(fours); block >= 0) {
        // After the block the side to move is to move again, with the other
        // side's threats standing: his four lost nothing where every move
        // he then has loses too. (A search of threats would instead want the
        // block itself to threaten.)
        board_.makeMove(block);
        const Refutation next = everyMoveLoses(depthAfter(depth, true), fours + 1, limit);
        board_.unmakeMove();
        answer = next.numbers;
        if (answer.proved() && next.move >= 0) {
            after = {block, next.move};
            after.insert(after.end(), next.fours.begin(), next.fours.end());
        }
    } else {
        answer = search_.prove(options_.kind, depth, limit);
    }
    board_.unmakeMove();
    return answer;
}

ThreatSolver::Refutation ThreatSolver::everyMoveLoses(int depth, int fours, std::uint64_t limit) {
    const Player mover = board_.sideToMove();
    // His five, or no move left to the other side's five: nothing is lost.
    if (!board_.moves(mover).fives.empty() || depth < 1) return {DISPROVED, board_.moves(mover).fives.first()};
    if (board_.moves(opponent(mover)).fives.severalSquares()) return {PROVED, -1};
    const std::vector<int> moves = movesToRefute({}, lineOfFoursAfterPass(depth), depth);
    // None: every move loses at once, or the board is full.
    if (moves.empty()) return {board_.empties().empty() ? DISPROVED : PROVED, -1};
    return refuteEach(moves, depth, fours, limit);
}

std::vector<int> ThreatSolver::lineOfFoursAfterPass(int depth) {
    if (options_.kind == ThreatKind::Fours) return {};
    return search_.rules().lineAfterPass(depth);
}

std::vector<int> ThreatSolver::movesToRefute(const std::vector<int>& threatLine, const std::vector<int>& foursLine,
                                             int depth) {
    const Player mover = board_.sideToMove();
    const MoveSets& theirs = board_.moves(opponent(mover));
    if (!theirs.fives.empty()) return {theirs.fives.first()};
    // A move that leaves two five squares wins in two moves.
    if (!theirs.wins.empty() && depth >= 2) {
        // The replies of a defender to a winning move: every other move loses.
        MoveList replies;
        if (search_.rules().defender(ThreatKind::Threats, depth, replies).outcome != NodeVerdict::Open)
            return {};
        return {replies.begin(), replies.end()};
    }
    std::vector<int> moves;
    SquareSet listed;
    const auto add = [&](int s) {
        if (!board_.isEmpty(s) || listed.contains(s)) return;
        listed.insert(s);
        moves.push_back(s);
    };
    const MoveSets& own = board_.moves(mover);
    if (!foursLine.empty()) {
        // Every other move leaves the other side's line of fours winning.
        board_.makePass();
        const SquareSet spoilers = lineSpoilers(board_, foursLine);
        board_.unmakeMove();
        for (const int s : foursLine) add(s);
        spoilers.forEach(add);
        own.fours.forEach(add);
        return moves;
    }
    // Any move may hold: those that stop the other side's win if he were to
    // move first, the side to move's own threats and the squares near the
    // stones first.
    for (const int s : threatLine) add(s);
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
