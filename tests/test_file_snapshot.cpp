// Putting the protocol files of a folder back exactly as they were found,
// whatever a program left in their place, without ever writing through a
// link it made.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>

#include "files/file_snapshot.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

FileSnapshot takeProtocolFiles(const fs::path& folder) {
    return FileSnapshot::take(folder, {"plocha.dat", "tah.dat", "timeouts.dat"});
}

TEST(FileSnapshot, PutsBackTheBytesFoundAndRemovesWhatWasMissing) {
    TempDir dir;
    const std::string odd("x-o\n\r\n\0tail", 11);  // any bytes, line ends as they were
    dir.write("plocha.dat", odd);
    const FileSnapshot snapshot = FileSnapshot::take(dir.path(), {"plocha.dat", "tah.dat"});

    dir.write("plocha.dat", "rewritten");
    dir.write("tah.dat", "o");
    dir.write("TAH.DAT", "3,4");  // made under another case
    EXPECT_EQ(snapshot.restore(), std::vector<std::string>{});
    EXPECT_EQ(dir.read("plocha.dat"), odd);
    EXPECT_EQ(dir.listing(), "plocha.dat ");
    EXPECT_EQ(snapshot.restore(), std::vector<std::string>{});  // again: nothing to do

    const FileSnapshot exact = FileSnapshot::take(dir.path(), {"tah.dat"}, FileSnapshot::Spelling::Exact);
    dir.write("TAH.DAT", "3,4");
    EXPECT_EQ(exact.restore(), std::vector<std::string>{});
    EXPECT_EQ(dir.listing(), "TAH.DAT plocha.dat ");  // only the names given are looked at
}

TEST(FileSnapshot, LeavesAloneWhatItCouldNotKeepAndSaysWhy) {
    TempDir dir;
    fs::create_directory(dir / "tah.dat");
    ASSERT_EQ(::mkfifo((dir / "plocha.dat").c_str(), 0600), 0);
    fs::create_symlink("tah.dat", dir / "timeouts.dat");  // a link to the folder
    const FileSnapshot snapshot = takeProtocolFiles(dir.path());
    ASSERT_EQ(snapshot.leftOut().size(), 3u);
    EXPECT_EQ(snapshot.leftOut()[0].why, "is a named pipe");
    EXPECT_EQ(snapshot.leftOut()[1].why, "is a folder");
    EXPECT_EQ(snapshot.leftOut()[2].why, "is a link to something other than a file");
    EXPECT_EQ(snapshot.restore(), std::vector<std::string>{});
    EXPECT_TRUE(fs::is_directory(dir / "tah.dat"));
    EXPECT_TRUE(fs::is_fifo(dir / "plocha.dat"));
    EXPECT_TRUE(fs::is_symlink(dir / "timeouts.dat"));
}

TEST(FileSnapshot, OnlyAFolderThatIsNotEmptyStaysInTheWay) {
    TempDir dir;
    dir.write("tah.dat", "x");
    const FileSnapshot snapshot = FileSnapshot::take(dir.path(), {"tah.dat", "plocha.dat"});
    for (const char* name : {"tah.dat", "plocha.dat"}) {
        fs::remove(dir / name);
        fs::create_directory(dir / name);
    }
    EXPECT_EQ(snapshot.restore(), std::vector<std::string>{});
    EXPECT_EQ(dir.listing(), "tah.dat ");
    EXPECT_EQ(dir.read("tah.dat"), "x");

    for (const char* name : {"tah.dat", "plocha.dat"}) {
        fs::remove(dir / name);
        fs::create_directory(dir / name);
        dir.write(std::string(name) + "/inside", "kept");
    }
    const std::string path = (dir / "tah.dat").string();
    EXPECT_EQ(snapshot.restore(FileSnapshot::Blocked::WriteBeside),
              (std::vector<std::string>{"could not put back \"" + path + "\": a folder that is not empty stands "
                                        "there; the bytes found are in \"" + path + ".saved\"",
                                        "could not take away \"" + (dir / "plocha.dat").string() +
                                            "\": a folder that is not empty stands there"}));
    EXPECT_EQ(dir.read("tah.dat.saved"), "x");
    EXPECT_EQ(dir.read("tah.dat/inside"), "kept");
}

