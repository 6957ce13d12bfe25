// vorek-cli analyse: an engine of the stdin/stdout protocol thinking on a
// position, its best lines printed as they improve, its move, and a mate it
// claims checked by our threat-space search.
#include <algorithm>
#include <array>
#include <iostream>
#include <optional>
#include <ranges>
#include <string>
#include <variant>

#include "board/square_text.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/engine_option.h"
#include "cli/interrupt.h"
#include "cli/json_text.h"
#include "cli/mate_check.h"
#include "cli/played_position.h"
#include "cli/solve_options.h"
#include "files/position_source.h"
#include "opponent/ask_log.h"
#include "opponent/ask_through_pipes.h"
#include "opponent/mate_claim.h"
#include "opponent/process_group.h"
#include "opponent/think_end.h"
#include "opponent/think_lines.h"

namespace vorek::cli {

namespace {

constexpr std::string_view USAGE =
    "usage: vorek-cli analyse [--dir DIR | --game FILE.psq [--move K]] --engine PROGRAM\n"
    "                         [--ms T] [--multipv N] [--nodes N] [--seconds S] [--log]\n"
    "                         [--json]\n"
    "\n"
    "Starts PROGRAM, an engine that speaks the stdin/stdout protocol, in the working\n"
    "directory and has it think for T milliseconds on the position in DIR (default:\n"
    "the working directory) or after K moves of a game record, the letter to move\n"
    "being the engine's. Prints the engine's best lines as they improve, a round\n"
    "of them at a time:\n"
    "  depth D seldepth S nodes N speed V time MS\n"
    "  pv I MOVE eval E winrate W line MOVE ...   one line each, the best first\n"
    "its MESSAGE lines as \"message TEXT\", and last:\n"
    "  best MOVE     the move it answers\n"
    "  eval E        its evaluation of the position for the side to move: a score,\n"
    "                or +Mn / -Mn: a five forced in n plies for / against it\n"
    "  winrate W     its win rate for the side to move, 0..1\n"
    "  line MOVE ... its best line\n"
    "  mate claim: R only when eval is a mate: our threat-space search on the\n"
    "                position says \"proved by threats in M (line ...)\" (M plies,\n"
    "                both sides' moves, the five included) or \"not proved\" and why:\n"
    "                (exhausted), (stopped: seconds), (refuted: ...)\n"
    "A part the engine does not report is left out. Moves are x,y, column and row\n"
    "from 0. Ctrl-C (or SIGTERM, SIGHUP) stops the think: the engine answers and\n"
    "what it reached is printed. While the mate claim is checked, a progress line\n"
    "is shown on stderr when stderr is a terminal.\n"
    "\n"
    "  --dir DIR        the folder of the position files; they are only read\n"
    "  --game FILE.psq  a game record; the position after all its moves, or K\n"
    "  --move K         with --game: the position after K moves, 0 .. all\n"
    "  --engine PROGRAM the engine's command line (quotes and backslashes as in a\n"
    "                   shell, nothing expanded)\n"
    "  --ms T           the think's time in milliseconds, 1..3600000 (default 3000)\n"
    "  --multipv N      the best lines the engine reports, 1..20 (default 1)\n"
    "  --nodes N        stop the mate check once N nodes have been searched\n"
    "  --seconds S      stop the mate check after S seconds (default 5)\n"
    "  --log            print the exchange with the engine to stderr as it happens\n"
    "  --json           one JSON object a line: a round as {\"depth\":..,\"seldepth\":..,\n"
    "                   \"nodes\":..,\"speed\":..,\"time\":..,\"pv\":[{\"move\":\"x,y\",\n"
    "                   \"eval\":\"..\",\"winrate\":..,\"line\":[\"x,y\",..]},..]}, a message as\n"
    "                   {\"message\":\"..\"}, and last {\"best\":\"x,y\",\"eval\":..,\n"
    "                   \"winrate\":..,\"line\":[..]} with, after a mate claim,\n"
    "                   \"mate_check\":{\"claim\":\"+M7\",\"result\":\"proved\"|\"not proved\",\n"
    "                   \"plies\":M|\"reason\":\"..\",\"line\":[..]}; null where the engine\n"
    "                   did not report\n";

constexpr std::string_view MOVE_OPTION = "--move";
constexpr std::string_view MULTIPV_OPTION = "--multipv";
constexpr std::string_view LOG_OPTION = "--log";
constexpr std::array<std::string_view, 8> OPTIONS{DIR_OPTION,     GAME_OPTION,  MOVE_OPTION,  ENGINE_OPTION,
                                                  ENGINE_MS_OPTION, MULTIPV_OPTION, NODES_OPTION, SECONDS_OPTION};
constexpr std::array<std::string_view, 2> FLAGS{JSON_OPTION, LOG_OPTION};

constexpr int DEFAULT_MILLISECONDS = 3000;
constexpr int MOST_LINES_ASKED = 20;

std::string moveText(int square) { return squareText(columnOf(square), rowOf(square)); }

template <typename Value, typename Text>
std::string jsonOr(const std::optional<Value>& value, Text text) {
    return value ? text(*value) : std::string("null");
}

std::string jsonLine(const std::vector<int>& line) { return jsonStrings(line | std::views::transform(moveText)); }

std::string number(std::int64_t value) { return std::to_string(value); }

std::string jsonEval(const Evaluation& eval) { return '"' + evaluationText(eval) + '"'; }

// The engine's lines, messages and end, printed as they come.
class AnalysisPrinter {
public:
    AnalysisPrinter(std::ostream& out, bool json, std::vector<std::string>& notes)
        : out_(out), json_(json), notes_(notes) {}

