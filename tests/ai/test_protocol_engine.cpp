// vorek-ai as an engine of the stdin/stdout protocol, in process: its answer
// to each line of a conversation, and the moves it finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ai/engine_loop.h"

namespace vorek {
namespace {

using Lines = std::vector<std::string>;

// The engine's answer to a line; a MESSAGE line reads "MESSAGE ...", and
// "(end)" follows the answer to END.
Lines talk(ProtocolEngine& engine, std::string_view line) {
    ProtocolEngine::Reply reply = engine.handle(line, ProtocolEngine::Clock::now());
    for (std::string& text : reply.lines)
        if (text.starts_with("MESSAGE ")) text = "MESSAGE ...";
    if (reply.end) reply.lines.push_back("(end)");
    return reply.lines;
}

// The answer with a move the test leaves open written "*".
Lines talkAnyMove(ProtocolEngine& engine, std::string_view line, const Lines& expected) {
    Lines reply = talk(engine, line);
    for (std::size_t i = 0; i < reply.size() && i < expected.size(); ++i)
        if (expected[i] == "*" && !reply[i].empty() && reply[i][0] >= '0' && reply[i][0] <= '9') reply[i] = "*";
    return reply;
}

TEST(ProtocolEngine, AnswersEachCommandAndRefusesBadOnes) {
    ProtocolEngine engine;
    const struct {
        const char* line;
        Lines reply;
    } conversation[] = {
        {"START 15", {"ERROR only 20x20 boards"}},
        {"START", {"ERROR START needs the board size"}},
        {"START 20", {"OK"}},
        {"ABOUT", {"name=\"vorek-ai\", version=\"" VOREK_VERSION "\", author=\"Visual Vorek\", country=\"CZ\""}},
        {"INFO timeout_turn 0", {}},  // no time to solve: the generator's move at once
        {"INFO folder /tmp", {}},
        {"INFO rule 1", {"ERROR vorek-ai plays freestyle only (rule 0): five or more in a row win"}},
        {"INFO rule 4", {}},  // said once
        {"BEGIN", {"MESSAGE ...", "10,10"}},
        {"TURN 10,10", {"ERROR 10,10 holds a stone"}},
        {"TURN 20,0", {"ERROR 20,0 is off the board"}},
        {"TURN ten,ten", {"ERROR TURN needs a square x,y"}},
        {"TURN 11,11", {"MESSAGE ...", "*"}},
        {"TAKEBACK 11,11", {"OK"}},
        {"TAKEBACK 11,11", {"ERROR no stone on 11,11 to take back"}},
        {"TURN 11,11", {"MESSAGE ...", "*"}},  // free again
        {"DONE", {"ERROR DONE without BOARD"}},
        {"SWAP2BOARD", {"UNKNOWN SWAP2BOARD"}},
        {"", {}},
        {"BOARD", {}},
        {"1,1,3", {}},
        {"2,2,1", {}},
        {"DONE", {"ERROR stone 1,1 has field 3, not 1 or 2"}},
        {"BOARD", {}},
        {"3,3,1", {}},
        {"3,3,2", {}},
        {"DONE", {"ERROR stone 3,3 holds a stone"}},
        {"BOARD", {}},
        {"DONE", {"MESSAGE ...", "10,10"}},  // no stones: as BEGIN
        {"RESTART", {"OK"}},
        {"end", {"(end)"}},
    };
    for (const auto& step : conversation) EXPECT_EQ(talkAnyMove(engine, step.line, step.reply), step.reply) << step.line;
}

TEST(ProtocolEngine, CompletesItsFiveFirstAndBlocksTheOpponentsFour) {
    ProtocolEngine engine;
    talk(engine, "INFO timeout_turn 0");
    const struct {
        Lines board;
        std::vector<std::string> moves;  // each is right
    } cases[] = {
        // Its own four (field 1) and the opponent's four (field 2): five first.
        {{"5,5,1", "6,5,1", "7,5,1", "8,5,1", "5,9,2", "6,9,2", "7,9,2", "8,9,2", "4,9,1"}, {"4,5", "9,5"}},
        // The opponent's four closed on one end: the other end.
        {{"5,9,2", "6,9,2", "7,9,2", "8,9,2", "4,9,1", "10,10,1", "12,12,1"}, {"9,9"}},
    };
    for (const auto& c : cases) {
        talk(engine, "BOARD");
        for (const std::string& stone : c.board) EXPECT_EQ(talk(engine, stone), Lines{}) << stone;
        const Lines reply = talk(engine, "DONE");
        ASSERT_EQ(reply.size(), 2u);
        EXPECT_EQ(reply[0], "MESSAGE ...");
        EXPECT_NE(std::find(c.moves.begin(), c.moves.end(), reply[1]), c.moves.end()) << reply[1];
    }
    // After the block the opponent's TURN is played on the engine's own board.
    EXPECT_EQ(talk(engine, "TURN 9,9"), Lines{"ERROR 9,9 holds a stone"});
}

}  // namespace
}  // namespace vorek
