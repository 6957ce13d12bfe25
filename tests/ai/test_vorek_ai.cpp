// vorek-ai as the window and managers run it: in the folder of the position
// files, with its answer in "tah.dat" and its exit code, and as an engine on
// pipes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <utility>
#include <regex>

#include "board/candidates.h"
#include "files/position_files.h"
#include "opponent/engine_pipes.h"
#include "opponent/engine_reply.h"
#include "search/threat_space/proof_search.h"
#include "tests/board_builder.h"
#include "tests/exhaustive_game.h"
#include "tests/temp_dir.h"
#include "tests/threat_search_support.h"

namespace vorek {
namespace {

using testing::boardFile;

class VorekAi : public ::testing::Test {
protected:
    testing::TempDir dir;

    // Runs vorek-ai in the folder; its exit code, with stderr kept in "err".
    int run() {
        const std::string command = "cd '" + dir.path().string() + "' && '" VOREK_AI_PATH "' 2> err";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string answer(std::initializer_list<std::string_view> rows, std::string_view mover = "x") {
        dir.write("plocha.dat", boardFile(rows));
        dir.write("tah.dat", mover);
        EXPECT_EQ(run(), 0) << dir.read("err");
        return dir.read("tah.dat");
    }
};

TEST_F(VorekAi, CompletesItsOwnFiveFirstWhoeverIsToMove) {
    const std::initializer_list<std::string_view> board = {
        "", "", "", "       x", "       x", "       x", "       x", "", "", "",
        "", "", "", "", "", " xoooo"};
    EXPECT_EQ(answer(board, "x"), "7,2");   // the open four's first square
    EXPECT_EQ(answer(board, "o"), "6,15");  // "o" to move: its own four, not the block
}

TEST_F(VorekAi, BlocksTheOpponentsFour) {
    EXPECT_EQ(answer({"", "", "", "", "", "", "", "", "", "", "", "  x    x",
                      "         xoooo", "       x"}),
              "14,12");
}

// Player 0 threatens to win on its own, so the generator lists a defence
// first (6,13); solving finds that x wins first, by three fours in a row from
// 7,10.
TEST_F(VorekAi, PlaysTheProvingMoveWhereTheGeneratorWouldDefend) {
    const std::initializer_list<std::string_view> board = {
        "", "", "", "", "", "", "", "            o", "       xx ox", "        o x", "        xxxo",
        "        oox", "       xox", "       oo o"};
    CandidateList candidates;
    ASSERT_EQ(generateCandidates(*testing::evaluatedBoard(board), candidates), GENERATE_OPEN);
    ASSERT_EQ(candidates[0], squareAt(6, 13));
    EXPECT_EQ(answer(board), "7,10");
}

// Were it o's move, o would win by threats. The generator's first candidate,
// 11,10, does not stop that; vorek-ai plays a move after which o has no win
// by threats, as a search of o's threats then shows.
TEST_F(VorekAi, StopsTheOpponentsWinByThreatsBeforeAnythingElse) {
    const std::initializer_list<std::string_view> rows = {
        "", "", "", "", "", "", "", "           xo", "", "         o  x", "", "         o o", "         xo"};
    const auto board = testing::evaluatedBoard(rows);
    CandidateList candidates;
    ASSERT_EQ(generateCandidates(*board, candidates), GENERATE_OPEN);
    ASSERT_EQ(candidates[0], squareAt(11, 10));
    const std::optional<MoveReply> reply = parseMoveText(answer(rows));
    ASSERT_TRUE(reply.has_value());
    testing::Cells cells = testing::cellsFromRows(rows);
    const int move = squareAt(reply->x, reply->y);
    ASSERT_EQ(cells[move], '.');
    cells[move] = 'x';
    ThreatBoard after = testing::threatBoardOfCells(cells, 'o');
    TranspositionTable table(std::size_t{16} << 20);
    SearchControl control(SolveBudget{.maxNodes = 1'000'000});
    EXPECT_TRUE(ProofSearch(after, table, control).prove(ThreatKind::Threats).disproved());
}

TEST_F(VorekAi, OpensInTheCentreWhateverTheTimeFileHolds) {
    for (const char* timeouts : {"", "3\r\n2147483647\r\n", "junk", "0\r\n"}) {
        if (*timeouts) dir.write("timeouts.dat", timeouts);
        EXPECT_EQ(answer({}), "10,10") << timeouts;
    }
}

TEST_F(VorekAi, VersionIsPrintedWithoutTouchingAnyFile) {
    const std::string command =
        "cd '" + dir.path().string() + "' && '" VOREK_AI_PATH "' --version > version 2> err";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::regex_match(dir.read("version"),
                                 std::regex("vorek-ai [0-9]+\\.[0-9]+\\.[0-9]+\n")));
    EXPECT_EQ(dir.listing(), "err version ");
}

TEST_F(VorekAi, PositionItCannotPlayLeavesTheMoveFileAlone) {
    dir.write("tah.dat", "x");
    EXPECT_EQ(run(), 1);  // no "plocha.dat"
    dir.write("plocha.dat", std::string(399, '-'));
    EXPECT_EQ(run(), 1);  // a square short
    dir.write("plocha.dat", std::string(400, 'o'));
    EXPECT_EQ(run(), 1);  // no empty square
    EXPECT_EQ(dir.read("tah.dat"), "x");
    const std::string err = dir.read("err");
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;  // one line
}

// A folder as managers written for Windows leave it: upper-case names only.
TEST_F(VorekAi, AnswersIntoTheUpperCaseMoveFileItRead) {
    dir.write("PLOCHA.DAT", boardFile({"", "", "", "       x", "       x", "       x", "       x"}));
    dir.write("TAH.DAT", "x");
    EXPECT_EQ(run(), 0) << dir.read("err");
    EXPECT_EQ(dir.read("TAH.DAT"), "7,2");
    EXPECT_EQ(dir.listing(), "PLOCHA.DAT TAH.DAT err ");
}

struct Finished {
    int exitCode = -1;
    std::size_t peakBytes = 0;  // the most memory the program held at once
};

// Runs vorek-ai in the folder and measures its peak resident memory.
Finished runMeasured(const std::filesystem::path& folder) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(127);
        ::execl(VOREK_AI_PATH, VOREK_AI_PATH, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    Finished finished;
    if (pid > 0 && ::wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
        finished.exitCode = WEXITSTATUS(status);
        finished.peakBytes = static_cast<std::size_t>(usage.ru_maxrss) * 1024;
    }
    return finished;
}

void copyExample(const char* name, const testing::TempDir& dir) {
    for (const char* file : {"plocha.dat", "tah.dat"})
        std::filesystem::copy_file(std::filesystem::path(VOREK_EXAMPLES_DIR) / name / file, dir / file);
}

// The opening is far from solved, so the solve runs into its limits: half
// the turn, or the memory first when that is small (solving the opening for
// 4.5 s takes several times 100 MB).
TEST_F(VorekAi, InfoFileTurnTimeAndMemoryAreKept) {
    copyExample("opening", dir);
    dir.write("timeouts.dat", "1\r\n2147483647\r\n");
    for (const auto& [turn, memory] : {std::pair{3000, 367001600u}, std::pair{9000, 100000000u}}) {
        SCOPED_TRACE(turn);
        dir.write("INFO.DAT", "timeout_turn " + std::to_string(turn) + "\r\nmax_memory " + std::to_string(memory) +
                                  "\r\ngame_type 1\r\n");
        dir.write("MSG.DAT", "");
        dir.write("tah.dat", "x");
        const Finished finished = runMeasured(dir.path());
        EXPECT_EQ(finished.exitCode, 0);  // an answer after its turn would be refused
        EXPECT_LT(finished.peakBytes, memory);
        EXPECT_TRUE(dir.read("MSG.DAT").ends_with(", turn " + std::to_string(turn) + " ms\r\n")) << dir.read("MSG.DAT");
        EXPECT_NE(dir.read("tah.dat"), "x");
    }
}

// Managers send 0 for "as fast as you can", and a match can run out: any
// time, however small, gets a legal move at once, and nothing else changes.
TEST_F(VorekAi, ZeroOrNegativeTimesGetALegalMoveAtOnce) {
    const struct {
        const char* file;
        const char* text;
    } cases[] = {
        {"INFO.DAT", "timeout_turn 0\r\n"},      {"INFO.DAT", "timeout_turn -5\r\n"},
        {"INFO.DAT", "time_left 0\r\n"},         {"INFO.DAT", "timeout_turn 1\r\ntime_left -1\r\n"},
        {"timeouts.dat", "3\r\n0\r\n"},        {"timeouts.dat", "3\r\n1\r\n"},
    };
    copyExample("middlegame", dir);
    const std::string board = dir.read("plocha.dat");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        dir.write(c.file, c.text);
        dir.write("tah.dat", "x");
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(run(), 0) << dir.read("err");
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
        const std::optional<MoveReply> move = readMoveReply(dir.path());
        ASSERT_TRUE(move.has_value()) << dir.read("tah.dat");
        ASSERT_TRUE(onBoard(move->x, move->y));
        EXPECT_EQ(board[static_cast<std::size_t>(move->y * 22 + move->x)], '-') << dir.read("tah.dat");
        EXPECT_EQ(dir.read("plocha.dat"), board);
        EXPECT_EQ(dir.read(c.file), c.text);
        std::filesystem::remove(dir / c.file);
        EXPECT_EQ(dir.listing(), "err plocha.dat tah.dat ");
    }
}

TEST_F(VorekAi, TimeoutsFileInMillisecondsSaysTheTurn) {
    copyExample("forced-win", dir);
    std::filesystem::rename(dir / "plocha.dat", dir / "PLOCHA.DAT");
    dir.write("TIMEOUTS.DAT", "5000");
    dir.write("msg.dat", "old\r\n");
    EXPECT_EQ(run(), 0) << dir.read("err");
    const std::string message = dir.read("msg.dat");
    EXPECT_TRUE(message.starts_with("solve proved, ")) << message;
    EXPECT_TRUE(message.ends_with(", turn 5000 ms\r\n")) << message;
}

// The turn is counted from the command that asks for the move: a manager
// that stops the engine between moves takes none of its time.
TEST(PbrainVorek, KeepsItsTurnAfterBeingStoppedBetweenMoves) {
    const auto deadline = [] { return std::chrono::steady_clock::now() + std::chrono::seconds(10); };
    std::unique_ptr<EnginePipes> engine = EnginePipes::start({VOREK_PBRAIN_PATH}, {});
    ASSERT_TRUE(engine);
    std::string line;
    auto next = [&] {
        EXPECT_EQ(engine->readLine(line, deadline()), EnginePipes::Read::Line);
        return line;
    };
    for (const char* command : {"START 20", "INFO timeout_turn 1000", "BEGIN"})
        ASSERT_EQ(engine->send(command, deadline()), EnginePipes::Write::Done);
    EXPECT_EQ(next(), "OK");
    EXPECT_TRUE(next().starts_with("MESSAGE solve ")) << line;
    EXPECT_EQ(next(), "10,10");

    ::kill(engine->pid(), SIGSTOP);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // longer than the turn
    ::kill(engine->pid(), SIGCONT);
    ASSERT_EQ(engine->send("TURN 11,11", deadline()), EnginePipes::Write::Done);
    EXPECT_TRUE(next().starts_with("MESSAGE solve ")) << line;  // not "no time to solve"
    EXPECT_TRUE(parseMoveText(next()).has_value()) << line;
    ASSERT_EQ(engine->send("END", deadline()), EnginePipes::Write::Done);
    EXPECT_EQ(engine->readLine(line, deadline()), EnginePipes::Read::Closed);  // it ended
}

TEST(PbrainVorek, OptionOrNameMakesTheEngineOtherArgumentsAreRefused) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::unique_ptr<EnginePipes> engine = EnginePipes::start({VOREK_AI_PATH, "--pbrain"}, {});
    ASSERT_TRUE(engine);
    ASSERT_EQ(engine->send("ABOUT", deadline), EnginePipes::Write::Done);
    std::string line;
    EXPECT_EQ(engine->readLine(line, deadline), EnginePipes::Read::Line);
    EXPECT_TRUE(line.starts_with("name=\"vorek-ai\"")) << line;
    const int status = std::system("'" VOREK_PBRAIN_PATH "' --fast 2> /dev/null");
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace vorek
