// Writes that cannot be made: a folder the user may read but not write, and a
// disk that fills up part way through a file. Each write fails quietly, the
// old files keep every byte, nothing half-written is left beside them, and
// the tools go on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "files/file_snapshot.h"
#include "files/position_files.h"
#include "tests/board_builder.h"
#include "tests/faults/child_process.h"
#include "tests/faults/position_folder.h"

namespace vorek::testing {
namespace {

namespace fs = std::filesystem;

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

// Where nothing can be renamed or made in the folder (read-only), an ask's
// file goes in place into the very file found, when it alone has it, and
// comes back so; the put-back never writes in place into anything else, a
// hard link to a file outside among them.
TEST_F(FailedWrites, InPlacePutBackWritesOnlyIntoTheFileFound) {
    const TempDir outside;
    for (const fs::path& folder : {dir.path(), outside.path()}) {
        ::chown(folder.c_str(), 65534, 65534);
        for (const auto& entry : fs::directory_iterator(folder)) ::chown(entry.path().c_str(), 65534, 65534);
    }
    outside.write("victim", "victim");
    ::chown((outside / "victim").c_str(), 65534, 65534);
    const std::string board = dir.read("plocha.dat");
    const ChildResult run = runInChild({.unprivileged = true}, [&]() -> std::string {
        const auto inode = [&](const char* name) { return fs::hard_link_count(dir / name) == 1 ? dir.read(name) : ""; };
        FileSnapshot found = FileSnapshot::take(dir.path(), {"plocha.dat", "tah.dat"});
        fs::permissions(dir.path(), fs::perms(0555));
        struct stat before {};
        ::stat((dir / "plocha.dat").c_str(), &before);
        if (!found.writeForNow("plocha.dat", "asked")) return "the ask's file was not written in place";
        struct stat asked {};
        ::stat((dir / "plocha.dat").c_str(), &asked);
        if (asked.st_ino != before.st_ino || inode("plocha.dat") != "asked") return "not written in place";
        dir.write("plocha.dat", "9,9");  // the program writes in place too
        if (!found.restore().empty() || dir.read("plocha.dat") != board) return "not put back in place";

        fs::permissions(dir.path(), fs::perms(0755));
        fs::remove(dir / "tah.dat");
        fs::create_hard_link(outside / "victim", dir / "tah.dat");
        fs::permissions(dir.path(), fs::perms(0555));
        if (found.restore().size() != 1) return "a put-back that could not be made was not said";
        return outside.read("victim") == "victim" ? "" : "written through a hard link the program made";
    });
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "");
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
