// Reading and writing the protocol files, byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <utility>
#include <vector>

#include "files/position_files.h"
#include "tests/board_builder.h"
#include "tests/temp_dir.h"

namespace vorek {
namespace {

using testing::boardFile;
using testing::boardFromRows;
using testing::TempDir;

class PositionFiles : public ::testing::Test {
protected:
    TempDir dir;

    FilePosition read() { return readPosition(dir.path()); }
    std::optional<MoveReply> reply(std::string_view text) {
        dir.write("tah.dat", text);
        return readMoveReply(dir.path());
    }
};

TEST_F(PositionFiles, NamedPlayerBecomesPlayerOneAndWritingSwapsTheLetters) {
    dir.write("plocha.dat", boardFile({"xo", "", "  o"}));
    dir.write("tah.dat", "o\r\n");
    const FilePosition files = read();
    ASSERT_TRUE(files.read);
    EXPECT_EQ(files.stones.count(), 3);
    EXPECT_EQ(files.stones.at(0), PLAYER0);  // "x" is the other player now
    EXPECT_EQ(files.stones.at(1), PLAYER1);
    EXPECT_EQ(files.stones.at(42), PLAYER1);
    EXPECT_EQ(files.stones.at(2), std::nullopt);
    EXPECT_EQ(files.player1Letter, 'o');

    const auto board = V2Board::fromStones(files.stones, PLAYER1);
    ASSERT_TRUE(writePositionFiles(*board, dir.path()));
    EXPECT_EQ(dir.read("plocha.dat"), boardFile({"ox", "", "  x"}));
    EXPECT_EQ(dir.read("tah.dat"), "x");
}

TEST_F(PositionFiles, AnyOtherMoveCharacterNamesTheXStones) {
    for (const char* named : {"X", "7", "  \t\n x", "xo"}) {
        dir.write("plocha.dat", boardFile({"xo"}));
        dir.write("tah.dat", named);
        const FilePosition files = read();
        ASSERT_TRUE(files.read) << named;
        EXPECT_EQ(files.stones.at(0), PLAYER1) << named;
        EXPECT_EQ(files.player1Letter, 'x') << named;
    }
}

TEST_F(PositionFiles, ReaderSkipsWhitespaceAndTreatsOtherCharactersAsEmpty) {
    std::string oneLine = std::string(400, '-');
    oneLine[0] = 'x';
    oneLine[1] = 'X';
    oneLine[2] = 'O';
    oneLine[3] = '\0';
    oneLine[4] = '\xc3';  // the first byte of a UTF-8 letter
    oneLine[399] = 'o';
    std::string spaced;
    for (char c : oneLine) spaced += std::string(1, c) + " \r";
    for (const std::string& text : {oneLine, spaced, oneLine + "xxxxxxxx trailing text"}) {
        dir.write("plocha.dat", text);
        dir.write("tah.dat", "x");
        const FilePosition files = read();
        ASSERT_TRUE(files.read);
        EXPECT_EQ(files.stones.count(), 2);
        EXPECT_EQ(files.stones.at(0), PLAYER1);
        for (int s = 1; s <= 4; ++s) EXPECT_TRUE(files.stones.isEmpty(s));
        EXPECT_EQ(files.stones.at(399), PLAYER0);
    }
}

TEST_F(PositionFiles, ShortBoardFileLeavesTheRestEmptyAndFails) {
    dir.write("plocha.dat", "x-o");
    dir.write("tah.dat", "x");
    const FilePosition files = read();
    EXPECT_FALSE(files.read);
    EXPECT_EQ(files.stones.count(), 2);
    EXPECT_EQ(files.stones.at(2), PLAYER0);
    for (int s = 3; s < BOARD_SQUARES; ++s) ASSERT_TRUE(files.stones.isEmpty(s));
}

TEST_F(PositionFiles, MissingOrEmptyFilesGiveTheEmptyBoard) {
    auto expectEmpty = [&](const char* what) {
        const FilePosition files = read();
        EXPECT_FALSE(files.read) << what;
        EXPECT_EQ(files.stones, Stones()) << what;
        EXPECT_EQ(files.player1Letter, 'x') << what;
    };
    dir.write("plocha.dat", boardFile({"xo"}));
    expectEmpty("no tah.dat");
    dir.write("tah.dat", " \r\n ");
    expectEmpty("blank tah.dat");
    std::filesystem::remove(dir / "plocha.dat");
    dir.write("tah.dat", "x");
    expectEmpty("no plocha.dat");
    std::filesystem::create_directory(dir / "plocha.dat");
    expectEmpty("plocha.dat is a folder");
    std::filesystem::remove(dir / "plocha.dat");
    ASSERT_EQ(::mkfifo((dir / "plocha.dat").c_str(), 0644), 0);
    expectEmpty("plocha.dat is a named pipe");  // refused at once, never waited on
    std::filesystem::remove(dir / "tah.dat");
    ASSERT_EQ(::mkfifo((dir / "tah.dat").c_str(), 0644), 0);
    expectEmpty("tah.dat is a named pipe");
    EXPECT_FALSE(readMoveReply(dir.path()).has_value());
    auto board = boardFromRows({"x"});
    EXPECT_TRUE(writePositionFiles(*board, dir.path()));  // pipes replaced by files
    EXPECT_EQ(dir.read("tah.dat"), "x");
}

TEST(WriteSquares, TwentyLinesOfTwentyWithCrLf) {
    auto board = boardFromRows({"", "", "", "", "", "", "", "", "", "", "          xo"});
    std::ostringstream out;
    writeSquares(out, *board);
    std::string expected;
    for (int y = 0; y < 20; ++y)
        expected += (y == 10 ? std::string(10, '-') + "xo" + std::string(8, '-') : std::string(20, '-')) + "\r\n";
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(out.str().size(), 440u);
}

TEST_F(PositionFiles, WritesAreWholeFilesWithNothingLeftBehind) {
    auto board = boardFromRows({"x"}, PLAYER0);
    dir.write("plocha.dat", std::string(1000, '#'));
    ::chmod((dir / "plocha.dat").c_str(), 0640);
    ASSERT_TRUE(writePositionFiles(*board, dir.path()));
    EXPECT_EQ(dir.read("plocha.dat").size(), 440u);
    EXPECT_EQ(dir.read("tah.dat"), "o");
    EXPECT_EQ(dir.listing(), "plocha.dat tah.dat ");
    struct stat st {};
    ::stat((dir / "plocha.dat").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the file keeps its permissions

    ASSERT_TRUE(writeTimeouts(9, dir.path()));
    EXPECT_EQ(dir.read("timeouts.dat"), "9\r\n2147483647\r\n");
    ASSERT_TRUE(writeTimeouts(3, dir.path()));
    EXPECT_EQ(dir.read("timeouts.dat").size(), 15u);
}

TEST_F(PositionFiles, AFolderInTheWayStopsOnlyItsOwnFile) {
    std::filesystem::create_directory(dir / "plocha.dat");
    auto board = boardFromRows({"x"});
    EXPECT_FALSE(writePositionFiles(*board, dir.path()));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "plocha.dat"));
    EXPECT_EQ(dir.read("tah.dat"), "x");
    EXPECT_EQ(dir.listing(), "plocha.dat tah.dat ");
}

TEST_F(PositionFiles, ReadOnlyFolderWritesInPlaceOrNothing) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    dir.write("tah.dat", "o");
    ::chmod((dir / "tah.dat").c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);
    auto board = boardFromRows({"x"});
    EXPECT_FALSE(writePositionFiles(*board, dir.path()));  // no plocha.dat can be made
    EXPECT_EQ(dir.read("tah.dat"), "x");                    // the existing file is rewritten
    EXPECT_FALSE(dir.exists("plocha.dat"));
    EXPECT_FALSE(writeTimeouts(1, dir.path()));
}

