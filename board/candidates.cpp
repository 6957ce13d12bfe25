#include "board/candidates.h"

#include <algorithm>
#include <cassert>

#include "board/evaluation.h"
#include "board/reach.h"
#include "threats/pattern_tables.h"

namespace vorek {

namespace {

constexpr int CENTRE = squareAt(10, 10);

// Second stone of the game: the first neighbour of the centre that holds a
// stone decides the answer.
struct OpeningReply {
    int neighbour;
    int candidate;
};
constexpr OpeningReply SECOND_STONE_REPLIES[] = {
    {209, 189}, {190, 191}, {211, 231}, {230, 229},
    {189, 190}, {191, 211}, {231, 230}, {229, 209},
};

bool isEmpty(const V2Board& board, int s) { return board.isEmpty(s); }

bool isStoneOf(const V2Board& board, int s, Player player) {
    return !isEmpty(board, s) && board.stoneAt(s) == player;
}

// The single candidate of the first moves of a game, or -1 for the general case.
int openingCandidate(const V2Board& board) {
    int candidate = -1;
    if (board.stoneCount() == 0) {
        candidate = CENTRE;
    } else if (board.stoneCount() == 1) {
        for (int s = 0; s < BOARD_SQUARES; ++s) {
            if (isEmpty(board, s)) continue;
            const int x = columnOf(s);
            const int y = rowOf(s);
            candidate = squareAt(x == 0 ? 1 : x - 1, y >= 11 ? y - 1 : y + 1);
            break;
        }
    } else if (board.stoneCount() == 2) {
        for (const OpeningReply& reply : SECOND_STONE_REPLIES) {
            if (!isEmpty(board, reply.neighbour)) {
                candidate = reply.candidate;
                break;
            }
        }
    }
    // A taken square (possible only with stones on two neighbours of the
    // centre) leaves the decision to the general case.
    return candidate >= 0 && isEmpty(board, candidate) ? candidate : -1;
}

bool hasEmptySquare(const V2Board& board) {
    return std::any_of(board.squares().begin(), board.squares().end(), isEmptySquare);
}

// The steps and reach of a line, with the lower-index side first.
struct LineWalk {
    int step;       // towards the higher index
    HalfLine low;   // half-line towards the lower index
    HalfLine high;  // half-line towards the higher index
};
constexpr LineWalk lineWalk(int line) {
    switch (line) {
        case ROW: return {1, LEFT, RIGHT};
        case COLUMN: return {20, UP, DOWN};
        case DIAGONAL: return {21, UP_LEFT, DOWN_RIGHT};
        default: return {19, UP_RIGHT, DOWN_LEFT};
    }
}

int lineOfMask(int mask) {
    for (int line = 0; line < LINES; ++line)
        if (mask == lineMask(line)) return line;
    return -1;
}

// Defences against a threat of one line.
int addLineDefences(const V2Board& board, Threat t, Player defender, int line, CandidateList& out) {
    const Player attacker = opponent(defender);
    const int s = square(t);
    const LineWalk walk = lineWalk(line);
    const int st = walk.step;
    const int lo = reachTable[walk.low][s];
    const int hi = reachTable[walk.high][s];
    auto touchesAttacker = [&](int q) {
        return (q > lo && isStoneOf(board, q - st, attacker)) ||
               (q < hi && isStoneOf(board, q + st, attacker));
    };

    if (tn(t) > 0) {
        // Only the threat square itself defends, and only next to an attacker stone.
        if (!touchesAttacker(s)) return 0;
        out.push(s);
        return 1;
    }

    // The attacker's segment with s empty, written from its lower-index end;
    // b counts its squares before s.
    int code = 0;
    int bit = 2;
    int before = 0;
    for (int q = s - st; q >= lo; q -= st) {
        if (isStoneOf(board, q, defender)) break;
        if (!isEmpty(board, q)) code += bit;
        bit <<= 1;
        ++before;
    }
    code += bit;
    for (int q = s + st; q <= hi; q += st) {
        if (isStoneOf(board, q, defender)) break;
        code = (code << 1) | (isEmpty(board, q) ? 0 : 1);
    }

    int found = 0;
    for (int j = 0; j < DEFENCE_ENTRIES; ++j) {
        if (defence(code, j) == 0) continue;
        const int q = s + (j - before) * st;
        if (touchesAttacker(q)) {
            out.push(q);
            ++found;
        }
    }
    return found;
}

// Defences against a combined threat of several lines through one square.
int addCombinedDefences(const V2Board& board, Threat t, Player defender, CandidateList& out) {
    const Player attacker = opponent(defender);
    const int s = square(t);
    const std::array<std::int16_t, LINES> codes = scanCodes(board, s).of(attacker);
    int tnOneLines = 0;
    for (int line = 0; line < LINES; ++line)
        if (tnTable[codes[line]] == 1) ++tnOneLines;
    const int wantedTn = (tnOneLines == 0 && tn(t) == 0 && cn(t) == 1) ? 0 : 1;

    out.push(s);
    int found = 1;
    if (tnOneLines > 2) return found;

    for (int line = 0; line < LINES; ++line) {
        const int code = codes[line];
        if (tnTable[code] != wantedTn) continue;
        // The segment starts on the scan's far side: count its squares before s.
        const LineHalves halves = LINE_HALVES[line];
        const int farStep = HALF_LINE_STEPS[halves.far].index();
        const int nearStep = HALF_LINE_STEPS[halves.near].index();
        int before = 0;
        for (int q = s, k = reachSteps(halves.far, s); k > 0; --k) {
            q += farStep;
            if (isStoneOf(board, q, defender)) break;
            ++before;
        }
        for (int j = 0; j < DEFENCE_ENTRIES; ++j) {
            if (defence(code, j) == 0) continue;
            out.push(s + (j - before) * nearStep);
            ++found;
        }
    }
    return found;
}

// The general case, steps in order; the first that applies decides. The
// lists are walked through pointers to their items.
class Generator {
public:
    Generator(const V2Board& board, CandidateList& out)
        : board_(board),
          out_(out),
          mover_(board.sideToMove()),
          own_(board.threats(mover_)),
          opponent_(board.threats(opponent(mover_))) {}

