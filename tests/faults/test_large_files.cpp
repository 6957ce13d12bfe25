// A "plocha.dat" of 100 MB. Only its first 400 square characters count, so it
// is read in bounded time and memory: a child process holds it to an address
// space cap well below the file's size (where the sanitizers allow one) and
// to a time limit, and reports how much memory reading took.
#include <gtest/gtest.h>

#include <fstream>

#include "board/position_files.h"
#include "tests/faults/child_process.h"
#include "tests/faults/position_folder.h"

namespace vorek::testing {
namespace {

constexpr std::size_t HUNDRED_MB = 100u << 20;
constexpr std::size_t MEMORY_CAP = 32u << 20;
constexpr long MEMORY_CAP_KB = MEMORY_CAP >> 10;
// The tools run under a cap on their private memory, far below the 100 MB file.
constexpr std::size_t PROGRAM_DATA_CAP = 64u << 20;

class HugeBoardFile : public ::testing::Test {
protected:
    TempDir dir;
    V2Board expected;
    std::string position;  // the example's "plocha.dat"

    void SetUp() override {
        copyExample("middlegame", dir);
        ASSERT_TRUE(readPosition(expected, dir.path()));
        position = dir.read("plocha.dat");
    }

    // The board file: blank lines up to 100 MB, then the position.
    void writeBlanksFirst() {
        std::ofstream out(dir / "plocha.dat", std::ios::binary | std::ios::trunc);
        const std::string blanks(1 << 20, '\n');
        for (std::size_t written = 0; written + blanks.size() <= HUNDRED_MB; written += blanks.size()) out << blanks;
        out << position;
    }

    ChildResult readInChild() {
        return runInChild({.extraAddressSpace = MEMORY_CAP}, [&]() -> std::string {
            V2Board board;
            if (!readPosition(board, dir.path())) return "not read";
            if (board.squares != expected.squares) return "a different position";
            return {};
        });
    }
};

TEST_F(HugeBoardFile, PositionThenAHoleIsReadFromItsStart) {
    writeSparse(dir / "plocha.dat", position, HUNDRED_MB);
    const ChildResult run = readInChild();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
    EXPECT_LT(run.addedKb, MEMORY_CAP_KB);
}

TEST_F(HugeBoardFile, PositionAfterAHundredMegabytesOfBlankLinesIsFound) {
    writeBlanksFirst();
    const ChildResult run = readInChild();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
    EXPECT_LT(run.addedKb, MEMORY_CAP_KB);
}

TEST_F(HugeBoardFile, CliReadsItUnderTheSameCap) {
    writeBlanksFirst();
    const ProgramRun show = runProgram(CLI_PROGRAM, {"show"}, dir.path(), {.dataSize = PROGRAM_DATA_CAP});
    EXPECT_EQ(show.exitCode, 0) << show.err;
    EXPECT_EQ(show.out.substr(0, 7), "read 1\n");
    EXPECT_NE(show.out.find("\nstones " + std::to_string(expected.stoneCount) + "\n"), std::string::npos);
}

// The AI's own time limit counts from its start; the sparse file keeps the
// read quick however slow the build, so only the memory is at stake.
TEST_F(HugeBoardFile, AiAnswersUnderTheSameCap) {
    writeSparse(dir / "plocha.dat", position, HUNDRED_MB);
    const ProgramRun ai = runProgram(AI_PROGRAM, {}, dir.path(), {.dataSize = PROGRAM_DATA_CAP});
    EXPECT_EQ(ai.exitCode, 0) << ai.err;
    EXPECT_NE(dir.read("tah.dat"), "x");  // the answer replaced the side to move
}

}  // namespace
}  // namespace vorek::testing
