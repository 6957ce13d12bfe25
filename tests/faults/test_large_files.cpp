// A "plocha.dat" of 100 MB. Only its first 400 square characters count, so it
// is read in bounded time and memory: a child process holds it to an address
// space cap well below the file's size (where the sanitizers allow one) and
// to a time limit, and reports how much memory reading took.
#include <gtest/gtest.h>

#include <fstream>

#include "files/game_record.h"
#include "files/position_files.h"
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
    Stones expected;
    std::string position;  // the example's "plocha.dat"

    void SetUp() override {
        copyExample("middlegame", dir);
        const FilePosition files = readPosition(dir.path());
        ASSERT_TRUE(files.read);
        expected = files.stones;
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
            const FilePosition files = readPosition(dir.path());
            if (!files.read) return "not read";
            if (files.stones != expected) return "a different position";
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
    EXPECT_NE(show.out.find("\nstones " + std::to_string(expected.count()) + "\n"), std::string::npos);
}

// The AI's own time limit counts from its start; the sparse file keeps the
// read quick however slow the build, so only the memory is at stake.
TEST_F(HugeBoardFile, AiAnswersUnderTheSameCap) {
    writeSparse(dir / "plocha.dat", position, HUNDRED_MB);
    const ProgramRun ai = runProgram(AI_PROGRAM, {}, dir.path(), {.dataSize = PROGRAM_DATA_CAP});
    EXPECT_EQ(ai.exitCode, 0) << ai.err;
    EXPECT_NE(dir.read("tah.dat"), "x");  // the answer replaced the side to move
}

// Game records of 100 MB: whatever follows the moves is never read, and a
// header line that does not end is read no further than a header can be long.
class HugeGameRecord : public ::testing::Test {
protected:
    TempDir dir;
    const std::string moves = "Piskvorky 20x20, 7:7, 0\r\n10,10,0\r\n11,11,0\r\n";

    ChildResult readInChild(std::size_t expectedMoves, int expectedErrorLine) {
        return runInChild({.extraAddressSpace = MEMORY_CAP}, [&]() -> std::string {
            const auto read = readGameRecord(dir / "game.psq");
            if (const auto* error = std::get_if<RecordError>(&read))
                return error->line == expectedErrorLine ? "" : "error on line " + std::to_string(error->line);
            if (expectedErrorLine != 0) return "read";
            return std::get<GameRecord>(read).moves.size() == expectedMoves ? "" : "other moves";
        });
    }
};

TEST_F(HugeGameRecord, MovesThenAHundredMegabyteLineReadInBoundedMemory) {
    writeSparse(dir / "game.psq", moves, HUNDRED_MB);
    const ChildResult run = readInChild(2, 0);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
    EXPECT_LT(run.addedKb, MEMORY_CAP_KB);

    const ProgramRun game = runProgram(CLI_PROGRAM, {"game", "game.psq", "--nodes", "100"}, dir.path(),
                                       {.dataSize = PROGRAM_DATA_CAP});
    EXPECT_EQ(game.exitCode, 0) << game.err;
    EXPECT_TRUE(game.out.ends_with("summary missed 0 blunder 0 unclear 0\n")) << game.out;
}

TEST_F(HugeGameRecord, HeaderLineOfAHundredMegabytesIsRefusedInBoundedMemory) {
    writeSparse(dir / "game.psq", "Piskvorky 20x20, 7:7, 0", HUNDRED_MB);
    const ChildResult run = readInChild(0, 1);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
    EXPECT_LT(run.addedKb, MEMORY_CAP_KB);
}

}  // namespace
}  // namespace vorek::testing
