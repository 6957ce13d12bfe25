// Material judged by a real engine, and how the threat search does on it.
//
//   vorek_engine_judged --play ENGINE SEED GAMES MILLISECONDS FOLDER
//   vorek_engine_judged --measure FOLDER [GAME_NODES]
//
// The first has a stdin/stdout engine play games against itself from varied
// openings (a few stones near the centre), MILLISECONDS a move, with its
// search shown (INFO SHOW_DETAIL 3), and writes into FOLDER each game as
// game-N.psq, the engine's last evaluation of each position for the side to
// move as game-N.evals (one line a position: "+M7", "-M12", "-35", or "-"
// for the opening's stones), and every position where it claims a win for
// the side to move within MOST_MATE_PLIES plies into mates.txt, in the corpus
// format (bench/corpus_file.h; the length is the winner's moves the claim
// counts, the kind "threats" as for any win that is not asked to be by fours).
//
// The second solves each position of mates.txt as vorek-cli solve does and
// analyses each game as vorek-cli game does (with GAME_NODES nodes a
// position, when given), and prints how many claims the
// solve proves (and how fast), and which of the game's missed and blunder
// marks the engine's evaluations contradict: a missed move after which the
// engine still finds the mover's win, a blunder in a position the engine
// already found lost for the mover. The engine is only run by the first:
// nothing of the tests depends on it.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/corpus_file.h"
#include "bench/self_play_opening.h"
#include "board/square_flags.h"
#include "files/game_record.h"
#include "opponent/engine_pipes.h"
#include "search/game_analysis.h"
#include "search/threat_space/threat_solver.h"

