// vorek-cli game: every position of a game record solved in turn, with the
// moves marked that let a forced win go or let the opponent win.
#include <array>
#include <chrono>
#include <string>
#include <variant>
#include <vector>

#include "cli/command.h"
#include "search/game_analysis.h"
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
    "... moves) as solve does, by threat-space search with the budget for each\n"
    "position, from the side of the letter to move. Prints one line a position:\n"
    "  MOVE SIDE RESULT PROVING PLAYED MARK\n"
    "  MOVE     the number of the move to be played in the position\n"
    "  SIDE     the letter to move, x or o\n"
    "  RESULT   proved (wins by threats), disproved (every move loses to a win\n"
    "           by threats) or unknown for the side to move; over when a five is\n"
    "           on the board, which ends the analysis\n"
    "  PROVING  the winning move when proved, as x,y counted from 1 as in the\n"
    "           record; - otherwise\n"
    "  PLAYED   the move the record plays there, x,y; - after the last move\n"
    "  MARK     missed: the side had a win by threats, and the move played\n"
    "           starts none; blunder: the opponent had no win by threats before\n"
    "           the move and has one after it; missed,blunder: both; unclear: no\n"
    "           mark, because a search before or after the move ran out of\n"
    "           budget; - for none. Marks rest on searches that ended, with\n"
    "           threats as solve has them; a win that needs a quiet move (no\n"
    "           four, no threat of a win by fours) is not looked for\n"
    "and last \"summary missed M blunder B unclear U\". While it runs, a progress\n"
    "bar is shown on stderr when stderr is a terminal. Ctrl-C stops the analysis\n"
    "and prints the positions solved before it.\n"
    "\n"
    "  --nodes N    stop each solve once N nodes have been searched (default 10000000)\n"
    "  --seconds S  stop each solve after S seconds, such as 10 or 2.5 (default 10)\n"
    "  --json       one JSON object a line: {\"move\":..,\"side\":..,\"result\":..,\n"
    "               \"proving\":\"x,y\"|null,\"played\":\"x,y\"|null,\"marks\":[..]},\n"
    "               with \"stopped\":\"exhausted\"|\"nodes\"|\"seconds\"|... after\n"
    "               \"result\" when it is unknown, and last\n"
    "               {\"missed\":M,\"blunder\":B,\"unclear\":U}\n";

constexpr std::array<std::string_view, 2> OPTIONS{NODES_OPTION, SECONDS_OPTION};
constexpr std::array<std::string_view, 1> FLAGS{JSON_OPTION};

// Most positions of a game end in a few thousand nodes; a mark given or left
// unclear rests on the few that take more: showing that a side has no win by
// threats, all of them looked at, often takes millions. Ten times solve's,
// still within its seconds.
constexpr SolveBudget DEFAULT_BUDGET{.maxNodes = 10'000'000, .maxSeconds = 10};

// One analysed position, in the words of the output.
struct PositionLine {
    int move = 0;
    char side = 'x';
    std::string result;
    std::string stopped;  // why an unknown result is unknown
    std::string proving;  // empty: none
    std::string played;   // empty: none
    std::vector<std::string_view> marks;
};

std::string stopWord(SolveStop stopped) {
    switch (stopped) {
        case SolveStop::Nodes: return "nodes";
        case SolveStop::Seconds: return "seconds";
        case SolveStop::Memory: return "memory";
        case SolveStop::Interrupted: return "interrupted";
        case SolveStop::Settled: break;
    }
    return "exhausted";
}

std::vector<PositionLine> positionLines(const GameRecord& record,
                                        const std::vector<PositionVerdict>& verdicts) {
    std::vector<PositionLine> lines;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const PositionVerdict& verdict = verdicts[i];
        PositionLine line;
        line.move = static_cast<int>(i) + 1;
        line.side = letterOfMove(record, line.move);
        line.result = verdict.over ? "over" : std::string(resultText(verdict.result));
        if (!verdict.over && verdict.result == SolveResult::Unknown) line.stopped = stopWord(verdict.stopped);
        if (verdict.provingMove >= 0) line.proving = recordSquareText(verdict.provingMove);
        if (!verdict.over && i < record.moves.size()) line.played = recordSquareText(record.moves[i]);
        if (i + 1 < verdicts.size()) {
            const MoveMarks marks = marksOf(verdict, verdicts[i + 1]);
            if (marks.missed) line.marks.push_back("missed");
            if (marks.blunder) line.marks.push_back("blunder");
            if (marks.unclear) line.marks.push_back("unclear");
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
    out << R"({"move":)" << line.move << R"(,"side":")" << line.side << R"(","result":")" << line.result << '"';
    if (!line.stopped.empty()) out << R"(,"stopped":")" << line.stopped << '"';
    out << R"(,"proving":)" << orNull(line.proving) << R"(,"played":)"
        << orNull(line.played) << R"(,"marks":[)";
    for (std::size_t i = 0; i < line.marks.size(); ++i)
        out << (i ? "," : "") << '"' << line.marks[i] << '"';
    out << "]}\n";
}

void printSummary(std::ostream& out, const std::vector<PositionLine>& lines, bool json) {
    int missed = 0, blunders = 0, unclear = 0;
    for (const PositionLine& line : lines) {
        for (std::string_view mark : line.marks) {
            missed += mark == "missed";
            blunders += mark == "blunder";
            unclear += mark == "unclear";
        }
    }
    if (json)
        out << R"({"missed":)" << missed << R"(,"blunder":)" << blunders << R"(,"unclear":)" << unclear << "}\n";
    else
        out << "summary missed " << missed << " blunder " << blunders << " unclear " << unclear << '\n';
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
