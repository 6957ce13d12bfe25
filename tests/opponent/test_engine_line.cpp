// The lines of a thinking engine: what each says, which values are taken and
// which are malformed, and how INFO lines gather into blocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opponent/engine_line.h"
#include "threats/square.h"

namespace vorek {
namespace {

TEST(EngineLine, KindOfEachLine) {
    const struct {
        const char* line;
        LineKind kind;
        std::string_view text;
    } cases[] = {
        {"OK", LineKind::Ok, ""},
        {"  10,9", LineKind::Move, ""},
        {"MESSAGE Speed 448K | Depth 16", LineKind::Message, "Speed 448K | Depth 16"},
        {"MESSAGE REALTIMEX 1,2", LineKind::Message, "REALTIMEX 1,2"},
        {"message realtime pos 3,4", LineKind::Realtime, ""},
        {"MESSAGE REALTIME REFRESH", LineKind::Realtime, ""},
        {"MESSAGE REALTIME BEST", LineKind::Other, ""},        // no square
        {"MESSAGE REALTIME WHATEVER 1,2", LineKind::Other, ""},  // a kind we do not know
        {"INFO PV 0", LineKind::Info, ""},
        {"info nonsense 7", LineKind::Info, ""},
        {"DEBUG eval 17", LineKind::Debug, "eval 17"},
        {"ERROR Unknown command: YXNBEST", LineKind::Error, "Unknown command: YXNBEST"},
        {"UNKNOWN YXBOARD", LineKind::Unknown, "YXBOARD"},
        {"INFORMATION 1", LineKind::Other, ""},
        {"Speed 448K", LineKind::Other, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const EngineLine line = parseEngineLine(c.line);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.text, c.text);
    }
    const EngineLine pos = parseEngineLine("MESSAGE REALTIME LOST 13,6");
    EXPECT_EQ(pos.realtime, RealtimeKind::Lost);
    EXPECT_EQ(pos.move.x * 100 + pos.move.y, 1306);
    EXPECT_EQ(parseEngineLine("MESSAGE REALTIME DONE 0,19").realtime, RealtimeKind::Done);
}

TEST(EngineLine, InfoValuesInRangeAreTakenOthersAreMalformed) {
    const struct {
        const char* line;
        InfoKey key;
        bool wellFormed;
        std::int64_t number;
    } cases[] = {
        {"INFO PV 3", InfoKey::Pv, true, 3},
        {"INFO pv done", InfoKey::PvDone, true, 0},
        {"INFO PV 400", InfoKey::Pv, false, 0},
        {"INFO PV -1", InfoKey::Pv, false, 0},
        {"INFO NUMPV 0", InfoKey::NumPv, false, 0},
        {"INFO NUMPV 2", InfoKey::NumPv, true, 2},
        {"INFO DEPTH 17", InfoKey::Depth, true, 17},
        {"INFO SELDEPTH 2147483648", InfoKey::SelDepth, false, 0},
        {"INFO DEPTH 5x", InfoKey::Depth, false, 0},
        {"INFO DEPTH 5 6", InfoKey::Depth, false, 0},
        {"INFO DEPTH +-5", InfoKey::Depth, false, 0},
        {"INFO NODES 9223372036854775807", InfoKey::Nodes, true, 9223372036854775807},
        {"INFO TOTALNODES 9223372036854775808", InfoKey::TotalNodes, false, 0},
        {"INFO TOTALTIME -3", InfoKey::TotalTime, false, 0},
        {"INFO SPEED   451973  ", InfoKey::Speed, true, 451973},
        {"INFO DEPTH", InfoKey::Depth, false, 0},
        {"INFO MAX_THREAD_NUM 256", InfoKey::Other, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const EngineLine line = parseEngineLine(c.line);
        EXPECT_EQ(line.key, c.key);
        EXPECT_EQ(line.wellFormed, c.wellFormed);
        if (c.wellFormed) {
            EXPECT_EQ(line.number, c.number);
        }
    }
}

TEST(EngineLine, EvaluationsAndWinRates) {
    const struct {
        const char* value;
        bool wellFormed;
        Evaluation eval;
        const char* text;
    } evals[] = {
        {"-19", true, {false, -19}, "-19"},
        {"+183", true, {false, 183}, "183"},
        {"+M7", true, {true, 7}, "+M7"},
        {"-m12", true, {true, -12}, "-M12"},
        {"M3", true, {true, 3}, "+M3"},
        {"M", false, {}, ""},
        {"+M-3", false, {}, ""},
        {"+M1001", false, {}, ""},
        {"2147483648", false, {}, ""},
        {"-2147483648", true, {false, -2147483647 - 1}, "-2147483648"},
        {"1.5", false, {}, ""},
    };
    for (const auto& c : evals) {
        SCOPED_TRACE(c.value);
        const EngineLine line = parseEngineLine(std::string("INFO EVAL ") + c.value);
        EXPECT_EQ(line.wellFormed, c.wellFormed);
        if (!c.wellFormed) continue;
        EXPECT_EQ(line.eval, c.eval);
        EXPECT_EQ(evaluationText(line.eval), c.text);
    }
    const struct {
        const char* value;
        bool wellFormed;
        double winrate;
    } winrates[] = {
        {"0.476", true, 0.476}, {"1", true, 1.0},   {"1e-05", true, 1e-05}, {".5", true, 0.5},
        {"1.5", false, 0},      {"-0.1", false, 0}, {"nan", false, 0},      {"inf", false, 0},
        {"0.5x", false, 0},     {"", false, 0},
    };
    for (const auto& c : winrates) {
        SCOPED_TRACE(c.value);
        const EngineLine line = parseEngineLine(std::string("INFO WINRATE ") + c.value);
        EXPECT_EQ(line.wellFormed, c.wellFormed);
        if (c.wellFormed) {
            EXPECT_DOUBLE_EQ(line.winrate, c.winrate);
        }
    }
}

TEST(EngineLine, BestlineMovesInEitherNotationUpToTheFirstBadOne) {
    const struct {
        const char* value;
        std::vector<int> squares;
    } cases[] = {
        {"10,12 12,10 11,10", {squareAt(10, 12), squareAt(12, 10), squareAt(11, 10)}},
        // A column letter and a row number from 1: h8 is 7,7.
        {"h8 I11 a1 T20", {squareAt(7, 7), squareAt(8, 10), squareAt(0, 0), squareAt(19, 19)}},
        {"10,12 h8", {squareAt(10, 12), squareAt(7, 7)}},
        {"0,0 20,3 1,1", {squareAt(0, 0)}},
        {"0,0 u1 1,1", {squareAt(0, 0)}},
        {"0,0 h0", {squareAt(0, 0)}},
        {"0,0 h21", {squareAt(0, 0)}},
        {"0,0 -1,2", {squareAt(0, 0)}},
        {"0,0 1,", {squareAt(0, 0)}},
        {"zz 0,0", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const EngineLine line = parseEngineLine(std::string("INFO BESTLINE ") + c.value);
        EXPECT_EQ(line.key, InfoKey::Bestline);
        EXPECT_EQ(line.squares, c.squares);
        EXPECT_EQ(line.wellFormed, !c.squares.empty());
    }
}

std::vector<SearchLine> blocksOf(const std::vector<std::string>& lines) {
    SearchLineReader reader;
    std::vector<SearchLine> blocks;
    for (const std::string& text : lines)
        if (std::optional<SearchLine> block = reader.take(parseEngineLine(text))) blocks.push_back(*block);
    return blocks;
}

TEST(SearchLineReader, GathersABlockFromPvToPvDone) {
    const std::vector<SearchLine> blocks =
        blocksOf({"INFO DEPTH 9",  // outside a block: passed over
                  "INFO PV 1", "INFO NUMPV 2", "INFO DEPTH 5", "INFO SELDEPTH 7", "INFO NODES 31",
                  "INFO TOTALNODES 420", "INFO TOTALTIME 2", "INFO SPEED 210000", "INFO EVAL -19",
                  "INFO WINRATE 0.476", "MESSAGE REALTIME BEST 10,12", "INFO DEPTH x", "INFO SOMETHING ELSE",
                  "INFO BESTLINE 10,12 12,10", "INFO PV DONE", "INFO PV DONE"});
    ASSERT_EQ(blocks.size(), 1u);
    const SearchLine& block = blocks.front();
    EXPECT_EQ(block.index, 1);
    EXPECT_EQ(block.count, 2);
    EXPECT_EQ(block.depth, 5);  // the malformed DEPTH x changes nothing
    EXPECT_EQ(block.selDepth, 7);
    EXPECT_EQ(block.nodes, 31);
    EXPECT_EQ(block.totalNodes, 420);
    EXPECT_EQ(block.totalTime, 2);
    EXPECT_EQ(block.speed, 210000);
    EXPECT_EQ(block.eval, (Evaluation{false, -19}));
    EXPECT_EQ(block.winrate, 0.476);
    EXPECT_EQ(block.line, (std::vector<int>{squareAt(10, 12), squareAt(12, 10)}));
}

TEST(SearchLineReader, ABlockCutShortIsDropped) {
    const std::vector<SearchLine> blocks =
        blocksOf({"INFO PV 0", "INFO EVAL 5", "INFO PV 1", "INFO DEPTH 3", "INFO PV DONE"});
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks.front().index, 1);
    EXPECT_FALSE(blocks.front().eval.has_value());  // the EVAL was the cut block's

    SearchLineReader reader;
    reader.take(parseEngineLine("INFO PV 0"));
    reader.drop();
    EXPECT_FALSE(reader.take(parseEngineLine("INFO PV DONE")).has_value());
}

}  // namespace
}  // namespace vorek