    void take(const EngineEvent& event) {
        if (const auto* search = std::get_if<SearchEvent>(&event)) {
            if (lines_.take(search->line)) json_ ? printJsonRound() : printRound();
        } else if (const auto* message = std::get_if<MessageEvent>(&event)) {
            printMessage(message->text);
        }
    }

    void printSummary(int move, const std::optional<MateClaimCheck>& check) {
        const SearchLine* best = lines_.best();
        if (json_) {
            out_ << R"({"best":")" << moveText(move) << '"';
            if (best) {
                out_ << R"(,"eval":)" << jsonOr(best->eval, jsonEval) << R"(,"winrate":)"
                     << jsonOr(best->winrate, winrateText) << R"(,"line":)" << jsonLine(best->line);
            }
            if (check) printJsonCheck(*check);
            out_ << "}" << std::endl;
            return;
        }
        out_ << "best " << moveText(move) << '\n';
        if (best && best->eval) out_ << "eval " << evaluationText(*best->eval) << '\n';
        if (best && best->winrate) out_ << "winrate " << winrateText(*best->winrate) << '\n';
        if (best && !best->line.empty()) out_ << "line " << lineText(best->line) << '\n';
        if (check) out_ << "mate claim: " << mateCheckText(*check) << '\n';
        out_.flush();
    }

    // The mate the engine claims for its best line, if it claims one.
    std::optional<Evaluation> mateClaim() const {
        const SearchLine* best = lines_.best();
        if (!best || !best->eval || !best->eval->mate) return std::nullopt;
        return best->eval;
    }

private:
    // The header of a round: the depth of the best line, the latest counts.
    void printRound() {
        const SearchLine* best = lines_.best();
        std::string header;
        const auto field = [&header](std::string_view name, const auto& value) {
            if (!value) return;
            if (!header.empty()) header += ' ';
            header += std::string(name) + ' ' + std::to_string(*value);
        };
        field("depth", best ? best->depth : std::nullopt);
        field("seldepth", best ? best->selDepth : std::nullopt);
        field("nodes", lines_.nodes());
        field("speed", lines_.latest(&SearchLine::speed));
        field("time", lines_.latest(&SearchLine::totalTime));
        if (!header.empty()) out_ << header << '\n';
        for (const std::optional<SearchLine>& line : lines_.lines()) {
            if (!line) continue;
            out_ << "pv " << line->index + 1 << ' ' << (line->line.empty() ? "-" : moveText(line->line.front()));
            if (line->eval) out_ << " eval " << evaluationText(*line->eval);
            if (line->winrate) out_ << " winrate " << winrateText(*line->winrate);
            if (!line->line.empty()) out_ << " line " << lineText(line->line);
            out_ << '\n';
        }
        out_.flush();
    }

