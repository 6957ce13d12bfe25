// Test helpers for the threat search: positions from board text, solves of
// them, and the solver as the proof checker's strategy.
#pragma once

#include <memory>

#include "board/v2board.h"
#include "search/solver.h"
#include "search/threat_space/threat_board.h"
#include "search/threat_space/threat_rules.h"
#include "tests/exhaustive_game.h"
#include "tests/proof_checker.h"

namespace vorek::testing {

// The position of the cells ('x' is player 1, 'o' player 0) with the stone's
// side to move.
ThreatBoard threatBoardOfCells(const Cells& cells, char toMove);

// The cells of the position's stones.
Cells cellsOfBoard(const ThreatBoard& board);

// The stone of the player: 'x' for player 1, 'o' for player 0.
constexpr char stoneOf(Player player) { return player == PLAYER1 ? 'x' : 'o'; }

// The engine's board of the cells, x (player 1) to move.
std::unique_ptr<V2Board> boardOfCells(const Cells& cells);

// The threat solver's verdict on the cells with the stone to move, player
// 1's as every solve's report: 'x' to move is player 1.
SolveReport solveCells(const Cells& cells, char toMove, std::uint64_t maxNodes,
                       ThreatKind kind = ThreatKind::Threats);

// The solver's winning move for the attacker to move, found by proving the
// position (a table kept between calls); -1 when it proves no win.
ProofChecker::Strategy solverStrategy(ThreatKind kind = ThreatKind::Threats);

}  // namespace vorek::testing
