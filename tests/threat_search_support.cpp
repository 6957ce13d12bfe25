#include "tests/threat_search_support.h"

#include "search/threat_space/proof_search.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::testing {

ThreatBoard threatBoardOfCells(const Cells& cells, char toMove) {
    ThreatBoard board;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (cells[s] != '.') board.place(s, cells[s] == 'x' ? PLAYER1 : PLAYER0);
    board.setSideToMove(toMove == 'x' ? PLAYER1 : PLAYER0);
    return board;
}

Cells cellsOfBoard(const ThreatBoard& board) {
    Cells cells;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        cells[s] = board.cell(s) == CELL_PLAYER1 ? 'x' : board.cell(s) == CELL_PLAYER0 ? 'o' : '.';
    return cells;
}

std::unique_ptr<V2Board> boardOfCells(const Cells& cells) {
    Stones stones;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (cells[s] != '.') stones.put(s, cells[s] == 'x' ? PLAYER1 : PLAYER0);
    return V2Board::fromStones(stones, PLAYER1);
}

SolveReport solveCells(const Cells& cells, char toMove, std::uint64_t maxNodes, ThreatKind kind) {
    SolveBudget budget;
    budget.maxNodes = maxNodes;
    return solveByThreats(threatBoardOfCells(cells, toMove), budget, {.kind = kind});
}

ProofChecker::Strategy solverStrategy(ThreatKind kind) {
    auto table = std::make_shared<TranspositionTable>(std::size_t{16} << 20);
    return [table, kind](const Cells& cells, char attacker) {
        ThreatBoard board = threatBoardOfCells(cells, attacker);
        SearchControl control(SolveBudget{.maxNodes = 2'000'000});
        ProofSearch search(board, *table, control);
        if (!search.prove(kind).proved()) return -1;
        const std::vector<int> line = search.winningLine(kind);
        return line.empty() ? -1 : line.front();
    };
}

}  // namespace vorek::testing