namespace vorek::bench {
namespace {

constexpr int MOST_MATE_PLIES = 25;
constexpr int LONGEST_GAME = 160;
constexpr int MOST_OPENING_STONES = 5;
// vorek-cli solve's budget.
constexpr SolveBudget SOLVE_BUDGET{.maxNodes = 1'000'000, .maxSeconds = 10};
// In a run: the game's budget, by default vorek-cli game's.
SolveBudget gameBudget = GAME_ANALYSIS_BUDGET;

// The plies of a mate claim: +M7 is 7, -M12 is -12; nullopt for any other
// evaluation.
std::optional<int> matePlies(const std::string& eval) {
    if (eval.size() < 3 || (eval[0] != '+' && eval[0] != '-') || eval[1] != 'M') return std::nullopt;
    int plies = 0;
    const auto [end, error] = std::from_chars(eval.data() + 2, eval.data() + eval.size(), plies);
    if (error != std::errc() || end != eval.data() + eval.size()) return std::nullopt;
    return eval[0] == '+' ? plies : -plies;
}

// "x,y" with two whole numbers: a move.
std::optional<int> moveOfLine(const std::string& line) {
    int x = 0, y = 0;
    const char* end = line.data() + line.size();
    const auto first = std::from_chars(line.data(), end, x);
    if (first.ec != std::errc() || first.ptr == end || *first.ptr != ',') return std::nullopt;
    const auto second = std::from_chars(first.ptr + 1, end, y);
    if (second.ec != std::errc() || second.ptr != end || !onBoard(x, y)) return std::nullopt;
    return squareAt(x, y);
}

struct EngineMove {
    int move = -1;
    std::string eval = "-";
};

// Asks the engine for its move in the position reached by the moves: the
// stones in the order played, as a manager gives them (the side to move's 1,
// the other side's 2).
std::optional<EngineMove> askEngine(EnginePipes& engine, const ThreatBoard& board, const std::vector<int>& moves,
                                    int milliseconds) {
    const auto deadline = ChildClock::now() + std::chrono::milliseconds(milliseconds) + std::chrono::seconds(10);
    std::vector<std::string> lines{"INFO timeout_turn " + std::to_string(milliseconds), "BOARD"};
    for (const int s : moves) {
        const bool own = board.cell(s) == cellOfPlayer(board.sideToMove());
        lines.push_back(std::to_string(columnOf(s)) + "," + std::to_string(rowOf(s)) + (own ? ",1" : ",2"));
    }
    lines.push_back("DONE");
    for (const std::string& line : lines)
        if (engine.send(line, deadline) != EnginePipes::Write::Done) return std::nullopt;
    EngineMove answer;
    for (std::string line; engine.readLine(line, deadline) == EnginePipes::Read::Line;) {
        if (line.starts_with("INFO EVAL ")) answer.eval = line.substr(10);
        if (const std::optional<int> move = moveOfLine(line)) {
            if (!board.isEmpty(*move)) return std::nullopt;
            answer.move = *move;
            return answer;
        }
    }
    return std::nullopt;
}

void writeRecord(const std::filesystem::path& file, const std::vector<int>& moves) {
    std::ofstream out(file);
    out << "Piskvorky 20x20, 11:11, 0\n";
    for (const int s : moves) out << columnOf(s) + 1 << ',' << rowOf(s) + 1 << ",0\n";
}

int play(const std::string& engineProgram, unsigned seed, int games, int milliseconds, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::mt19937 random(seed);
    std::ofstream mates(folder / "mates.txt", std::ios::app);
    for (int game = 0; game < games; ++game) {
        const std::unique_ptr<EnginePipes> engine = EnginePipes::start({engineProgram}, folder);
        if (!engine) {
            std::cerr << engineProgram << ": cannot be started\n";
            return 1;
        }
        const auto deadline = ChildClock::now() + std::chrono::seconds(10);
        for (const char* line : {"START 20", "INFO SHOW_DETAIL 3"})
            if (engine->send(line, deadline) != EnginePipes::Write::Done) return 1;
        for (std::string line; engine->readLine(line, deadline) == EnginePipes::Read::Line;)
            if (line == "OK") break;
        ThreatBoard board;
        std::vector<int> moves = playOpening(board, random, MOST_OPENING_STONES);
        std::vector<std::string> evals(moves.size(), "-");
        while (static_cast<int>(moves.size()) < LONGEST_GAME && !playerWithFive(board) && !board.empties().empty()) {
            const std::optional<EngineMove> answer = askEngine(*engine, board, moves, milliseconds);
            if (!answer) {
                std::cerr << "game " << game << ": no answer at move " << moves.size() + 1 << '\n';
                break;
            }
            evals.push_back(answer->eval);
            if (const std::optional<int> plies = matePlies(answer->eval); plies && *plies > 0 && *plies <= MOST_MATE_PLIES)
                writeCorpusPosition(mates, {board, ThreatKind::Threats, (*plies + 1) / 2,
                                            "engine game " + std::to_string(game) + " move " +
                                                std::to_string(moves.size() + 1) + ", " + answer->eval});
            board.makeMove(answer->move);
            moves.push_back(answer->move);
        }
        engine->end().wait();
        const std::string name = "game-" + std::to_string(game);
        writeRecord(folder / (name + ".psq"), moves);
        std::ofstream evalFile(folder / (name + ".evals"));
        for (const std::string& eval : evals) evalFile << eval << '\n';
        std::cerr << name << ": " << moves.size() << " moves\n";
    }
    return 0;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void measureClaims(const std::filesystem::path& folder) {
    int proved = 0, unknown = 0, refuted = 0;
    std::vector<double> provedMs;
    double total = 0;
    for (const CorpusPosition& claim : readCorpusFile((folder / "mates.txt").string())) {
        const SolveReport report = solveByThreats(claim.board, SOLVE_BUDGET);
        const bool player1 = claim.board.sideToMove() == PLAYER1;
        const SolveResult won = player1 ? SolveResult::Proved : SolveResult::Disproved;
        const double ms = 1000 * report.seconds;
        total += ms;
        const char* verdict = "unknown";
        if (report.result == won) {
            ++proved;
            provedMs.push_back(ms);
            verdict = "proved";
        } else if (report.result == SolveResult::Unknown) {
            ++unknown;
        } else {
            ++refuted;
            verdict = "REFUTED";
        }
        std::cout << verdict << ' ' << report.nodes << " nodes " << ms << " ms # " << claim.name << '\n';
    }
    std::printf("claims %d: proved %d (median %.1f ms), unknown %d, refuted %d; %.0f ms in all\n",
                proved + unknown + refuted, proved, median(provedMs), unknown, refuted, total);
}

void measureMarks(const std::filesystem::path& folder) {
    int missed = 0, falseMissed = 0, blunders = 0, falseBlunders = 0, unclear = 0, unknownMates = 0;
    for (int game = 0;; ++game) {
        const std::filesystem::path record = folder / ("game-" + std::to_string(game) + ".psq");
        if (!std::filesystem::exists(record)) break;
        const auto read = readGameRecord(record);
        if (!std::holds_alternative<GameRecord>(read)) continue;
        std::vector<std::string> evals;
        std::ifstream evalFile(folder / ("game-" + std::to_string(game) + ".evals"));
        for (std::string line; std::getline(evalFile, line);) evals.push_back(line);
        const auto mate = [&](std::size_t position) {
            return position < evals.size() ? matePlies(evals[position]) : std::nullopt;
        };
        const std::vector<PositionVerdict> verdicts = analyseGame(std::get<GameRecord>(read), gameBudget, [](int, int) {});
        for (std::size_t i = 0; i + 1 < verdicts.size(); ++i) {
            const MoveMarks marks = marksOf(verdicts[i], verdicts[i + 1]);
            const std::optional<int> before = mate(i);
            const std::optional<int> after = mate(i + 1);
            // The engine still finds the mover's win after the move.
            const bool stillWins = after && *after < 0;
            // The engine found the mover lost before the move.
            const bool lostBefore = before && *before < 0;
            missed += marks.missed;
            falseMissed += marks.missed && stillWins;
            blunders += marks.blunder;
            falseBlunders += marks.blunder && lostBefore;
            unclear += marks.unclear;
            if (marks.missed && stillWins) std::cout << "false missed: game " << game << " move " << i + 1 << '\n';
            if (marks.blunder && lostBefore) std::cout << "false blunder: game " << game << " move " << i + 1 << '\n';
        }
        for (std::size_t i = 0; i < verdicts.size(); ++i) {
            const std::optional<int> claim = mate(i);
            if (claim && std::abs(*claim) <= MOST_MATE_PLIES && !verdicts[i].over &&
                verdicts[i].result == SolveResult::Unknown) {
                ++unknownMates;
                std::cout << "unknown where the engine claims " << evals[i] << ": game " << game << " move " << i + 1
                          << '\n';
            }
        }
    }
    std::printf("marks: missed %d (%d contradicted), blunder %d (%d contradicted), unclear %d; "
                "positions unknown with a short mate claimed: %d\n",
                missed, falseMissed, blunders, falseBlunders, unclear, unknownMates);
}

}  // namespace
}  // namespace vorek::bench

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--play" && argc == 7)
        return vorek::bench::play(argv[2], static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)), std::atoi(argv[4]),
                                  std::atoi(argv[5]), argv[6]);
    if (mode == "--measure" && (argc == 3 || argc == 4)) {
        if (argc == 4) vorek::bench::gameBudget.maxNodes = std::strtoull(argv[3], nullptr, 10);
        vorek::bench::measureClaims(argv[2]);
        vorek::bench::measureMarks(argv[2]);
        return 0;
    }
    std::cerr << "usage: vorek_engine_judged --play ENGINE SEED GAMES MILLISECONDS FOLDER\n"
                 "       vorek_engine_judged --measure FOLDER [GAME_NODES]\n";
    return 2;
}
