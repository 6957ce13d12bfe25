// vorek-cli game: the exact lines on a real game and on a made-up one, the
// JSON form, the end at a five, the mark rules, and the progress bar, which
// only a terminal gets.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "search/game_analysis.h"
#include "tests/cli/cli_run.h"
#include "tests/temp_dir.h"

namespace vorek::testing {
namespace {

const std::string O_WINS = example("games/o-wins-in-row-12.psq").string();
const std::string IGNORED_FOUR = example("games/ignored-four.psq").string();

// A budget small enough for the sanitizer build; the positions it decides
// or exhausts take a few thousand nodes, the one proof of a long win about
// 160,000.
constexpr const char* NODES = "200000";

CliRun game(const std::string& file, std::vector<std::string> more = {}, const std::string& nodes = NODES) {
    std::vector<std::string> arguments{"game", file, "--nodes", nodes};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return runCli(arguments);
}

// o wins with five in row 12 on move 16. After x's move 9 (11,11) o wins by
// threats, in 13 moves of its own. From there on each position is won or
// lost, and the moves keep it so. Before it, that x still had a move leaving
// o no win by threats takes millions of nodes to show, with the threats that
// threaten longer wins by fours looked at too: within this budget moves 8
// and 9, as moves 5 and 6, are unclear, and no mark is given there.
TEST(CliGame, RealGameProvesTheWinnersLastMovesAndGivesNoMarkWhereTheBudgetRanOut) {
    const CliRun run = game(O_WINS);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "1 x unknown - 10,10 -\n"
              "2 o unknown - 11,12 -\n"
              "3 x unknown - 10,13 -\n"
              "4 o unknown - 11,13 -\n"
              "5 x unknown - 9,11 unclear\n"
              "6 o unknown - 12,12 unclear\n"
              "7 x unknown - 8,12 -\n"
              "8 o unknown - 11,9 unclear\n"
              "9 x unknown - 11,11 unclear\n"
              "10 o proved 13,11 13,11 -\n"
              "11 x disproved - 14,10 -\n"
              "12 o proved 10,14 14,12 -\n"
              "13 x disproved - 12,10 -\n"
              "14 o proved 13,12 13,12 -\n"
              "15 x disproved - 10,12 -\n"
              "16 o proved 15,12 15,12 -\n"
              "17 x over - - -\n"
              "summary missed 0 blunder 0 unclear 4\n");
}

// x makes a four on row 10 (13,10; five on 14,10); o ignores it with 12,11,
// a blunder, and x, instead of making five, blocks o's three with 9,11,
// after which o has a move that leaves x no win by threats: missed.
TEST(CliGame, MadeUpGameMarksTheIgnoredFourAndTheMissedFive) {
    const CliRun run = game(IGNORED_FOUR);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "1 x unknown - 10,10 -\n"
              "2 o unknown - 10,11 -\n"
              "3 x unknown - 11,10 -\n"
              "4 o unknown - 11,11 -\n"
              "5 x unknown - 12,10 -\n"
              "6 o unknown - 9,10 unclear\n"
              "7 x unknown - 13,10 unclear\n"
              "8 o unknown - 12,11 blunder\n"
              "9 x proved 14,10 9,11 missed\n"
              "10 o unknown - 14,10 unclear\n"
              "11 x unknown - - -\n"
              "summary missed 1 blunder 1 unclear 3\n");

