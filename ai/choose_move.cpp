#include "ai/choose_move.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "board/candidates.h"
#include "search/solver.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"

namespace vorek {

namespace {

constexpr int CENTRE_COLUMN = 10;
constexpr int CENTRE_ROW = 10;

bool isEmpty(const V2Board& board, int s) { return board.isEmpty(s); }

std::optional<int> firstListedEmpty(const V2Board& board, const CandidateList& candidates) {
    for (const int square : candidates)
        if (isEmpty(board, square)) return square;
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

std::optional<int> generatorMove(const V2Board& board) {
    CandidateList candidates;
    generateCandidates(board, candidates);
    if (const std::optional<int> listed = firstListedEmpty(board, candidates)) return listed;
    return nearestCentre(board);
}

struct Solved {
    SolveReport report;
    ThreatFindings findings;
};

// The solve by threats: a move is played as winning only when the win is real.
std::optional<Solved> solveWithin(const V2Board& board, const SolvingLimits& limits) {
    const ThreatBoard position = threatBoardOf(board);
    // The solver reads 0 seconds as no limit; without time only a five at
    // once is looked at.
    if (limits.time <= limits.time.zero()) {
        const int five = position.moves(position.sideToMove()).fives.first();
        if (five < 0) return std::nullopt;
        Solved solved;
        solved.report.result = position.sideToMove() == PLAYER1 ? SolveResult::Proved : SolveResult::Disproved;
        solved.report.move = five;
        solved.report.line = {five};
        return solved;
    }
    const SolveBudget budget{.maxNodes = limits.nodes, .maxSeconds = limits.time.count(), .maxMemoryBytes = limits.memory};
    Solved solved;
    solved.report = solveByThreats(position, budget, {}, &solved.findings);
    return solved;
}

}  // namespace

MoveChoice chooseMove(const V2Board& position, const SolvingLimits& limits) {
    MoveChoice choice;
    const std::optional<Solved> solved = solveWithin(position, limits);
    if (solved) choice.solve = solved->report;
    // The root's side to move is player 1, whose verdict the report gives.
    if (solved && solved->report.result == SolveResult::Proved && solved->report.move >= 0) {
        choice.move = solved->report.move;
    } else if (solved && solved->findings.threatened && solved->findings.holdingMove >= 0) {
        choice.move = solved->findings.holdingMove;
        choice.defends = true;
    } else if (solved && solved->report.result == SolveResult::Disproved && !solved->report.line.empty()) {
        choice.move = solved->report.line.front();
    } else {
        choice.move = generatorMove(position);
    }
    return choice;
}

std::string describeChoice(const MoveChoice& choice, std::chrono::milliseconds turn) {
    std::string text;
    if (choice.solve) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", choice.solve->seconds);
        text = "solve ";
        text += resultText(choice.solve->result);
        text += ", " + std::to_string(choice.solve->nodes) + " nodes in " + seconds + " s";
    } else {
        text = "no time to solve";
    }
    text += ", turn " + std::to_string(turn.count()) + " ms";
    return text;
}

}  // namespace vorek
