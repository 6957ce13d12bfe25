#include "board/evaluation.h"

#include <algorithm>
#include <cassert>

#include "board/line_words.h"
#include "board/reach.h"
#include "threats/line_codes.h"
#include "threats/pattern_tables.h"

namespace vorek {

namespace {

using StepCounts = std::array<std::array<std::uint8_t, BOARD_SQUARES>, HALF_LINES>;

constexpr StepCounts buildStepCounts() {
    StepCounts counts{};
    for (int h = 0; h < HALF_LINES; ++h)
        for (int s = 0; s < BOARD_SQUARES; ++s)
            counts[h][s] = static_cast<std::uint8_t>(reachSteps(h, s));
    return counts;
}
constexpr StepCounts STEP_COUNTS = buildStepCounts();

// One player's four line values at the scanned square. The best cn and tn
// are all that most squares need; the rest is worked out only when asked.
struct LineSummary {
    int square;
    std::array<std::int16_t, LINES> codes;
    std::array<int, LINES> cn;
    std::array<int, LINES> tn;
    int bestCn;
    int bestTn;

    // The lines whose cn is the given value, as a direction mask.
    int maskOfCn(int value) const {
        int mask = 0;
        for (int line = 0; line < LINES; ++line)
            if (cn[line] == value) mask |= lineMask(line);
        return mask;
    }
    int bestMask() const { return maskOfCn(bestCn); }
    // The first line, in the order row, column, diagonal, antidiagonal, of best cn.
    Threat chosen() const {
        int line = 0;
        while (cn[line] != bestCn) ++line;
        return makeThreat(codes[line], square, lineMask(line));
    }
    int linesWithTn(int value) const {
        return static_cast<int>(std::count(tn.begin(), tn.end(), value));
    }
    int linesWithCn(int value) const {
        return static_cast<int>(std::count(cn.begin(), cn.end(), value));
    }
};

// cn and tn of every code in one byte (cn * 16 + tn), one load per line.
constexpr std::array<std::uint8_t, PATTERN_CODES> buildCnTn() {
    std::array<std::uint8_t, PATTERN_CODES> packed{};
    for (int code = 0; code < PATTERN_CODES; ++code)
        packed[code] = static_cast<std::uint8_t>(cnTable[code] * 16 + tnTable[code]);
    return packed;
}
constexpr std::array<std::uint8_t, PATTERN_CODES> CN_TN = buildCnTn();

LineSummary summarize(const SquareCodes& scanned, int square, Player player) {
    LineSummary s;
    s.square = square;
    s.codes = scanned.of(player);
    for (int line = 0; line < LINES; ++line) {
        const std::uint8_t cnTn = CN_TN[s.codes[line]];
        s.cn[line] = cnTn >> 4;
        s.tn[line] = cnTn & 15;
    }
    s.bestCn = std::min(std::min(s.cn[0], s.cn[1]), std::min(s.cn[2], s.cn[3]));
    s.bestTn = std::min(std::min(s.tn[0], s.tn[1]), std::min(s.tn[2], s.tn[3]));
    return s;
}

// The smallest cn and tn among one player's four lines: all that most
// squares need.
struct Bests {
    int cn;
    int tn;
};
Bests bestsOf(const SquareCodes& scanned, Player player) {
    Bests bests{UNREACHABLE, UNREACHABLE};
    for (const std::int16_t code : scanned.of(player)) {
        const std::uint8_t cnTn = CN_TN[code];
        bests.cn = std::min(bests.cn, cnTn >> 4);
        bests.tn = std::min(bests.tn, cnTn & 15);
    }
    return bests;
}

// Both players' codes of one line through the square, from its line word.
void scanLine(SquareCodes& scanned, std::uint64_t word, LinePlace place, int line) {
    const std::uint32_t both = LINE_CODES[cellsBefore(word, place) << 8 | cellsAfter(word, place)];
    scanned.codes[0][line] = static_cast<std::int16_t>(both & 0xFFFF);
    scanned.codes[1][line] = static_cast<std::int16_t>(both >> 16);
}

}  // namespace

SquareCodes scanCodesWith(const V2Board& board, int s, int stoneSquare, Player stoneOwner) {
    assert(isSquare(s));
    assert(board.isEmpty(stoneSquare) && stoneSquare != s);
    SquareCodes scanned;
    for (int line = 0; line < LINES; ++line) {
        const LinePlace place = LINE_PLACES[s][line];
        std::uint64_t word = board.lines()[place.word];
        const LinePlace stone = LINE_PLACES[stoneSquare][line];
        if (stone.word == place.word) word |= std::uint64_t{stoneCell(stoneOwner)} << stone.bit;
        scanLine(scanned, word, place, line);
    }
    return scanned;
}

SquareCodes scanCodes(const V2Board& board, int s) {
    assert(isSquare(s));
    SquareCodes scanned;
    for (int line = 0; line < LINES; ++line) {
        const LinePlace place = LINE_PLACES[s][line];
        scanLine(scanned, board.lines()[place.word], place, line);
    }
    return scanned;
}

std::array<bool, BOARD_SQUARES> stonesInReach(const V2Board& board) {
    std::array<bool, BOARD_SQUARES> near{};
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (board.isEmpty(s)) continue;
        // The squares within reach of a stone are those it is within reach of.
        for (int h = 0; h < HALF_LINES; ++h) {
            const int step = HALF_LINE_STEPS[h].index();
            for (int q = s, k = STEP_COUNTS[h][s]; k > 0; --k) near[q += step] = true;
        }
    }
    return near;
}