    const CliRun json = game(IGNORED_FOUR, {"--json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    const std::vector<std::string> lines = linesOf(json.out);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0],
              R"({"move":1,"side":"x","result":"unknown","stopped":"exhausted","proving":null,"played":"10,10","marks":[]})");
    EXPECT_EQ(lines[6],
              R"({"move":7,"side":"x","result":"unknown","stopped":"nodes","proving":null,"played":"13,10","marks":["unclear"]})");
    EXPECT_EQ(lines[7],
              R"({"move":8,"side":"o","result":"unknown","stopped":"exhausted","proving":null,"played":"12,11","marks":["blunder"]})");
    EXPECT_EQ(lines[8], R"({"move":9,"side":"x","result":"proved","proving":"14,10","played":"9,11","marks":["missed"]})");
    EXPECT_EQ(lines[10],
              R"({"move":11,"side":"x","result":"unknown","stopped":"nodes","proving":null,"played":null,"marks":[]})");
    EXPECT_EQ(lines[11], R"({"missed":1,"blunder":1,"unclear":3})");
}

// Moves after a five are not analysed; o moving first swaps every letter.
// (A smaller budget: the two analyses are compared with each other.)
TEST(CliGame, FiveEndsTheAnalysisAndTheFirstLetterFollowsTheHeader) {
    const TempDir dir;
    std::ifstream in(O_WINS, std::ios::binary);
    const std::string record(std::istreambuf_iterator<char>(in), {});
    const std::size_t names = record.find("first.exe");
    dir.write("more.psq", record.substr(0, names) + "1,1,0\r\n2,2,0\r\n" + record.substr(names));
    const CliRun more = game((dir / "more.psq").string(), {}, "20000");
    EXPECT_EQ(more.exitCode, 0) << more.err;
    EXPECT_EQ(more.out, game(O_WINS, {}, "20000").out);

    dir.write("o-first.psq", "Piskvorky 20x20, 5:5, 1\r\n1,1,0\r\n2,2,0\r\n3,1,0\r\n");
    const CliRun oFirst = game((dir / "o-first.psq").string());
    EXPECT_EQ(oFirst.out,
              "1 o unknown - 1,1 -\n"
              "2 x unknown - 2,2 -\n"
              "3 o unknown - 3,1 -\n"
              "4 x unknown - - -\n"
              "summary missed 0 blunder 0 unclear 0\n");
}

// The rules of the marks, on verdicts made up for the purpose.
TEST(GameMarks, MissedAndBlunderRestOnSearchesThatEnded) {
    const PositionVerdict proved{.result = SolveResult::Proved};
    const PositionVerdict disproved{.result = SolveResult::Disproved};
    const PositionVerdict exhausted{};  // unknown, the searches ended
    const PositionVerdict budget{.stopped = SolveStop::Nodes};
    const PositionVerdict over{.over = true};
    struct Case {
        const char* name;
        PositionVerdict here, next;
        bool missed, blunder, unclear;
    };
    const Case cases[] = {
        {"win kept", proved, disproved, false, false, false},
        {"win kept with five", proved, over, false, false, false},
        {"win let go", proved, exhausted, true, false, false},
        {"win turned into a loss", proved, proved, true, true, false},
        {"win, then the budget ran out", proved, budget, false, false, true},
        {"open position lost", exhausted, proved, false, true, false},
        {"open position kept", exhausted, exhausted, false, false, false},
        {"open position won at once", exhausted, over, false, false, false},
        {"open position, then the budget ran out", exhausted, budget, false, false, true},
        {"the budget ran out, then lost", budget, proved, false, false, true},
        {"lost anyway", disproved, proved, false, false, false},
        {"nothing after a five", over, proved, false, false, false},
    };
    for (const Case& c : cases) {
        const MoveMarks marks = marksOf(c.here, c.next);
        EXPECT_EQ(marks.missed, c.missed) << c.name;
        EXPECT_EQ(marks.blunder, c.blunder) << c.name;
        EXPECT_EQ(marks.unclear, c.unclear) << c.name;
    }
}

// Everything the process writes to the terminal, until it closes it.
std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return text;  // EOF, or EIO once the last writer has gone
        }
    }
}

TEST(CliGameProgress, BarOnStderrOnlyWhenItIsATerminal) {
    const TempDir capture;
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int out = ::open((capture / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0) ::_exit(127);
        ::execl(VOREK_CLI_BINARY, VOREK_CLI_BINARY, "game", IGNORED_FOUR.c_str(), "--nodes", "200000",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const std::string shown = readAll(terminal);
    ::close(terminal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(shown.find("\r[....................] position 1 of 11, "), std::string::npos) << shown;
    EXPECT_NE(shown.find("\r[##################..] position 11 of 11, "), std::string::npos) << shown;
    EXPECT_TRUE(shown.ends_with("\r")) << shown;  // erased at the end
    EXPECT_EQ(shown.find('\n'), std::string::npos) << shown;
    EXPECT_EQ(linesOf(capture.read("out")).back(), "summary missed 1 blunder 1 unclear 3");
    // Every other test here runs with stderr in a file and checks it is empty.
}

}  // namespace
}  // namespace vorek::testing
