// Small solves by threat-space search on positions from a start position
// (see startFolder) and a few moves the input chooses, with the kind of win,
// the depth and a budget of a few hundred nodes from the input too. What the
// report claims must be shown by its own line: a proved or disproved result
// has a line of moves on empty squares that ends in the winner's five, and
// the numbers and the reason agree with the result.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_solver.h"

namespace {

using namespace vorek;

constexpr int MAX_MOVES = 12;
constexpr std::uint64_t MAX_NODES = 400;

std::string lineFault(ThreatBoard board, const SolveReport& report, Player winner) {
    if (report.line.empty()) return "a decided result without a line";
    for (const int s : report.line) {
        if (s < 0 || s >= BOARD_SQUARES || !board.isEmpty(s)) return "a line move on a stone or off the board";
        if (playerWithFive(board)) return "a line that goes on past a five";
        board.makeMove(s);
    }
    if (playerWithFive(board) != winner) return "a line that does not end in the winner's five";
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteStream in(data, size);
    ThreatBoard board = threatBoardOf(*fuzz::startPosition(in));
    if (playerWithFive(board)) return 0;
    const int moves = in.next() % (MAX_MOVES + 1);
    for (int i = 0; i < moves && !board.empties().empty(); ++i) {
        const unsigned pick = in.nextWord();
        int s = -1;
        int n = static_cast<int>(pick % static_cast<unsigned>(board.empties().count()));
        board.empties().forEach([&](int q) {
            if (n-- == 0) s = q;
        });
        board.makeMove(s);
        if (playerWithFive(board)) return 0;
    }
    const std::uint8_t options = in.next();
    const ThreatSolveOptions solveOptions{.kind = options & 1 ? ThreatKind::Fours : ThreatKind::Threats,
                                          .depth = options & 2 ? 2 + (options >> 2) % 8 : UNLIMITED_DEPTH};
    SolveBudget budget;
    budget.maxNodes = 1 + in.nextWord() % MAX_NODES;
    const ThreatBoard position = board;
    const SolveReport report = solveByThreats(position, budget, solveOptions);

    switch (report.result) {
        case SolveResult::Proved:
            if (report.pn != 0 || report.dn != INFINITE_NUMBER) fuzz::fail("proved with numbers other than 0 and -1");
            fuzz::require(lineFault(position, report, PLAYER1));
            break;
        case SolveResult::Disproved:
            if (report.pn != INFINITE_NUMBER || report.dn != 0) fuzz::fail("disproved with numbers other than -1 and 0");
            fuzz::require(lineFault(position, report, PLAYER0));
            break;
        case SolveResult::Unknown:
            if (report.stopped == SolveStop::Settled && (report.pn != INFINITE_NUMBER || report.dn != INFINITE_NUMBER))
                fuzz::fail("exhausted with finite numbers");
            if (report.stopped != SolveStop::Settled && report.stopped != SolveStop::Nodes)
                fuzz::fail("stopped by a budget it was not given");
            break;
    }
    if (report.nodes > budget.maxNodes) fuzz::fail("more nodes than the budget");
    return 0;
}
