// vorek-cli solve: results on positions with known answers, the plain and JSON
// outputs, misuse, Ctrl-C during a solve, and a position folder only read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/cli/cli_run.h"
#include "tests/temp_dir.h"

namespace vorek::testing {
namespace {

struct Solved {
    std::string result;
    int move = -2;
    int pn = 0, dn = 0;
    long long nodes = -1, rate = -1;
    std::string seconds;
    std::vector<int> line;
    std::string win;      // only when decided: the kind of win and the winner's moves
    std::string model;    // only when the window's rules decide otherwise
    std::string stopped;  // only when undecided: the budget that ended it, or exhausted
};

// The seven lines of the plain output, then the kind of win, the model's
// verdict and why the solve stopped where there are; a line out of place
// fails the test.
Solved parseSolved(const std::string& out) {
    Solved s;
    const std::regex form(
        "result (proved|disproved|unknown)\nmove -?\\d+\npn -?\\d+ dn -?\\d+\nnodes \\d+\n"
        "seconds \\d+\\.\\d{3}\nrate \\d+\nline( \\d+)*\n(win (fours|threats) \\d+\n)?"
        "(model (proved|disproved|unknown)\n)?(stopped (nodes|seconds|memory|interrupted|exhausted)\n)?");
    EXPECT_TRUE(std::regex_match(out, form)) << out;
    const std::vector<std::string> lines = linesOf(out);
    if (!std::regex_match(out, form)) return s;
    std::istringstream in(lines[0] + ' ' + lines[1] + ' ' + lines[2] + ' ' + lines[3] + ' ' + lines[4] + ' ' +
                          lines[5]);
    std::string key;
    in >> key >> s.result >> key >> s.move >> key >> s.pn >> key >> s.dn >> key >> s.nodes >> key >>
        s.seconds >> key >> s.rate;
    std::istringstream line(lines[6].substr(4));
    for (int square; line >> square;) s.line.push_back(square);
    for (std::size_t i = 7; i < lines.size(); ++i) {
        if (lines[i].starts_with("win ")) s.win = lines[i].substr(4);
        if (lines[i].starts_with("model ")) s.model = lines[i].substr(6);
        if (lines[i].starts_with("stopped ")) s.stopped = lines[i].substr(8);
    }
    return s;
}

std::vector<int> firstOf(const std::vector<int>& line, std::size_t n) {
    return {line.begin(), line.begin() + static_cast<std::ptrdiff_t>(std::min(n, line.size()))};
}

class CliSolve : public ::testing::Test {
protected:
    TempDir dir;

