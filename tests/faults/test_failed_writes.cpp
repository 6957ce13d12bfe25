// Writes that cannot be made: a folder the user may read but not write, and a
// disk that fills up part way through a file. Each write fails quietly, the
// old files keep every byte, nothing half-written is left beside them, and
// the tools go on.
#include <gtest/gtest.h>

#include <regex>

#include "files/position_files.h"
#include "tests/board_builder.h"
#include "tests/faults/child_process.h"
#include "tests/faults/position_folder.h"

namespace vorek::testing {
namespace {

std::string readBack(const std::filesystem::path& folder, const Stones& expected) {
    const FilePosition files = readPosition(folder);
    if (!files.read) return "the position could not be read";
    if (files.stones != expected) return "the position read is not the one in the files";
    return {};
}

class FailedWrites : public ::testing::Test {
protected:
    TempDir dir;
    Stones position;

    void SetUp() override {
        copyExample("middlegame", dir);
        const FilePosition files = readPosition(dir.path());
        ASSERT_TRUE(files.read);
        position = files.stones;
    }
};

TEST_F(FailedWrites, ReadOnlyFolderKeepsItsFilesAndTheEngineGoesOn) {
    makeReadOnly(dir.path());
    const FolderContents before = contentsOf(dir.path());
    const auto board = boardFromRows({"x", " o"}, PLAYER0);
    const ChildResult run = runInChild({.unprivileged = true}, [&]() -> std::string {
        if (std::string fault = readBack(dir.path(), position); !fault.empty()) return fault;
        if (writePositionFiles(*board, dir.path())) return "writing the position reported success";
        if (writeTimeouts(3, dir.path())) return "writing the time file reported success";
        return readBack(dir.path(), position);  // still the old position, whole
    });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(contentsOf(dir.path()), before);
}

TEST_F(FailedWrites, WritableFilesInAReadOnlyFolderAreRewrittenWhole) {
    makeReadOnly(dir.path(), /*writableFiles=*/true);
    const auto board = boardFromRows({"x", " o"}, PLAYER0);
    const ChildResult run = runInChild({.unprivileged = true}, [&]() -> std::string {
        if (!writePositionFiles(*board, dir.path())) return "the position was not written";
        if (writeTimeouts(3, dir.path())) return "a time file was made in a read-only folder";
        return {};
    });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
    // The files themselves were rewritten in full; nothing new beside them.
    EXPECT_EQ(contentsOf(dir.path()), (FolderContents{{"plocha.dat", boardFile({"x", " o"})}, {"tah.dat", "o"}}));
}

TEST_F(FailedWrites, AFullDiskLeavesTheOldFileWhole) {
    const FolderContents before = contentsOf(dir.path());
    const auto board = boardFromRows({"x"}, PLAYER0);
    // Room for "tah.dat" and "timeouts.dat", not for the 440 bytes of "plocha.dat".
    const ChildResult run = runInChild({.fileSize = 100}, [&]() -> std::string {
        if (writePositionFiles(*board, dir.path())) return "writing the position reported success";
        if (!writeTimeouts(9, dir.path())) return "the time file was not written";
        return {};
    });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
    const FolderContents after = contentsOf(dir.path());
    EXPECT_EQ(after, (FolderContents{{"plocha.dat", before.at("plocha.dat")},
                                     {"tah.dat", "o"},
                                     {"timeouts.dat", "9\r\n2147483647\r\n"}}));
}

// In a read-only folder the files can only be overwritten where they are, and
// a full disk must stop that before the first old byte is lost.
TEST_F(FailedWrites, AFullDiskInAReadOnlyFolderLeavesTheOldFileWhole) {
    makeReadOnly(dir.path(), /*writableFiles=*/true);
    const FolderContents before = contentsOf(dir.path());
    const auto board = boardFromRows({"x"}, PLAYER0);
    const ChildResult run = runInChild({.unprivileged = true, .fileSize = 100}, [&]() -> std::string {
        return writePositionFiles(*board, dir.path()) ? "writing the position reported success" : "";
    });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(contentsOf(dir.path()), (FolderContents{{"plocha.dat", before.at("plocha.dat")}, {"tah.dat", "o"}}));
}

class ToolsInAReadOnlyFolder : public ::testing::Test {
protected:
    TempDir dir;

    void SetUp() override {
        for (const std::string& program : {CLI_PROGRAM, AI_PROGRAM})
            if (!unprivilegedCanRun(program))
                GTEST_SKIP() << "user 65534 cannot reach " << program;
        copyExample("middlegame", dir);
    }
};

TEST_F(ToolsInAReadOnlyFolder, CliPrintsWhatItPrintsInAWritableOne) {
    const std::vector<std::vector<std::string>> commands = {{"show", "0", "1,1"}, {"tree", "root", "0", "0.0"}};
    std::vector<ProgramRun> writable;
    for (const auto& arguments : commands) writable.push_back(runProgram(CLI_PROGRAM, arguments, dir.path(), {}));
    makeReadOnly(dir.path());
    const FolderContents before = contentsOf(dir.path());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const ProgramRun run = runProgram(CLI_PROGRAM, commands[i], dir.path(), {.unprivileged = true});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, writable[i].out) << commands[i].front();
        EXPECT_EQ(run.err, writable[i].err) << commands[i].front();
    }
    EXPECT_EQ(contentsOf(dir.path()), before);
}

TEST_F(ToolsInAReadOnlyFolder, AiThatCannotAnswerSaysSoAndLeavesTheFiles) {
    makeReadOnly(dir.path());
    const FolderContents before = contentsOf(dir.path());
    const ProgramRun run = runProgram(AI_PROGRAM, {}, dir.path(), {.unprivileged = true});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vorek-ai: cannot write \"tah.dat\"\n");
    EXPECT_EQ(contentsOf(dir.path()), before);
}

TEST_F(ToolsInAReadOnlyFolder, AiAnswersIntoAWritableMoveFile) {
    makeReadOnly(dir.path(), /*writableFiles=*/true);
    const ProgramRun run = runProgram(AI_PROGRAM, {}, dir.path(), {.unprivileged = true});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const FolderContents after = contentsOf(dir.path());
    EXPECT_EQ(after.size(), 2u);
    EXPECT_TRUE(std::regex_match(after.at("tah.dat"), std::regex("[0-9]+,[0-9]+"))) << after.at("tah.dat");
}

}  // namespace
}  // namespace vorek::testing
