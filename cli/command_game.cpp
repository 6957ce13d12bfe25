// vorek-cli game: every position of a game record solved in turn, with the
// moves marked that let a forced win go or let the opponent win.
#include <array>
#include <chrono>
#include <string>
#include <variant>
#include <vector>

#include "cli/command.h"
#include "cli/game_analysis.h"
#include "cli/interrupt.h"
#include "cli/played_position.h"
#include "cli/progress_line.h"
#include "cli/solve_options.h"
#include "files/game_record.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli game FILE.psq [--nodes N] [--seconds S] [--json]\n"
    "\n"
    "Reads a game record and solves each of its positions in order (after 0, 1,\n"
    "... moves) as solve does, with the budget for each position, from the side\n"
    "of the letter to move. Prints one line a position:\n"
    "  MOVE SIDE RESULT PROVING PLAYED MARK\n"
    "  MOVE     the number of the move to be played in the position\n"
    "  SIDE     the letter to move, x or o\n"
    "  RESULT   proved, disproved or unknown for the side to move; over when a\n"
    "           five is on the board, which ends the analysis\n"
    "  PROVING  the winning move when proved, as x,y counted from 1 as in the\n"
    "           record; - otherwise\n"
    "  PLAYED   the move the record plays there, x,y; - after the last move\n"
    "  MARK     missed: proved, but the move played leaves the opponent not\n"
    "           disproved; blunder: not disproved, but the move played leaves the\n"
    "           opponent proved; missed,blunder: both; - for none\n"
    "and last \"summary missed M blunder B\". While it runs, a progress bar is\n"
    "shown on stderr when stderr is a terminal. Ctrl-C stops the analysis and\n"
    "prints the positions solved before it.\n"
    "\n"
    "  --nodes N    stop each solve once N nodes have been made (default 100000)\n"
    "  --seconds S  stop each solve after S seconds, such as 10 or 2.5 (default 10)\n"
    "  --json       one JSON object a line: {\"move\":..,\"side\":..,\"result\":..,\n"
    "               \"proving\":\"x,y\"|null,\"played\":\"x,y\"|null,\"marks\":[..]},\n"
    "               and last {\"missed\":M,\"blunder\":B}\n";

constexpr std::array<std::string_view, 2> OPTIONS{NODES_OPTION, SECONDS_OPTION};
constexpr std::array<std::string_view, 1> FLAGS{JSON_OPTION};

// Smaller than solve's: a game has dozens of positions, and most of those
// that are not decided quickly are not decided at all.
constexpr SolveBudget DEFAULT_BUDGET{.maxNodes = 100'000, .maxSeconds = 10};

// One analysed position, in the words of the output.
struct PositionLine {
    int move = 0;
    char side = 'x';
    std::string result;
    std::string proving;  // empty: none
    std::string played;   // empty: none
    std::vector<std::string_view> marks;
};

std::vector<PositionLine> positionLines(const GameRecord& record,
                                        const std::vector<PositionVerdict>& verdicts) {
    std::vector<PositionLine> lines;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const PositionVerdict& verdict = verdicts[i];
        PositionLine line;
        line.move = static_cast<int>(i) + 1;
        line.side = letterOfMove(record, line.move);
        line.result = verdict.over ? "over" : std::string(resultText(verdict.result));
        if (verdict.provingMove >= 0) line.proving = recordSquareText(verdict.provingMove);
        if (!verdict.over && i < record.moves.size()) line.played = recordSquareText(record.moves[i]);
        if (i + 1 < verdicts.size()) {
            const MoveMarks marks = marksOf(verdict, verdicts[i + 1]);
            if (marks.missed) line.marks.push_back("missed");
            if (marks.blunder) line.marks.push_back("blunder");
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string orDash(const std::string& text) { return text.empty() ? "-" : text; }

std::string orNull(const std::string& text) { return text.empty() ? "null" : '"' + text + '"'; }

void printPlain(std::ostream& out, const PositionLine& line) {
    std::string marks;
    for (std::string_view mark : line.marks) (marks += marks.empty() ? "" : ",") += mark;
    out << line.move << ' ' << line.side << ' ' << line.result << ' ' << orDash(line.proving) << ' '
        << orDash(line.played) << ' ' << orDash(marks) << '\n';
}

void printJson(std::ostream& out, const PositionLine& line) {
    out << R"({"move":)" << line.move << R"(,"side":")" << line.side << R"(","result":")"
        << line.result << R"(","proving":)" << orNull(line.proving) << R"(,"played":)"
        << orNull(line.played) << R"(,"marks":[)";
    for (std::size_t i = 0; i < line.marks.size(); ++i)
        out << (i ? "," : "") << '"' << line.marks[i] << '"';
    out << "]}\n";
}

void printSummary(std::ostream& out, const std::vector<PositionLine>& lines, bool json) {
    int missed = 0, blunders = 0;
    for (const PositionLine& line : lines) {
        for (std::string_view mark : line.marks) {
            missed += mark == "missed";
            blunders += mark == "blunder";
        }
    }
    if (json)
        out << R"({"missed":)" << missed << R"(,"blunder":)" << blunders << "}\n";
    else
        out << "summary missed " << missed << " blunder " << blunders << '\n';
}

std::optional<CommandError> runGame(const CommandArguments& arguments, std::ostream& out,
                                    std::vector<std::string>& notes) {
    auto budget = budgetOption(arguments, DEFAULT_BUDGET);
    if (auto* bad = std::get_if<Misuse>(&budget)) return std::move(*bad);
    if (arguments.operands.size() != 1)
        return Misuse{arguments.operands.empty() ? "needs a game record FILE.psq"
                                                 : "takes one FILE.psq, got '" + arguments.operands[1] + "' as well"};
    auto read = readRecordFile(arguments.operands.front());
    if (auto* failed = std::get_if<Failure>(&read)) return std::move(*failed);
    const GameRecord& record = std::get<GameRecord>(read);

    const InterruptStopsSolve interrupt;
    std::get<SolveBudget>(budget).cancel = interrupt.flag();
    const auto start = std::chrono::steady_clock::now();
    ProgressLine progress;
    const auto showProgress = [&](int index, int positions) {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        progress.show(positionProgressText(index + 1, positions, elapsed.count()));
    };
    const std::vector<PositionVerdict> verdicts = analyseGame(record, std::get<SolveBudget>(budget), showProgress);
    if (interrupt.flag()->load())
        notes.push_back("interrupted in position " + std::to_string(verdicts.size() + 1) + " of " +
                        std::to_string(analysedPositionCount(record)) + "; the positions before it are printed");

    const bool json = arguments.flag(JSON_OPTION);
    const std::vector<PositionLine> lines = positionLines(record, verdicts);
    for (const PositionLine& line : lines) json ? printJson(out, line) : printPlain(out, line);
    printSummary(out, lines, json);
    return std::nullopt;
}

}  // namespace

extern const Command GAME_COMMAND{
    .name = "game",
    .summary = "solve every position of a game record and mark missed wins and blunders",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .flagOptions = FLAGS,
    .run = runGame,
};

}  // namespace vorek::cli
