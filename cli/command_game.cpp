// vorek-cli game: every position of a game record solved in turn, with the
// moves marked that let a forced win go or let the opponent win.
#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <variant>
#include <vector>

#include "cli/command.h"
#include "cli/engine_option.h"
#include "cli/interrupt.h"
#include "cli/json_text.h"
#include "cli/played_position.h"
#include "cli/progress_line.h"
#include "cli/solve_options.h"
#include "files/game_record.h"
#include "opponent/engine_viewer.h"
#include "opponent/process_group.h"
#include "search/game_analysis.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli game FILE.psq [--nodes N] [--seconds S] [--engine PROGRAM [--ms T]]\n"
    "                      [--json]\n"
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
    "and last \"summary missed M blunder B unclear U\". With --engine, each position\n"
    "is also given to the engine (an engine of the stdin/stdout protocol, kept\n"
    "running for the whole game) to think on for T milliseconds, and each line\n"
    "ends with three more fields:\n"
    "  EVAL     its evaluation for the side to move: a score, or +Mn / -Mn for a\n"
    "           five forced in n plies for / against it\n"
    "  WINRATE  its win rate for the side to move, 0..1\n"
    "  BEST     its move, x,y counted from 1 as in the record\n"
    "each - when the engine gave none; after the summary come \"largest drops\"\n"
    "and the unit (winrate, or eval when the engine did not give a win rate for\n"
    "every position), then up to 5 moves after which the engine's view of the\n"
    "mover's prospects fell most, the largest first:\n"
    "  MOVE SIDE PLAYED engine BEFORE AFTER threats MARK\n"
    "with BEFORE and AFTER for the mover, and the threat search's mark of the\n"
    "move (- for none). While it runs, a progress bar is shown on stderr when\n"
    "stderr is a terminal. Ctrl-C stops the analysis and prints the positions\n"
    "analysed before it.\n"
    "\n"
    "  --nodes N    stop each solve once N nodes have been searched (default 10000000)\n"
    "  --seconds S  stop each solve after S seconds, such as 10 or 2.5 (default 10)\n"
    "  --engine PROGRAM  the engine's command line, run in the working directory\n"
    "  --ms T       the engine's time for each position in milliseconds,\n"
    "               1..3600000 (default 1000)\n"
    "  --json       one JSON object a line: {\"move\":..,\"side\":..,\"result\":..,\n"
    "               \"proving\":\"x,y\"|null,\"played\":\"x,y\"|null,\"marks\":[..]},\n"
    "               with \"stopped\":\"exhausted\"|\"nodes\"|\"seconds\"|... after\n"
    "               \"result\" when it is unknown, and last\n"
    "               {\"missed\":M,\"blunder\":B,\"unclear\":U}; with --engine also\n"
    "               \"eval\":\"..\"|null,\"winrate\":..|null,\"best\":\"x,y\"|null in each\n"
    "               position and \"largest_drops\":[{\"move\":..,\"side\":..,\"played\":..,\n"
    "               \"engine\":{\"by\":\"winrate\"|\"eval\",\"before\":..,\"after\":..},\n"
    "               \"threats\":[..]},..] in the last\n";

constexpr std::array<std::string_view, 4> OPTIONS{NODES_OPTION, SECONDS_OPTION, ENGINE_OPTION, ENGINE_MS_OPTION};
constexpr std::array<std::string_view, 1> FLAGS{JSON_OPTION};


constexpr std::size_t LARGEST_DROPS = 5;

// One analysed position, in the words of the output.
struct PositionLine {
    int move = 0;
    char side = 'x';
    std::string result;
    std::string stopped;  // why an unknown result is unknown
    std::string proving;  // empty: none
    std::string played;   // empty: none
    std::vector<std::string_view> marks;
    std::optional<EngineView> engine;  // with --engine: what it made of the position, perhaps nothing
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
        if (!verdict.over && verdict.result == SolveResult::Unknown) line.stopped = std::string(stopWord(verdict.stopped));
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

std::string evalText(const std::optional<Evaluation>& eval) { return eval ? evaluationText(*eval) : std::string(); }

using cli::winrateText;

std::string winrateText(const std::optional<double>& winrate) {
    return winrate ? winrateText(*winrate) : std::string();
}

std::string bestText(const EngineView& view) { return view.best >= 0 ? recordSquareText(view.best) : std::string(); }

std::string marksText(const PositionLine& line) {
    std::string marks;
    for (std::string_view mark : line.marks) (marks += marks.empty() ? "" : ",") += mark;
    return marks;
}

void printPlain(std::ostream& out, const PositionLine& line) {
    out << line.move << ' ' << line.side << ' ' << line.result << ' ' << orDash(line.proving) << ' '
        << orDash(line.played) << ' ' << orDash(marksText(line));
    if (line.engine)
        out << ' ' << orDash(evalText(line.engine->eval)) << ' ' << orDash(winrateText(line.engine->winrate)) << ' '
            << orDash(bestText(*line.engine));
    out << '\n';
}

void printJson(std::ostream& out, const PositionLine& line) {
    out << R"({"move":)" << line.move << R"(,"side":")" << line.side << R"(","result":")" << line.result << '"';
    if (!line.stopped.empty()) out << R"(,"stopped":")" << line.stopped << '"';
    out << R"(,"proving":)" << orNull(line.proving) << R"(,"played":)"
        << orNull(line.played) << R"(,"marks":)" << jsonStrings(line.marks);
    if (line.engine) {
        const std::string winrate = winrateText(line.engine->winrate);
        out << R"(,"eval":)" << orNull(evalText(line.engine->eval)) << R"(,"winrate":)"
            << (winrate.empty() ? "null" : winrate) << R"(,"best":)" << orNull(bestText(*line.engine));
    }
    out << "}\n";
}

