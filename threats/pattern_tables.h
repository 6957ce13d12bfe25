// The four constant pattern tables, built at compile time from the line rules.
//
// A pattern code 2..1023 describes one player's usable segment of a line: the
// highest set bit is a start marker, the bits below it are the squares of the
// segment from its first square on (1 = own stone, 0 = empty). Codes 0 and 1
// are the reserved combined threats.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>

#include "threats/threat.h"

namespace vorek {

constexpr int PATTERN_CODES = 1024;
constexpr int DEFENCE_ENTRIES = 9;
constexpr int UNREACHABLE = 6;  // tn and cn of a segment shorter than five squares

struct PatternTables {
    std::array<std::int32_t, PATTERN_CODES> tn{};
    std::array<std::int32_t, PATTERN_CODES> cn{};
    std::array<std::int32_t, PATTERN_CODES> weight{};
    std::array<std::array<std::int32_t, DEFENCE_ENTRIES>, PATTERN_CODES> defence{};
};

namespace pattern_rules {

constexpr int segmentLength(int code) { return std::bit_width(static_cast<unsigned>(code)) - 1; }

constexpr int squareBit(int length, int position) { return 1 << (length - 1 - position); }

constexpr bool isOwn(int code, int position) {
    return (code & squareBit(segmentLength(code), position)) != 0;
}

constexpr bool hasFive(int code) {
    const int length = segmentLength(code);
    int run = 0;
    for (int i = 0; i < length; ++i) {
        run = isOwn(code, i) ? run + 1 : 0;
        if (run >= 5) return true;
    }
    return false;
}

// Five in a row, or two different empty squares that each complete five.
constexpr bool isWon(int code) {
    if (hasFive(code)) return true;
    const int length = segmentLength(code);
    int completing = 0;
    for (int i = 0; i < length; ++i)
        if (!isOwn(code, i) && hasFive(code | squareBit(length, i))) ++completing;
    return completing >= 2;
}

constexpr int fewestEmptiesInFive(int code) {
    const int length = segmentLength(code);
    if (length < 5) return UNREACHABLE;
    int best = 5;
    for (int start = 0; start + 5 <= length; ++start) {
        int empties = 0;
        for (int i = start; i < start + 5; ++i) empties += isOwn(code, i) ? 0 : 1;
        if (empties < best) best = empties;
    }
    return best;
}

// Weight by tn (rows) and by the number of defending squares (columns);
// -1 marks a combination that no code has.
constexpr std::array<std::array<std::int32_t, 7>, 7> WEIGHT_BY_TN_AND_DEFENCES{{
    {36756910, -1, 5250988, -1, -1, -1, -1},
    {-1, 291722, 250048, 218792, -1, -1, -1},
    {16670, 13892, 11908, 10419, 9262, -1, -1},
    {794, 662, 568, 497, 442, 398, -1},
    {-1, 32, 28, 24, 22, 20, 18},
    {-1, -1, -1, -1, -1, 2, -1},
    {1, -1, -1, -1, -1, -1, -1},
}};

constexpr PatternTables build() {
    PatternTables t{};

    // tn: filling an empty square sets one more bit, so a code's successors are
    // larger codes of the same length; walking downwards sees them first.
    for (int code = PATTERN_CODES - 1; code >= 2; --code) {
        const int length = segmentLength(code);
        t.cn[code] = fewestEmptiesInFive(code);
        if (length < 5) {
            t.tn[code] = UNREACHABLE;
        } else if (isWon(code)) {
            t.tn[code] = 0;
        } else {
            int best = UNREACHABLE;
            for (int i = 0; i < length; ++i)
                if (!isOwn(code, i) && t.tn[code | squareBit(length, i)] < best)
                    best = t.tn[code | squareBit(length, i)];
            t.tn[code] = best + 1;
        }
    }

    auto partTn = [&t](int code, int length) {
        return length < 5 ? UNREACHABLE : t.tn[code];
    };
    for (int code = 2; code < PATTERN_CODES; ++code) {
        const int length = segmentLength(code);
        int defences = 0;
        for (int i = 0; i < length; ++i) {
            if (isOwn(code, i)) continue;
            const int before = code >> (length - i);
            const int afterLength = length - 1 - i;
            const int after = (1 << afterLength) | (code & ((1 << afterLength) - 1));
            const int blocked = std::min(partTn(before, i), partTn(after, afterLength));
            const int gain = blocked - t.tn[code];
            t.defence[code][i] = gain > 0 ? gain : 0;
            if (gain > 0) ++defences;
        }
        t.weight[code] = WEIGHT_BY_TN_AND_DEFENCES[t.tn[code]][defences];
    }

    t.tn[PATTERN_DOUBLE_THREAT] = 0;
    t.cn[PATTERN_DOUBLE_THREAT] = 2;
    t.weight[PATTERN_DOUBLE_THREAT] = 500096;
    t.tn[PATTERN_DOUBLE_FOUR] = 0;
    t.cn[PATTERN_DOUBLE_FOUR] = 1;
    t.weight[PATTERN_DOUBLE_FOUR] = 583444;
    return t;
}

constexpr bool everyWeightDefined(const PatternTables& t) {
    for (auto w : t.weight)
        if (w <= 0) return false;
    return true;
}

}  // namespace pattern_rules

inline constexpr PatternTables patternTables = pattern_rules::build();
static_assert(pattern_rules::everyWeightDefined(patternTables),
              "a code fell into an empty cell of the weight rule");

inline constexpr const auto& tnTable = patternTables.tn;
inline constexpr const auto& cnTable = patternTables.cn;
inline constexpr const auto& weightTable = patternTables.weight;
inline constexpr const auto& defenceTable = patternTables.defence;

// One number per code that orders threats as the rank order does: smaller cn
// first, then smaller tn, then larger weight.
constexpr std::array<std::int64_t, PATTERN_CODES> buildRankKeys() {
    std::array<std::int64_t, PATTERN_CODES> keys{};
    for (int code = 0; code < PATTERN_CODES; ++code)
        keys[code] = (static_cast<std::int64_t>(cnTable[code]) << 40) |
                     (static_cast<std::int64_t>(tnTable[code]) << 32) |
                     (std::int64_t{0x7fffffff} - weightTable[code]);
    return keys;
}
inline constexpr std::array<std::int64_t, PATTERN_CODES> rankKeyTable = buildRankKeys();

constexpr bool isPatternCode(int code) { return code >= 0 && code < PATTERN_CODES; }

// The table values of a threat's pattern code.
constexpr int tn(Threat t) {
    assert(isPatternCode(t.pattern));
    return tnTable[t.pattern];
}
constexpr int cn(Threat t) {
    assert(isPatternCode(t.pattern));
    return cnTable[t.pattern];
}
constexpr int weight(Threat t) {
    assert(isPatternCode(t.pattern));
    return weightTable[t.pattern];
}
// Whether a stone of the defender on square i of the code's segment (from its
// first square) makes tn larger, and by how much.
constexpr int defence(int code, int i) {
    assert(isPatternCode(code));
    assert(i >= 0 && i < DEFENCE_ENTRIES);
    return defenceTable[code][i];
}
constexpr int defence(Threat t, int i) { return defence(t.pattern, i); }

}  // namespace vorek
