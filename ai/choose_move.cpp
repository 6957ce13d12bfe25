#include "ai/choose_move.h"

#include <algorithm>
#include <cstdlib>

#include "board/candidates.h"
#include "search/solver.h"

namespace vorek {

namespace {

constexpr int CENTRE_COLUMN = 10;
constexpr int CENTRE_ROW = 10;

bool isEmpty(const V2Board& board, int s) { return isEmptySquare(board.squares[s]); }

std::optional<int> firstListedEmpty(const V2Board& board) {
    for (int i = 0; i < CandidateList.count; ++i)
        if (isEmpty(board, CandidateList.squares[i])) return CandidateList.squares[i];
    return std::nullopt;
}

// Chebyshev distance from the centre square; ties go to the lower index.
std::optional<int> nearestCentre(const V2Board& board) {
    std::optional<int> best;
    int bestDistance = BOARD_SIDE;
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        const int distance = std::max(std::abs(columnOf(s) - CENTRE_COLUMN), std::abs(rowOf(s) - CENTRE_ROW));
        if (isEmpty(board, s) && distance < bestDistance) {
            best = s;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<int> generatorMove(V2Board& board) {
    generateCandidates(board);
    if (const std::optional<int> listed = firstListedEmpty(board)) return listed;
    return nearestCentre(board);
}

std::optional<int> provedMove(StatNode& root, const SolvingLimits& limits) {
    // The solver reads 0 seconds as no limit; without time only a root that
    // is decided already (a five at once) is looked at.
    if (limits.time <= limits.time.zero() && !root.isDecided()) return std::nullopt;
    const SolveReport report =
        solve(root, SolveBudget{.maxNodes = limits.nodes, .maxSeconds = limits.time.count()});
    if (report.result != SolveResult::Proved || report.move < 0) return std::nullopt;
    return report.move;
}

}  // namespace

std::optional<int> chooseMove(StatNode& root, const SolvingLimits& limits) {
    if (const std::optional<int> proved = provedMove(root, limits)) return proved;
    return generatorMove(*root.board);
}

}  // namespace vorek
