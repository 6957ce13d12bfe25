// vorek-cli only reads the position folder: no command writes, replaces or adds a file.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/cli/cli_run.h"
#include "tests/temp_dir.h"

namespace vorek::testing {
namespace {

struct FolderState {
    std::string listing;
    std::string board, move;
    std::filesystem::file_time_type boardTime, moveTime;
    bool operator==(const FolderState&) const = default;
};

FolderState stateOf(const TempDir& dir) {
    return {dir.listing(), dir.read("plocha.dat"), dir.read("tah.dat"),
            std::filesystem::last_write_time(dir / "plocha.dat"),
            std::filesystem::last_write_time(dir / "tah.dat")};
}

TEST(CliReadOnly, PositionFilesKeepTheirBytesAndTimes) {
    for (const char* name : {"middlegame", "opening"}) {
        SCOPED_TRACE(name);
        const TempDir dir;
        for (const char* file : {"plocha.dat", "tah.dat"}) {
            std::filesystem::copy_file(example(name) / file, dir / file);
            // An hour back, so that a rewrite within the test shows in the time.
            std::filesystem::last_write_time(
                dir / file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        }
        const FolderState before = stateOf(dir);
        const std::string folder = dir.path().string();
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"show", "--dir", folder, "0", "1,1"},
              std::vector<std::string>{"tree", "--dir", folder, "root", "0", "0.0"},
              std::vector<std::string>{"show"}, std::vector<std::string>{"tree", "root"}}) {
            const CliRun run = runCli(arguments, dir.path());
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_TRUE(stateOf(dir) == before) << arguments.front();
        }
    }
}

}  // namespace
}  // namespace vorek::testing