    GenerateResult run() {
        if (!own_.empty() && cn(own_.front()) == 0) return win(square(own_.front()));
        if (!opponent_.empty() && cn(opponent_.front()) == 0) return answerFive();
        if (!own_.empty() && tn(own_.front()) == 0 &&
            (cn(own_.front()) == 1 || (!opponent_.empty() && cn(opponent_.front()) > 2)))
            return win(square(own_.front()));
        if (!opponent_.empty() && tn(opponent_.front()) == 0) return answerUnstoppableLine();
        return collectCandidates();
    }

private:
    GenerateResult decided(GenerateResult result, int s) {
        out_.clear();
        out_.push(s);
        return result;
    }
    GenerateResult win(int s) { return decided(GENERATE_WIN, s); }
    GenerateResult loss(int s) { return decided(GENERATE_LOSS, s); }

    GenerateResult finish() {
        // Never leave the list empty while a move exists.
        if (out_.empty() && hasEmptySquare(board_)) addScoredCandidates(board_, 8, out_);
        return GENERATE_OPEN;
    }

    // The opponent completes five next move: block it, unless there are two.
    GenerateResult answerFive() {
        const Threat head = opponent_.front();
        if (opponent_.size() > 1 && cn(opponent_[1]) == 0) return loss(square(head));
        out_.push(square(head));
        return finish();
    }

    // The opponent's head is a line that wins unless answered now.
    GenerateResult answerUnstoppableLine() {
        const Threat head = opponent_.front();
        addDefences(board_, head, mover_, out_);

        bool doubleThreat = false;
        const Threat* e = opponent_.begin() + 1;
        for (; e != opponent_.end() && tn(*e) == 0; ++e) {
            if (out_.contains(square(*e))) continue;  // covered by the defences
            out_.clear();
            doubleThreat = true;
            break;
        }
        if (!doubleThreat && out_.empty()) {
            while (e != opponent_.end() && tn(*e) != 0) ++e;
            for (; e != opponent_.end() && tn(*e) == 0; ++e)
                if (!out_.contains(square(*e))) addDefences(board_, *e, mover_, out_);
        }

        const int limit = cn(head);
        bool lookedAtOwn = false;
        for (const Threat* own = own_.begin(); own != own_.end() && cn(*own) <= limit; ++own) {
            lookedAtOwn = true;
            if (cn(*own) == 1 && (board_.flags(square(*own)) & secondItemFlag(mover_))) {
                if (winsByFourThree(own)) return win(square(*own));
            }
            out_.push(square(*own));
        }
        if (doubleThreat && !lookedAtOwn) return loss(square(head));
        return finish();
    }

    // A four on a square that also holds a second own threat wins when every
    // answer to that second threat is a square not yet listed.
    bool winsByFourThree(const Threat* four) {
        const int s = square(*four);
        const Threat* second = four + 1;
        while (second != own_.end() && square(*second) != s) ++second;
        if (second == own_.end()) return false;
        const int mark = out_.count();
        const int defences = addDefences(board_, *second, opponent(mover_), out_);
        if (out_.count() - defences == mark) return true;
        out_.truncate(mark);
        return false;
    }

