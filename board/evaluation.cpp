#include "board/evaluation.h"

#include "board/reach.h"
#include "threats/pattern_tables.h"

namespace vorek {

std::array<Threat, 8> lineThreats{};

namespace {

// Each line is walked first on its far side (towards the smaller column, or
// upwards for the column), then on its near side.
struct LineHalves {
    HalfLine far;
    HalfLine near;
};
constexpr std::array<LineHalves, LINES> LINE_HALVES{{
    {LEFT, RIGHT}, {UP, DOWN}, {UP_LEFT, DOWN_RIGHT}, {DOWN_LEFT, UP_RIGHT},
}};

using StepCounts = std::array<std::array<std::uint8_t, BOARD_SQUARES>, HALF_LINES>;

constexpr StepCounts buildStepCounts() {
    StepCounts counts{};
    for (int h = 0; h < HALF_LINES; ++h)
        for (int s = 0; s < BOARD_SQUARES; ++s)
            counts[h][s] = static_cast<std::uint8_t>(reachSteps(h, s));
    return counts;
}
constexpr StepCounts STEP_COUNTS = buildStepCounts();

// The pattern code of player's usable segment through s on one line: a start
// marker, the far side up to (not including) an opponent stone, s counted as
// the player's stone, then the near side up to an opponent stone.
int segmentCode(const SquareBytes& squares, int s, LineHalves halves, int player) {
    const int farStep = HALF_LINE_STEPS[halves.far].index();
    const int nearStep = HALF_LINE_STEPS[halves.near].index();
    int code = 1;
    int bit = 2;
    int q = s;
    for (int k = STEP_COUNTS[halves.far][s]; k > 0; --k) {
        q += farStep;
        const std::uint8_t flags = squares[q];
        if (!isEmptySquare(flags) && stoneOwner(flags) != player) break;
        if (!isEmptySquare(flags)) code += bit;
        bit <<= 1;
    }
    code += bit;  // the start marker
    q = s;
    for (int k = STEP_COUNTS[halves.near][s]; k > 0; --k) {
        q += nearStep;
        const std::uint8_t flags = squares[q];
        if (isEmptySquare(flags))
            code <<= 1;
        else if (stoneOwner(flags) == player)
            code = (code << 1) | 1;
        else
            break;
    }
    return code;
}

// What one player's four line values at the scanned square amount to.
struct LineSummary {
    int bestCn = UNREACHABLE + 1;
    int bestMask = 0;       // lines whose cn equals bestCn
    Threat chosen{};        // the first line of bestMask
    int bestTn = UNREACHABLE + 1;
    int tnOneLines = 0;
    int fours = 0;          // lines with cn 1
    int cnTwoMask = 0;      // lines with cn 2
};

LineSummary summarize(int player) {
    LineSummary s;
    for (int line = 0; line < LINES; ++line) {
        const Threat t = lineThreats[lineThreatIndex(player, line)];
        const int c = cn(t);
        const int n = tn(t);
        if (c < s.bestCn) {
            s.bestCn = c;
            s.bestMask = lineMask(line);
            s.chosen = t;
        } else if (c == s.bestCn) {
            s.bestMask |= lineMask(line);
        }
        if (n < s.bestTn) s.bestTn = n;
        if (n == 1) ++s.tnOneLines;
        if (c == 1) ++s.fours;
        if (c == 2) s.cnTwoMask |= lineMask(line);
    }
    return s;
}

// Records player's threats at square s; a player with nothing within two
// stones of a won line counts the square one step towards quiet.
void recordThreats(V2Board& board, int player, const LineSummary& lines, int s, int& quietCounter) {
    if (lines.bestTn >= 3) {
        --quietCounter;
        return;
    }
    if (lines.bestTn == 2) return;
    if (lines.bestTn == 0 || lines.tnOneLines == 1) {
        insertThreat(board, player, lines.chosen);
        return;
    }
    if (lines.fours == 0) {
        insertThreat(board, player, makeThreat(PATTERN_DOUBLE_THREAT, s, lines.bestMask));
    } else if (lines.fours == 1) {
        board.squares[s] |= secondItemFlag(player);
        insertThreat(board, player, lines.chosen);
        insertThreat(board, player,
                     makeThreat(PATTERN_DOUBLE_THREAT, s, lines.bestMask | lines.cnTwoMask));
    } else {
        insertThreat(board, player, makeThreat(PATTERN_DOUBLE_FOUR, s, lines.bestMask));
    }
}

}  // namespace

void scanSquare(const V2Board& board, int s) {
    for (int line = 0; line < LINES; ++line) {
        for (int player = 1; player >= 0; --player) {
            const int code = segmentCode(board.squares, s, LINE_HALVES[line], player);
            lineThreats[lineThreatIndex(player, line)] = makeThreat(code, s, lineMask(line));
        }
    }
}

bool evaluateSquare(V2Board& board, int s) {
    if (!isEmptySquare(board.squares[s])) return false;
    scanSquare(board, s);
    if ((board.squares[s] & SQ_SIDE) == 0) {
        board.squares[s] |= SQ_SIDE;  // quiet: only wake it up
        return false;
    }
    for (int player = 1; player >= 0; --player) {
        if (board.squares[s] & inListFlag(player)) {
            removeSquareThreats(board, player, s);
            board.squares[s] &= static_cast<std::uint8_t>(~secondItemFlag(player));
        }
    }

    const int mover = board.sideToMove ? 1 : 0;
    const int other = 1 - mover;
    const LineSummary moverLines = summarize(mover);
    const LineSummary otherLines = summarize(other);
    if (moverLines.bestCn == 0) return true;

    int quietCounter = 2;
    recordThreats(board, mover, moverLines, s, quietCounter);
    if (otherLines.bestCn == 0) {
        insertThreat(board, other, otherLines.chosen);  // a square the mover must block
        return false;
    }
    recordThreats(board, other, otherLines, s, quietCounter);
    if (quietCounter == 0) board.squares[s] &= static_cast<std::uint8_t>(~SQ_SIDE);
    return false;
}

bool reevaluateAround(V2Board& board, int s) {
    for (int h = 0; h < HALF_LINES; ++h) {
        const int step = HALF_LINE_STEPS[h].index();
        bool met[2] = {false, false};
        int q = s;
        for (int k = STEP_COUNTS[h][s]; k > 0; --k) {
            q += step;
            const std::uint8_t flags = board.squares[q];
            if (isEmptySquare(flags)) {
                if (evaluateSquare(board, q)) return true;
                continue;
            }
            const int owner = stoneOwner(flags);
            if (met[1 - owner]) break;  // the second colour ends the half-line
            met[owner] = true;
        }
    }
    return false;
}

bool evaluateAll(V2Board& board) {
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (isEmptySquare(board.squares[s]) && evaluateSquare(board, s)) return true;
    return false;
}

}  // namespace vorek
