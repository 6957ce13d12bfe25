// Putting the protocol files of a folder back exactly as they were found.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "files/file_snapshot.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(FileSnapshot, PutsBackTheBytesFoundAndRemovesWhatWasMissing) {
    TempDir dir;
    const std::string odd("x-o\n\r\n\0tail", 11);  // any bytes, line ends as they were
    dir.write("plocha.dat", odd);
    const FileSnapshot snapshot = FileSnapshot::take(dir.path(), {"plocha.dat", "tah.dat"});

    dir.write("plocha.dat", "rewritten");
    dir.write("tah.dat", "o");
    ASSERT_TRUE(snapshot.restore());
    EXPECT_EQ(dir.read("plocha.dat"), odd);
    EXPECT_FALSE(dir.exists("tah.dat"));
    EXPECT_TRUE(snapshot.restore());  // again: nothing to do
}

TEST(FileSnapshot, LeavesAloneWhatItCouldNotKeep) {
    TempDir dir;
    fs::create_directory(dir / "tah.dat");
    ASSERT_EQ(::mkfifo((dir / "plocha.dat").c_str(), 0600), 0);
    const FileSnapshot snapshot = FileSnapshot::take(dir.path(), {"plocha.dat", "tah.dat"});
    EXPECT_TRUE(snapshot.restore());
    EXPECT_TRUE(fs::is_directory(dir / "tah.dat"));
    EXPECT_TRUE(fs::is_fifo(dir / "plocha.dat"));
}

TEST(FileSnapshot, AFolderThatCameInPlaceOfAMissingFileStays) {
    TempDir dir;
    const FileSnapshot snapshot = FileSnapshot::take(dir.path(), {"tah.dat"});
    fs::create_directory(dir / "tah.dat");
    EXPECT_FALSE(snapshot.restore());
    EXPECT_TRUE(fs::is_directory(dir / "tah.dat"));
}

}  // namespace
}  // namespace vorek
