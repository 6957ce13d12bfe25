// vorek-ai as the window runs it: in the folder of the position files, with
// its answer in "tah.dat" and its exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <regex>

#include "board/candidates.h"
#include "tests/board_builder.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

using testing::boardFile;

class VorekAi : public ::testing::Test {
protected:
    testing::TempDir dir;

    // Runs vorek-ai in the folder; its exit code, with stderr kept in "err".
    int run() {
        const std::string command = "cd '" + dir.path().string() + "' && '" VOREK_AI_PATH "' 2> err";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string answer(std::initializer_list<std::string_view> rows, std::string_view mover = "x") {
        dir.write("plocha.dat", boardFile(rows));
        dir.write("tah.dat", mover);
        EXPECT_EQ(run(), 0) << dir.read("err");
        return dir.read("tah.dat");
    }
};

TEST_F(VorekAi, CompletesItsOwnFiveFirstWhoeverIsToMove) {
    const std::initializer_list<std::string_view> board = {
        "", "", "", "       x", "       x", "       x", "       x", "", "", "",
        "", "", "", "", "", " xoooo"};
    EXPECT_EQ(answer(board, "x"), "7,2");   // the open four's first square
    EXPECT_EQ(answer(board, "o"), "6,15");  // "o" to move: its own four, not the block
}

TEST_F(VorekAi, BlocksTheOpponentsFour) {
    EXPECT_EQ(answer({"", "", "", "", "", "", "", "", "", "", "", "  x    x",
                      "         xoooo", "       x"}),
              "14,12");
}

// Player 0 threatens to win on its own, so the generator lists a defence
// first (6,13); solving finds that x wins first, by three fours in a row from
// 7,10.
TEST_F(VorekAi, PlaysTheProvingMoveWhereTheGeneratorWouldDefend) {
    const std::initializer_list<std::string_view> board = {
        "", "", "", "", "", "", "", "            o", "       xx ox", "        o x", "        xxxo",
        "        oox", "       xox", "       oo o"};
    ASSERT_EQ(generateCandidates(*testing::evaluatedBoard(board)), GENERATE_OPEN);
    ASSERT_EQ(CandidateList.squares[0], squareAt(6, 13));
    EXPECT_EQ(answer(board), "7,10");
}

TEST_F(VorekAi, OpensInTheCentreWhateverTheTimeFileHolds) {
    for (const char* timeouts : {"", "3\r\n2147483647\r\n", "junk", "0\r\n"}) {
        if (*timeouts) dir.write("timeouts.dat", timeouts);
        EXPECT_EQ(answer({}), "10,10") << timeouts;
    }
}

TEST_F(VorekAi, VersionIsPrintedWithoutTouchingAnyFile) {
    const std::string command =
        "cd '" + dir.path().string() + "' && '" VOREK_AI_PATH "' --version > version 2> err";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::regex_match(dir.read("version"),
                                 std::regex("vorek-ai [0-9]+\\.[0-9]+\\.[0-9]+\n")));
    EXPECT_EQ(dir.listing(), "err version ");
}

TEST_F(VorekAi, PositionItCannotPlayLeavesTheMoveFileAlone) {
    dir.write("tah.dat", "x");
    EXPECT_EQ(run(), 1);  // no "plocha.dat"
    dir.write("plocha.dat", std::string(399, '-'));
    EXPECT_EQ(run(), 1);  // a square short
    dir.write("plocha.dat", std::string(400, 'o'));
    EXPECT_EQ(run(), 1);  // no empty square
    EXPECT_EQ(dir.read("tah.dat"), "x");
    const std::string err = dir.read("err");
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;  // one line
}

}  // namespace
}  // namespace vorek