// The folder is held from the start: the put-back happens in it even when
// its path has been taken away and replaced by a link to another folder.
// Only the link found, still there with the same text, counts as the user's:
// a link made since, one that now leads elsewhere, or anything else at the
// name does not.
TEST(FileSnapshot, TheLinkFoundIsKnownByItsText) {
    TempDir dir;
    dir.write("kept", "x");
    fs::create_symlink("kept", dir / "plocha.dat");
    fs::create_symlink("nowhere", dir / "timeouts.dat");
    dir.write("tah.dat", "x");
    const FileSnapshot snapshot = takeProtocolFiles(dir.path());
    EXPECT_TRUE(snapshot.holdsLinkFound("plocha.dat"));
    EXPECT_TRUE(snapshot.holdsLinkFound("timeouts.dat"));  // a link to nothing is kept too
    EXPECT_FALSE(snapshot.holdsLinkFound("tah.dat"));

    fs::remove(dir / "tah.dat");
    fs::create_symlink("kept", dir / "tah.dat");  // a link where a file was
    EXPECT_FALSE(snapshot.holdsLinkFound("tah.dat"));
    fs::remove(dir / "plocha.dat");
    fs::create_symlink("kept", dir / "plocha.dat");  // made again, the same
    EXPECT_TRUE(snapshot.holdsLinkFound("plocha.dat"));
    fs::remove(dir / "plocha.dat");
    fs::create_symlink("../kept", dir / "plocha.dat");  // leading elsewhere
    EXPECT_FALSE(snapshot.holdsLinkFound("plocha.dat"));
    fs::remove(dir / "timeouts.dat");
    dir.write("timeouts.dat", "1");  // a file in its place
    EXPECT_FALSE(snapshot.holdsLinkFound("timeouts.dat"));
}

TEST(FileSnapshot, PutsBackIntoTheFolderFoundNotWhereItsPathNowLeads) {
    TempDir base;
    fs::create_directory(base / "folder");
    fs::create_directory(base / "elsewhere");
    base.write("folder/tah.dat", "x");
    const FileSnapshot snapshot = FileSnapshot::take(base / "folder", {"tah.dat"});
    base.write("folder/tah.dat", "3,4");
    fs::rename(base / "folder", base / "moved");
    fs::create_symlink("elsewhere", base / "folder");
    EXPECT_EQ(snapshot.restore(), std::vector<std::string>{});
    EXPECT_EQ(base.read("moved/tah.dat"), "x");
    EXPECT_TRUE(fs::is_empty(base / "elsewhere"));
}

// What makes an entry the very file it was: inode, permissions, owner,
// links and time.
std::string identity(const fs::path& file) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) return "missing";
    return std::to_string(st.st_ino) + " " + std::to_string(st.st_mode) + " " + std::to_string(st.st_uid) + ":" +
           std::to_string(st.st_gid) + " " + std::to_string(st.st_nlink) + " " + std::to_string(st.st_mtim.tv_sec) +
           "." + std::to_string(st.st_mtim.tv_nsec);
}