    // Player 1 ("x") to move.
    void position(std::initializer_list<std::string_view> rows) {
        dir.write("plocha.dat", boardFile(rows));
        dir.write("tah.dat", "x");
    }
    Solved solve(std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.begin(), {"solve", "--dir", dir.path().string()});
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        return parseSolved(run.out);
    }
};

TEST_F(CliSolve, OpenFourAndOpenThreeAreProvedAtOnce) {
    // Four in a row: the five is made at once, on the first of its squares.
    position({"", "", "  o", "              o", "", "", "", "", "", "", "     xxxxo", "", "", "", "",
              "                o", "   o"});
    Solved s = solve();
    EXPECT_EQ(s.result, "proved");
    EXPECT_EQ(s.move, 204);
    EXPECT_EQ(s.pn, 0);
    EXPECT_EQ(s.dn, -1);
    EXPECT_EQ(s.nodes, 0);
    EXPECT_EQ(s.line, std::vector<int>{204});
    EXPECT_EQ(s.win, "fours 1");
    // An open three: the move that makes the open four wins.
    position({"", "", "", "              o", "    o       x", "", "", "", "", "", "     xxx", "", "",
              "", "", "                o", "   o"});
    s = solve();
    EXPECT_EQ(s.result, "proved");
    EXPECT_EQ(s.move, 204);
    EXPECT_LT(s.nodes, 20);  // the open four is proved against every answer
    EXPECT_EQ(s.win, "fours 2");
    EXPECT_EQ(s.line.size(), 3u);  // the open four, a block, the five
    EXPECT_EQ(s.model, "");  // the window's rules agree, at once
}

TEST_F(CliSolve, FourThreeIsProvedOnItsSquare) {
    // 8,10 closes the row four 5..8 (blocked at 4,10) and opens the column three 8,8..8,10.
    position({"", "", "", "              o", "", "", "", "", "        x", "        x", "    oxxx", "",
              "", "            o", "", "                o", "   o"});
    const Solved s = solve();
    EXPECT_EQ(s.result, "proved");
    EXPECT_EQ(s.move, 208);
}

// x wins by four fours, each answered by the one block player 0 has: 8,11
// (block 7,12) first, then 10,11 (block 11,12) and 8,8 (block 8,7) in
// either order, then 10,12 (block 10,13); then x has no four left, but the
// three 9,9 (block 7,7) leaves a four-three at 7,9 (block 6,9), and 11,9 is
// five. Fours alone do not win.
TEST_F(CliSolve, ChainOfFoursThenAThreeIsProvedAlongItsForcedLine) {
    position({"", "", "", "", "", "", "", "      o     o", "       x  ox", "        x x",
              "      o xxxo", "         o", "        o"});
    Solved s = solve();
    EXPECT_EQ(s.result, "proved");
    EXPECT_EQ(s.move, 228);
    ASSERT_EQ(s.line.size(), 13u);
    std::vector<std::pair<int, int>> fours;
    for (std::size_t i = 0; i + 1 < 8; i += 2) fours.emplace_back(s.line[i], s.line[i + 1]);
    std::sort(fours.begin() + 1, fours.begin() + 3);
    EXPECT_EQ(fours, (std::vector<std::pair<int, int>>{{228, 247}, {168, 148}, {230, 251}, {250, 270}}));
    EXPECT_EQ(std::vector<int>(s.line.begin() + 8, s.line.end()), (std::vector<int>{189, 147, 187, 186, 191}));
    EXPECT_EQ(s.win, "threats 7");
    s = solve({"--fours-only"});
    EXPECT_EQ(s.result, "unknown");
    EXPECT_EQ(s.stopped, "exhausted");
}

// x at 8,10 9,10 10,8 10,9: 10,10 makes two open threes, o stops one, x
// makes an open four of the other, o blocks one end and x makes five: three
// moves of x's, none of them a four.
TEST_F(CliSolve, DoubleThreeIsAWinByThreatsOfThreeMoves) {
    position({"", "", "", "", "", "", "", "", "          x", "          x", "        xx"});
    Solved s = solve();
    EXPECT_EQ(s.result, "proved");
    EXPECT_EQ(s.move, 210);
    EXPECT_EQ(s.win, "threats 3");
    EXPECT_EQ(s.line.size(), 5u);
    s = solve({"--depth", "3"});
    EXPECT_EQ(s.result, "proved");
    // Nothing shorter, and nothing by fours: no win is found, and none is left
    // to look for.
    for (const std::vector<std::string>& options : {std::vector<std::string>{"--depth", "2"},
                                                   std::vector<std::string>{"--fours-only"}}) {
        s = solve(options);
        EXPECT_EQ(s.result, "unknown") << options[0];
        EXPECT_EQ(s.move, -1) << options[0];
        EXPECT_EQ(s.stopped, "exhausted") << options[0];
        EXPECT_EQ(s.win, "") << options[0];
    }
}

// Player 0 has a four on row 12 (five at 16,12) and, once x has blocked it,
// makes a double four on 6,5 (row 5 and column 6): x has no four of its own
// to answer with, so it loses.
TEST_F(CliSolve, SideToMoveThatMustLoseToADoubleFourIsDisproved) {
    position({"", "         x", "               x", "", "", "  xooo", "      o", "      o",
              "      o           x", " x    x", "", "", "           xoooo", "", "", "", "  x",
              "                 x", "             x"});
    const Solved s = solve();
    EXPECT_EQ(s.result, "disproved");
    EXPECT_EQ(s.move, -1);
    EXPECT_EQ(s.pn, -1);
    EXPECT_EQ(s.dn, 0);
    EXPECT_EQ(firstOf(s.line, 1), std::vector<int>{256});  // the block
}

TEST(CliSolveExamples, KnownAnswersOfTheShippedPositions) {
    const auto solveExample = [](const std::string& name, std::vector<std::string> more = {}) {
        std::vector<std::string> arguments{"solve", "--dir", example(name).string()};
        arguments.insert(arguments.end(), more.begin(), more.end());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return parseSolved(run.out);
    };
    Solved s = solveExample("middlegame");
    EXPECT_EQ(s.result, "proved");
    EXPECT_EQ(s.move, 246);
    EXPECT_EQ(firstOf(s.line, 1), std::vector<int>{246});
    EXPECT_EQ(s.win, "threats 5");
    s = solveExample("forced-win");
    EXPECT_EQ(s.result, "proved");
    EXPECT_EQ(s.move, 211);
    EXPECT_LT(s.nodes, 50);
    // Neither side has a win by threats yet, and the searches say so.
    s = solveExample("opening");
    EXPECT_EQ(s.result, "unknown");
    EXPECT_EQ(s.move, -1);
    EXPECT_EQ(s.pn, -1);
    EXPECT_EQ(s.dn, -1);
    EXPECT_EQ(s.stopped, "exhausted");
    // The window's rules go on growing it until the budget.
    s = solveExample("opening", {"--model", "--nodes", "2000"});
    EXPECT_EQ(s.result, "unknown");
    EXPECT_GT(s.pn, 0);
    EXPECT_GT(s.dn, 0);
    EXPECT_GE(s.nodes, 2000);
    EXPECT_LT(s.nodes, 2400);  // the budget is looked at before each expansion
    EXPECT_FALSE(s.line.empty());
    EXPECT_EQ(s.model, "");
    EXPECT_EQ(s.stopped, "nodes");
    // The window's rules call this won at once; within 60,000 nodes the
    // search of threats has not ended.
    s = solveExample("model-estimate", {"--nodes", "60000"});
    EXPECT_EQ(s.result, "unknown");
    EXPECT_EQ(s.model, "proved");
    EXPECT_EQ(s.stopped, "nodes");
}

// Child 5 of the middle-game root is the winning 246, child 7 (245) loses. The
// result is player 1's, and where player 0 is to move there is no proving move.
TEST(CliSolveExamples, PathNamesTheNodeToSolveFrom) {
    const std::string dir = example("middlegame").string();
    Solved s = parseSolved(runCli({"solve", "--dir", dir, "5"}).out);
    EXPECT_EQ(s.result, "proved");
    EXPECT_EQ(s.move, -1);
    EXPECT_FALSE(s.line.empty());
    s = parseSolved(runCli({"solve", "--dir", dir, "7"}).out);
    EXPECT_EQ(s.result, "disproved");
    EXPECT_GT(s.nodes, 0);
}

TEST(CliSolveExamples, JsonIsTheSameOnOneLine) {
    const std::string dir = example("middlegame").string();
    const Solved plain = parseSolved(runCli({"solve", "--dir", dir}).out);
    const CliRun run = runCli({"solve", "--json", "--dir", dir});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::ostringstream line;
    for (std::size_t i = 0; i < plain.line.size(); ++i) line << (i ? "," : "") << plain.line[i];
    const std::regex form(R"(\{"result":"proved","move":246,"pn":0,"dn":-1,"nodes":)" +
                          std::to_string(plain.nodes) + R"(,"seconds":\d+\.\d{3},"rate":\d+,"line":\[)" +
                          line.str() + R"(\],"win":"threats","winner_moves":5\}\n)");
    EXPECT_TRUE(std::regex_match(run.out, form)) << run.out;
    // An empty line is an empty array.
    const CliRun atOnce = runCli({"solve", "--dir", example("forced-win").string(), "--json", "--model"});
    EXPECT_TRUE(atOnce.out.ends_with(R"("rate":0,"line":[]})"
                                     "\n"))
        << atOnce.out;
    // An undecided solve says why it stopped, after the model's verdict.
    const CliRun cut = runCli({"solve", "--dir", example("model-estimate").string(), "--nodes", "60000", "--json"});
    EXPECT_TRUE(cut.out.ends_with(R"(],"model":"proved","stopped":"nodes"})"
                                  "\n"))
        << cut.out;
}

TEST(CliSolveOptions, BudgetsInEitherFormAreAccepted) {
    const CliRun run = runCli({"solve", "--dir", example("model-estimate").string(), "--seconds=.5",
                               "--nodes", "00050", "root"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const Solved s = parseSolved(run.out);
    EXPECT_EQ(s.result, "unknown");
    EXPECT_GE(s.nodes, 50);
    EXPECT_LT(s.nodes, 200);
    EXPECT_EQ(s.stopped, "nodes");
}

TEST(CliSolveOptions, MisusesSayWhatIsWrong) {
    const std::string dir = example("middlegame").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--nodes", "0"}, "bad --nodes '0': give a whole number above 0"},
        {{"--nodes", "1.5"}, "bad --nodes '1.5': give a whole number above 0"},
        {{"--nodes", "99999999999999999999"},
         "bad --nodes '99999999999999999999': give a whole number above 0"},
        {{"--seconds", "0.000"},
         "bad --seconds '0.000': give a number of seconds above 0, such as 10 or 2.5"},
        {{"--seconds=inf"}, "bad --seconds 'inf': give a number of seconds above 0, such as 10 or 2.5"},
        {{"--seconds=1e3"}, "bad --seconds '1e3': give a number of seconds above 0, such as 10 or 2.5"},
        {{"--seconds=."}, "bad --seconds '.': give a number of seconds above 0, such as 10 or 2.5"},
        {{"--json=yes"}, "option --json takes no value"},
        {{"--depth", "0"}, "bad --depth '0': give a whole number from 1 to 200"},
        {{"--depth", "201"}, "bad --depth '201': give a whole number from 1 to 200"},
        {{"--depth=x"}, "bad --depth 'x': give a whole number from 1 to 200"},
        {{"--threat-depth", "1"}, "bad --threat-depth '1': give a whole number from 2 to 20"},
        {{"--threat-depth", "21"}, "bad --threat-depth '21': give a whole number from 2 to 20"},
        {{"--model", "--fours-only"},
         "--model takes no --fours-only, --depth or --threat-depth: the window's rules have none"},
        {{"--model", "--threat-depth", "4"},
         "--model takes no --fours-only, --depth or --threat-depth: the window's rules have none"},
        {{"--json", "--json"}, "option --json is given twice"},
        {{"root", "0"}, "takes one PATH at most, got '0' as well"},
        {{"0.x"}, "bad PATH '0.x': give root, or child indices from the root separated by dots"},
        {{"9"}, "PATH '9' leads nowhere: node root has 9 children"},
        {{"0.1"}, "PATH '0.1' leads nowhere: node 0 has 1 child"},
    };
    const std::string usage = runCli({"solve", "--help"}).out;
    ASSERT_TRUE(usage.starts_with("usage: vorek-cli solve [--dir DIR | --game FILE.psq[:K]] [--nodes N] "
                                  "[--seconds S]\n                       [--fours-only] [--depth N] [--threat-depth N] "
                                  "[--model]\n                       [--json] [PATH]\n"))
        << usage;
    for (const auto& [more, message] : cases) {
        std::vector<std::string> arguments{"solve", "--dir", dir};
        arguments.insert(arguments.end(), more.begin(), more.end());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << message;
        EXPECT_EQ(run.out, "") << message;
        EXPECT_EQ(run.err, "vorek-cli: solve: " + message + "\n" + usage);
    }
}

// In the child: a standard stream into a file, or give up.
void redirect(int stream, const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::dup2(fd, stream) < 0) ::_exit(127);
    ::close(fd);
}

// Whether the process has a handler for the signal, from /proc.
bool catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("SigCgt:"))
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1) != 0;
    return false;
}