LineThreats scanSquare(const V2Board& board, int s) {
    const SquareCodes scanned = scanCodes(board, s);
    LineThreats lines;
    for (const Player player : PLAYERS)
        for (int line = 0; line < LINES; ++line)
            lines[lineThreatIndex(player, line)] = makeThreat(scanned.of(player)[line], s, lineMask(line));
    return lines;
}

// Records player's threats at square s; a player with nothing within two
// stones of a won line counts the square one step towards quiet.
void V2Board::recordThreats(Player player, const SquareCodes& scanned, int bestTn, int s, int& quietCounter) {
    if (bestTn >= 3) {
        --quietCounter;
        return;
    }
    if (bestTn == 2) return;
    const LineSummary lines = summarize(scanned, s, player);
    if (lines.bestTn == 0 || lines.linesWithTn(1) == 1) {
        insertThreat(player, lines.chosen());
        return;
    }
    const int fours = lines.linesWithCn(1);
    if (fours == 0) {
        insertThreat(player, makeThreat(PATTERN_DOUBLE_THREAT, s, lines.bestMask()));
    } else if (fours == 1) {
        setFlags(s, flags(s) | secondItemFlag(player));
        insertThreat(player, lines.chosen());
        insertThreat(player, makeThreat(PATTERN_DOUBLE_THREAT, s, lines.bestMask() | lines.maskOfCn(2)));
    } else {
        insertThreat(player, makeThreat(PATTERN_DOUBLE_FOUR, s, lines.bestMask()));
    }
}

bool V2Board::evaluateSquare(int s) {
    if (!isEmptySquare(flags(s))) return false;
    if ((flags(s) & SQ_SIDE) == 0) {
        // Quiet: only wake it up. Its scan would tell nothing anyone reads.
        setFlags(s, flags(s) | SQ_SIDE);
        return false;
    }
    const SquareCodes scanned = scanCodes(*this, s);
    for (const Player player : {PLAYER1, PLAYER0}) {
        if (flags(s) & inListFlag(player)) {
            removeSquareThreats(player, s);
            setFlags(s, flags(s) & static_cast<std::uint8_t>(~secondItemFlag(player)));
        }
    }

    const Player mover = sideToMove_;
    const Player other = opponent(mover);
    const Bests moverBests = bestsOf(scanned, mover);
    if (moverBests.cn == 0) return true;

    int quietCounter = 2;
    recordThreats(mover, scanned, moverBests.tn, s, quietCounter);
    const Bests otherBests = bestsOf(scanned, other);
    if (otherBests.cn == 0) {
        // A square the mover must block.
        insertThreat(other, summarize(scanned, s, other).chosen());
        return false;
    }
    recordThreats(other, scanned, otherBests.tn, s, quietCounter);
    if (quietCounter == 0) setFlags(s, flags(s) & static_cast<std::uint8_t>(~SQ_SIDE));
    return false;
}

bool V2Board::reevaluateAround(int s) {
    for (int h = 0; h < HALF_LINES; ++h) {
        const int step = HALF_LINE_STEPS[h].index();
        bool met[2] = {false, false};
        int q = s;
        for (int k = STEP_COUNTS[h][s]; k > 0; --k) {
            q += step;
            const std::uint8_t squareFlags = flags(q);
            if (isEmptySquare(squareFlags)) {
                if (evaluateSquare(q)) return true;
                continue;
            }
            const int owner = playerIndex(stoneOwner(squareFlags));
            if (met[1 - owner]) break;  // the second colour ends the half-line
            met[owner] = true;
        }
    }
    return false;
}

bool V2Board::evaluateAll() {
    for (int s = 0; s < BOARD_SQUARES; ++s)
        if (isEmptySquare(flags(s)) && evaluateSquare(s)) return true;
    return false;
}

int fiveSquare(const V2Board& board) {
    const Player mover = board.sideToMove();
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        if (!board.isEmpty(s)) continue;
        const SquareCodes scanned = scanCodes(board, s);
        for (int line = 0; line < LINES; ++line)
            if (cnTable[scanned.of(mover)[line]] == 0) return s;
    }
    return -1;
}

}  // namespace vorek