    void printJsonRound() {
        const SearchLine* best = lines_.best();
        const std::optional<int> none;
        out_ << R"({"depth":)" << jsonOr(best ? best->depth : none, number) << R"(,"seldepth":)"
             << jsonOr(best ? best->selDepth : none, number) << R"(,"nodes":)" << jsonOr(lines_.nodes(), number)
             << R"(,"speed":)" << jsonOr(lines_.latest(&SearchLine::speed), number) << R"(,"time":)"
             << jsonOr(lines_.latest(&SearchLine::totalTime), number) << R"(,"pv":[)";
        bool first = true;
        for (const std::optional<SearchLine>& line : lines_.lines()) {
            if (!line) continue;
            out_ << (first ? "" : ",") << R"({"move":)"
                 << (line->line.empty() ? "null" : '"' + moveText(line->line.front()) + '"') << R"(,"eval":)"
                 << jsonOr(line->eval, jsonEval) << R"(,"winrate":)" << jsonOr(line->winrate, winrateText)
                 << R"(,"line":)" << jsonLine(line->line) << '}';
            first = false;
        }
        out_ << "]}" << std::endl;
    }

    void printMessage(const std::string& text) {
        ++messages_;
        if (messages_ > LOGGED_LINES) {
            if (messages_ == LOGGED_LINES + 1)
                notes_.push_back("the engine wrote more than " + std::to_string(LOGGED_LINES) +
                                 " messages; the rest are not printed");
            return;
        }
        if (json_) {
            out_ << R"({"message":)" << jsonString(text) << '}' << std::endl;
        } else {
            out_ << "message " << escapeForLog(text) << std::endl;
        }
    }

    void printJsonCheck(const MateClaimCheck& check) {
        out_ << R"(,"mate_check":{"claim":")" << evaluationText(check.claim) << R"(","result":)";
        if (check.verdict == ClaimVerdict::Proved) {
            out_ << R"("proved","plies":)" << check.plies;
        } else {
            out_ << R"("not proved","reason":")" << notProvedReason(check) << '"';
        }
        out_ << R"(,"line":)" << jsonLine(check.line) << '}';
    }

    std::ostream& out_;
    bool json_;
    std::vector<std::string>& notes_;
    ThinkLines lines_;
    int messages_ = 0;
};

// The exchange on stderr as it happens, with --log.
class StderrLog final : public AskLog {
public:
    void line(std::string_view text, std::chrono::milliseconds sinceStart) override {
        std::cerr << formatLogLine(text, sinceStart) << std::endl;
    }
};

std::variant<int, Misuse> linesOption(const CommandArguments& arguments) {
    const auto text = arguments.value(MULTIPV_OPTION);
    if (!text) return 1;
    const std::optional<int> lines = boundedNumber(*text, MOST_LINES_ASKED);
    if (!lines || *lines < 1)
        return Misuse{"bad --multipv '" + std::string(*text) + "': give a whole number of lines, 1..20"};
    return *lines;
}

