#include "ai/choose_move.h"

#include <algorithm>
#include <cstdlib>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "threats/pattern_tables.h"

namespace vorek {

namespace {

constexpr int CENTRE_COLUMN = 10;
constexpr int CENTRE_ROW = 10;

bool isEmpty(const V2Board& board, int s) { return isEmptySquare(board.squares[s]); }

bool completesFive(const V2Board& board, int s, int player) {
    scanSquare(board, s);
    for (int line = 0; line < LINES; ++line)
        if (cn(lineThreats[lineThreatIndex(player, line)]) == 0) return true;
    return false;
}

std::optional<int> firstFive(const V2Board& board) {
    const int mover = board.sideToMove ? 1 : 0;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (isEmpty(board, s) && completesFive(board, s, mover)) return s;
    return std::nullopt;
}

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

}  // namespace

std::optional<int> chooseMove(V2Board& board) {
    if (evaluateAll(board)) return firstFive(board);
    generateCandidates(board);
    if (const std::optional<int> listed = firstListedEmpty(board)) return listed;
    return nearestCentre(board);
}

}  // namespace vorek