// ---- Largest drops --------------------------------------------------------------

// A move after which the engine's view of the mover's prospects fell: before
// it, the position's for the mover; after it, the next position's for the
// other side, turned round.
struct Drop {
    std::size_t position;  // where the move was played
    double size = 0;
    std::string before;
    std::string after;
};

// An evaluation as a number to compare: a mate beyond every score, the
// shorter the further.
double evalValue(const Evaluation& eval) {
    constexpr double MATE = 1e12;
    if (!eval.mate) return eval.value;
    return eval.value >= 0 ? MATE - eval.value : -MATE - eval.value;
}

Evaluation turned(const Evaluation& eval) { return Evaluation{eval.mate, -eval.value}; }

// By win rate when the engine gave one for every position it evaluated,
// by evaluation otherwise.
bool byWinrate(const std::vector<PositionLine>& lines) {
    return std::all_of(lines.begin(), lines.end(), [](const PositionLine& line) {
        return !line.engine || !line.engine->eval || line.engine->winrate;
    });
}

std::vector<Drop> largestDrops(const std::vector<PositionLine>& lines, bool winrate) {
    std::vector<Drop> drops;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::optional<EngineView>& here = lines[i].engine;
        const std::optional<EngineView>& next = lines[i + 1].engine;
        if (!here || !next || lines[i].played.empty()) continue;
        if (winrate && here->winrate && next->winrate) {
            const double after = 1 - *next->winrate;
            drops.push_back({i, *here->winrate - after, winrateText(*here->winrate), winrateText(after)});
        } else if (!winrate && here->eval && next->eval) {
            const Evaluation after = turned(*next->eval);
            drops.push_back({i, evalValue(*here->eval) - evalValue(after), evaluationText(*here->eval),
                             evaluationText(after)});
        }
    }
    std::erase_if(drops, [](const Drop& drop) { return !(drop.size > 0); });
    std::stable_sort(drops.begin(), drops.end(), [](const Drop& a, const Drop& b) { return a.size > b.size; });
    if (drops.size() > LARGEST_DROPS) drops.resize(LARGEST_DROPS);
    return drops;
}

void printDrops(std::ostream& out, const std::vector<PositionLine>& lines) {
    const bool winrate = byWinrate(lines);
    out << "largest drops " << (winrate ? "winrate" : "eval") << '\n';
    for (const Drop& drop : largestDrops(lines, winrate)) {
        const PositionLine& line = lines[drop.position];
        out << line.move << ' ' << line.side << ' ' << line.played << " engine " << drop.before << ' ' << drop.after
            << " threats " << orDash(marksText(line)) << '\n';
    }
}

std::string jsonDrops(const std::vector<PositionLine>& lines) {
    const bool winrate = byWinrate(lines);
    const auto value = [winrate](const std::string& text) { return winrate ? text : '"' + text + '"'; };
    std::string json = R"(,"largest_drops":[)";
    bool first = true;
    for (const Drop& drop : largestDrops(lines, winrate)) {
        const PositionLine& line = lines[drop.position];
        json += first ? "" : ",";
        json += R"({"move":)" + std::to_string(line.move) + R"(,"side":")" + line.side + R"(","played":")" +
                line.played + R"(","engine":{"by":")" + (winrate ? "winrate" : "eval") + R"(","before":)" +
                value(drop.before) + R"(,"after":)" + value(drop.after) + R"(},"threats":)" + jsonStrings(line.marks) +
                '}';
        first = false;
    }
    return json + ']';
}