// The position of --dir or --game, or of --game and --move.
std::variant<PositionSource, CommandError> analysedPosition(const CommandArguments& arguments) {
    const auto move = arguments.value(MOVE_OPTION);
    if (!move) return readStartPosition(arguments);
    const auto game = arguments.value(GAME_OPTION);
    if (!game) return Misuse{"--move needs --game"};
    if (arguments.value(DIR_OPTION)) return Misuse{"give --dir or --game, not both"};
    auto read = readRecordFile(std::string(*game));
    if (auto* failed = std::get_if<Failure>(&read)) return std::move(*failed);
    const GameRecord& record = std::get<GameRecord>(read);
    const int moves = static_cast<int>(record.moves.size());
    const std::optional<int> count = boundedNumber(*move, moves);
    if (!count)
        return Misuse{"bad --move '" + std::string(*move) + "': the game has " + std::to_string(moves) +
                      (moves == 1 ? " move" : " moves") + "; K runs from 0 to " + std::to_string(moves)};
    return recordPosition(record, *count);
}

std::optional<CommandError> runAnalyse(const CommandArguments& arguments, std::ostream& out,
                                       std::vector<std::string>& notes) {
    auto engine = engineOption(arguments, DEFAULT_MILLISECONDS);
    if (auto* bad = std::get_if<Misuse>(&engine)) return std::move(*bad);
    const std::optional<EngineChoice>& choice = std::get<std::optional<EngineChoice>>(engine);
    if (!choice) return Misuse{"needs the engine: --engine PROGRAM"};
    const auto lines = linesOption(arguments);
    if (const auto* bad = std::get_if<Misuse>(&lines)) return *bad;
    auto budget = budgetOption(arguments, MATE_CHECK_BUDGET);
    if (auto* bad = std::get_if<Misuse>(&budget)) return std::move(*bad);
    if (!arguments.operands.empty()) return Misuse{"takes no operand, got '" + arguments.operands.front() + "'"};
    auto start = analysedPosition(arguments);
    if (auto* error = std::get_if<CommandError>(&start)) return std::move(*error);
    const PositionSource& position = std::get<PositionSource>(start);
    if (const auto note = unreadNote(position)) notes.push_back(*note);

    // Whatever the engine leaves running, even outside its process group,
    // becomes this tool's child once its parents are gone, to be ended here.
    adoptOrphans();
    const InterruptStopsSolve interrupt(StopOn::EveryEndRequest);
    AnalysisPrinter printer(out, arguments.flag(JSON_OPTION), notes);
    EngineEventQueue queue;
    StderrLog log;
    ThinkEnd end;
    {
        EngineSession session(EngineSetup{.words = choice->words, .folder = {}, .maxMemory = 0, .threads = 0},
                              queue.sink(), arguments.flag(LOG_OPTION) ? &log : nullptr);
        const int think = session.analyse(*position.board, {choice->milliseconds, std::get<int>(lines)});
        if (think == 0) return Failure{"cannot start the engine '" + choice->commandLine + "'"};
        end = awaitThink(queue, session, think, interrupt.flag(),
                         [&printer](const EngineEvent& event) { printer.take(event); });
        session.end().wait();
    }
    endAdoptedProcesses();
    if (end.move < 0) return Failure{"no move from the engine: " + end.failure};

    std::optional<MateClaimCheck> check;
    if (const std::optional<Evaluation> claim = printer.mateClaim()) {
        SolveBudget& limits = std::get<SolveBudget>(budget);
        limits.cancel = interrupt.flag();
        check = checkMateClaim(*position.board, *claim, limits);
    }
    printer.printSummary(end.move, check);
    if (interrupt.flag()->load()) notes.push_back("interrupted; the engine was stopped");
    return std::nullopt;
}

}  // namespace

extern const Command ANALYSE_COMMAND{
    .name = "analyse",
    .summary = "have an engine think on a position, print its lines and check a mate it claims",
    .usage = USAGE,
    .valueOptions = OPTIONS,
    .flagOptions = FLAGS,
    .streamsOutput = true,
    .run = runAnalyse,
};

}  // namespace vorek::cli
