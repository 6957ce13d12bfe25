// The pattern tables against the telling rows and against a brute-force
// reading of the line rules over every code.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "threats/pattern_tables.h"

namespace vorek {
namespace {

using Segment = std::vector<bool>;  // true = own stone

Segment segmentOf(int code) {
    Segment seg;
    int top = 9;
    while (!(code >> top & 1)) --top;
    for (int b = top - 1; b >= 0; --b) seg.push_back((code >> b & 1) != 0);
    return seg;
}

int codeOf(const std::string& picture) {
    int code = 1;
    for (char c : picture) code = code * 2 + (c == 'x' ? 1 : 0);
    return code;
}

bool fiveInRow(const Segment& seg) {
    int run = 0;
    for (bool own : seg) {
        run = own ? run + 1 : 0;
        if (run >= 5) return true;
    }
    return false;
}

bool won(const Segment& seg) {
    if (fiveInRow(seg)) return true;
    int completing = 0;
    for (std::size_t i = 0; i < seg.size(); ++i) {
        if (seg[i]) continue;
        Segment filled = seg;
        filled[i] = true;
        if (fiveInRow(filled)) ++completing;
    }
    return completing >= 2;
}

// Fewest stones that win, over every subset of the empty squares.
int bruteTn(const Segment& seg) {
    if (seg.size() < 5) return 6;
    std::vector<std::size_t> empties;
    for (std::size_t i = 0; i < seg.size(); ++i)
        if (!seg[i]) empties.push_back(i);
    int best = 6;
    for (unsigned subset = 0; subset < (1u << empties.size()); ++subset) {
        Segment filled = seg;
        int stones = 0;
        for (std::size_t k = 0; k < empties.size(); ++k)
            if (subset >> k & 1) filled[empties[k]] = true, ++stones;
        if (stones < best && won(filled)) best = stones;
    }
    return best;
}

int bruteCn(const Segment& seg) {
    if (seg.size() < 5) return 6;
    int best = 5;
    for (std::size_t start = 0; start + 5 <= seg.size(); ++start)
        best = std::min<int>(best, static_cast<int>(std::count(seg.begin() + start,
                                                               seg.begin() + start + 5, false)));
    return best;
}

std::array<int, 9> bruteDefence(const Segment& seg) {
    std::array<int, 9> entries{};
    const int base = bruteTn(seg);
    for (std::size_t i = 0; i < seg.size(); ++i) {
        if (seg[i]) continue;
        const Segment before(seg.begin(), seg.begin() + i);
        const Segment after(seg.begin() + i + 1, seg.end());
        entries[i] = std::max(0, std::min(bruteTn(before), bruteTn(after)) - base);
    }
    return entries;
}

int bruteWeight(int tnValue, int defences) {
    static const std::map<std::pair<int, int>, int> weights = {
        {{0, 0}, 36756910}, {{0, 2}, 5250988}, {{1, 1}, 291722}, {{1, 2}, 250048},
        {{1, 3}, 218792},   {{2, 0}, 16670},   {{2, 1}, 13892},  {{2, 2}, 11908},
        {{2, 3}, 10419},    {{2, 4}, 9262},    {{3, 0}, 794},    {{3, 1}, 662},
        {{3, 2}, 568},      {{3, 3}, 497},     {{3, 4}, 442},    {{3, 5}, 398},
        {{4, 1}, 32},       {{4, 2}, 28},      {{4, 3}, 24},     {{4, 4}, 22},
        {{4, 5}, 20},       {{4, 6}, 18},      {{5, 5}, 2},      {{6, 0}, 1},
    };
    auto found = weights.find({tnValue, defences});
    return found == weights.end() ? -1 : found->second;
}

TEST(PatternTables, EveryCodeFollowsTheLineRules) {
    for (int code = 2; code < PATTERN_CODES; ++code) {
        const Segment seg = segmentOf(code);
        SCOPED_TRACE("code " + std::to_string(code));
        const int expectedTn = bruteTn(seg);
        ASSERT_EQ(tnTable[code], expectedTn);
        ASSERT_EQ(cnTable[code], bruteCn(seg));
        const auto entries = bruteDefence(seg);
        int defences = 0;
        for (int i = 0; i < 9; ++i) {
            ASSERT_EQ(defenceTable[code][i], entries[i]) << "entry " << i;
            defences += entries[i] != 0;
        }
        ASSERT_EQ(weightTable[code], bruteWeight(expectedTn, defences));
        ASSERT_LE(tnTable[code], cnTable[code]);
    }
}

TEST(PatternTables, TellingRows) {
    struct Row {
        const char* picture;
        int code, tn, cn, weight;
        std::array<int, 9> defence;
    };
    const Row rows[] = {
        {"xxxxx", 63, 0, 0, 36756910, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {".xxxx.", 94, 0, 1, 5250988, {1, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"x.xxx.x", 221, 0, 1, 5250988, {0, 1, 0, 0, 0, 1, 0, 0, 0}},
        {".xxxx", 47, 1, 1, 291722, {5, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"..xxx.", 78, 1, 2, 218792, {1, 5, 0, 0, 0, 1, 0, 0, 0}},
        {"..xxx..", 156, 1, 2, 250048, {0, 1, 0, 0, 0, 1, 0, 0, 0}},
        {"..xxx", 39, 2, 2, 11908, {4, 4, 0, 0, 0, 0, 0, 0, 0}},
        {"......", 64, 4, 5, 18, {1, 2, 2, 2, 2, 1, 0, 0, 0}},
        {"....x....", 528, 3, 4, 568, {0, 0, 0, 1, 0, 1, 0, 0, 0}},
        {"x", 3, 6, 6, 1, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.picture);
        ASSERT_EQ(codeOf(r.picture), r.code);
        EXPECT_EQ(tnTable[r.code], r.tn);
        EXPECT_EQ(cnTable[r.code], r.cn);
        EXPECT_EQ(weightTable[r.code], r.weight);
        for (int i = 0; i < 9; ++i) EXPECT_EQ(defenceTable[r.code][i], r.defence[i]) << i;
    }
}

TEST(PatternTables, ReservedCodesAndShortSegments) {
    EXPECT_EQ(tn(makeThreat(PATTERN_DOUBLE_THREAT, 0, DIR_ROW | DIR_COLUMN)), 0);
    EXPECT_EQ(cn(makeThreat(PATTERN_DOUBLE_THREAT, 0, DIR_ROW | DIR_COLUMN)), 2);
    EXPECT_EQ(weight(makeThreat(PATTERN_DOUBLE_THREAT, 0, DIR_ROW | DIR_COLUMN)), 500096);
    EXPECT_EQ(tn(makeThreat(PATTERN_DOUBLE_FOUR, 0, DIR_ROW | DIR_COLUMN)), 0);
    EXPECT_EQ(cn(makeThreat(PATTERN_DOUBLE_FOUR, 0, DIR_ROW | DIR_COLUMN)), 1);
    EXPECT_EQ(weight(makeThreat(PATTERN_DOUBLE_FOUR, 0, DIR_ROW | DIR_COLUMN)), 583444);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(defence(PATTERN_DOUBLE_THREAT, i), 0);
        EXPECT_EQ(defence(PATTERN_DOUBLE_FOUR, i), 0);
    }
    EXPECT_EQ(tnTable[codeOf("xxxx")], 6);
    EXPECT_EQ(weightTable[codeOf("x..x")], 1);
    EXPECT_EQ(tnTable[codeOf("xxxxxx")], 0);  // six in a row counts as five
    EXPECT_EQ(cnTable[codeOf("xxxxxx")], 0);
}

TEST(PatternTables, MirrorImagesAgree) {
    for (int code = 2; code < PATTERN_CODES; ++code) {
        Segment seg = segmentOf(code);
        std::reverse(seg.begin(), seg.end());
        int mirror = 1;
        for (bool own : seg) mirror = mirror * 2 + own;
        ASSERT_EQ(tnTable[code], tnTable[mirror]) << code;
        ASSERT_EQ(cnTable[code], cnTable[mirror]) << code;
        ASSERT_EQ(weightTable[code], weightTable[mirror]) << code;
        const int length = static_cast<int>(seg.size());
        for (int i = 0; i < length; ++i)
            ASSERT_EQ(defenceTable[code][i], defenceTable[mirror][length - 1 - i]) << code;
    }
}

TEST(ThreatValue, PacksSquareAndDirections) {
    const Threat t = makeThreat(92, 399, DIR_ROW | DIR_ANTIDIAGONAL);
    EXPECT_EQ(t.pattern, 92);
    EXPECT_EQ(square(t), 399);
    EXPECT_EQ(directions(t), 9);
    EXPECT_GE(t.place, 0);
}

}  // namespace
}  // namespace vorek
