// Move sequences on the threat search's position from a start position (an
// example, or a board read from the input; see startPosition): each byte plays
// a square, 0xFF takes the last move back. A byte below 0x80 picks one of the
// squares where either side makes a four or a three, otherwise it and the
// byte after it pick any empty square. Every thirtieth step, and at the end,
// everything the position keeps must be what reading its cells again gives;
// taking every move back must give the start position again.
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "search/threat_space/position_of_board.h"
#include "search/threat_space/threat_board_check.h"

namespace {

using namespace vorek;

constexpr int MAX_STEPS = 120;
constexpr int CHECK_EVERY = 30;
constexpr std::uint8_t TAKE_BACK = 0xFF;
constexpr std::uint8_t ANY_EMPTY_SQUARE = 0x80;

std::vector<int> squaresOf(const SquareSet& set) {
    std::vector<int> squares;
    set.forEach([&](int s) { squares.push_back(s); });
    return squares;
}

// -1 when the board is full.
int chooseSquare(fuzz::ByteStream& in, std::uint8_t byte, const ThreatBoard& board) {
    if (!(byte & ANY_EMPTY_SQUARE)) {
        SquareSet threats;
        for (const Player player : PLAYERS) threats |= board.moves(player).fours | board.moves(player).threes;
        const std::vector<int> squares = squaresOf(threats);
        if (!squares.empty()) return squares[byte % squares.size()];
    }
    const std::vector<int> empty = squaresOf(board.empties());
    if (empty.empty()) return -1;
    const unsigned pick = static_cast<unsigned>(byte & ~ANY_EMPTY_SQUARE) << 8 | in.next();
    return empty[pick % empty.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteStream in(data, size);
    ThreatBoard board = threatBoardOf(*fuzz::startPosition(in));
    fuzz::require(checkThreatBoard(board));
    const std::uint64_t startKey = board.key();
    const MoveSets startMoves[2] = {board.moves(PLAYER0), board.moves(PLAYER1)};

    for (int step = 1; step <= MAX_STEPS && !in.empty(); ++step) {
        const std::uint8_t byte = in.next();
        if (byte == TAKE_BACK && board.ply() > 0) {
            board.unmakeMove();
        } else {
            const int s = chooseSquare(in, byte, board);
            if (s < 0) break;
            board.makeMove(s);
            if (board.isEmpty(s) || board.lastMove() != s) fuzz::fail("a move left its square empty");
        }
        if (step % CHECK_EVERY == 0)
            if (std::string fault = checkThreatBoard(board); !fault.empty())
                fuzz::fail("step " + std::to_string(step) + ": " + fault);
    }
    fuzz::require(checkThreatBoard(board));
    while (board.ply() > 0) board.unmakeMove();
    if (board.key() != startKey || !(board.moves(PLAYER0) == startMoves[0]) || !(board.moves(PLAYER1) == startMoves[1]))
        fuzz::fail("taking every move back did not give the start position");
    fuzz::require(checkThreatBoard(board));
    return 0;
}