// The position after six moves of this game takes the searches of threats
// some seconds and millions of nodes to exhaust.
std::string longSolve() { return example("games/ignored-four.psq").string() + ":6"; }

TEST(CliSolveInterrupt, CtrlCStopsTheSolveAndPrintsWhatItReached) {
    const TempDir capture;
    const std::string game = longSolve();
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        redirect(STDOUT_FILENO, capture / "out");
        redirect(STDERR_FILENO, capture / "err");
        ::execl(VOREK_CLI_BINARY, VOREK_CLI_BINARY, "solve", "--game", game.c_str(), "--nodes",
                "100000000", "--seconds", "600", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!catches(pid, SIGINT) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // well into the solve
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const Solved s = parseSolved(capture.read("out"));
    EXPECT_EQ(s.result, "unknown");
    EXPECT_GT(s.nodes, 0);
    EXPECT_LT(s.nodes, 100000000);
    EXPECT_EQ(s.stopped, "interrupted");
    EXPECT_EQ(capture.read("err"),
              "vorek-cli: solve: interrupted; the numbers are those the solve had reached\n");
}

// On a terminal the solve keeps one line on stderr up to date and clears it
// at the end; the output on stdout is what it always is.
TEST(CliSolveProgress, ALineOnAStderrTerminalIsRewrittenThenCleared) {
    const TempDir capture;
    const std::string game = longSolve();
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        redirect(STDOUT_FILENO, capture / "out");
        ::execl(VOREK_CLI_BINARY, VOREK_CLI_BINARY, "solve", "--game", game.c_str(), "--nodes",
                "100000000", "--seconds", "0.7", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string seen;
    char buffer[4096];
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) seen.append(buffer, static_cast<std::size_t>(n));
    ::close(terminal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(std::regex_search(seen, std::regex("\rsolving: \\d+ nodes, \\d+ nodes/s, pn -?\\d+ dn -?\\d+, 0\\.\\d{3} s")))
        << seen;
    EXPECT_TRUE(std::regex_search(seen, std::regex("\r +\r$"))) << seen;
    EXPECT_EQ(parseSolved(capture.read("out")).stopped, "seconds");
}

TEST(CliSolveReadOnly, PositionFilesKeepTheirBytesAndTimes) {
    const TempDir dir;
    const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* file : {"plocha.dat", "tah.dat"}) {
        std::filesystem::copy_file(example("middlegame") / file, dir / file);
        std::filesystem::last_write_time(dir / file, anHourAgo);
    }
    const auto state = [&dir] {
        return dir.listing() + dir.read("plocha.dat") + dir.read("tah.dat") +
               std::to_string(std::filesystem::last_write_time(dir / "plocha.dat").time_since_epoch().count()) +
               std::to_string(std::filesystem::last_write_time(dir / "tah.dat").time_since_epoch().count());
    };
    const std::string before = state();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"solve"}, std::vector<std::string>{"solve", "--json", "5"},
          std::vector<std::string>{"solve", "--dir", dir.path().string(), "--nodes", "5000", "0"}}) {
        const CliRun run = runCli(arguments, dir.path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(state(), before) << arguments.back();
    }
}

}  // namespace
}  // namespace vorek::testing
