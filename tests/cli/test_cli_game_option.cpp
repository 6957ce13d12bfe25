// --game FILE.psq[:K] on the commands that read a position: the same results
// as the position files holding the same position, and one line and exit 1
// for a record that cannot be read.
#include <gtest/gtest.h>

#include <functional>

#include "cli/played_position.h"
#include "tests/cli/cli_run.h"
#include "tests/temp_dir.h"

namespace vorek::testing {
namespace {

const std::string O_WINS = example("games/o-wins-in-row-12.psq").string();

// The record's moves, column and row from 1, and the letters: x moved first.
constexpr int O_WINS_MOVES[16][2] = {{10, 10}, {11, 12}, {10, 13}, {11, 13}, {9, 11},  {12, 12},
                                     {8, 12},  {11, 9},  {11, 11}, {13, 11}, {14, 10}, {14, 12},
                                     {12, 10}, {13, 12}, {10, 12}, {15, 12}};

// The position after `count` moves written as the position files: the
// stones by their letters, and the letter of the next move in "tah.dat".
void writeAsPositionFiles(const TempDir& dir, int count) {
    std::string board;
    for (int row = 1; row <= 20; ++row) {
        for (int column = 1; column <= 20; ++column) {
            char c = '-';
            for (int i = 0; i < count; ++i)
                if (O_WINS_MOVES[i][0] == column && O_WINS_MOVES[i][1] == row) c = i % 2 ? 'o' : 'x';
            board += c;
        }
        board += "\r\n";
    }
    dir.write("plocha.dat", board);
    dir.write("tah.dat", count % 2 ? "o" : "x");
}

// solve's output without the lines that hold times.
std::string withoutTimes(const std::string& out) {
    std::string kept;
    for (const std::string& line : linesOf(out))
        if (!line.starts_with("seconds ") && !line.starts_with("rate ")) kept += line + "\n";
    return kept;
}

TEST(CliGameOption, ShowTreeAndSolveOfARecordPositionEqualThoseOfTheSameFiles) {
    struct Case {
        std::string game;  // the --game value
        int count;         // the moves it names
    };
    const std::vector<Case> cases{{O_WINS + ":0", 0}, {O_WINS + ":1", 1}, {O_WINS + ":11", 11}, {O_WINS, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        const TempDir dir;
        writeAsPositionFiles(dir, c.count);
        const std::string folder = dir.path().string();
        const auto same = [&](std::vector<std::string> arguments, bool times = false) {
            std::vector<std::string> fromGame = arguments, fromFiles = arguments;
            fromGame.insert(fromGame.begin() + 1, {"--game", c.game});
            fromFiles.insert(fromFiles.begin() + 1, {"--dir", folder});
            const CliRun game = runCli(fromGame);
            const CliRun files = runCli(fromFiles);
            EXPECT_EQ(game.exitCode, 0) << game.err;
            EXPECT_EQ(game.err, "");
            EXPECT_EQ(times ? withoutTimes(game.out) : game.out, times ? withoutTimes(files.out) : files.out)
                << arguments.front();
            return game.out;
        };
        const std::string shown = same({"show"});
        EXPECT_TRUE(shown.starts_with("read 1\n")) << shown;
        same({"show", "0,0", "19,19"});
        same({"tree", "root", "0"});
        same({"solve", "--nodes", "300"}, true);
    }
}

// The quality bar's position: o's five in row 12, and x to move.
TEST(CliGameOption, LastPositionOfTheRealRecordHoldsOsFiveInRowTwelve) {
    const CliRun run = runCli({"show", "--game", O_WINS});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_GE(lines.size(), 17u);
    EXPECT_EQ(lines[2], "side 1");
    EXPECT_EQ(lines[3], "stones 16");
    // Row 12 from 1 is the flags' row 11; o is player 0 (00), x player 1 (02).
    EXPECT_EQ(lines[5 + 11].substr(3 * 10, 3 * 5), "00 00 00 00 00 ");
}

TEST(CliGameOption, RecordsThatCannotBeReadFailWithOneLine) {
    const TempDir dir;
    const std::string header = "Piskvorky 20x20, 7:7, 0\r\n";
    dir.write("size.psq", "Piskvorky 15x15, 7:7, 0\r\n8,8,0\r\n");
    dir.write("header.psq", "Piskvorky, 0\r\n8,8,0\r\n");
    dir.write("off.psq", header + "10,10,0\r\n10,21,0\r\n");
    dir.write("taken.psq", header + "10,10,0\r\n11,11,0\r\n11,11,0\r\n");
    dir.write("none.psq", header + "first.exe\r\nsecond.exe\r\n0\r\n");
    const std::vector<std::pair<std::string, std::string>> files{
        {"size.psq", "line 1: the game is played on 15x15; only 20x20 games can be read"},
        {"header.psq", "line 1: not a game record header \"Piskvorky 20x20, A:B, H\""},
        {"off.psq", "line 3: move 2 (10,21) is off the board; columns and rows run from 1 to 20"},
        {"taken.psq", "line 4: move 3 (11,11) is on the stone of move 2"},
        {"none.psq", "line 2: no moves; each move is a line x,y,t with column and row from 1 to 20"},
    };
    // Each command with the record's path and the rest of its arguments.
    const std::vector<std::function<std::vector<std::string>(const std::string&)>> commands{
        [](const std::string& game) { return std::vector<std::string>{"show", "--game", game}; },
        [](const std::string& game) { return std::vector<std::string>{"tree", "--game", game, "root"}; },
        [](const std::string& game) { return std::vector<std::string>{"solve", "--game", game}; },
        [&](const std::string& game) {
            return std::vector<std::string>{"picture", "--game", game, "--out", (dir / "out.png").string()};
        },
        [](const std::string& game) { return std::vector<std::string>{"game", game.substr(0, game.rfind(':'))}; },
        [](const std::string& game) { return std::vector<std::string>{"ask", "--game", game, "true"}; },
    };
    for (const auto& command : commands) {
        for (const auto& [file, message] : files) {
            const std::string path = (dir / file).string();
            const CliRun run = runCli(command(path + ":0"));
            const std::string name = command(path).front();
            EXPECT_EQ(run.exitCode, 1) << name << ' ' << file;
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, "vorek-cli: " + name + ": game record '" + path + "' " + message + "\n");
        }
        const std::string missing = (dir / "missing.psq").string();
        const CliRun run = runCli(command(missing));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "vorek-cli: " + command(missing).front() + ": cannot read the game record '" + missing +
                               "': cannot be opened as a file\n");
    }
    EXPECT_FALSE(dir.exists("out.png"));
}

// What the picture is given: the letter of player 1's stones, and the move
// numbers of the record's stones, then of the MOVEs.
TEST(CliGameOption, PlayedPositionKnowsItsLettersAndMoveNumbers) {
    const auto play = [](std::map<std::string, std::string, std::less<>> values, std::vector<std::string> moves) {
        cli::CommandArguments arguments;
        arguments.values = std::move(values);
        auto played = cli::playPosition(arguments, moves);
        EXPECT_TRUE(std::holds_alternative<cli::PlayedPosition>(played));
        return std::get<cli::PlayedPosition>(std::move(played));
    };
    const int square11_12 = 11 * 20 + 10;  // move 2, o
    const cli::PlayedPosition afterTwo = play({{"--game", O_WINS + ":2"}}, {"0,0", "19,19"});
    EXPECT_EQ(afterTwo.source.labels.player1Letter, 'x');
    EXPECT_EQ(afterTwo.moveNumbers[9 * 20 + 9], 1);
    EXPECT_EQ(afterTwo.moveNumbers[square11_12], 2);
    EXPECT_EQ(afterTwo.moveNumbers[0], 3);
    EXPECT_EQ(afterTwo.moveNumbers[399], 4);
    EXPECT_EQ(afterTwo.moveNumbers[12 * 20 + 9], 0);  // move 3, not yet played

    const cli::PlayedPosition afterThree = play({{"--game", O_WINS + ":3"}}, {});
    EXPECT_EQ(afterThree.source.labels.player1Letter, 'o');
    EXPECT_EQ(afterThree.source.board->flags(square11_12), 0x02);  // o's stone: player 1's

    const TempDir dir;
    dir.write("plocha.dat", boardFile({"x"}));
    dir.write("tah.dat", "o");
    const cli::PlayedPosition fromFiles = play({{"--dir", dir.path().string()}}, {"5,5"});
    EXPECT_EQ(fromFiles.source.labels.player1Letter, 'o');
    EXPECT_EQ(fromFiles.moveNumbers[0], 0);  // a stone of the files has no number
    EXPECT_EQ(fromFiles.moveNumbers[105], 1);
}

}  // namespace
}  // namespace vorek::testing