void printSummary(std::ostream& out, const std::vector<PositionLine>& lines, bool json, bool withEngine) {
    int missed = 0, blunders = 0, unclear = 0;
    for (const PositionLine& line : lines) {
        for (std::string_view mark : line.marks) {
            missed += mark == "missed";
            blunders += mark == "blunder";
            unclear += mark == "unclear";
        }
    }
    if (json) {
        out << R"({"missed":)" << missed << R"(,"blunder":)" << blunders << R"(,"unclear":)" << unclear
            << (withEngine ? jsonDrops(lines) : "") << "}\n";
    } else {
        out << "summary missed " << missed << " blunder " << blunders << " unclear " << unclear << '\n';
        if (withEngine) printDrops(out, lines);
    }
}

// ---- The engine's view ----------------------------------------------------------

// The engine's view of each position the threat search judged but those with
// a five on the board, one think each with the engine kept running; nothing
// for a position whose think failed (a note says why) or that an interrupt
// left out.
std::vector<EngineView> engineViews(const GameRecord& record, const std::vector<PositionVerdict>& verdicts,
                                    const EngineChoice& choice, const std::atomic<bool>* interrupt,
                                    std::vector<std::string>& notes) {
    std::vector<EngineView> views(verdicts.size());
    EngineViewer viewer(EngineSetup{.words = choice.words, .folder = {}, .maxMemory = 0, .threads = 0});
    const auto start = std::chrono::steady_clock::now();
    ProgressLine progress;
    for (std::size_t i = 0; i < verdicts.size() && !interrupt->load(); ++i) {
        if (verdicts[i].over) continue;
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        const int positions = static_cast<int>(verdicts.size());
        progress.show("engine " + positionProgressText(static_cast<int>(i) + 1, positions, elapsed.count()));
        const std::unique_ptr<V2Board> position = positionAfter(record, static_cast<int>(i));
        const std::optional<ThinkEnd> end = viewer.think(*position, choice.milliseconds, interrupt);
        if (!end) {
            notes.push_back("cannot start the engine '" + choice.commandLine + "'");
            break;
        }
        if (interrupt->load()) break;  // a think cut short says nothing
        if (const std::optional<EngineView> view = viewOf(*end)) {
            views[i] = *view;
        } else {
            notes.push_back("move " + std::to_string(i + 1) + ": no move from the engine: " + end->failure);
        }
    }
    return views;
}

std::optional<CommandError> runGame(const CommandArguments& arguments, std::ostream& out,
                                    std::vector<std::string>& notes) {
    auto budget = budgetOption(arguments, GAME_ANALYSIS_BUDGET);
    if (auto* bad = std::get_if<Misuse>(&budget)) return std::move(*bad);
    auto engine = engineOption(arguments, ENGINE_VIEW_MILLISECONDS);
    if (auto* bad = std::get_if<Misuse>(&engine)) return std::move(*bad);
    const std::optional<EngineChoice>& choice = std::get<std::optional<EngineChoice>>(engine);
    if (arguments.operands.size() != 1)
        return Misuse{arguments.operands.empty() ? "needs a game record FILE.psq"
                                                 : "takes one FILE.psq, got '" + arguments.operands[1] + "' as well"};
    auto read = readRecordFile(arguments.operands.front());
    if (auto* failed = std::get_if<Failure>(&read)) return std::move(*failed);
    const GameRecord& record = std::get<GameRecord>(read);

    // With an engine, a request to end the tool ends it too.
    const InterruptStopsSolve interrupt(choice ? StopOn::EveryEndRequest : StopOn::CtrlC);
    std::get<SolveBudget>(budget).cancel = interrupt.flag();
    const auto start = std::chrono::steady_clock::now();
    std::vector<EngineView> views;
    std::vector<PositionVerdict> verdicts;
    {
        ProgressLine progress;
        const auto showProgress = [&](int index, int positions) {
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            progress.show(positionProgressText(index + 1, positions, elapsed.count()));
        };
        verdicts = analyseGame(record, std::get<SolveBudget>(budget), showProgress);
    }
    if (interrupt.flag()->load())
        notes.push_back("interrupted in position " + std::to_string(verdicts.size() + 1) + " of " +
                        std::to_string(analysedPositionCount(record)) + "; the positions before it are printed");
    if (choice && !interrupt.flag()->load()) {
        adoptOrphans();
        views = engineViews(record, verdicts, *choice, interrupt.flag(), notes);
        endAdoptedProcesses();
        if (interrupt.flag()->load()) notes.push_back("interrupted; the engine's view is printed as far as it got");
    }

    const bool json = arguments.flag(JSON_OPTION);
    std::vector<PositionLine> lines = positionLines(record, verdicts);
    if (choice)
        for (std::size_t i = 0; i < lines.size(); ++i) lines[i].engine = i < views.size() ? views[i] : EngineView{};
    for (const PositionLine& line : lines) json ? printJson(out, line) : printPlain(out, line);
    printSummary(out, lines, json, choice.has_value());
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