TEST_F(PositionFiles, ReplyIsIntegerSeparatorInteger) {
    auto expectMove = [&](std::string_view text, int x, int y) {
        const auto move = reply(text);
        ASSERT_TRUE(move.has_value()) << text;
        EXPECT_EQ(move->x, x) << text;
        EXPECT_EQ(move->y, y) << text;
    };
    expectMove("7,3", 7, 3);
    expectMove("7 ; 3", 7, 3);
    expectMove("7 13", 7, 3);  // the 1 is the separator
    expectMove("\r\n 10,12 and more", 10, 12);
    expectMove("-1,+21", -1, 21);
    expectMove("2147483647,-2147483648", 2147483647, -2147483648);
    for (const char* bad : {"7 3", "", "x", "7,", ",3", "7,-", "2147483648,1", "1,-2147483649",
                            "99999999999999999999,1"})
        EXPECT_FALSE(reply(bad).has_value()) << bad;
    std::filesystem::remove(dir / "tah.dat");
    EXPECT_FALSE(readMoveReply(dir.path()).has_value());
}

// Managers written for Windows create the files in upper case; a reader takes
// them when the lower-case name is absent.
TEST_F(PositionFiles, ReadersFindTheFilesUnderAnyCase) {
    using Clock = std::filesystem::file_time_type::clock;
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, int>> boards;  // file name, age in seconds
        int stoneRow;  // the row whose stone shows which board file was read; -1: none
    } cases[] = {
        {"upper case only", {{"PLOCHA.DAT", 0}}, 0},
        {"mixed case", {{"Plocha.Dat", 0}}, 0},
        {"lower case wins over a newer upper case", {{"plocha.dat", 60}, {"PLOCHA.DAT", 0}}, 0},
        {"the newest of several", {{"PLOCHA.DAT", 60}, {"plocha.DAT", 0}, {"Plocha.dat", 30}}, 1},
        {"a near name is not taken", {{"PLOCHA.DAT.bak", 0}, {"PLOCHA.DA", 0}}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        folder.write("TAH.DAT", "o");
        const std::string stoneInRow[] = {boardFile({"o"}), boardFile({"", "o"}), boardFile({"", "", "o"})};
        int row = 0;
        for (const auto& [name, age] : c.boards) {
            folder.write(name, stoneInRow[row++]);
            std::filesystem::last_write_time(folder / name, Clock::now() - std::chrono::seconds(age));
        }
        const FilePosition files = readPosition(folder.path());
        EXPECT_EQ(files.read, c.stoneRow >= 0);
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(files.stones.at(squareAt(0, r)), r == c.stoneRow ? std::optional(PLAYER1) : std::nullopt) << r;
    }
}

TEST_F(PositionFiles, ReplyAndLookupUnderAnyCase) {
    dir.write("TAH.DAT", "3,4");
    const std::optional<MoveReply> move = readMoveReply(dir.path());
    ASSERT_TRUE(move.has_value());
    EXPECT_EQ(move->x * 100 + move->y, 304);
    EXPECT_EQ(findProtocolFile(dir.path(), MOVE_FILE), dir / "TAH.DAT");
    std::filesystem::create_directory(dir / "Timeouts.Dat");  // not a file: passed over
    EXPECT_EQ(findProtocolFile(dir.path(), TIMEOUTS_FILE), dir / "timeouts.dat");
    std::filesystem::create_directory(dir / "tah.dat");  // the exact name is taken whatever it is
    EXPECT_EQ(findProtocolFile(dir.path(), MOVE_FILE), dir / "tah.dat");
    EXPECT_FALSE(readMoveReply(dir.path()).has_value());
}

}  // namespace
}  // namespace vorek
