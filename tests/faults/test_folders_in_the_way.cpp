// A folder where a position file should be. Reading treats it as a missing
// file, writing leaves it alone and writes the other files, and the tools
// report it and go on.
#include <gtest/gtest.h>

#include "files/position_files.h"
#include "tests/board_builder.h"
#include "tests/faults/child_process.h"
#include "tests/faults/position_folder.h"

namespace vorek::testing {
namespace {

namespace fs = std::filesystem;

class FolderInTheWay : public ::testing::Test {
protected:
    TempDir dir;

    void SetUp() override { copyExample("middlegame", dir); }

    void replaceByFolder(const char* name) {
        fs::remove(dir / name);
        fs::create_directory(dir / name);
        dir.write(std::string(name) + "/inside", "kept");
    }
};

// A folder named "plocha.dat" is covered with the position file tests.
TEST_F(FolderInTheWay, MoveFileFolderReadsAsNoPositionAndIsNotReplaced) {
    replaceByFolder("tah.dat");
    const FilePosition files = readPosition(dir.path());
    EXPECT_FALSE(files.read);
    EXPECT_EQ(files.stones, Stones());
    EXPECT_FALSE(readMoveReply(dir.path()).has_value());

    const auto written = boardFromRows({"xo"});
    EXPECT_FALSE(writePositionFiles(*written, dir.path()));
    EXPECT_EQ(dir.read("plocha.dat"), boardFile({"xo"}));
    EXPECT_EQ(dir.read("tah.dat/inside"), "kept");
    EXPECT_EQ(dir.listing(), "plocha.dat tah.dat ");
}

TEST_F(FolderInTheWay, TimeFileFolderIsNotReplaced) {
    replaceByFolder("timeouts.dat");
    EXPECT_FALSE(writeTimeouts(5, dir.path()));
    EXPECT_EQ(dir.read("timeouts.dat/inside"), "kept");
    EXPECT_EQ(dir.listing(), "plocha.dat tah.dat timeouts.dat ");
}

TEST_F(FolderInTheWay, CliShowsTheEmptyBoardAndSaysWhy) {
    for (const char* name : {"plocha.dat", "tah.dat"}) {
        SCOPED_TRACE(name);
        copyExample("middlegame", dir);
        replaceByFolder(name);
        const ProgramRun show = runProgram(CLI_PROGRAM, {"show"}, dir.path(), {});
        EXPECT_EQ(show.exitCode, 0) << show.err;
        EXPECT_EQ(show.out.substr(0, 7), "read 0\n");
        EXPECT_NE(show.out.find("\nstones 0\n"), std::string::npos);

        const ProgramRun tree = runProgram(CLI_PROGRAM, {"tree", "root"}, dir.path(), {});
        EXPECT_EQ(tree.exitCode, 0) << tree.err;
        EXPECT_EQ(tree.out.substr(0, 10), "root -1 OR");
        EXPECT_NE(tree.err.find("could not be read"), std::string::npos) << tree.err;
        fs::remove_all(dir / name);
    }
}

TEST_F(FolderInTheWay, AiRefusesWithOneLineAndLeavesTheFolder) {
    for (const char* name : {"plocha.dat", "tah.dat"}) {
        SCOPED_TRACE(name);
        copyExample("middlegame", dir);
        replaceByFolder(name);
        const ProgramRun run = runProgram(AI_PROGRAM, {}, dir.path(), {});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "vorek-ai: cannot read the position from \"plocha.dat\" and \"tah.dat\"\n");
        EXPECT_EQ(dir.read(std::string(name) + "/inside"), "kept");
        EXPECT_EQ(dir.listing(), "plocha.dat tah.dat ");
        fs::remove_all(dir / name);
    }
}

}  // namespace
}  // namespace vorek::testing