// What an ask writes stands at the names meanwhile; the files and links
// found wait aside and come back as the very entries they were, whatever
// the program wrote into the ask's files, the same bytes included.
TEST(FileSnapshot, WrittenForNowThenPutBackIsTheVeryFileFound) {
    TempDir dir;
    dir.write("plocha.dat", "board");
    fs::permissions(dir / "plocha.dat", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_hard_link(dir / "plocha.dat", dir / "linked");
    const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ::utimensat(AT_FDCWD, (dir / "plocha.dat").c_str(), old, 0);
    dir.write("tah.dat", "x");
    fs::create_symlink("linked", dir / "timeouts.dat");
    const std::string found[] = {identity(dir / "plocha.dat"), identity(dir / "tah.dat"), identity(dir / "timeouts.dat")};
    FileSnapshot snapshot = takeProtocolFiles(dir.path());

    EXPECT_TRUE(snapshot.writeForNow("plocha.dat", "asked"));
    EXPECT_TRUE(snapshot.writeForNow("tah.dat", "x"));  // the same bytes: aside all the same
    EXPECT_TRUE(snapshot.writeForNow("timeouts.dat", "9"));
    EXPECT_EQ(dir.read("plocha.dat"), "asked");
    EXPECT_EQ(dir.read("linked"), "board");  // the other link never sees the ask
    EXPECT_EQ(identity(dir / "plocha.dat.saved"), found[0]);
    EXPECT_EQ(fs::status(dir / "plocha.dat").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    dir.write("tah.dat", "9,9");  // the program's answer, written into the ask's file
    EXPECT_EQ(identity(dir / "tah.dat.saved"), found[1]);
    EXPECT_FALSE(fs::is_symlink(dir / "timeouts.dat"));

    EXPECT_EQ(snapshot.restore(), std::vector<std::string>{});
    EXPECT_EQ(identity(dir / "plocha.dat"), found[0]);
    EXPECT_EQ(identity(dir / "tah.dat"), found[1]);
    EXPECT_EQ(identity(dir / "timeouts.dat"), found[2]);
    EXPECT_EQ(dir.listing(), "linked plocha.dat tah.dat timeouts.dat ");
    EXPECT_EQ(snapshot.restore(), std::vector<std::string>{});  // again: nothing to do
}

// An entry aside that the program changed or took away is not the user's:
// the bytes kept go back as a new file with the permissions and time found,
// and what stands aside goes. One that cannot go back (a folder that is not
// empty at its name) stays aside, where the message says its bytes are.
TEST(FileSnapshot, WhatStandsAsideComesBackOnlyAsFound) {
    const struct {
        const char* what;
        std::function<void(const TempDir&)> program;
        const char* listing;
        std::size_t problems;
    } cases[] = {
        {"changed aside", [](const TempDir& dir) { dir.write("tah.dat.saved", "changed"); }, "tah.dat ", 0},
        {"taken away", [](const TempDir& dir) { fs::remove(dir / "tah.dat.saved"); }, "tah.dat ", 0},
        {"a folder that is not empty in the way",
         [](const TempDir& dir) {
             fs::remove(dir / "tah.dat");
             fs::create_directory(dir / "tah.dat");
             dir.write("tah.dat/inside", "kept");
         },
         "tah.dat tah.dat.saved ", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.write("tah.dat", "o\r\n");
        fs::permissions(dir / "tah.dat", fs::perms::owner_read);
        const timespec old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
        ::utimensat(AT_FDCWD, (dir / "tah.dat").c_str(), old, 0);
        FileSnapshot snapshot = FileSnapshot::take(dir.path(), {"tah.dat"});
        ASSERT_TRUE(snapshot.writeForNow("tah.dat", "x"));
        c.program(dir);
        const std::vector<std::string> problems = snapshot.restore(FileSnapshot::Blocked::WriteBeside);
        ASSERT_EQ(problems.size(), c.problems);
        EXPECT_EQ(dir.listing(), c.listing);
        const fs::path bytes = dir / (c.problems == 0 ? "tah.dat" : "tah.dat.saved");
        EXPECT_EQ(dir.read(bytes.filename().string()), "o\r\n");
        EXPECT_EQ(fs::status(bytes).permissions(), fs::perms::owner_read);
        struct stat st {};
        ::stat(bytes.c_str(), &st);
        EXPECT_EQ(st.st_mtim.tv_sec, 1'000'000'000);
        if (c.problems == 1) {
            const std::string path = (dir / "tah.dat").string();
            EXPECT_EQ(problems[0], "could not put back \"" + path + "\": a folder that is not empty stands there; the "
                                   "bytes found are in \"" + path + ".saved\"");
        }
    }
}

// What a program may leave at a name, for the property below.
enum class Left {
    Nothing, File, LinkToVictim, LinkToFolder, LinkToNothing, EmptyFolder, FullFolder, Pipe, Same, Through
};
constexpr int LEFT_KINDS = 10;

// Whatever a program leaves at the protocol names and at names differing
// from them only in case, the put-back gives the folder back byte for byte
// (but for folders that are not empty, which it names and leaves), and
// nothing outside the folder is ever changed.
TEST(FileSnapshot, AnyReplacementOfTheFilesIsPutBackAndNothingElseIsTouched) {
    std::mt19937 random(19);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto someBytes = [&] {
        std::string bytes(static_cast<std::size_t>(pick(40)), '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        return bytes;
    };
    const std::vector<std::string> names = {"plocha.dat", "tah.dat", "timeouts.dat", "TAH.DAT", "Plocha.Dat"};
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        TempDir base;
        const fs::path folder = base / "folder";
        fs::create_directories(base / "outside" / "folder");
        base.write("outside/victim", "victim");
        fs::create_directory(folder);
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string& name = names[i];
            switch (pick(4)) {
                case 0: break;  // missing
                case 1:
                    base.write("folder/" + name, someBytes());
                    fs::permissions(folder / name, pick(2) ? fs::perms(0644) : fs::perms(0600));
                    break;
                case 2:  // the user's own link to a file outside
                    base.write("outside/kept-" + name, someBytes());
                    fs::create_symlink("../outside/kept-" + name, folder / name);
                    break;
                default: fs::create_symlink("nowhere", folder / name); break;
            }
        }
        const FileSnapshot snapshot = takeProtocolFiles(folder);
        ASSERT_EQ(snapshot.leftOut().size(), 0u);
        testing::FolderState expected = testing::folderState(base.path());

        std::vector<std::string> blocked;
        for (const std::string& name : names) {
            const fs::path at = folder / name;
            const auto left = static_cast<Left>(pick(LEFT_KINDS));
            if (left == Left::Same) continue;
            if (left == Left::Through) {  // written as a program writes, through whatever is there
                if (fs::is_regular_file(at)) base.write("folder/" + name, someBytes());
                continue;
            }
            fs::remove(at);
            switch (left) {
                case Left::File: base.write("folder/" + name, someBytes()); break;
                case Left::LinkToVictim: fs::create_symlink("../outside/victim", at); break;
                case Left::LinkToFolder: fs::create_symlink("../outside/folder", at); break;
                case Left::LinkToNothing: fs::create_symlink("gone", at); break;
                case Left::EmptyFolder: fs::create_directory(at); break;
                case Left::FullFolder:
                    fs::create_directory(at);
                    base.write("folder/" + name + "/inside", "kept");
                    blocked.push_back(name);
                    break;
                case Left::Pipe: ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); break;
                default: break;
            }
        }
        EXPECT_EQ(snapshot.restore().size(), blocked.size());
        const auto withoutBlocked = [&](testing::FolderState state) {
            std::erase_if(state, [&](const auto& entry) {
                return std::any_of(blocked.begin(), blocked.end(), [&](const std::string& name) {
                    return entry.first == "folder/" + name || entry.first.starts_with("folder/" + name + "/");
                });
            });
            return state;
        };
        for (const std::string& name : blocked) EXPECT_EQ(base.read("folder/" + name + "/inside"), "kept");
        EXPECT_EQ(withoutBlocked(testing::folderState(base.path())), withoutBlocked(expected));
    }
}

}  // namespace
}  // namespace vorek
