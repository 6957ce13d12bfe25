// Position files as other editors and programs leave them: line ends of CR
// alone, NUL bytes, UTF-8 text. Blanks of any kind only separate, every other
// byte is one square character, and only the ASCII letters x and o are stones.
#include <gtest/gtest.h>

#include "files/position_files.h"
#include "tests/faults/child_process.h"
#include "tests/faults/position_folder.h"

namespace vorek::testing {
namespace {

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class OddBytes : public ::testing::Test {
protected:
    TempDir dir;

    Stones read(std::string_view boardBytes, std::string_view moveBytes) {
        dir.write("plocha.dat", boardBytes);
        dir.write("tah.dat", moveBytes);
        const FilePosition files = readPosition(dir.path());
        EXPECT_TRUE(files.read);
        return files.stones;
    }
};

TEST_F(OddBytes, OtherSpellingsOfAPositionReadAndShowAlike) {
    copyExample("middlegame", dir);
    const std::string original = dir.read("plocha.dat");
    const std::string mover = dir.read("tah.dat");
    const auto reference = read(original, mover);
    const ProgramRun shown = runProgram(CLI_PROGRAM, {"show", "9,9"}, dir.path(), {});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;

    const struct {
        const char* what;
        std::string board;
        std::string move;
    } spellings[] = {
        {"CR line ends", replaceAll(original, "\r\n", "\r"), mover + "\r"},
        {"LF line ends", replaceAll(original, "\r\n", "\n"), mover + "\n"},
        {"NUL bytes for empty squares", replaceAll(original, "-", std::string(1, '\0')), mover},
        {"one line, tabs between the squares", replaceAll(replaceAll(original, "\r\n", ""), "-", "\t-"),
         "\f" + mover},
    };
    for (const auto& spelling : spellings) {
        SCOPED_TRACE(spelling.what);
        const auto board = read(spelling.board, spelling.move);
        EXPECT_EQ(board, reference);
        const ProgramRun run = runProgram(CLI_PROGRAM, {"show", "9,9"}, dir.path(), {});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, shown.out);
    }
}

TEST_F(OddBytes, EachByteOfAMultiByteCharacterIsAnEmptySquare) {
    // "x", the multiplication sign (2 bytes), "o", a full-width x (3 bytes), "o".
    const auto board = read("x\xc3\x97o\xef\xbd\x98o" + std::string(393, '-'), "x");
    EXPECT_EQ(board.count(), 3);
    EXPECT_EQ(board.at(0), PLAYER1);
    EXPECT_EQ(board.at(3), PLAYER0);
    EXPECT_EQ(board.at(7), PLAYER0);
    for (int s : {1, 2, 4, 5, 6, 399}) EXPECT_TRUE(board.isEmpty(s)) << s;

    // A full-width o names no player: the x stones are to move.
    const auto named = read("xo" + std::string(398, '-'), "\xef\xbd\x8f");
    EXPECT_EQ(named.at(0), PLAYER1);
}

TEST_F(OddBytes, MoveFileWithNulOrCrOnly) {
    const std::string board = "xo" + std::string(398, '-');
    EXPECT_EQ(read(board, "\r\ro\r").at(1), PLAYER1);                // "o" after CR line ends
    EXPECT_EQ(read(board, std::string("\0o", 2)).at(0), PLAYER1);  // NUL names nobody: "x"

    const auto reply = [&](std::string_view bytes) {
        dir.write("tah.dat", bytes);
        const auto move = readMoveReply(dir.path());
        return move ? std::to_string(move->x) + "," + std::to_string(move->y) : "no move";
    };
    EXPECT_EQ(reply(std::string("7\0" "3", 3)), "7,3");  // NUL as the separator
    EXPECT_EQ(reply(std::string("7,3\0\0\0", 6)), "7,3");
    EXPECT_EQ(reply("\r7\r,\r3\r"), "7,3");
    EXPECT_EQ(reply(std::string(3, '\0')), "no move");
    EXPECT_EQ(reply(std::string("\0" "7,3", 4)), "no move");
}

}  // namespace
}  // namespace vorek::testing
