// Taking the manager's lines apart: commands, their arguments, stone lines.
#include <gtest/gtest.h>

#include "ai/engine_command.h"

namespace vorek {
namespace {

TEST(EngineCommand, WordsArgumentsAndMalformedLines) {
    const struct {
        const char* line;
        CommandKind kind;
        bool wellFormed;
        int a, b;  // START: size and 0; TURN, TAKEBACK: x and y
    } cases[] = {
        {"", CommandKind::Empty, true, 0, 0},
        {" \t ", CommandKind::Empty, true, 0, 0},
        {"START 20", CommandKind::Start, true, 20, 0},
        {"start 15", CommandKind::Start, true, 15, 0},
        {"START", CommandKind::Start, false, 0, 0},
        {"START twenty", CommandKind::Start, false, 0, 0},
        {"START 99999999999", CommandKind::Start, false, 0, 0},
        {"TURN 10,9", CommandKind::Turn, true, 10, 9},
        {"  turn  10 , 9  ", CommandKind::Turn, true, 10, 9},
        {"TURN -1,25", CommandKind::Turn, true, -1, 25},  // read; the engine refuses it
        {"TURN 10 9", CommandKind::Turn, false, 0, 0},
        {"TURN 10,9,1", CommandKind::Turn, false, 0, 0},
        {"TURN ,", CommandKind::Turn, false, 0, 0},
        {"TURN", CommandKind::Turn, false, 0, 0},
        {"TAKEBACK 3,4", CommandKind::Takeback, true, 3, 4},
        {"BEGIN", CommandKind::Begin, true, 0, 0},
        {"BOARD", CommandKind::Board, true, 0, 0},
        {"DONE", CommandKind::Done, true, 0, 0},
        {"RESTART", CommandKind::Restart, true, 0, 0},
        {"ABOUT", CommandKind::About, true, 0, 0},
        {"END", CommandKind::End, true, 0, 0},
        {"INFO", CommandKind::Info, false, 0, 0},
        {"SWAP2BOARD", CommandKind::Unknown, true, 0, 0},
        {"10,9,1", CommandKind::Unknown, true, 0, 0},
    };
    for (const auto& c : cases) {
        const EngineCommand command = parseEngineCommand(c.line);
        EXPECT_EQ(command.kind, c.kind) << c.line;
        EXPECT_EQ(command.wellFormed, c.wellFormed) << c.line;
        if (command.kind == CommandKind::Start) {
            EXPECT_EQ(command.size, c.a) << c.line;
        }
        if (command.kind == CommandKind::Turn || command.kind == CommandKind::Takeback) {
            EXPECT_EQ(command.x, c.a) << c.line;
            EXPECT_EQ(command.y, c.b) << c.line;
        }
    }
    const EngineCommand info = parseEngineCommand("INFO  folder  /tmp/my games \r");
    EXPECT_EQ(info.key, "folder");
    EXPECT_EQ(info.value, "/tmp/my games");
    EXPECT_EQ(parseEngineCommand("Frobnicate now").word, "Frobnicate");
}

TEST(EngineCommand, StoneLinesAreThreeNumbers) {
    const auto stone = parseStoneLine(" 7, 8 ,2");
    ASSERT_TRUE(stone.has_value());
    EXPECT_EQ(stone->x * 10000 + stone->y * 100 + stone->field, 70802);
    for (const char* bad : {"7,8", "7,8,2,1", "7;8;2", "a,b,c", "", "DONE x", "7,,2"})
        EXPECT_FALSE(parseStoneLine(bad).has_value()) << bad;
}

}  // namespace
}  // namespace vorek
