// Move sequences from a start position (an example, or a board read from the
// input; see startFolder). Each step runs the move generator, then plays a
// square the next bytes choose: a byte below 0x80 picks one of the generator's
// candidates, otherwise it and the byte after it pick any empty square. The
// generator must list only empty squares, each once; every move must leave a
// consistent board (checkAfterMove: what the move touched, and the whole
// board every few stones), whose lists equal a full evaluation's every
// FULL_EVALUATION_EVERY moves and at the end. The board a move is made from
// is const: it cannot change.
#include <cstdint>
#include <vector>

#include "board/candidates.h"
#include "board/evaluation.h"
#include "board/invariants.h"
#include "board/moves.h"
#include "board/threat_text.h"
#include "files/position_source.h"
#include "fuzz/fuzz_support.h"
#include "picture/board_picture.h"

namespace {

using namespace vorek;

constexpr int MAX_MOVES = 60;
constexpr int FULL_EVALUATION_EVERY = 32;
constexpr std::uint8_t ANY_EMPTY_SQUARE = 0x80;

std::string step(int move, const std::string& what) { return "move " + std::to_string(move) + ": " + what; }

void checkCandidates(const V2Board& board, GenerateResult result, const CandidateList& candidates, int move) {
    if (result != GENERATE_WIN && result != GENERATE_LOSS && result != GENERATE_OPEN)
        fuzz::fail(step(move, "generator result " + std::to_string(result)));
    const int count = candidates.count();
    if (count < 0 || count > BOARD_SQUARES) fuzz::fail(step(move, "candidate count " + std::to_string(count)));
    if (result != GENERATE_OPEN && count != 1) fuzz::fail(step(move, "a decided result without its one square"));
    std::vector<bool> listed(BOARD_SQUARES);
    for (const int s : candidates) {
        if (!isSquare(s)) fuzz::fail(step(move, "candidate off the board"));
        if (!board.isEmpty(s)) fuzz::fail(step(move, "candidate on a stone at " + std::to_string(s)));
        if (listed[s]) fuzz::fail(step(move, "candidate listed twice at " + std::to_string(s)));
        if (!candidates.contains(s)) fuzz::fail(step(move, "candidate not marked at " + std::to_string(s)));
        listed[s] = true;
    }
}

std::vector<int> emptySquares(const V2Board& board) {
    std::vector<int> squares;
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (board.isEmpty(s)) squares.push_back(s);
    return squares;
}

// -1 when the board is full.
int chooseSquare(fuzz::ByteStream& in, const V2Board& board, const CandidateList& candidates) {
    const std::uint8_t byte = in.next();
    if (!(byte & ANY_EMPTY_SQUARE) && !candidates.empty()) return candidates[byte % candidates.count()];
    const std::vector<int> empty = emptySquares(board);
    if (empty.empty()) return -1;
    const unsigned pick = static_cast<unsigned>(byte & ~ANY_EMPTY_SQUARE) << 8 | in.next();
    return empty[pick % empty.size()];
}

// Draws nowhere, but every shape must lie on the picture.
class BoundsCanvas : public BoardCanvas {
public:
    void setPenColor(Rgb) override {}
    void setBrushColor(Rgb) override {}
    void setBrushStyle(BrushStyle) override {}
    void fillRect(int left, int top, int right, int bottom) override { check(left, top, right, bottom); }
    void line(int x1, int y1, int x2, int y2) override { check(x1, y1, x2, y2); }
    void ellipse(int left, int top, int right, int bottom) override { check(left, top, right, bottom); }

private:
    static void check(int a, int b, int c, int d) {
        for (int v : {a, b, c, d})
            if (v < 0 || v > PICTURE_SIZE) fuzz::fail("the board picture draws off the picture");
    }
};

class CountingSink : public LineSink {
public:
    void addLine(std::string_view) override { ++lines; }
    std::size_t lines = 0;
};

// The window's views of the final board must not trip over anything it holds.
void showBoard(const V2Board& board) {
    BoundsCanvas canvas;
    drawBoard(board, canvas);
    fuzz::require(checkInvariants(board));
    for (int s = 0; s < BOARD_SQUARES; ++s) (void)squareReport(board, s);
    for (const Player player : PLAYERS) {
        CountingSink sink;
        fillThreatList(board, sink, playerIndex(player));
        if (sink.lines != board.threats(player).size()) fuzz::fail("a threat list shows the wrong number of lines");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteStream in(data, size);
    std::unique_ptr<V2Board> board = fuzz::startPosition(in);
    fuzz::require(checkInvariants(*board));

    CandidateList candidates;
    for (int move = 0; move < MAX_MOVES && !in.empty(); ++move) {
        const GenerateResult result = generateCandidates(*board, candidates);
        checkCandidates(*board, result, candidates, move);

        const int s = chooseSquare(in, *board, candidates);
        if (s < 0) break;
        ChildBoard child = board->played(s);
        if (std::string fault = checkAfterMove(*child.board, s); !fault.empty()) fuzz::fail(step(move, fault));
        if (child.win && fiveSquare(*child.board) < 0)
            fuzz::fail(step(move, "a win flag with no square that completes five"));
        if (child.win && child.board->listsWhole())
            fuzz::fail(step(move, "lists whole after a move that stopped at a five"));
        if (move % FULL_EVALUATION_EVERY == FULL_EVALUATION_EVERY - 1)
            if (std::string fault = fuzz::differenceFromFullEvaluation(*child.board); !fault.empty())
                fuzz::fail(step(move, fault));
        board = std::move(child.board);
    }
    fuzz::require(fuzz::differenceFromFullEvaluation(*board));
    showBoard(*board);
    return 0;
}