    // Nothing forced: own threats, answers to the opponent's, then scored squares.
    GenerateResult collectCandidates() {
        for (const Threat& e : own_) {
            if (tn(e) == 0 && (opponent_.empty() || cn(opponent_.front()) >= 2)) return win(square(e));
            out_.push(square(e));
        }

        const Threat* e = opponent_.begin();
        while (e != opponent_.end() && tn(*e) != 0) ++e;
        for (; e != opponent_.end() && tn(*e) == 0; ++e) addDefences(board_, *e, mover_, out_);

        if (out_.count() < 5 && !opponent_.empty()) {
            int taken = 0;
            for (e = opponent_.begin(); e != opponent_.end() && taken < 3; ++e, ++taken)
                addDefences(board_, *e, mover_, out_);
        }
        if (out_.count() < 5) addScoredCandidates(board_, 8, out_);
        return finish();
    }

    const V2Board& board_;
    CandidateList& out_;
    const Player mover_;
    const ThreatList& own_;
    const ThreatList& opponent_;
};

// The square order of the scored fill: the lower half of the board first.
constexpr int scoringOrder(int i) { return (i + BOARD_SQUARES / 2) % BOARD_SQUARES; }

// The score of a square with no stone within the scan's reach: both players
// see the same lines, empty up to the edges, the code of each being the
// square itself, its empty squares on the far side, the start marker, and
// the empty squares on the near side.
constexpr std::array<std::int64_t, BOARD_SQUARES> buildOpenFieldScores() {
    std::array<std::int64_t, BOARD_SQUARES> scores{};
    for (int s = 0; s < BOARD_SQUARES; ++s) {
        std::int64_t weights = 0;
        for (const LineHalves halves : LINE_HALVES) {
            const int code = (1 + (2 << reachSteps(halves.far, s))) << reachSteps(halves.near, s);
            weights += weightTable[code];
        }
        scores[s] = 5 * weights + weights;
    }
    return scores;
}
constexpr std::array<std::int64_t, BOARD_SQUARES> OPEN_FIELD_SCORES = buildOpenFieldScores();

std::int64_t squareScore(const SquareCodes& scanned, Player mover) {
    std::int64_t own = 0;
    std::int64_t other = 0;
    for (int line = 0; line < LINES; ++line) {
        own += weightTable[scanned.of(mover)[line]];
        other += weightTable[scanned.of(opponent(mover))[line]];
    }
    return 5 * own + other;
}

}  // namespace

int addDefences(const V2Board& board, Threat t, Player defender, CandidateList& out) {
    assert(board.isEmpty(square(t)));
    const int line = lineOfMask(directions(t));
    return line >= 0 ? addLineDefences(board, t, defender, line, out)
                     : addCombinedDefences(board, t, defender, out);
}

void addScoredCandidates(const V2Board& board, int n, CandidateList& out) {
    assert(n >= 0);
    const int first = out.count();
    n = std::min(n, BOARD_SQUARES - 1 - first);
    if (n <= 0) return;
    std::int32_t* window = out.scratch(first);  // n places and the insertion slot
    std::int64_t scores[BOARD_SQUARES];         // 0 marks an empty place
    std::fill_n(window, n + 1, 0);
    std::fill_n(scores, n + 1, 0);
    std::int64_t threshold = 0;
    const Player mover = board.sideToMove();
    const std::array<bool, BOARD_SQUARES> near = stonesInReach(board);

    for (int i = 0; i < BOARD_SQUARES; ++i) {
        const int q = scoringOrder(i);
        if (!isEmpty(board, q) || out.contains(q)) continue;
        const std::int64_t score =
            near[q] ? squareScore(scanCodes(board, q), mover) : OPEN_FIELD_SCORES[q];
        if (score <= threshold) continue;
        int place = n;
        window[place] = q;
        scores[place] = score;
        while (place > 0 && scores[place] > scores[place - 1]) {
            std::swap(window[place], window[place - 1]);
            std::swap(scores[place], scores[place - 1]);
            --place;
        }
        if (place == 0) threshold = scoreThreshold(score);
    }

    int taken = 0;
    while (taken < n && scores[taken] != 0 && scores[taken] >= threshold) ++taken;
    out.listScratch(taken);
}

GenerateResult generateCandidates(const V2Board& board, CandidateList& out) {
    out.clear();
    if (const int opening = openingCandidate(board); opening >= 0) {
        out.push(opening);
        return GENERATE_OPEN;
    }
    return Generator(board, out).run();
}

}  // namespace vorek
